#pragma once
// The exporting side of AutomationLibrary.h for a library built on the
// platform layer. One line in one source file of the library,
//
//   qv::AutomationPtr MakeObject(std::string_view progID);
//   QV_EXPORT_AUTOMATION(MakeObject)
//
// exports the four entries on top of a function that returns the object for
// a ProgID (or raises, or returns nullptr, for a ProgID it does not serve).
// Every exception stops at the boundary and travels as [message, class name].

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/Automation.h"
#include "platform/automation/AutomationLibrary.h"
#include "platform/automation/ValueCodec.h"
#include "platform/core/Exception.h"

namespace qv::automation_export {

using MakeObjectFunction = AutomationPtr(std::string_view progID);

// A copy of bytes in memory that QvAutomationFree (std::free) releases.
inline char* CopyForCaller(std::string_view bytes) {
  auto* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, bytes.data(), bytes.size());
  copy[bytes.size()] = '\0';
  return copy;
}

// The message and class name of the exception being handled; a thrown value
// that is no exception gets the message given.
inline std::pair<std::string, std::string> CurrentError(
    const char* unknownMessage = "Unknown error in automation library") {
  try {
    throw;
  } catch (const Exception& e) {
    return {e.Message(), e.ClassName()};
  } catch (const std::exception& e) {
    return {e.what(), "Exception"};
  } catch (...) {
    return {unknownMessage, "Exception"};
  }
}

inline void* Create(MakeObjectFunction* makeObject, const char* progID, char** error) noexcept {
  if (error) *error = nullptr;
  std::string message;
  try {
    AutomationPtr object = makeObject(progID ? progID : "");
    if (object) return new AutomationPtr(std::move(object));
    message = std::string("Invalid class string: ") + (progID ? progID : "");
  } catch (...) {
    try {
      message = CurrentError().first;
    } catch (...) {
      // Out of memory for the message: report without one.
    }
  }
  if (error && !message.empty()) *error = CopyForCaller(message);
  return nullptr;
}

// Runs one call; raises what the member raises.
inline std::string Dispatch(AutomationObject& object, int kind, const char* member,
                            std::string_view request) {
  if (!member) throw EOleError("No member name given");
  Variant arguments = DecodeValue(request);
  if (!arguments.IsArray() || arguments.DimCount() != 1)
    throw EOleError("Automation arguments are not an array");
  std::vector<Variant> args = arguments.ArrayRef().Elements();
  Variant result;
  switch (kind) {
    case QvAutomationMethod: result = object.Invoke(member, args); break;
    case QvAutomationGetProperty: result = object.GetProperty(member, args); break;
    case QvAutomationPutProperty:
      DispatchObject::RequireArgs(args, 1);
      object.PutProperty(member, args[0]);
      break;
    default: throw EOleError("Unknown automation call kind " + std::to_string(kind));
  }
  std::string reply;
  EncodeValue(Variant::ArrayOf({result, Variant::ArrayOf(std::move(args))}), reply);
  return reply;
}

inline bool HandOver(const std::string& bytes, unsigned char** reply, std::size_t* replyLength) {
  *reply = reinterpret_cast<unsigned char*>(CopyForCaller(bytes));
  *replyLength = *reply ? bytes.size() : 0;
  return *reply != nullptr;
}

inline int Call(void* object, int kind, const char* member, const unsigned char* request,
                std::size_t requestLength, unsigned char** reply, std::size_t* replyLength) noexcept {
  if (!reply || !replyLength) return 0;
  *reply = nullptr;
  *replyLength = 0;
  try {
    if (!object) throw EOleError("No automation object given");
    if (!request && requestLength > 0) throw EOleError("No request given");
    const std::string_view bytes(reinterpret_cast<const char*>(request), request ? requestLength : 0);
    return HandOver(Dispatch(**static_cast<AutomationPtr*>(object), kind, member, bytes), reply,
                    replyLength)
               ? 1
               : 0;
  } catch (...) {
    try {
      auto [message, className] = CurrentError();
      std::string bytes;
      EncodeValue(Variant::ArrayOf({Variant(message), Variant(className)}), bytes);
      HandOver(bytes, reply, replyLength);
    } catch (...) {
      // No memory left even for the error: the caller sees a failure without a reply.
    }
    return 0;
  }
}

// Destructors do not throw, so releasing needs no guard.
inline void Release(void* object) noexcept { delete static_cast<AutomationPtr*>(object); }

}  // namespace qv::automation_export

// Exported with default visibility, so a library built with hidden
// visibility still shows these four.
#define QV_EXPORT_AUTOMATION(makeObject)                                                         \
  extern "C" __attribute__((visibility("default"))) void* QvAutomationCreate(const char* progID, \
                                                                             char** error) {     \
    return ::qv::automation_export::Create(makeObject, progID, error);                           \
  }                                                                                              \
  extern "C" __attribute__((visibility("default"))) int QvAutomationCall(                        \
      void* object, int kind, const char* member, const unsigned char* request,                  \
      std::size_t requestLength, unsigned char** reply, std::size_t* replyLength) {              \
    return ::qv::automation_export::Call(object, kind, member, request, requestLength, reply,    \
                                         replyLength);                                           \
  }                                                                                              \
  extern "C" __attribute__((visibility("default"))) void QvAutomationFree(void* buffer) {        \
    std::free(buffer);                                                                           \
  }                                                                                              \
  extern "C" __attribute__((visibility("default"))) void QvAutomationRelease(void* object) {     \
    ::qv::automation_export::Release(object);                                                    \
  }

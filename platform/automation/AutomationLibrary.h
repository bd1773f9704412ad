#pragma once
// The C interface of a shared library that serves automation objects to
// CreateOleObject. Libraries are built on their own, possibly with another
// compiler or standard library, so nothing but C types crosses it: no C++
// objects, no exceptions, no memory freed on the other side than the one
// that allocated it. Values travel in the encoding of ValueCodec.h.
//
// A library exports four functions (AutomationExport.h writes them for a
// library built on the platform layer):
//
//   void* QvAutomationCreate(const char* progID, char** error);
//     Creates the object for progID. Returns an opaque handle, or nullptr
//     with *error set to a NUL-terminated message that the caller frees
//     with QvAutomationFree (or left nullptr when there is none).
//
//   int QvAutomationCall(void* object, int kind, const char* member,
//                        const unsigned char* request, size_t requestLength,
//                        unsigned char** reply, size_t* replyLength);
//     Calls member of object. kind is a QvAutomationCallKind. request is the
//     encoded argument array (indexed from 0; for a property put, the one
//     element is the new value). On success returns 1 and *reply holds the
//     encoded array [result, arguments after the call], so arguments passed
//     by reference come back changed. On failure returns 0 and *reply holds
//     the encoded array [message, error class name]; it may be left nullptr
//     when even that could not be produced. The caller frees *reply with
//     QvAutomationFree.
//
//   void QvAutomationFree(void* buffer);
//     Frees an error text or a reply (nullptr is allowed).
//
//   void QvAutomationRelease(void* object);
//     Destroys the object behind a handle from QvAutomationCreate.
//
// None of them lets an exception escape. Each object handle is used by one
// caller at a time; a library that shares state between objects guards it.

#include <cstddef>

extern "C" {

enum QvAutomationCallKind {
  QvAutomationMethod = 0,
  QvAutomationGetProperty = 1,
  QvAutomationPutProperty = 2,
};

using QvAutomationCreateFunction = void*(const char* progID, char** error);
using QvAutomationCallFunction = int(void* object, int kind, const char* member,
                                     const unsigned char* request, std::size_t requestLength,
                                     unsigned char** reply, std::size_t* replyLength);
using QvAutomationFreeFunction = void(void* buffer);
using QvAutomationReleaseFunction = void(void* object);

}  // extern "C"

namespace qv {

// The exported names, for the loader and the exporting side alike.
inline constexpr const char* kAutomationCreateEntry = "QvAutomationCreate";
inline constexpr const char* kAutomationCallEntry = "QvAutomationCall";
inline constexpr const char* kAutomationFreeEntry = "QvAutomationFree";
inline constexpr const char* kAutomationReleaseEntry = "QvAutomationRelease";

}  // namespace qv

#include "platform/automation/Automation.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/automation/AutomationLibrary.h"
#include "platform/automation/ValueCodec.h"
#include "platform/core/AsciiText.h"
#include "platform/core/Exception.h"
#include "platform/system/DynamicLibrary.h"
#include "platform/system/Registry.h"

namespace qv {

namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

}  // namespace

// ---- DispatchObject ----

DispatchObject::Member& DispatchObject::Define(std::string name) {
  std::string key = LowerAscii(name);
  Member& member = members_[std::move(key)];
  member = Member{std::move(name), {}, {}, {}};
  return member;
}

DispatchObject& DispatchObject::Method(std::string name, MethodHandler handler) {
  Define(std::move(name)).method = std::move(handler);
  return *this;
}

DispatchObject& DispatchObject::Property(std::string name, Getter getter, Setter setter) {
  Member& member = Define(std::move(name));
  member.getter = [getter = std::move(getter)](std::vector<Variant>& args) {
    RequireArgs(args, 0);
    return getter();
  };
  member.setter = std::move(setter);
  return *this;
}

DispatchObject& DispatchObject::IndexedProperty(std::string name, IndexedGetter getter) {
  Define(std::move(name)).getter = std::move(getter);
  return *this;
}

bool DispatchObject::HasMember(std::string_view name) const {
  return members_.find(LowerAscii(name)) != members_.end();
}

const DispatchObject::Member& DispatchObject::Find(std::string_view name) const {
  auto found = members_.find(LowerAscii(name));
  if (found == members_.end()) throw EOleError("Unknown name: " + std::string(name));
  return found->second;
}

void DispatchObject::RequireArgs(const std::vector<Variant>& args, std::size_t count) {
  if (args.size() != count) throw EOleError("Invalid number of parameters");
}

Variant DispatchObject::Invoke(std::string_view member, std::vector<Variant>& args) {
  const Member& found = Find(member);
  return found.method ? found.method(args) : found.getter(args);
}

Variant DispatchObject::GetProperty(std::string_view name, std::vector<Variant>& args) {
  const Member& found = Find(name);
  return found.getter ? found.getter(args) : found.method(args);
}

void DispatchObject::PutProperty(std::string_view name, const Variant& value) {
  const Member& found = Find(name);
  if (!found.setter) throw EOleError("Property " + found.name + " is read-only");
  found.setter(value);
}

// ---- Factories registered in the process ----

namespace {

struct FactoryTable {
  std::mutex lock;
  std::map<std::string, AutomationFactory, std::less<>> factories;  // by lower-case ProgID
};

// Never destroyed, so objects created during static destruction still find it.
FactoryTable& Factories() {
  static auto* table = new FactoryTable;
  return *table;
}

AutomationFactory FindFactory(std::string_view progID) {
  FactoryTable& table = Factories();
  std::lock_guard guard(table.lock);
  auto found = table.factories.find(LowerAscii(progID));
  return found == table.factories.end() ? AutomationFactory{} : found->second;
}

}  // namespace

void RegisterAutomationFactory(std::string progID, AutomationFactory factory) {
  FactoryTable& table = Factories();
  std::lock_guard guard(table.lock);
  table.factories[LowerAscii(progID)] = std::move(factory);
}

void UnregisterAutomationFactory(std::string_view progID) {
  FactoryTable& table = Factories();
  std::lock_guard guard(table.lock);
  table.factories.erase(LowerAscii(progID));
}

// ---- Objects served by shared libraries ----

namespace {

// The four entries of a loaded library; the library is never unloaded, so
// these stay valid for the life of the process.
struct LibraryEntries {
  QvAutomationCreateFunction* create = nullptr;
  QvAutomationCallFunction* call = nullptr;
  QvAutomationFreeFunction* free = nullptr;
  QvAutomationReleaseFunction* release = nullptr;
};

// Takes a buffer that the library allocated and frees it with the library's own function.
class LibraryBuffer {
 public:
  LibraryBuffer(const LibraryEntries& entries, void* buffer) : entries_(entries), buffer_(buffer) {}
  ~LibraryBuffer() { entries_.free(buffer_); }
  LibraryBuffer(const LibraryBuffer&) = delete;
  LibraryBuffer& operator=(const LibraryBuffer&) = delete;

 private:
  const LibraryEntries& entries_;
  void* buffer_;
};

// An object of a library, seen through the C interface.
class LibraryObject : public AutomationObject {
 public:
  LibraryObject(LibraryEntries entries, void* handle) : entries_(entries), handle_(handle) {}
  ~LibraryObject() override { entries_.release(handle_); }
  LibraryObject(const LibraryObject&) = delete;
  LibraryObject& operator=(const LibraryObject&) = delete;

  Variant Invoke(std::string_view member, std::vector<Variant>& args) override {
    return Call(QvAutomationMethod, member, args);
  }
  Variant GetProperty(std::string_view name, std::vector<Variant>& args) override {
    return Call(QvAutomationGetProperty, name, args);
  }
  void PutProperty(std::string_view name, const Variant& value) override {
    std::vector<Variant> args{value};
    Call(QvAutomationPutProperty, name, args);
  }

 private:
  Variant Call(int kind, std::string_view member, std::vector<Variant>& args);

  LibraryEntries entries_;
  void* handle_;
};

// The library's reply as a value: [result, arguments] or [message, class name].
Variant DecodeReply(const unsigned char* reply, std::size_t length) {
  try {
    Variant decoded = DecodeValue(std::string_view(reinterpret_cast<const char*>(reply), length));
    if (decoded.IsArray() && decoded.DimCount() == 1 && decoded.ArrayRef().Count() == 2 &&
        decoded.LowBound() == 0)
      return decoded;
  } catch (const EVariantError&) {
    // Reported below as a malformed reply.
  }
  throw EOleError("Malformed reply from automation library");
}

Variant LibraryObject::Call(int kind, std::string_view member, std::vector<Variant>& args) {
  std::string request;
  EncodeValue(Variant::ArrayOf(args), request);
  const std::string memberName(member);  // NUL-terminated for the library
  unsigned char* reply = nullptr;
  std::size_t replyLength = 0;
  const int ok = entries_.call(handle_, kind, memberName.c_str(),
                               reinterpret_cast<const unsigned char*>(request.data()), request.size(),
                               &reply, &replyLength);
  LibraryBuffer owner(entries_, reply);
  if (!reply) throw EOleError("Automation library failed without a reply (" + memberName + ")");
  const Variant decoded = DecodeReply(reply, replyLength);
  if (!ok) throw EOleError(decoded[0].ToString());
  const Variant& after = decoded[1];
  if (!after.IsArray() || after.DimCount() != 1 ||
      after.ArrayRef().Elements().size() != args.size())
    throw EOleError("Malformed reply from automation library");
  args = after.ArrayRef().Elements();
  return decoded[0];
}

struct LibraryTable {
  std::mutex lock;
  std::map<std::string, LibraryEntries> entries;  // by Library value
  std::vector<std::unique_ptr<DynamicLibrary>> loaded;
};

// Never destroyed: a library stays loaded while any of its objects may live.
LibraryTable& Libraries() {
  static auto* table = new LibraryTable;
  return *table;
}

LibraryEntries EntriesOf(const DynamicLibrary& library) {
  LibraryEntries entries{library.Function<QvAutomationCreateFunction>(kAutomationCreateEntry),
                         library.Function<QvAutomationCallFunction>(kAutomationCallEntry),
                         library.Function<QvAutomationFreeFunction>(kAutomationFreeEntry),
                         library.Function<QvAutomationReleaseFunction>(kAutomationReleaseEntry)};
  if (!entries.create || !entries.call || !entries.free || !entries.release)
    throw EOleError(library.FileName() + ": not an automation library (" + kAutomationCreateEntry +
                    ", " + kAutomationCallEntry + ", " + kAutomationFreeEntry + " or " +
                    kAutomationReleaseEntry + " is missing)");
  return entries;
}

// Loads a library once per process and keeps it only when it serves
// objects; a library that fails is unloaded again and tried anew next time.
LibraryEntries LoadLibraryEntries(const std::string& fileName) {
  LibraryTable& table = Libraries();
  std::lock_guard guard(table.lock);
  if (auto found = table.entries.find(fileName); found != table.entries.end()) return found->second;
  auto library = std::make_unique<DynamicLibrary>();
  if (!library->Load(fileName)) throw EOleError(library->LastError());
  const LibraryEntries entries = EntriesOf(*library);
  table.loaded.push_back(std::move(library));
  table.entries.emplace(fileName, entries);
  return entries;
}

// The Library value registered for the ProgID, "" when there is none.
std::string RegisteredLibrary(std::string_view progID) {
  // A "\" or "]" would name another key or end the section name.
  if (progID.empty() || progID.find_first_of("\\]") != std::string_view::npos) return {};
  TRegistry registry(RootKey::LocalMachine);
  if (!registry.OpenKeyReadOnly("Software\\Classes\\" + std::string(progID))) return {};
  return registry.ReadString("Library");
}

AutomationPtr CreateFromLibrary(const std::string& fileName, std::string_view progID) {
  const LibraryEntries entries = LoadLibraryEntries(fileName);
  char* error = nullptr;
  void* handle = entries.create(std::string(progID).c_str(), &error);
  LibraryBuffer owner(entries, error);
  if (!handle)
    throw EOleError(error ? std::string(error) : fileName + " could not create " + std::string(progID));
  try {
    return std::make_shared<LibraryObject>(entries, handle);
  } catch (...) {
    entries.release(handle);  // the proxy never took it over
    throw;
  }
}

}  // namespace

AutomationPtr DispatchOf(const Variant& value, std::string_view member) {
  AutomationPtr object = value.ToObject();
  if (!object) throw EOleError("No object to call " + std::string(member) + " on");
  return object;
}

AutomationPtr CreateOleObject(std::string_view progID) {
  if (AutomationFactory factory = FindFactory(progID)) {
    if (AutomationPtr object = factory()) return object;
    throw EOleError("The factory of " + std::string(progID) + " created no object");
  }
  const std::string library = RegisteredLibrary(progID);
  if (library.empty()) throw EOleError("Invalid class string");
  return CreateFromLibrary(library, progID);
}

}  // namespace qv

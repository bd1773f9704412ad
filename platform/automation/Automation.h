#pragma once
// Automation: objects called late-bound by member name, as the shell's
// service object, the application server's session and the outside
// libraries' objects are. Member names compare without regard to case;
// arguments are passed by reference, so a member may change them.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"

namespace qv {

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;

  // Calls a method. Raises EOleError for a member the object does not have.
  virtual Variant Invoke(std::string_view member, std::vector<Variant>& args) = 0;
  // Reads a property (indexed properties take arguments).
  virtual Variant GetProperty(std::string_view name, std::vector<Variant>& args) = 0;
  virtual void PutProperty(std::string_view name, const Variant& value) = 0;

  // Conveniences over the three calls above.
  Variant Call(std::string_view member, std::vector<Variant> args = {}) { return Invoke(member, args); }
  Variant Get(std::string_view name) {
    std::vector<Variant> none;
    return GetProperty(name, none);
  }
};

using AutomationPtr = std::shared_ptr<AutomationObject>;
using AutomationFactory = std::function<AutomationPtr()>;

// An automation object whose members come from a table that the derived
// class fills in its constructor:
//
//   class Counter : public DispatchObject {
//    public:
//     Counter() {
//       Method("Add", [this](std::vector<Variant>& args) { ... });
//       Property("Value", [this] { return Variant(value_); },
//                [this](const Variant& v) { value_ = v.ToInt(); });
//       Property("Name", [] { return Variant("counter"); });  // read-only
//     }
//   };
//
// Names compare without regard to ASCII case; registering a name again
// replaces the earlier member (so a derived class can override a base's).
// As with late-bound calls on the platform, reading a method's name as a
// property calls the method and invoking a property's name reads it.
// A member the table lacks raises EOleError("Unknown name: <member>");
// checking the argument count is the handler's business (RequireArgs helps).
class DispatchObject : public AutomationObject {
 public:
  using MethodHandler = std::function<Variant(std::vector<Variant>& args)>;
  using Getter = std::function<Variant()>;
  using IndexedGetter = std::function<Variant(std::vector<Variant>& args)>;
  using Setter = std::function<void(const Variant& value)>;

  Variant Invoke(std::string_view member, std::vector<Variant>& args) override;
  Variant GetProperty(std::string_view name, std::vector<Variant>& args) override;
  void PutProperty(std::string_view name, const Variant& value) override;

  // True when the table has the member.
  bool HasMember(std::string_view name) const;

  // Raises EOleError("Invalid number of parameters") unless args has count elements.
  static void RequireArgs(const std::vector<Variant>& args, std::size_t count);

 protected:
  DispatchObject() = default;

  DispatchObject& Method(std::string name, MethodHandler handler);
  // A property without arguments; without a setter it is read-only.
  DispatchObject& Property(std::string name, Getter getter, Setter setter = {});
  // A read-only property that takes arguments (an index, a key).
  DispatchObject& IndexedProperty(std::string name, IndexedGetter getter);

 private:
  struct Member {
    std::string name;  // as registered, for messages
    MethodHandler method;
    IndexedGetter getter;
    Setter setter;
  };
  Member& Define(std::string name);
  const Member& Find(std::string_view name) const;

  std::map<std::string, Member, std::less<>> members_;  // by lower-case name
};

// The object a value holds, for a late-bound call of member on it. Raises
// EOleError naming the member when the value holds none (an unassigned
// service), and EVariantError when it holds something else.
AutomationPtr DispatchOf(const Variant& value, std::string_view member);

// Factories registered in the process, found by ProgID without regard to
// ASCII case. Registering a ProgID again replaces its factory. Safe to call
// from any thread; a factory runs outside the registration lock, so it may
// itself create objects or register factories.
void RegisterAutomationFactory(std::string progID, AutomationFactory factory);
void UnregisterAutomationFactory(std::string_view progID);

// Creates the object a ProgID names: through a factory registered in the
// process when there is one, else through the shared library that the
// registry stand-in names under HKEY_LOCAL_MACHINE\Software\Classes\<ProgID>,
// value "Library" (a bare file name is looked up as DynamicLibrary does; see
// AutomationLibrary.h for what the library exports). A library, once loaded,
// stays loaded for the life of the process.
//
// Raises EOleError("Invalid class string") when neither names the ProgID,
// and EOleError with the loader's text when the library cannot be loaded,
// lacks the entries or refuses to create the object.
AutomationPtr CreateOleObject(std::string_view progID);

}  // namespace qv

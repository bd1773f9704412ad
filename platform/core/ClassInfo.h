#pragma once
// Run-time class information: each class registers, once, its name, its
// parent class, its published properties and its published methods. Code
// that does not know a component's class at build time (language files,
// stored control values, converters) reads and writes properties by name
// through these tables.
//
//   const TClass& TEdit::StaticClass() {
//     static const TClass cls = ClassBuilder<TEdit>("TEdit", &TWinControl::StaticClass())
//         .String("Text", &TEdit::Text, &TEdit::SetText)
//         .Integer("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
//         .Event("OnChange", &TEdit::OnChange);
//     return cls;
//   }

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/core/Method.h"

namespace qv {

class TObject;
class TClass;

enum class TTypeKind { Integer, Char, Enumeration, Float, String, Set, Class, Method };

const char* TypeKindName(TTypeKind kind);

// The names of an enumeration's values (for a set: of its elements), value 0 first.
class TEnumType {
 public:
  TEnumType(std::string name, std::vector<std::string> names)
      : name_(std::move(name)), names_(std::move(names)) {}

  const std::string& Name() const { return name_; }
  int Count() const { return static_cast<int>(names_.size()); }
  // "" for a value outside the enumeration.
  std::string NameOf(std::int64_t value) const;
  // -1 when no value has that name (compared without regard to case).
  int ValueOf(std::string_view name) const;

  static const TEnumType& Boolean();

 private:
  std::string name_;
  std::vector<std::string> names_;
};

// A property value in the form its kind is read and written in.
using PropValue = std::variant<std::int64_t, double, std::string, TObject*, TMethod>;

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::Integer;
  const TEnumType* EnumType = nullptr;          // Enumeration, Set
  const TClass* PropClass = nullptr;            // Class
  const std::type_info* Signature = nullptr;    // Method
  std::function<PropValue(const TObject&)> Get;
  std::function<void(TObject&, const PropValue&)> Set;  // empty when read-only

  bool IsWritable() const { return static_cast<bool>(Set); }
};

class TClass {
 public:
  const std::string& Name() const { return name_; }
  const TClass* Parent() const { return parent_; }

  bool InheritsFrom(const TClass& other) const;
  // Compared by name without regard to case.
  bool InheritsFrom(std::string_view className) const;

  // Searches this class first, then its ancestors; nullptr when not found.
  const TPropInfo* FindProperty(std::string_view name) const;
  // Every published property, ancestors' first; a redeclared one appears once.
  std::vector<const TPropInfo*> Properties() const;

  // Published methods, searched up the chain by name without regard to case.
  const MethodCode* MethodAddress(std::string_view name) const;
  std::string MethodName(const MethodCode* code) const;

 private:
  template <class T>
  friend class ClassBuilder;

  struct PublishedMethod {
    std::string Name;
    const MethodCode* Code;
  };

  std::string name_;
  const TClass* parent_ = nullptr;
  std::vector<TPropInfo> properties_;
  std::vector<PublishedMethod> methods_;
};

// Builds the class information of T. Getters are member functions, member
// data pointers or callables taking const T&; setters are member functions,
// member data pointers, callables taking (T&, value), or nullptr for a
// read-only property.
template <class T>
class ClassBuilder {
 public:
  ClassBuilder(std::string name, const TClass* parent) {
    cls_.name_ = std::move(name);
    cls_.parent_ = parent;
  }

  operator TClass() const { return cls_; }

  template <class G, class S = std::nullptr_t>
  ClassBuilder& Integer(std::string name, G get, S set = nullptr) {
    return Ordinal(std::move(name), TTypeKind::Integer, nullptr, get, set);
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Char(std::string name, G get, S set = nullptr) {
    return Ordinal(std::move(name), TTypeKind::Char, nullptr, get, set);
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Boolean(std::string name, G get, S set = nullptr) {
    return Ordinal(std::move(name), TTypeKind::Enumeration, &TEnumType::Boolean(), get, set);
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Enumeration(std::string name, const TEnumType& type, G get, S set = nullptr) {
    return Ordinal(std::move(name), TTypeKind::Enumeration, &type, get, set);
  }
  // A set held as a bit mask: bit i stands for element i of the type.
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Set(std::string name, const TEnumType& elements, G get, S set = nullptr) {
    return Ordinal(std::move(name), TTypeKind::Set, &elements, get, set);
  }

  template <class G, class S = std::nullptr_t>
  ClassBuilder& Float(std::string name, G get, S set = nullptr) {
    TPropInfo& info = Add(std::move(name), TTypeKind::Float);
    info.Get = [get](const TObject& o) { return PropValue(static_cast<double>(Read(get, o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      info.Set = [set](TObject& o, const PropValue& v) {
        Write<ValueOf<G>>(set, o, static_cast<ValueOf<G>>(std::get<double>(v)));
      };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  ClassBuilder& String(std::string name, G get, S set = nullptr) {
    TPropInfo& info = Add(std::move(name), TTypeKind::String);
    info.Get = [get](const TObject& o) { return PropValue(std::string(Read(get, o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      info.Set = [set](TObject& o, const PropValue& v) { Write<std::string>(set, o, std::get<std::string>(v)); };
    return *this;
  }

  // An object-valued property (Font, Items, …); paths such as "Font.Name" walk these.
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Object(std::string name, const TClass& propClass, G get, S set = nullptr) {
    TPropInfo& info = Add(std::move(name), TTypeKind::Class);
    info.PropClass = &propClass;
    info.Get = [get](const TObject& o) {
      return PropValue(static_cast<TObject*>(const_cast<std::remove_const_t<std::remove_pointer_t<ValueOf<G>>>*>(Read(get, o))));
    };
    if constexpr (!std::is_null_pointer_v<S>)
      info.Set = [set](TObject& o, const PropValue& v) {
        using P = std::remove_const_t<std::remove_pointer_t<ValueOf<G>>>;
        Write<P*>(set, o, static_cast<P*>(std::get<TObject*>(v)));
      };
    return *this;
  }

  // An event held in a data member of type Event<Sig> (of T or of a base).
  template <class Sig, class U>
  ClassBuilder& Event(std::string name, qv::Event<Sig> U::*member) {
    static_assert(std::is_base_of_v<U, T>, "the event must be a member of the class or of a base");
    TPropInfo& info = Add(std::move(name), TTypeKind::Method);
    info.Signature = &typeid(Sig);
    info.Get = [member](const TObject& o) { return PropValue((static_cast<const T&>(o).*member).Method()); };
    info.Set = [member](TObject& o, const PropValue& v) { (static_cast<T&>(o).*member).Assign(std::get<TMethod>(v)); };
    return *this;
  }

  // A published method, findable by name (the handlers of a form).
  template <auto Member>
  ClassBuilder& Method(std::string name) {
    cls_.methods_.push_back({std::move(name), MethodCodeOf<Member>()});
    return *this;
  }

 private:
  template <class G>
  static decltype(auto) Read(const G& get, const TObject& o) {
    const T& self = static_cast<const T&>(o);
    if constexpr (std::is_member_object_pointer_v<G>)
      return self.*get;
    else
      return std::invoke(get, self);
  }

  template <class G>
  using ValueOf = std::remove_cvref_t<decltype(Read(std::declval<G>(), std::declval<const TObject&>()))>;

  template <class V, class S>
  static void Write(const S& set, TObject& o, V value) {
    T& self = static_cast<T&>(o);
    if constexpr (std::is_member_object_pointer_v<S>)
      self.*set = std::move(value);
    else
      std::invoke(set, self, std::move(value));
  }

  template <class G, class S>
  ClassBuilder& Ordinal(std::string name, TTypeKind kind, const TEnumType* type, G get, S set) {
    TPropInfo& info = Add(std::move(name), kind);
    info.EnumType = type;
    info.Get = [get](const TObject& o) { return PropValue(static_cast<std::int64_t>(Read(get, o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      info.Set = [set](TObject& o, const PropValue& v) {
        Write<ValueOf<G>>(set, o, static_cast<ValueOf<G>>(std::get<std::int64_t>(v)));
      };
    return *this;
  }

  TPropInfo& Add(std::string name, TTypeKind kind) {
    TPropInfo& info = cls_.properties_.emplace_back();
    info.Name = std::move(name);
    info.Kind = kind;
    return info;
  }

  TClass cls_;
};

}  // namespace qv

#include "platform/core/ClassInfo.h"

#include "platform/core/AsciiText.h"

namespace qv {

const char* TypeKindName(TTypeKind kind) {
  switch (kind) {
    case TTypeKind::Integer: return "Integer";
    case TTypeKind::Char: return "Char";
    case TTypeKind::Enumeration: return "Enumeration";
    case TTypeKind::Float: return "Float";
    case TTypeKind::String: return "String";
    case TTypeKind::Set: return "Set";
    case TTypeKind::Class: return "Class";
    case TTypeKind::Method: return "Method";
  }
  return "Unknown";
}

std::string TEnumType::NameOf(std::int64_t value) const {
  return value >= 0 && value < Count() ? names_[static_cast<std::size_t>(value)] : std::string();
}

int TEnumType::ValueOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextAscii(names_[static_cast<std::size_t>(i)], name)) return i;
  return -1;
}

const TEnumType& TEnumType::Boolean() {
  static const TEnumType type("Boolean", {"False", "True"});
  return type;
}

bool TClass::InheritsFrom(const TClass& other) const {
  for (const TClass* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

bool TClass::InheritsFrom(std::string_view className) const {
  for (const TClass* c = this; c; c = c->parent_)
    if (SameTextAscii(c->name_, className)) return true;
  return false;
}

const TPropInfo* TClass::FindProperty(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const TClass* c = this; c; c = c->parent_)
    for (const TPropInfo& info : c->properties_)
      if (SameTextAscii(info.Name, name)) return &info;
  return nullptr;
}

std::vector<const TPropInfo*> TClass::Properties() const {
  std::vector<const TClass*> chain;
  for (const TClass* c = this; c; c = c->parent_) chain.insert(chain.begin(), c);
  std::vector<const TPropInfo*> result;
  for (const TClass* c : chain)
    for (const TPropInfo& info : c->properties_) {
      const TPropInfo* current = FindProperty(info.Name);
      bool listed = false;
      for (const TPropInfo* p : result) listed = listed || p == current;
      if (!listed) result.push_back(current);
    }
  return result;
}

const MethodCode* TClass::MethodAddress(std::string_view name) const {
  for (const TClass* c = this; c; c = c->parent_)
    for (const PublishedMethod& method : c->methods_)
      if (SameTextAscii(method.Name, name)) return method.Code;
  return nullptr;
}

std::string TClass::MethodName(const MethodCode* code) const {
  for (const TClass* c = this; c; c = c->parent_)
    for (const PublishedMethod& method : c->methods_)
      if (method.Code == code) return method.Name;
  return "";
}

}  // namespace qv

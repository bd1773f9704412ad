#include "platform/core/TypInfo.h"

#include "platform/core/Exception.h"
#include "platform/core/NumberText.h"

namespace qv {

namespace {

void RequireKind(const TPropInfo& info, bool fits, const char* wanted) {
  if (!fits)
    throw EPropertyError("Property " + info.Name + " is of kind " + TypeKindName(info.Kind) + ", not " + wanted);
}

void RequireWritable(const TPropInfo& info) {
  if (!info.IsWritable()) throw EPropertyError("Property " + info.Name + " is read-only");
}

std::string SetToText(const TEnumType& elements, std::int64_t mask) {
  std::string text = "[";
  for (int i = 0; i < elements.Count() && i < 64; ++i)
    if (mask & (std::int64_t{1} << i)) {
      if (text.size() > 1) text += ",";
      text += elements.NameOf(i);
    }
  return text + "]";
}

std::int64_t TextToSet(const TEnumType& elements, std::string_view text) {
  std::int64_t mask;
  if (TryStrToInt64(text, mask)) return mask;
  text = Trim(text);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']')
    throw EConvertError("'" + std::string(text) + "' is not a set of " + elements.Name());
  text = text.substr(1, text.size() - 2);
  mask = 0;
  while (!Trim(text).empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view name = Trim(text.substr(0, comma));
    const int value = elements.ValueOf(name);
    if (value < 0) throw EConvertError("'" + std::string(name) + "' is not an element of " + elements.Name());
    mask |= std::int64_t{1} << value;
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return mask;
}

std::int64_t TextToEnum(const TEnumType& type, std::string_view text) {
  const int value = type.ValueOf(Trim(text));
  if (value >= 0) return value;
  std::int64_t number;
  if (TryStrToInt64(text, number) && number >= 0 && number < type.Count()) return number;
  throw EConvertError("'" + std::string(text) + "' is not a value of " + type.Name());
}

}  // namespace

const TPropInfo* GetPropInfo(const TObject* object, std::string_view name) {
  return object ? object->ClassType().FindProperty(name) : nullptr;
}

bool IsOrdinalKind(TTypeKind kind) {
  return kind == TTypeKind::Integer || kind == TTypeKind::Char || kind == TTypeKind::Enumeration ||
         kind == TTypeKind::Set;
}

std::int64_t GetOrdProp(const TObject& object, const TPropInfo& info) {
  RequireKind(info, IsOrdinalKind(info.Kind), "ordinal");
  return std::get<std::int64_t>(info.Get(object));
}

void SetOrdProp(TObject& object, const TPropInfo& info, std::int64_t value) {
  RequireKind(info, IsOrdinalKind(info.Kind), "ordinal");
  RequireWritable(info);
  info.Set(object, value);
}

double GetFloatProp(const TObject& object, const TPropInfo& info) {
  RequireKind(info, info.Kind == TTypeKind::Float, "Float");
  return std::get<double>(info.Get(object));
}

void SetFloatProp(TObject& object, const TPropInfo& info, double value) {
  RequireKind(info, info.Kind == TTypeKind::Float, "Float");
  RequireWritable(info);
  info.Set(object, value);
}

std::string GetStrProp(const TObject& object, const TPropInfo& info) {
  RequireKind(info, info.Kind == TTypeKind::String, "String");
  return std::get<std::string>(info.Get(object));
}

void SetStrProp(TObject& object, const TPropInfo& info, const std::string& value) {
  RequireKind(info, info.Kind == TTypeKind::String, "String");
  RequireWritable(info);
  info.Set(object, value);
}

TObject* GetObjectProp(const TObject& object, const TPropInfo& info) {
  RequireKind(info, info.Kind == TTypeKind::Class, "Class");
  return std::get<TObject*>(info.Get(object));
}

void SetObjectProp(TObject& object, const TPropInfo& info, TObject* value) {
  RequireKind(info, info.Kind == TTypeKind::Class, "Class");
  RequireWritable(info);
  if (value && info.PropClass && !value->InheritsFrom(*info.PropClass))
    throw EPropertyError("Property " + info.Name + " takes a " + info.PropClass->Name() + ", not a " +
                         value->ClassName());
  info.Set(object, value);
}

TMethod GetMethodProp(const TObject& object, const TPropInfo& info) {
  RequireKind(info, info.Kind == TTypeKind::Method, "Method");
  return std::get<TMethod>(info.Get(object));
}

void SetMethodProp(TObject& object, const TPropInfo& info, const TMethod& value) {
  RequireKind(info, info.Kind == TTypeKind::Method, "Method");
  if (value.Code && value.Code->Signature != *info.Signature)
    throw EPropertyError("Method of another signature assigned to " + info.Name);
  info.Set(object, value);
}

std::string GetPropText(const TObject& object, const TPropInfo& info) {
  switch (info.Kind) {
    case TTypeKind::Integer: return IntToStr(GetOrdProp(object, info));
    case TTypeKind::Char: return std::string(1, static_cast<char>(GetOrdProp(object, info)));
    case TTypeKind::Enumeration: return info.EnumType->NameOf(GetOrdProp(object, info));
    case TTypeKind::Set: return SetToText(*info.EnumType, GetOrdProp(object, info));
    case TTypeKind::Float: return FloatToStr(GetFloatProp(object, info));
    case TTypeKind::String: return GetStrProp(object, info);
    default: throw EPropertyError("Property " + info.Name + " has no text form");
  }
}

void SetPropText(TObject& object, const TPropInfo& info, std::string_view text) {
  std::int64_t number;
  double real;
  switch (info.Kind) {
    case TTypeKind::Integer:
      if (!TryStrToInt64(text, number)) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
      return SetOrdProp(object, info, number);
    case TTypeKind::Char:
      if (text.size() != 1) throw EConvertError("'" + std::string(text) + "' is not a single character");
      return SetOrdProp(object, info, static_cast<unsigned char>(text[0]));
    case TTypeKind::Enumeration: return SetOrdProp(object, info, TextToEnum(*info.EnumType, text));
    case TTypeKind::Set: return SetOrdProp(object, info, TextToSet(*info.EnumType, text));
    case TTypeKind::Float:
      if (!TryStrToFloat(text, real)) throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
      return SetFloatProp(object, info, real);
    case TTypeKind::String: return SetStrProp(object, info, std::string(text));
    default: throw EPropertyError("Property " + info.Name + " has no text form");
  }
}

const TPropInfo* ResolvePropPath(TObject* root, std::string_view path, TObject*& target) {
  TObject* current = root;
  while (current) {
    const std::size_t dot = path.find('.');
    const TPropInfo* info = GetPropInfo(current, path.substr(0, dot));
    if (!info) return nullptr;
    if (dot == std::string_view::npos) {
      target = current;
      return info;
    }
    if (info->Kind != TTypeKind::Class) return nullptr;
    current = std::get<TObject*>(info->Get(*current));
    path.remove_prefix(dot + 1);
  }
  return nullptr;
}

}  // namespace qv

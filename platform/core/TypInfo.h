#pragma once
// Reading and writing published properties by name, through the class
// information tables. Typed access raises EPropertyError when the property
// has another kind or cannot be written; the text forms are those that
// language files and stored control values use ("sp_Range", "True", "[akLeft,akTop]").

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Object.h"

namespace qv {

// nullptr when the object is absent, the name empty or not published.
const TPropInfo* GetPropInfo(const TObject* object, std::string_view name);

// Kinds Integer, Char, Enumeration and Set.
bool IsOrdinalKind(TTypeKind kind);

std::int64_t GetOrdProp(const TObject& object, const TPropInfo& info);
void SetOrdProp(TObject& object, const TPropInfo& info, std::int64_t value);
double GetFloatProp(const TObject& object, const TPropInfo& info);
void SetFloatProp(TObject& object, const TPropInfo& info, double value);
std::string GetStrProp(const TObject& object, const TPropInfo& info);
void SetStrProp(TObject& object, const TPropInfo& info, const std::string& value);
TObject* GetObjectProp(const TObject& object, const TPropInfo& info);
void SetObjectProp(TObject& object, const TPropInfo& info, TObject* value);
TMethod GetMethodProp(const TObject& object, const TPropInfo& info);
// Raises EPropertyError when the method has another signature than the event.
void SetMethodProp(TObject& object, const TPropInfo& info, const TMethod& value);

// The value as text: a number, a character, an enumeration name, "[a,b]" for
// a set, the text itself. Raises EPropertyError for class and method kinds.
std::string GetPropText(const TObject& object, const TPropInfo& info);
// Sets the value from such a text; enumerations and sets also accept numbers.
// Raises EConvertError for a text that does not fit the kind.
void SetPropText(TObject& object, const TPropInfo& info, std::string_view text);

// Follows a dotted path through object-valued properties ("Font.Name"):
// sets target to the object that holds the last property and returns that
// property, or nullptr when any step is missing or not an object.
const TPropInfo* ResolvePropPath(TObject* root, std::string_view path, TObject*& target);

}  // namespace qv

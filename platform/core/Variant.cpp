#include "platform/core/Variant.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"
#include "platform/core/NumberText.h"

namespace qv {

const char* VarTypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Integer: return "Integer";
    case VarType::Real: return "Double";
    case VarType::Date: return "Date";
    case VarType::Boolean: return "Boolean";
    case VarType::String: return "String";
    case VarType::UString: return "OleStr";
    case VarType::Dispatch: return "Dispatch";
    case VarType::Array: return "Array";
  }
  return "Unknown";
}

Variant::Variant(std::shared_ptr<AutomationObject> object) : data_(std::move(object)) {}

Variant Variant::Null() { return Variant(Data(NullTag{})); }
Variant Variant::FromDate(TDateTime date) { return Variant(Data(DateValue{date})); }
Variant Variant::Unicode(std::string utf8) { return Variant(Data(Wide{std::move(utf8)})); }

Variant Variant::Array(int low, int high) {
  return Variant(Data(std::make_shared<VarArray>(low, high)));
}

Variant Variant::Array2(int low1, int high1, int low2, int high2) {
  return Variant(Data(std::make_shared<VarArray>(low1, high1, low2, high2)));
}

Variant Variant::ArrayOf(std::vector<Variant> items) {
  auto array = std::make_shared<VarArray>(0, static_cast<int>(items.size()) - 1);
  array->Elements() = std::move(items);
  return Variant(Data(std::move(array)));
}

Variant Variant::ArrayOf(std::initializer_list<Variant> items) {
  return ArrayOf(std::vector<Variant>(items));
}

bool Variant::IsNumeric() const {
  const VarType type = Type();
  return type == VarType::Integer || type == VarType::Real || type == VarType::Date ||
         type == VarType::Boolean;
}

void Variant::CannotConvert(const char* target) const {
  throw EVariantError(std::string("Could not convert variant of type (") + VarTypeName(Type()) +
                      ") into type (" + target + ")");
}

const std::string& Variant::TextRef() const {
  if (const auto* narrow = std::get_if<Narrow>(&data_)) return narrow->Text;
  if (const auto* wide = std::get_if<Wide>(&data_)) return wide->Utf8;
  CannotConvert("String");
}

std::string Variant::ToString() const {
  switch (Type()) {
    case VarType::Empty: return "";
    case VarType::Integer: return IntToStr(std::get<std::int64_t>(data_));
    case VarType::Real: return FloatToStr(std::get<double>(data_), FormatSettings().DecimalSeparator);
    case VarType::Date: return DateTimeToStr(std::get<DateValue>(data_).Value);
    case VarType::Boolean: return std::get<bool>(data_) ? "True" : "False";
    case VarType::String:
    case VarType::UString: return TextRef();
    default: CannotConvert("String");
  }
}

double Variant::ToDouble() const {
  switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Integer: return static_cast<double>(std::get<std::int64_t>(data_));
    case VarType::Real: return std::get<double>(data_);
    case VarType::Date: return std::get<DateValue>(data_).Value;
    case VarType::Boolean: return std::get<bool>(data_) ? -1 : 0;
    case VarType::String:
    case VarType::UString: {
      double value;
      std::int64_t whole;
      if (TryStrToFloat(TextRef(), value, FormatSettings().DecimalSeparator)) return value;
      if (TryStrToInt64(TextRef(), whole)) return static_cast<double>(whole);
      CannotConvert("Double");
    }
    default: CannotConvert("Double");
  }
}

std::int64_t Variant::ToInt64() const {
  switch (Type()) {
    case VarType::Integer: return std::get<std::int64_t>(data_);
    case VarType::String:
    case VarType::UString: {
      std::int64_t whole;
      if (TryStrToInt64(TextRef(), whole)) return whole;
      break;
    }
    default: break;
  }
  // Reals round half to even, as the automation conversions do.
  const double real = ToDouble();
  if (!(std::fabs(real) < 9.2e18)) CannotConvert("Int64");
  return static_cast<std::int64_t>(std::nearbyint(real));
}

int Variant::ToInt() const {
  const std::int64_t value = ToInt64();
  if (value < INT32_MIN || value > INT32_MAX) CannotConvert("Integer");
  return static_cast<int>(value);
}

bool Variant::ToBool() const {
  if (const bool* flag = std::get_if<bool>(&data_)) return *flag;
  if (IsText()) {
    const std::string_view text = Trim(TextRef());
    auto equalsNoCase = [&](std::string_view word) {
      if (text.size() != word.size()) return false;
      for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
      return true;
    };
    if (equalsNoCase("true")) return true;
    if (equalsNoCase("false")) return false;
  }
  try {
    return ToDouble() != 0;
  } catch (const EVariantError&) {
    CannotConvert("Boolean");
  }
}

TDateTime Variant::ToDate() const {
  if (IsText()) {
    TDateTime value;
    if (TryStrToDateTime(TextRef(), value)) return value;
    double number;
    if (TryStrToFloat(TextRef(), number, FormatSettings().DecimalSeparator)) return number;
    CannotConvert("Date");
  }
  return ToDouble();
}

std::shared_ptr<AutomationObject> Variant::ToObject() const {
  if (IsEmpty()) return nullptr;
  if (const auto* object = std::get_if<std::shared_ptr<AutomationObject>>(&data_)) return *object;
  CannotConvert("Dispatch");
}

const VarArray& Variant::ArrayRef() const {
  if (const auto* array = std::get_if<std::shared_ptr<VarArray>>(&data_)) return **array;
  throw EVariantError(std::string("Variant is not an array (") + VarTypeName(Type()) + ")");
}

VarArray& Variant::ArrayMut() {
  auto* array = std::get_if<std::shared_ptr<VarArray>>(&data_);
  if (!array) throw EVariantError(std::string("Variant is not an array (") + VarTypeName(Type()) + ")");
  if (array->use_count() > 1) *array = std::make_shared<VarArray>(**array);
  return **array;
}

int Variant::DimCount() const { return IsArray() ? ArrayRef().DimCount() : 0; }
int Variant::LowBound(int dim) const { return ArrayRef().LowBound(dim); }
int Variant::HighBound(int dim) const { return ArrayRef().HighBound(dim); }
const Variant& Variant::operator[](int index) const { return ArrayRef().At(index); }
Variant& Variant::operator[](int index) { return ArrayMut().At(index); }
const Variant& Variant::At(int row, int column) const { return ArrayRef().At(row, column); }
Variant& Variant::At(int row, int column) { return ArrayMut().At(row, column); }

bool operator==(const Variant& a, const Variant& b) {
  if (a.IsNumeric() && b.IsNumeric()) return a.ToDouble() == b.ToDouble();
  if (a.IsText() && b.IsText()) return a.TextRef() == b.TextRef();
  if (a.Type() != b.Type()) return false;
  switch (a.Type()) {
    case VarType::Empty:
    case VarType::Null: return true;
    case VarType::Dispatch: return a.ToObject() == b.ToObject();
    case VarType::Array: return &a.ArrayRef() == &b.ArrayRef() || a.ArrayRef() == b.ArrayRef();
    default: return false;
  }
}

bool Identical(const Variant& a, const Variant& b) {
  if (a.Type() != b.Type()) return false;
  switch (a.Type()) {
    case VarType::Empty:
    case VarType::Null: return true;
    case VarType::Integer: return a.ToInt64() == b.ToInt64();
    case VarType::Boolean: return a.ToBool() == b.ToBool();
    case VarType::String:
    case VarType::UString: return a.TextRef() == b.TextRef();
    case VarType::Dispatch: return a.ToObject() == b.ToObject();
    case VarType::Real:
    case VarType::Date: return std::bit_cast<std::uint64_t>(a.ToDouble()) == std::bit_cast<std::uint64_t>(b.ToDouble());
    case VarType::Array: {
      const VarArray& left = a.ArrayRef();
      const VarArray& right = b.ArrayRef();
      if (&left == &right) return true;
      if (left.DimCount() != right.DimCount()) return false;
      for (int dim = 1; dim <= left.DimCount(); ++dim)
        if (left.LowBound(dim) != right.LowBound(dim) || left.HighBound(dim) != right.HighBound(dim)) return false;
      return std::equal(left.Elements().begin(), left.Elements().end(), right.Elements().begin(), Identical);
    }
  }
  return false;
}

// ---- VarArray ----

namespace {

// The element count of low..high, computed without overflow; bounds with
// high < low - 1, or more elements than an int can count, are refused.
std::size_t CheckedCount(int low, int high) {
  const std::int64_t count = std::int64_t{high} - std::int64_t{low} + 1;
  if (count < 0 || count > INT32_MAX) throw ERangeError("Invalid array bounds");
  return static_cast<std::size_t>(count);
}

}  // namespace

VarArray::VarArray(int low, int high) : dims_(1) {
  const std::size_t count = CheckedCount(low, high);
  low_[0] = low;
  high_[0] = high;
  elements_.resize(count);
}

VarArray::VarArray(int low1, int high1, int low2, int high2) : dims_(2) {
  const std::size_t rows = CheckedCount(low1, high1);
  const std::size_t columns = CheckedCount(low2, high2);
  low_[0] = low1;
  high_[0] = high1;
  low_[1] = low2;
  high_[1] = high2;
  elements_.resize(rows * columns);
}

int VarArray::LowBound(int dim) const {
  if (dim < 1 || dim > dims_) throw ERangeError("Invalid array dimension");
  return low_[dim - 1];
}

int VarArray::HighBound(int dim) const {
  if (dim < 1 || dim > dims_) throw ERangeError("Invalid array dimension");
  return high_[dim - 1];
}

std::size_t VarArray::Offset(int index) const {
  if (dims_ != 1 || index < low_[0] || index > high_[0]) throw ERangeError("Variant array index out of bounds");
  return static_cast<std::size_t>(index - low_[0]);
}

std::size_t VarArray::Offset(int row, int column) const {
  if (dims_ != 2 || row < low_[0] || row > high_[0] || column < low_[1] || column > high_[1])
    throw ERangeError("Variant array index out of bounds");
  return static_cast<std::size_t>(row - low_[0]) * static_cast<std::size_t>(Count(2)) +
         static_cast<std::size_t>(column - low_[1]);
}

const Variant& VarArray::At(int index) const { return elements_[Offset(index)]; }
Variant& VarArray::At(int index) { return elements_[Offset(index)]; }
const Variant& VarArray::At(int row, int column) const { return elements_[Offset(row, column)]; }
Variant& VarArray::At(int row, int column) { return elements_[Offset(row, column)]; }

bool operator==(const VarArray& a, const VarArray& b) {
  if (a.dims_ != b.dims_) return false;
  for (int d = 0; d < a.dims_; ++d)
    if (a.low_[d] != b.low_[d] || a.high_[d] != b.high_[d]) return false;
  return a.elements_ == b.elements_;
}

}  // namespace qv

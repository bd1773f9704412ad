#pragma once
// The dynamically typed value of the system. Requests, server answers, host
// parameters and condition structures are trees of these.
//
// Texts come in two kinds, as on the automation platform: narrow text, bytes
// in some code page (the program's own text is UTF-8), and Unicode text,
// held here as UTF-8. Arrays have explicit bounds in one or two dimensions
// and share their elements until one copy is changed, so copying a whole
// request is cheap.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/core/DateTime.h"

namespace qv {

class AutomationObject;
class VarArray;

enum class VarType : std::uint8_t {
  Empty,     // never assigned
  Null,
  Integer,
  Real,
  Date,
  Boolean,
  String,    // narrow text
  UString,   // Unicode text
  Dispatch,  // automation object
  Array,
};

const char* VarTypeName(VarType type);

class Variant {
 public:
  Variant() = default;
  Variant(int value) : data_(std::int64_t{value}) {}
  Variant(long value) : data_(std::int64_t{value}) {}
  Variant(long long value) : data_(std::int64_t{value}) {}
  Variant(double value) : data_(value) {}
  Variant(bool value) : data_(value) {}
  Variant(std::string text) : data_(Narrow{std::move(text)}) {}
  Variant(const char* text) : data_(Narrow{text}) {}
  Variant(std::shared_ptr<AutomationObject> object);
  // Any object of a class derived from AutomationObject.
  template <class T>
    requires(!std::is_same_v<T, AutomationObject>)
  Variant(std::shared_ptr<T> object) : Variant(std::shared_ptr<AutomationObject>(std::move(object))) {}

  static Variant Null();
  static Variant FromDate(TDateTime date);
  static Variant Unicode(std::string utf8);
  // Arrays of empty elements with the given inclusive bounds.
  static Variant Array(int low, int high);
  static Variant Array2(int low1, int high1, int low2, int high2);
  // A one-dimensional array indexed from 0.
  static Variant ArrayOf(std::initializer_list<Variant> items);
  static Variant ArrayOf(std::vector<Variant> items);

  VarType Type() const { return static_cast<VarType>(data_.index()); }
  bool IsEmpty() const { return Type() == VarType::Empty; }
  bool IsNull() const { return Type() == VarType::Null; }
  bool IsArray() const { return Type() == VarType::Array; }
  bool IsText() const { return Type() == VarType::String || Type() == VarType::UString; }
  bool IsNumeric() const;

  // The bytes of a text value (narrow, or UTF-8 for Unicode); raises for others.
  const std::string& TextRef() const;

  // Automation conversions; each raises EVariantError when the value cannot
  // be converted.
  std::string ToString() const;
  std::int64_t ToInt64() const;
  int ToInt() const;
  double ToDouble() const;
  bool ToBool() const;
  TDateTime ToDate() const;
  std::shared_ptr<AutomationObject> ToObject() const;

  // Array access. Indexes are checked against the bounds (ERangeError).
  // Mutable access first detaches shared elements.
  const VarArray& ArrayRef() const;
  VarArray& ArrayMut();
  int DimCount() const;               // 0 for a value that is not an array
  int LowBound(int dim = 1) const;    // dim is 1 or 2
  int HighBound(int dim = 1) const;
  const Variant& operator[](int index) const;
  Variant& operator[](int index);
  const Variant& At(int row, int column) const;
  Variant& At(int row, int column);

  // Loose, as the automation comparison: numbers of any kind by their value,
  // narrow and Unicode text by their bytes. Identical below is the strict one.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  struct DateValue {
    TDateTime Value;
  };
  struct Narrow {
    std::string Text;
  };
  struct Wide {
    std::string Utf8;
  };
  // Alternatives in VarType order.
  using Data = std::variant<std::monostate, NullTag, std::int64_t, double, DateValue, bool, Narrow,
                            Wide, std::shared_ptr<AutomationObject>, std::shared_ptr<VarArray>>;

  explicit Variant(Data data) : data_(std::move(data)) {}
  [[noreturn]] void CannotConvert(const char* target) const;

  Data data_;
};

// Strict sameness: the same type and exactly the same value (doubles bit for
// bit, arrays with the same bounds and identical elements, the same object).
bool Identical(const Variant& a, const Variant& b);

// The elements of an array value, stored row by row.
class VarArray {
 public:
  VarArray(int low, int high);
  VarArray(int low1, int high1, int low2, int high2);

  int DimCount() const { return dims_; }
  int LowBound(int dim = 1) const;
  int HighBound(int dim = 1) const;
  int Count(int dim = 1) const { return HighBound(dim) - LowBound(dim) + 1; }

  const Variant& At(int index) const;
  Variant& At(int index);
  const Variant& At(int row, int column) const;
  Variant& At(int row, int column);

  // All elements in storage order: for two dimensions, row by row, each row
  // from its lowest to its highest column.
  std::vector<Variant>& Elements() { return elements_; }
  const std::vector<Variant>& Elements() const { return elements_; }

  friend bool operator==(const VarArray& a, const VarArray& b);

 private:
  std::size_t Offset(int index) const;
  std::size_t Offset(int row, int column) const;

  int dims_;
  int low_[2] = {0, 0};
  int high_[2] = {-1, -1};
  std::vector<Variant> elements_;
};

}  // namespace qv

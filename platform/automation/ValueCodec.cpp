#include "platform/automation/ValueCodec.h"

#include <bit>
#include <type_traits>

#include "platform/core/Exception.h"

namespace qv {
namespace {

template <class T>
void PutLittle(std::string& out, T value) {
  static_assert(std::is_integral_v<T>);
  auto bits = static_cast<std::make_unsigned_t<T>>(value);
  char bytes[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    bytes[i] = static_cast<char>(bits & 0xFF);
    bits = static_cast<std::make_unsigned_t<T>>(bits >> 8);
  }
  out.append(bytes, sizeof(T));
}

void PutDouble(std::string& out, double value) {
  PutLittle(out, std::bit_cast<std::uint64_t>(value));
}

void PutText(std::string& out, ValueTag tag, const std::string& text) {
  if (text.size() > UINT32_MAX) throw EVariantError("Text too long to encode");
  out.push_back(static_cast<char>(tag));
  PutLittle(out, static_cast<std::uint32_t>(text.size()));
  out.append(text);
}

void Encode(const Variant& value, std::string& out, int depth);

void EncodeArray(const Variant& value, std::string& out, int depth) {
  if (depth >= kMaxValueDepth) throw EVariantError("Value nested too deeply to encode");
  const VarArray& array = value.ArrayRef();
  out.push_back(static_cast<char>(ValueTag::Array));
  out.push_back(static_cast<char>(array.DimCount()));
  for (int dim = 1; dim <= array.DimCount(); ++dim) {
    PutLittle(out, static_cast<std::int32_t>(array.LowBound(dim)));
    PutLittle(out, static_cast<std::int32_t>(array.HighBound(dim)));
  }
  for (const Variant& element : array.Elements()) Encode(element, out, depth + 1);
}

void Encode(const Variant& value, std::string& out, int depth) {
  switch (value.Type()) {
    case VarType::Empty: out.push_back(static_cast<char>(ValueTag::Empty)); return;
    case VarType::Null: out.push_back(static_cast<char>(ValueTag::Null)); return;
    case VarType::Integer:
      out.push_back(static_cast<char>(ValueTag::Integer));
      PutLittle(out, value.ToInt64());
      return;
    case VarType::Real:
      out.push_back(static_cast<char>(ValueTag::Real));
      PutDouble(out, value.ToDouble());
      return;
    case VarType::Date:
      if (!IsValidDateTime(value.ToDate())) throw EVariantError("A date outside years 1 to 9999 cannot be encoded");
      out.push_back(static_cast<char>(ValueTag::Date));
      PutDouble(out, value.ToDate());
      return;
    case VarType::Boolean:
      out.push_back(static_cast<char>(ValueTag::Boolean));
      out.push_back(value.ToBool() ? 1 : 0);
      return;
    case VarType::String: PutText(out, ValueTag::String, value.TextRef()); return;
    case VarType::UString: PutText(out, ValueTag::UString, value.TextRef()); return;
    case VarType::Dispatch: throw EVariantError("An automation object cannot be encoded");
    case VarType::Array: EncodeArray(value, out, depth); return;
  }
  throw EVariantError("Unknown value type");
}

// Reads from a buffer it does not trust.
class Reader {
 public:
  Reader(std::string_view bytes, std::size_t position) : bytes_(bytes), pos_(position) {
    if (pos_ > bytes_.size()) Fail("position beyond the end");
  }

  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return bytes_.size() - pos_; }

  [[noreturn]] static void Fail(const std::string& why) { throw EVariantError("Malformed value: " + why); }

  void Need(std::size_t count) const {
    if (count > Remaining()) Fail("truncated at byte " + std::to_string(pos_));
  }

  std::uint8_t Byte() {
    Need(1);
    return static_cast<std::uint8_t>(bytes_[pos_++]);
  }

  template <class T>
  T Little() {
    Need(sizeof(T));
    std::make_unsigned_t<T> bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      bits |= static_cast<std::make_unsigned_t<T>>(static_cast<std::uint8_t>(bytes_[pos_ + i])) << (8 * i);
    pos_ += sizeof(T);
    return static_cast<T>(bits);
  }

  double Double() { return std::bit_cast<double>(Little<std::uint64_t>()); }

  std::string Text() {
    const std::uint32_t length = Little<std::uint32_t>();
    Need(length);
    std::string text(bytes_.substr(pos_, length));
    pos_ += length;
    return text;
  }

  Variant Value(int depth);

 private:
  Variant Array(int depth);
  void Bounds(std::int32_t& low, std::int32_t& high, std::uint64_t& count);

  std::string_view bytes_;
  std::size_t pos_;
};

void Reader::Bounds(std::int32_t& low, std::int32_t& high, std::uint64_t& count) {
  low = Little<std::int32_t>();
  high = Little<std::int32_t>();
  const std::int64_t span = std::int64_t{high} - std::int64_t{low} + 1;
  // The same limits as an array value's own: no overflowing element count.
  if (span < 0 || span > INT32_MAX) Fail("array bounds " + std::to_string(low) + ".." + std::to_string(high));
  count = static_cast<std::uint64_t>(span);
}

Variant Reader::Array(int depth) {
  if (depth >= kMaxValueDepth) Fail("nested deeper than " + std::to_string(kMaxValueDepth));
  const std::uint8_t dims = Byte();
  if (dims != 1 && dims != 2) Fail("array of " + std::to_string(dims) + " dimensions");
  std::int32_t low[2] = {0, 0}, high[2] = {-1, -1};
  std::uint64_t count[2] = {1, 1};
  for (int d = 0; d < dims; ++d) Bounds(low[d], high[d], count[d]);
  // Every element takes at least one byte, so a count above the remaining
  // bytes cannot be honest; checking it first keeps allocation bounded.
  const bool empty = count[0] == 0 || count[1] == 0;
  if (!empty && count[0] > Remaining() / count[1])
    Fail("array of " + std::to_string(count[0] * count[1]) + " elements in " + std::to_string(Remaining()) +
         " bytes");
  Variant result = dims == 1 ? Variant::Array(low[0], high[0]) : Variant::Array2(low[0], high[0], low[1], high[1]);
  for (Variant& element : result.ArrayMut().Elements()) element = Value(depth + 1);
  return result;
}

Variant Reader::Value(int depth) {
  const std::size_t start = pos_;
  const std::uint8_t tag = Byte();
  switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Empty: return Variant();
    case ValueTag::Null: return Variant::Null();
    case ValueTag::Integer: return Variant(static_cast<long long>(Little<std::int64_t>()));
    case ValueTag::Real: return Variant(Double());
    case ValueTag::Date: {
      const double date = Double();
      if (!IsValidDateTime(date)) Fail("date " + std::to_string(date) + " outside years 1 to 9999");
      return Variant::FromDate(date);
    }
    case ValueTag::Boolean: {
      const std::uint8_t flag = Byte();
      if (flag > 1) Fail("boolean byte " + std::to_string(flag));
      return Variant(flag == 1);
    }
    case ValueTag::String: return Variant(Text());
    case ValueTag::UString: return Variant::Unicode(Text());
    case ValueTag::Array: return Array(depth);
  }
  Fail("unknown tag " + std::to_string(tag) + " at byte " + std::to_string(start));
}

}  // namespace

void EncodeValue(const Variant& value, std::string& out) { Encode(value, out, 0); }

Variant DecodeValue(std::string_view bytes, std::size_t& position) {
  Reader reader(bytes, position);
  Variant value = reader.Value(0);
  position = reader.Position();
  return value;
}

Variant DecodeValue(std::string_view bytes) {
  std::size_t position = 0;
  Variant value = DecodeValue(bytes, position);
  if (position != bytes.size())
    Reader::Fail(std::to_string(bytes.size() - position) + " bytes after the value");
  return value;
}

}  // namespace qv

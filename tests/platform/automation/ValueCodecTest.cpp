#include "platform/automation/ValueCodec.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "platform/automation/Automation.h"
#include "platform/core/Exception.h"

namespace qv {
namespace {

// Variant's operator== treats numbers and text kinds loosely; a codec must
// keep the exact kind, so trees are compared strictly here.
::testing::AssertionResult SameTree(const Variant& a, const Variant& b, const std::string& where = "value") {
  if (a.Type() != b.Type())
    return ::testing::AssertionFailure() << where << ": " << VarTypeName(a.Type()) << " vs " << VarTypeName(b.Type());
  switch (a.Type()) {
    case VarType::Integer:
      if (a.ToInt64() != b.ToInt64()) return ::testing::AssertionFailure() << where << ": integers differ";
      break;
    case VarType::Real:
    case VarType::Date:
      if (std::bit_cast<std::uint64_t>(a.ToDouble()) != std::bit_cast<std::uint64_t>(b.ToDouble()))
        return ::testing::AssertionFailure() << where << ": doubles differ";
      break;
    case VarType::Boolean:
      if (a.ToBool() != b.ToBool()) return ::testing::AssertionFailure() << where << ": booleans differ";
      break;
    case VarType::String:
    case VarType::UString:
      if (a.TextRef() != b.TextRef()) return ::testing::AssertionFailure() << where << ": texts differ";
      break;
    case VarType::Array: {
      if (a.DimCount() != b.DimCount()) return ::testing::AssertionFailure() << where << ": dimension counts differ";
      for (int d = 1; d <= a.DimCount(); ++d)
        if (a.LowBound(d) != b.LowBound(d) || a.HighBound(d) != b.HighBound(d))
          return ::testing::AssertionFailure() << where << ": bounds differ in dimension " << d;
      const auto& ea = a.ArrayRef().Elements();
      const auto& eb = b.ArrayRef().Elements();
      for (std::size_t i = 0; i < ea.size(); ++i) {
        auto r = SameTree(ea[i], eb[i], where + "[" + std::to_string(i) + "]");
        if (!r) return r;
      }
      break;
    }
    default: break;
  }
  return ::testing::AssertionSuccess();
}

std::string Encoded(const Variant& value) {
  std::string out;
  EncodeValue(value, out);
  return out;
}

Variant Nested(int depth) {
  Variant value = 1;
  for (int i = 0; i < depth; ++i) value = Variant::ArrayOf({value});
  return value;
}

Variant TwoDimensional() {
  Variant grid = Variant::Array2(-3, -1, 7, 8);
  int n = 0;
  for (int row = -3; row <= -1; ++row)
    for (int column = 7; column <= 8; ++column) grid.At(row, column) = Variant::Unicode("格" + std::to_string(n++));
  return grid;
}

Variant Request() {
  Variant inner = Variant::Array(5, 6);
  inner[5] = Variant::Null();
  inner[6] = Variant::ArrayOf({Variant(), false, Variant::FromDate(45000.25)});
  return Variant::ArrayOf({"GetReport", Variant::Unicode("制表日期"), std::string("\xd6\xd0\xce\xc4"), inner,
                           TwoDimensional(), Variant::Array(1, 0), 1.5, -7});
}

TEST(ValueCodecTest, EveryKindRoundTripsWithItsExactType) {
  const std::vector<Variant> values = {
      Variant(), Variant::Null(), 0, -1, Variant(static_cast<long long>(INT64_MIN)),
      Variant(static_cast<long long>(INT64_MAX)), 3.25, -0.0, 1e308, Variant::FromDate(36526.5),
      Variant::FromDate(-693593.5), Variant::FromDate(2958465.999), std::nan(""), HUGE_VAL, true, false,
      "", "narrow", std::string("a\0b", 3), Variant::Unicode(""), Variant::Unicode("报表请求 – 中文"),
      Variant::Array(1, 0), TwoDimensional(), Variant::Array2(0, -1, 4, 9), Request(), Nested(kMaxValueDepth),
  };
  for (std::size_t i = 0; i < values.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    try {
      EXPECT_TRUE(SameTree(values[i], DecodeValue(Encoded(values[i]))));
    } catch (const Exception& e) {
      ADD_FAILURE() << e.ClassName() << ": " << e.Message();
    }
  }
}

TEST(ValueCodecTest, LayoutIsTagThenLittleEndianPayload) {
  EXPECT_EQ(Encoded(0x0102), std::string("\x02\x02\x01\0\0\0\0\0\0", 9));
  EXPECT_EQ(Encoded(Variant::Unicode("中")), std::string("\x07\x03\0\0\0\xe4\xb8\xad", 8));
  EXPECT_EQ(Encoded("ab"), std::string("\x06\x02\0\0\0ab", 7));
  EXPECT_EQ(Encoded(Variant::Array2(1, 1, -1, -1)),
            std::string("\x09\x02\x01\0\0\0\x01\0\0\0\xff\xff\xff\xff\xff\xff\xff\xff\x00", 19));
}

TEST(ValueCodecTest, TwoDimensionalElementsGoRowByRow) {
  Variant grid = Variant::Array2(1, 2, 1, 2);
  grid.At(1, 2) = 12;
  grid.At(2, 1) = 21;
  const std::string bytes = Encoded(grid);
  const std::size_t elements = 1 + 1 + 16;
  EXPECT_EQ(bytes[elements + 1], '\x02');       // (1,2) comes second
  EXPECT_EQ(bytes[elements + 1 + 1], '\x0c');
  EXPECT_EQ(bytes[elements + 1 + 9], '\x02');   // (2,1) comes third
  EXPECT_EQ(bytes[elements + 1 + 10], '\x15');
}

TEST(ValueCodecTest, PositionalDecodingReadsConsecutiveValues) {
  std::string bytes;
  EncodeValue(Variant::Unicode("一"), bytes);
  EncodeValue(Request(), bytes);
  EncodeValue(42, bytes);
  std::size_t position = 0;
  EXPECT_TRUE(SameTree(DecodeValue(bytes, position), Variant::Unicode("一")));
  EXPECT_TRUE(SameTree(DecodeValue(bytes, position), Request()));
  EXPECT_TRUE(SameTree(DecodeValue(bytes, position), 42));
  EXPECT_EQ(position, bytes.size());
}

class NoMembers : public AutomationObject {
 public:
  Variant Invoke(std::string_view, std::vector<Variant>&) override { return {}; }
  Variant GetProperty(std::string_view, std::vector<Variant>&) override { return {}; }
  void PutProperty(std::string_view, const Variant&) override {}
};

TEST(ValueCodecTest, RefusesWhatCannotLeaveTheProcess) {
  std::string out;
  EXPECT_THROW(EncodeValue(Variant::ArrayOf({1, Variant(std::make_shared<NoMembers>())}), out), EVariantError);
  EXPECT_THROW(EncodeValue(Nested(kMaxValueDepth + 1), out), EVariantError);
  for (double date : {std::nan(""), HUGE_VAL, -HUGE_VAL, 2958466.0, -693594.0})
    EXPECT_THROW(EncodeValue(Variant::FromDate(date), out), EVariantError) << date;
}

void ExpectMalformed(std::string_view bytes, const std::string& label) {
  SCOPED_TRACE(label);
  try {
    DecodeValue(bytes);
    ADD_FAILURE() << "decoded without error";
  } catch (const EVariantError& error) {
    EXPECT_EQ(error.Message().rfind("Malformed value: ", 0), 0u) << error.Message();
  }
}

TEST(ValueCodecTest, EveryTruncationOfAValidEncodingRaises) {
  const std::string bytes = Encoded(Request());
  for (std::size_t length = 0; length < bytes.size(); ++length)
    ExpectMalformed(std::string_view(bytes).substr(0, length), "length " + std::to_string(length));
}

std::string ArrayHeader(std::int32_t low, std::int32_t high) {
  std::string out("\x09\x01", 2);
  for (std::int32_t bound : {low, high})
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<std::uint32_t>(bound) >> (8 * i)) & 0xFF));
  return out;
}

TEST(ValueCodecTest, MalformedInputsRaiseAndNeverCrash) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += ArrayHeader(0, 0);
  deep += '\x00';
  const struct {
    const char* label;
    std::string bytes;
  } cases[] = {
      {"unknown tag", std::string("\x08", 1)},
      {"unknown high tag", "\xff"},
      {"boolean not 0 or 1", std::string("\x05\x02", 2)},
      {"date NaN", std::string("\x04\0\0\0\0\0\0\xf8\x7f", 9)},
      {"date +infinity", std::string("\x04\0\0\0\0\0\0\xf0\x7f", 9)},
      {"date -infinity", std::string("\x04\0\0\0\0\0\0\xf0\xff", 9)},
      {"date 1e300", std::string("\x04\x9c\x75\0\x88\x3c\xe4\x37\x7e", 9)},
      {"date 2958466, year 10000", std::string("\x04\0\0\0\0\x41\x92\x46\x41", 9)},
      {"date -693594, year 0", std::string("\x04\0\0\0\0\xb4\x2a\x25\xc1", 9)},
      {"text longer than the buffer", std::string("\x06\xff\xff\xff\xff" "abc", 8)},
      {"unicode text longer than the buffer", std::string("\x07\x05\0\0\0" "abc", 8)},
      {"huge element count", ArrayHeader(INT32_MIN, INT32_MAX) + std::string(16, '\0')},
      {"count beyond the bytes left", ArrayHeader(1, 5) + std::string(4, '\0')},
      {"reversed bounds", ArrayHeader(5, 1)},
      {"three dimensions", std::string("\x09\x03", 2) + std::string(24, '\0')},
      {"zero dimensions", std::string("\x09\x00\x00", 3)},
      {"more elements than an array can count", ArrayHeader(-1, INT32_MAX - 1) + std::string(16, '\0')},
      {"whole int range beside an empty dimension",
       std::string("\x09\x02\0\0\0\x80\xff\xff\xff\x7f\0\0\0\0\xff\xff\xff\xff", 18)},
      {"huge two-dimensional count",
       std::string("\x09\x02\0\0\0\0\xff\xff\x00\x00\0\0\0\0\xff\xff\x00\x00", 18) + std::string(64, '\0')},
      {"deep nesting", deep},
      {"trailing bytes", std::string("\x00\x00", 2)},
      {"empty buffer", ""},
  };
  for (const auto& c : cases) ExpectMalformed(c.bytes, c.label);
}

TEST(ValueCodecTest, BoundsAtTheLowestIntDecode) {
  const Variant value = DecodeValue(std::string("\x09\x01\0\0\0\x80\0\0\0\x80\x00", 11));
  EXPECT_EQ(value.LowBound(), INT32_MIN);
  EXPECT_EQ(value.HighBound(), INT32_MIN);
  EXPECT_TRUE(value[INT32_MIN].IsEmpty());
}

TEST(ValueCodecTest, NestingUpToTheLimitDecodesAndOneMoreDoesNot) {
  std::string bytes;
  for (int i = 0; i < kMaxValueDepth; ++i) bytes += ArrayHeader(0, 0);
  EXPECT_NO_THROW(DecodeValue(bytes + '\x01'));
  ExpectMalformed(ArrayHeader(0, 0) + bytes + '\x01', "one level too deep");
}

}  // namespace
}  // namespace qv

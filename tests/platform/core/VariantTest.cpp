// Values: the automation conversions, arrays with explicit bounds and the
// sharing of array elements between copies.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/DateFormat.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/Variant.h"

namespace qv {
namespace {

TEST(VariantConversion, ToText) {
  const struct {
    Variant value;
    const char* text;
  } cases[] = {
      {Variant(), ""},
      {Variant(42), "42"},
      {Variant(-7LL), "-7"},
      {Variant(2.5), "2.5"},
      {Variant(1e20), "1E20"},
      {Variant(0.1 + 0.2), "0.3"},  // 15 significant digits
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant("开启报表"), "开启报表"},
      {Variant::Unicode("開啟"), "開啟"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.ToString(), c.text) << VarTypeName(c.value.Type());
}

TEST(VariantConversion, ToNumbers) {
  EXPECT_EQ(Variant("  123 ").ToInt(), 123);
  EXPECT_EQ(Variant("$1F").ToInt(), 31);
  EXPECT_EQ(Variant("2.5").ToInt(), 2);  // half to even
  EXPECT_EQ(Variant(3.5).ToInt(), 4);
  EXPECT_EQ(Variant(true).ToInt(), -1);  // automation true
  EXPECT_EQ(Variant().ToInt(), 0);
  EXPECT_DOUBLE_EQ(Variant("1.25").ToDouble(), 1.25);
  EXPECT_DOUBLE_EQ(Variant(7).ToDouble(), 7.0);
  EXPECT_TRUE(Variant("TRUE").ToBool());
  EXPECT_FALSE(Variant("0").ToBool());
  EXPECT_TRUE(Variant(2).ToBool());
}

TEST(VariantConversion, FailuresRaise) {
  EXPECT_THROW(Variant("12ab").ToInt(), EVariantError);
  EXPECT_THROW(Variant("").ToDouble(), EVariantError);
  EXPECT_THROW(Variant::Null().ToString(), EVariantError);
  EXPECT_THROW(Variant::Null().ToInt(), EVariantError);
  EXPECT_THROW(Variant("yes").ToBool(), EVariantError);
  EXPECT_THROW(Variant(1e30).ToInt(), EVariantError);
  EXPECT_THROW(Variant(5000000000LL).ToInt(), EVariantError);
  EXPECT_THROW(Variant::Array(0, 1).ToString(), EVariantError);
  EXPECT_THROW(Variant(5).TextRef(), EVariantError);
  EXPECT_THROW(Variant("x")[0], EVariantError);
}

TEST(VariantConversion, Dates) {
  const TDateTime march7 = EncodeDate(2024, 3, 7);
  const Variant date = Variant::FromDate(march7);
  EXPECT_EQ(date.Type(), VarType::Date);
  EXPECT_DOUBLE_EQ(date.ToDouble(), march7);
  EXPECT_DOUBLE_EQ(Variant(45358.0).ToDate(), 45358.0);
  EXPECT_THROW(Variant("not a date").ToDate(), EVariantError);
}

// Values that are no date at all, or outside years 1 to 9999, have no text
// rather than digits made from an overflowed conversion.
TEST(VariantConversion, DatesOutsideTheRangeHaveNoText) {
  for (double date : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, 2958466.0, -693594.0, 9.3e18}) {
    SCOPED_TRACE(date);
    EXPECT_EQ(Variant::FromDate(date).ToString(), "");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz dddd", date), "");
    EXPECT_EQ(DecodeDate(date).Year, 0);
    EXPECT_EQ(DecodeTime(date).Hour, 0);
  }
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -693593.5), "0001-01-01 12:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", 2958465.75), "9999-12-31 18:00");
}

TEST(VariantArray, BoundsAndIndexing) {
  Variant list = Variant::Array(1, 3);
  EXPECT_EQ(list.DimCount(), 1);
  EXPECT_EQ(list.LowBound(), 1);
  EXPECT_EQ(list.HighBound(), 3);
  list[1] = "a";
  list[3] = 3;
  EXPECT_TRUE(list[2].IsEmpty());
  EXPECT_THROW(list[0], ERangeError);
  EXPECT_THROW(list[4], ERangeError);
  EXPECT_THROW(list.At(1, 1), ERangeError);

  Variant grid = Variant::Array2(0, 1, 0, 2);  // [0, i] address, [1, i] port
  EXPECT_EQ(grid.DimCount(), 2);
  EXPECT_EQ(grid.HighBound(2), 2);
  grid.At(0, 2) = "srv3";
  grid.At(1, 2) = 211;
  EXPECT_EQ(grid.ArrayRef().Elements()[2].ToString(), "srv3");  // row by row
  EXPECT_EQ(grid.ArrayRef().Elements()[5].ToInt(), 211);
  EXPECT_THROW(grid.At(2, 0), ERangeError);
  EXPECT_THROW(grid.HighBound(3), ERangeError);

  const Variant empty = Variant::ArrayOf({});
  EXPECT_EQ(empty.LowBound(), 0);
  EXPECT_EQ(empty.HighBound(), -1);
  EXPECT_THROW(Variant::Array(5, 3), ERangeError);
}

// Bounds at the ends of the int range: a count of at most INT32_MAX elements
// is kept, anything else (or a count that would overflow) is refused.
TEST(VariantArray, BoundsAtTheEndsOfTheIntRange) {
  const Variant lowest = Variant::Array(INT32_MIN, INT32_MIN);
  EXPECT_EQ(lowest.LowBound(), INT32_MIN);
  EXPECT_EQ(lowest.ArrayRef().Count(), 1);
  EXPECT_TRUE(lowest[INT32_MIN].IsEmpty());
  const Variant highest = Variant::Array2(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX - 1);
  EXPECT_EQ(highest.ArrayRef().Count(1), 1);
  EXPECT_EQ(highest.ArrayRef().Count(2), 0);

  const struct {
    const char* label;
    int dims, low1, high1, low2, high2;
  } refused[] = {
      {"whole int range", 1, INT32_MIN, INT32_MAX, 0, 0},
      {"one more than INT32_MAX elements", 1, -1, INT32_MAX - 1, 0, 0},
      {"whole range beside an empty dimension", 2, INT32_MIN, INT32_MAX, 0, -1},
      {"empty dimension beside the whole range", 2, 0, -1, INT32_MIN, INT32_MAX},
      {"reversed beside an empty dimension", 2, 1, -1, 0, -1},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.label);
    if (c.dims == 1)
      EXPECT_THROW(Variant::Array(c.low1, c.high1), ERangeError);
    else
      EXPECT_THROW(Variant::Array2(c.low1, c.high1, c.low2, c.high2), ERangeError);
  }
}

TEST(VariantArray, CopiesAreIndependent) {
  Variant inner = Variant::ArrayOf({"x", "y"});
  Variant outer = Variant::ArrayOf({inner, 1});
  Variant copy = outer;
  EXPECT_EQ(&copy.ArrayRef(), &outer.ArrayRef());  // shared until written

  copy[0][1] = "changed";
  EXPECT_EQ(outer[0][1].ToString(), "y");
  EXPECT_EQ(inner[1].ToString(), "y");
  EXPECT_EQ(copy[0][1].ToString(), "changed");
  EXPECT_FALSE(copy == outer);
}

TEST(VariantEquality, ComparesByValue) {
  EXPECT_EQ(Variant(), Variant());
  EXPECT_FALSE(Variant() == Variant::Null());
  EXPECT_EQ(Variant(1), Variant(1.0));
  EXPECT_EQ(Variant("abc"), Variant::Unicode("abc"));
  EXPECT_FALSE(Variant("1") == Variant(1));
  EXPECT_EQ(Variant::ArrayOf({1, "a"}), Variant::ArrayOf({1, "a"}));
  EXPECT_FALSE(Variant::ArrayOf({1}) == Variant::Array(1, 1));  // other bounds
}

// Pairs the loose comparison takes as equal and strict sameness does not.
TEST(VariantEquality, IdenticalNeedsTheSameTypeAndExactValue) {
  const Variant nested = Variant::ArrayOf({1, Variant::ArrayOf({"a"})});
  const struct {
    const char* label;
    Variant a, b;
    bool identical;
  } cases[] = {
      {"same integers", 9007199254740993LL, 9007199254740993LL, true},
      {"integers one apart beyond 2^53", 9007199254740993LL, 9007199254740992LL, false},
      {"integer and real", 1, 1.0, false},
      {"narrow and Unicode text", "abc", Variant::Unicode("abc"), false},
      {"-1 and true", -1, true, false},
      {"real and date", 45000.5, Variant::FromDate(45000.5), false},
      {"zero and minus zero", 0.0, -0.0, false},
      {"same NaN", std::nan(""), std::nan(""), true},
      {"empty and null", Variant(), Variant::Null(), false},
      {"equal nested arrays", nested, Variant::ArrayOf({1, Variant::ArrayOf({"a"})}), true},
      {"nested element of another kind", nested, Variant::ArrayOf({1, Variant::ArrayOf({Variant::Unicode("a")})}),
       false},
      {"other bounds", Variant::ArrayOf({1}), Variant::Array(1, 1), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Identical(c.a, c.b), c.identical);
    EXPECT_EQ(Identical(c.b, c.a), c.identical);
  }
}

}  // namespace
}  // namespace qv

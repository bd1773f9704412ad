// Format: directives filled with values, and outside patterns that do not fit
// their arguments refused with EConvertError.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/FormatText.h"

namespace qv {
namespace {

struct FormatCase {
  const char* pattern;
  std::vector<Variant> args;
  const char* expected;
};

class FormatFills : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFills, Directive) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(Format(c.pattern, c.args), c.expected) << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatFills,
    ::testing::Values(
        FormatCase{"no directives", {}, "no directives"},
        FormatCase{"100%% sure", {}, "100% sure"},
        FormatCase{"料号 %s 不存在", {Variant("A01")}, "料号 A01 不存在"},
        FormatCase{"[%s]", {Variant()}, "[]"},  // an unfilled slot is empty text
        FormatCase{"%s|%s|%s", {Variant(12), Variant(1.5), Variant(true)}, "12|1.5|True"},
        FormatCase{"[%5s][%-5s]", {Variant("ab"), Variant("ab")}, "[   ab][ab   ]"},
        FormatCase{"[%4s]", {Variant("制表")}, "[  制表]"},  // widths count characters
        FormatCase{"[%.2s]", {Variant("制表日期")}, "[制表]"},
        FormatCase{"%1:s %0:s %s", {Variant("a"), Variant("b")}, "b a b"},
        FormatCase{"[%*d]", {Variant(4), Variant(7)}, "[   7]"},
        FormatCase{"%d|%.3d|%.3d", {Variant(42), Variant(-7), Variant("12")}, "42|-007|012"},
        FormatCase{"%D", {Variant(5)}, "5"},  // type letters in either case
        FormatCase{"%u", {Variant(-1)}, "18446744073709551615"},
        FormatCase{"%x|%.4X", {Variant(255), Variant(26)}, "FF|001A"},
        FormatCase{"%f|%.0f|%.3f", {Variant(2.5), Variant(2), Variant("1.5")}, "2.50|2|1.500"},
        FormatCase{"%e", {Variant(1234.5)}, "1.23450000000000E+003"},
        FormatCase{"%.3e", {Variant(-0.00012)}, "-1.20E-004"},
        FormatCase{"%g|%g|%g", {Variant(1234.5), Variant(1e20), Variant(0.00001)}, "1234.5|1E20|1E-5"},
        FormatCase{"%n|%.1n", {Variant(1234567.891), Variant(-999.96)}, "1,234,567.89|-1,000.0"},
        FormatCase{"%m", {Variant(1000)}, "1,000.00"},
        FormatCase{"%.50f", {Variant(0.5)}, "0.500000000000000000"}));  // at most 18 decimals

struct RefusedCase {
  const char* pattern;
  std::vector<Variant> args;
};

class FormatRefuses : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(FormatRefuses, WithConvertError) {
  const RefusedCase& c = GetParam();
  EXPECT_THROW(Format(c.pattern, c.args), EConvertError) << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatRefuses,
    ::testing::Values(RefusedCase{"%s and %s", {Variant("one")}},           // too few arguments
                      RefusedCase{"%2:s", {Variant("a"), Variant("b")}},    // index past the arguments
                      RefusedCase{"%d", {Variant("abc")}},                  // text that is no integer
                      RefusedCase{"%d", {Variant(1.5)}},                    // real for an integer
                      RefusedCase{"%d", {Variant()}},                       // unfilled slot for a number
                      RefusedCase{"%f", {Variant("x")}},                    // text that is no number
                      RefusedCase{"%f", {Variant(true)}},                   // Boolean for a number
                      RefusedCase{"%s", {Variant::Null()}},                 // null has no text
                      RefusedCase{"%s", {Variant::ArrayOf({Variant(1)})}},  // nor an array
                      RefusedCase{"%p", {Variant(1)}},                      // unknown type
                      RefusedCase{"%q", {}},                                // unknown type, no argument
                      RefusedCase{"trailing %", {}},                        // directive cut short
                      RefusedCase{"%5.s", {Variant("a")}},                  // precision without digits
                      RefusedCase{"%99999999999s", {Variant("a")}},         // width beyond the limit
                      RefusedCase{"%*s", {Variant(-3), Variant("a")}},      // negative width argument
                      RefusedCase{"%*s", {Variant("wide"), Variant("a")}}   // width that is no integer
                      ));

TEST(Format, RealsFollowTheDecimalSeparatorOfTheSettings) {
  const TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(Format("%.2f|%n|%s", {Variant(2.5), Variant(1234.5), Variant("1,5")}), "2,50|1.234,50|1,5");
  EXPECT_EQ(Format("%f", {Variant("1,25")}), "1,25");
  FormatSettings() = saved;
}

}  // namespace
}  // namespace qv

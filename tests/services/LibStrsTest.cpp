#include "services/LibStrs.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Variant.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

// Dates in tests are written as year, month, day.
TDateTime Ymd(int year, int month, int day) { return EncodeDate(year, month, day); }

const std::string kMark = "\x03";

// ===========================================================================
// Field lists
// ===========================================================================

TEST(LibStrsFields, GetFieldPicksTheNthFieldUntrimmed) {
  struct Case {
    std::string text, separator;
    int n;
    std::string field;
  };
  const Case cases[] = {
      {"a,,b", ",", 1, "a"},
      {"a,,b", ",", 2, ""},
      {"a,,b", ",", 3, "b"},
      {"a,b", ",", 3, ""},          // fewer fields than asked
      {"a,b", ",", 0, ""},
      {"a,b", ",", -1, ""},
      {"", ",", 1, ""},             // the empty text has no fields
      {"a,", ",", 2, ""},
      {" a , b ", ",", 2, " b "},   // never trimmed
      {"x\x03y\x03z", kMark, 2, "y"},
      {"p;q;r", ";", 3, "r"},       // the last field runs to the end
      {"a;;b;;c", ";;", 2, "b"},    // a separator of several characters
      {"a,b", "", 1, "a,b"},        // an empty separator never occurs
      {"a,b", "", 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.separator + " / " + std::to_string(c.n));
    EXPECT_EQ(GetField(c.text, c.separator, c.n), c.field);
  }
}

TEST(LibStrsFields, FieldCountIsSeparatorsPlusOne) {
  struct Case {
    std::string text, separator;
    int count;
  };
  const Case cases[] = {
      {"", ",", 0},  {"abc", ",", 1}, {"a,,b", ",", 3}, {"a,", ",", 2},
      {",", ",", 2}, {"a\x03" "b", kMark, 2}, {"abc", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.separator);
    EXPECT_EQ(FieldCount(c.text, c.separator), c.count);
  }
}

TEST(LibStrsFields, CutFieldSplitsAtTheFirstSeparator) {
  struct Case {
    std::string text, separator, head, rest;
  };
  const Case cases[] = {
      {"2024/01/05", "/", "2024", "01/05"},
      {"20240105", "/", "20240105", ""},  // no separator: all of it
      {",a", ",", "", "a"},
      {"a,", ",", "a", ""},
      {"", ",", "", ""},
      {"a;;b;;c", ";;", "a", "b;;c"},
      {"a,b", "", "a,b", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.separator);
    std::string text = c.text;
    EXPECT_EQ(CutField(text, c.separator), c.head);
    EXPECT_EQ(text, c.rest);
  }
}

TEST(LibStrsFields, CuttingUntilEmptyReadsTheWholeList) {
  std::string text = "x\x03\x03z";
  std::vector<std::string> fields;
  while (!text.empty()) fields.push_back(CutField(text, kMark));
  EXPECT_EQ(fields, (std::vector<std::string>{"x", "", "z"}));
}

// ===========================================================================
// Dates by type
// ===========================================================================

TEST(LibStrsDateTypes, FormatDateByTypeWritesEachForm) {
  struct Case {
    int type;
    std::string separator;
    TDateTime date;
    std::string text;
  };
  const Case cases[] = {
      {dt_YYYYMMDD, "/", Ymd(2024, 3, 7), "2024/03/07"},
      {dt_YYYYMMDD, "", Ymd(2024, 3, 7), "20240307"},
      {dt_MMDDYYYY, "-/", Ymd(2024, 3, 7), "03-07-2024"},  // first character only
      {dt_DDMMYYYY, "/", Ymd(2024, 3, 7), "07/03/2024"},
      {dt_YYMMDD, "/", Ymd(2010, 5, 1), "99/05/01"},
      {dt_YYYMMDD, "/", Ymd(2010, 5, 1), "099/05/01"},
      {dt_YYMMDD, ".", Ymd(2024, 3, 7), "113.03.07"},     // minimum widths
      {dt_YYYMMDD, "/", Ymd(2024, 3, 7), "113/03/07"},
      {dt_YYMMDD, "/", Ymd(1912, 1, 2), "01/01/02"},
      {dt_YYYYMMDD, "/", Ymd(987, 12, 31), "0987/12/31"},
      {dt_YYYYMMDD, "年", Ymd(2024, 3, 7), "2024年03年07"},
      {dt_DDMMYYYY, "/", Ymd(2024, 3, 7) + 0.75, "07/03/2024"},  // time of day ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " / " + c.separator + " / " + c.text);
    std::string result = "stale";
    FormatDateByType(c.type, c.separator, c.date, result);
    EXPECT_EQ(result, c.text);
  }
}

TEST(LibStrsDateTypes, FormatYearMonthByTypeWritesEachForm) {
  struct Case {
    int type;
    std::string separator;
    TDateTime date;
    std::string text;
  };
  const Case cases[] = {
      {dt_YYYYMMDD, "", Ymd(2024, 3, 7), "202403"},
      {dt_MMDDYYYY, "-", Ymd(2024, 3, 7), "03-2024"},
      {dt_DDMMYYYY, "/", Ymd(2024, 3, 7), "03/2024"},
      {dt_YYMMDD, "/", Ymd(2010, 5, 1), "99/05"},
      {dt_YYYMMDD, "/", Ymd(2010, 5, 1), "099/05"},
      {dt_YYMMDD, "/", Ymd(2024, 3, 7), "113/03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " / " + c.text);
    std::string result = "stale";
    FormatYearMonthByType(c.type, c.separator, c.date, result);
    EXPECT_EQ(result, c.text);
  }
}

TEST(LibStrsDateTypes, FormattingWithoutADateOrTypeLeavesTheStatedResult) {
  using Formatter = void (*)(int, const std::string&, TDateTime, std::string&);
  for (Formatter format : {Formatter{FormatDateByType}, Formatter{FormatYearMonthByType}}) {
    struct Case {
      int type;
      TDateTime date;
      std::string result;
    };
    const Case cases[] = {
        {dt_YYYYMMDD, 0, ""},                     // no date
        {dt_NoneCare, 0, ""},                     // no date whatever the type
        {dt_NoneCare, Ymd(2024, 3, 7), "stale"},  // unknown type: untouched
        {6, Ymd(2024, 3, 7), "stale"},
        {-1, Ymd(2024, 3, 7), "stale"},
        {dt_YYYYMMDD, 1e9, ""},                   // beyond the year 9999
        {dt_YYYYMMDD, std::nan(""), ""},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.type) + " / " + std::to_string(c.date));
      std::string result = "stale";
      format(c.type, "/", c.date, result);
      EXPECT_EQ(result, c.result);
    }
  }
}

TEST(LibStrsDateTypes, ParseDateByTypeReadsTypedDates) {
  struct Case {
    std::string text;
    int type;
    std::string separator;
    TDateTime date;
  };
  const Case cases[] = {
      {"2024/03/07", dt_YYYYMMDD, "/", Ymd(2024, 3, 7)},
      {"03/07/2024", dt_MMDDYYYY, "/", Ymd(2024, 3, 7)},
      {"07/03/2024", dt_DDMMYYYY, "/", Ymd(2024, 3, 7)},
      {"113/03/07", dt_YYMMDD, "/", Ymd(2024, 3, 7)},
      {"99/05/01", dt_YYMMDD, "/", Ymd(2010, 5, 1)},
      {"099/05/01", dt_YYYMMDD, "/", Ymd(2010, 5, 1)},
      {" 2024 / 3 / 7 ", dt_YYYYMMDD, "/", Ymd(2024, 3, 7)},  // fields trimmed
      {"2024-03-07", dt_YYYYMMDD, "-", Ymd(2024, 3, 7)},
      {"2024/03/07/junk", dt_YYYYMMDD, "/", Ymd(2024, 3, 7)},  // only three fields are read
      // The day counts from the first of the month.
      {"2024/02/30", dt_YYYYMMDD, "/", Ymd(2024, 3, 1)},
      {"2024/01/366", dt_YYYYMMDD, "/", Ymd(2024, 12, 31)},
      {"8088/12/31", dt_YYMMDD, "/", Ymd(9999, 12, 31)},
      // No date.
      {"20240105", dt_YYYYMMDD, "/", 0},  // typed without separators
      {"2024/00/10", dt_YYYYMMDD, "/", 0},
      {"2024/13/01", dt_YYYYMMDD, "/", 0},
      {"10000/01/01", dt_YYYYMMDD, "/", 0},
      {"8089/01/01", dt_YYMMDD, "/", 0},  // the year 10000
      {"9999/12/32", dt_YYYYMMDD, "/", 0},  // past the last day
      {"2024/-3/07", dt_YYYYMMDD, "/", 0},
      {"2024/03/x", dt_YYYYMMDD, "/", 0},
      {"2024/03", dt_YYYYMMDD, "/", 0},
      {"2024/03/07", dt_NoneCare, "/", 0},
      {"2024/03/07", 6, "/", 0},
      {"99999999999999999999/1/1", dt_YYMMDD, "/", 0},
      {"2024/1/99999999999999999", dt_YYYYMMDD, "/", 0},
      {"   ", dt_YYYYMMDD, "/", 0},
      {"", dt_YYYYMMDD, "/", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + std::to_string(c.type));
    EXPECT_EQ(ParseDateByType(c.text, c.type, c.separator), c.date);
  }
}

TEST(LibStrsDateTypes, ParsingReadsBackWhatFormattingWrites) {
  const TDateTime dates[] = {Ymd(1912, 1, 1), Ymd(2010, 5, 1), Ymd(2024, 2, 29), Ymd(9999, 12, 31)};
  for (int type = dt_YYYYMMDD; type <= dt_YYYMMDD; ++type) {
    for (TDateTime date : dates) {
      std::string text;
      FormatDateByType(type, "/", date, text);
      SCOPED_TRACE(std::to_string(type) + " / " + text);
      EXPECT_EQ(ParseDateByType(text, type, "/"), date);
    }
  }
}

// ===========================================================================
// Compact dates
// ===========================================================================

TEST(LibStrsCompactDates, CompactToDateReadsExactlyEightCharacters) {
  struct Case {
    std::string text;
    TDateTime date;
  };
  const Case cases[] = {
      {"20240307", Ymd(2024, 3, 7)}, {"17530101", Ymd(1753, 1, 1)}, {"00010101", Ymd(1, 1, 1)},
      {"2024030", 0},                {"202403070", 0},              {"20240230", 0},
      {"00000101", 0},               {"20240001", 0},               {"20240300", 0},
      {"2024ab07", 0},               {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CompactToDate(c.text), c.date);
  }
}

TEST(LibStrsCompactDates, IsValidCompactDateChecksDateAndBounds) {
  struct Case {
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"17530101", true},
      {"99991231", true},
      {"20240229", true},
      {"17521231", false},      // below the lower bound
      {"20240230", false},      // no such day
      {"20230229", false},
      {"2024ab01", false},
      {"2024011", true},        // length not tested: day "1"
      {"202401011234", true},   // only the first 8 make the date
      {"99991231x", false},     // the whole text is above the upper bound
      {"2024", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsValidCompactDate(c.text), c.valid);
  }
}

// ===========================================================================
// Calendar arithmetic
// ===========================================================================

TEST(LibStrsCalendar, ShiftDateMovesCompactTexts) {
  struct Case {
    std::string text, unit;
    int n;
    std::string result;
  };
  const Case cases[] = {
      {"20240131", "M", 1, "20240229"},   // day lowered to the month's end
      {"20240331", "M", 1, "20240430"},
      {"20240315", "m", -3, "20231215"},
      {"20241215", "M", 1, "20250115"},
      {"20240115", "M", 11, "20241215"},  // month 12 of the same year
      {"20240115", "M", -1, "20231215"},
      {"20240229", "M", 12, "20250228"},
      {"20240101", "D", -1, "20231231"},
      {"20240228", "d", 2, "20240301"},
      {"20240307", "D", 0, "20240307"},
      {"20240229", "Y", 1, "20240229"},   // no 29 February: input kept
      {"20240229", "y", 4, "20280229"},
      {"20240307", "Y", -1, "20230307"},
      // Other units and inputs.
      {"20240307", "W", 1, ""},
      {"20240307", "", 1, ""},
      {"20240307", "DD", 1, ""},
      {"", "D", 1, ""},
      {"2024030", "D", 1, ""},
      {"20240230", "D", 1, ""},
      // Leaving the years 1-9999.
      {"99991215", "M", 1, ""},
      {"00010115", "M", -1, ""},
      {"20240131", "M", INT_MAX, ""},
      {"20240131", "M", INT_MIN, ""},
      {"99990101", "Y", 1, ""},
      {"99991231", "D", 1, ""},
      {"00010101", "D", -1, ""},
      {"20240131", "D", INT_MAX, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " " + c.unit + " " + std::to_string(c.n));
    std::string result = "stale";
    ShiftDate(Variant(c.text), c.unit, c.n, result);
    EXPECT_EQ(result, c.result);
  }
}

TEST(LibStrsCalendar, ShiftDateTakesDateValuesAndNothingElse) {
  struct Case {
    const char* name;
    Variant value;
    std::string result;
  };
  const Case cases[] = {
      {"date", Variant::FromDate(Ymd(2024, 1, 31)), "20240229"},
      {"date with time", Variant::FromDate(Ymd(2024, 1, 31) + 0.5), "20240229"},
      {"unicode text", Variant::Unicode("20240131"), "20240229"},
      {"date 0", Variant::FromDate(0), ""},
      {"date beyond 9999", Variant::FromDate(1e9), ""},
      {"integer", Variant(45322), ""},
      {"real", Variant(45322.0), ""},
      {"null", Variant::Null(), ""},
      {"empty", Variant(), ""},
      {"array", Variant::ArrayOf({Variant("20240131")}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string result = "stale";
    ShiftDate(c.value, "M", 1, result);
    EXPECT_EQ(result, c.result);
  }
}

TEST(LibStrsCalendar, DaysInMonthFollowsTheGregorianRule) {
  struct Case {
    int year, month, days;
  };
  const Case cases[] = {
      {1900, 2, 28}, {2000, 2, 29}, {2024, 2, 29}, {2023, 2, 28}, {2024, 1, 31},
      {2024, 4, 30}, {2024, 12, 31}, {2024, 13, 0}, {2024, 0, 0},  {2024, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.days);
  }
}

// ===========================================================================
// Values
// ===========================================================================

TEST(LibStrsValues, IfThenValueCopiesTheChosenValue) {
  const Variant yes("Y");
  const Variant no(0);
  const Variant chosenTrue = IfThenValue(true, yes, no);
  const Variant chosenFalse = IfThenValue(false, yes, no);
  EXPECT_EQ(chosenTrue.Type(), VarType::String);
  EXPECT_EQ(chosenTrue.TextRef(), "Y");
  EXPECT_EQ(chosenFalse.Type(), VarType::Integer);
  EXPECT_EQ(chosenFalse.ToInt(), 0);
}

TEST(LibStrsValues, IsEmptyOrNullOnlyForUnassignedAndNull) {
  EXPECT_TRUE(IsEmptyOrNull(Variant()));
  EXPECT_TRUE(IsEmptyOrNull(Variant::Null()));
  EXPECT_FALSE(IsEmptyOrNull(Variant("")));
  EXPECT_FALSE(IsEmptyOrNull(Variant::Unicode("")));
  EXPECT_FALSE(IsEmptyOrNull(Variant(0)));
  EXPECT_FALSE(IsEmptyOrNull(Variant(false)));
  EXPECT_FALSE(IsEmptyOrNull(Variant::Array(0, -1)));
}

// The program may switch the decimal separator; the text reader must not follow.
class LibStrsTextToFloat : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
  }
  void TearDown() override { FormatSettings() = saved_; }

 private:
  TFormatSettings saved_;
};

TEST_F(LibStrsTextToFloat, ReadsPointDecimalsOrGivesTheDefault) {
  struct Case {
    std::string text;
    double value;
  };
  const double kDefault = -99;
  const Case cases[] = {
      {"1.5", 1.5},      {"-2", -2},        {"0.25", 0.25},     {"1e3", 1000},
      {"1,5", kDefault}, {"abc", kDefault}, {"", kDefault},     {" 1.5", kDefault},
      {"1.5 ", kDefault}, {"1.5x", kDefault}, {"1.2.3", kDefault}, {"nan", kDefault},
      {"inf", kDefault},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextToFloatDef(c.text, kDefault), c.value);
  }
}

// ===========================================================================
// Texts
// ===========================================================================

TEST(LibStrsTexts, ReplaceAllTextReplacesAndTrims) {
  struct Case {
    std::string text, search, replacement;
    bool trim;
    std::string result;
  };
  const Case cases[] = {
      {"a-b-c", "-", "", true, "abc"},
      {"  x--y \t", "-", "", true, "xy"},
      {"  x--y  ", "-", "", false, "  xy  "},
      {"\x01\tx\r\n", "-", "", true, "x"},   // control characters trimmed too
      {"Ab ab", "ab", "", false, "Ab "},    // search with regard to case
      {"ab-AB", "ab", "AB", false, "ab-AB"},  // equal without case: untouched
      // Restarting from the beginning removes what a removal forms.
      {"aabb", "ab", "", false, ""},
      {"aabb", "ab", "a", false, "aa"},
      {"xxyy", "xy", "", true, ""},
      // A replacement holding the search text: each occurrence once.
      {"a-b", "-", "--", false, "a--b"},
      {"aa", "a", "aa", false, "aaaa"},
      // A longer replacement, whose restarting would grow the text forever.
      {"aab", "ab", "bbaa", false, "abbaa"},
      {"a.b.c", ".", "::", false, "a::b::c"},
      // An empty search text.
      {" ab ", "", "x", true, "ab"},
      {" ab ", "", "x", false, " ab "},
      {"", "a", "", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.search + " / " + c.replacement);
    EXPECT_EQ(ReplaceAllText(c.text, c.search, c.replacement, c.trim), c.result);
  }
}

TEST(LibStrsTexts, JoinCountedMarksEveryPart) {
  const Variant list = Variant::ArrayOf({Variant(2), Variant("成本"), Variant::Unicode("b"), Variant("unused")});
  const Variant joined = JoinCounted("P", list);
  EXPECT_EQ(joined.Type(), VarType::UString);
  EXPECT_EQ(joined.TextRef(), "P\x03" "2\x03成本\x03" "b\x03");

  const Variant none = JoinCounted("", Variant::ArrayOf({Variant(0)}));
  EXPECT_EQ(none.Type(), VarType::UString);
  EXPECT_EQ(none.TextRef(), "\x03" "0\x03");
}

TEST(LibStrsTexts, JoinCountedGivesEmptyTextForBadLists) {
  struct Case {
    const char* name;
    Variant list;
  };
  const Case cases[] = {
      {"not an array", Variant("2")},
      {"empty", Variant()},
      {"count beyond the items", Variant::ArrayOf({Variant(3), Variant("a")})},
      {"count not a number", Variant::ArrayOf({Variant("two"), Variant("a")})},
      {"negative count", Variant::ArrayOf({Variant(-1)})},
      {"no element 0", Variant::Array(1, 2)},
      {"item not a text", Variant::ArrayOf({Variant(1), Variant::Null()})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Variant joined = JoinCounted("P", c.list);
    EXPECT_EQ(joined.Type(), VarType::UString);
    EXPECT_EQ(joined.TextRef(), "");
  }
}

TEST(LibStrsTexts, ButtonCaptionLooksUpWithRegardToCase) {
  struct Case {
    std::string name, caption;
  };
  const Case cases[] = {
      {"Yes", "是(&Y)"},        {"No", "否(&N)"},          {"OK", "确定"},
      {"Cancel", "取消"},       {"Abort", "中断(&A)"},     {"Retry", "重试(&R)"},
      {"Ignore", "忽略(&I)"},   {"All", "全部(&A)"},       {"NoToAll", "全否(&o)"},
      {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
      {"yes", "yes"},           {"OK ", "OK "},            {"Maybe", "Maybe"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ButtonCaption(c.name), c.caption);
  }
}

// ===========================================================================
// System
// ===========================================================================

TEST(LibStrsSystem, TempDirectoryIsTheCanonicalFolderWithSlash) {
  test::TempDir dir;
  const std::string linkPath = dir / "link";
  std::filesystem::create_directory_symlink(dir.Path(), linkPath);
  test::ScopedEnv tmpdir("TMPDIR", linkPath + "/");

  const std::string canonical = std::filesystem::canonical(dir.Path()).string();
  EXPECT_EQ(GetTempDirectory(), canonical + "/");
}

TEST(LibStrsSystem, TempDirectoryLongerThan260CharactersIsEmpty) {
  test::TempDir dir;
  std::string deep = dir.Path();
  while (deep.size() <= 260) deep += "/" + std::string(50, 'd');
  std::filesystem::create_directories(deep);
  test::ScopedEnv tmpdir("TMPDIR", deep);

  EXPECT_EQ(GetTempDirectory(), "");
}

TEST(LibStrsSystem, OnlyTheDottedLoopbackTextIsLoopback) {
  EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
  for (const char* other : {"localhost", "127.0.0.2", " 127.0.0.1", "127.0.0.1 ", "::1",
                            "127.000.000.001", "", "0.0.0.0"}) {
    SCOPED_TRACE(other);
    EXPECT_FALSE(IsLoopbackAddress(other));
  }
}

}  // namespace
}  // namespace qv

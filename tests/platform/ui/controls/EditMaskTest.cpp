#include "platform/ui/controls/EditMask.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/FormatSettings.h"

namespace qv {
namespace {

// The separators come from the locale; pin them so masks read the same on
// every machine, and give the process its own settings back afterwards.
class EditMaskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = FormatSettings();
    FormatSettings().DateSeparator = '/';
    FormatSettings().TimeSeparator = ':';
  }
  void TearDown() override { FormatSettings() = saved_; }

 private:
  TFormatSettings saved_;
};

TEST_F(EditMaskTest, ParsesTheThreeFields) {
  struct Case {
    const char* mask;
    bool saves;
    char blank;
    bool fromRight;
    const char* emptyDisplay;
  };
  const Case cases[] = {
      {"", true, '_', false, ""},
      {"999", true, '_', false, "___"},
      {"999;0", false, '_', false, "___"},
      {"999;1", true, '_', false, "___"},
      {"999;0;*", false, '*', false, "***"},
      {"999;;*", true, '*', false, "***"},
      {"999;1; ", true, ' ', false, "   "},
      {"999;0;", false, '_', false, "___"},
      {"999;1;;", true, ';', false, ";;;"},
      {"!9999/99/99;1;_", true, '_', true, "____/__/__"},
      {"!9999/99/99;0;_", false, '_', true, "____/__/__"},
      {"!99:99:99;1;_", true, '_', true, "__:__:__"},
      {"!9999/99;1;_", true, '_', true, "____/__"},
      {"(999) 000-0000;0; ", false, ' ', false, "(   )    -    "},
      {";1;_", true, '_', false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    const EditMask mask(c.mask);
    EXPECT_EQ(mask.SavesLiterals(), c.saves);
    EXPECT_EQ(mask.BlankChar(), c.blank);
    EXPECT_EQ(mask.FillsFromRight(), c.fromRight);
    EXPECT_EQ(mask.EmptyDisplayText(), c.emptyDisplay);
    EXPECT_EQ(mask.Length(), static_cast<int>(std::string(c.emptyDisplay).size()));
    EXPECT_EQ(mask.IsEmpty(), mask.Length() == 0);
  }
}

TEST_F(EditMaskTest, CharacterClassesOfEditablePositions) {
  struct Case {
    const char* mask;
    bool required;
    const char* accepted;
    const char* rejected;
  };
  const Case cases[] = {
      {"L", true, "aZ", "1 _-\xE5"},
      {"l", false, "zA", "9 _+\xE5"},
      {"A", true, "a9Z", " -_\xE5"},
      {"a", false, "0b", " ._\xE5"},
      {"C", true, "x1 -\xE5", ""},
      {"c", false, "Y7 \xE5", ""},
      {"0", true, "09", "a+ _"},
      {"9", false, "50", "b- _"},
      {"#", false, "09+-", "a. _"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    const EditMask mask(c.mask);
    ASSERT_EQ(mask.Length(), 1);
    EXPECT_FALSE(mask.IsLiteral(0));
    EXPECT_EQ(mask.IsRequired(0), c.required);
    for (const char* p = c.accepted; *p; ++p) EXPECT_TRUE(mask.Accepts(0, *p)) << *p;
    for (const char* p = c.rejected; *p; ++p) EXPECT_FALSE(mask.Accepts(0, *p)) << *p;
  }
}

TEST_F(EditMaskTest, EscapesAndLiterals) {
  struct Case {
    const char* mask;
    const char* literals;  // every position of the mask is a literal
    bool fromRight;
  };
  const Case cases[] = {
      {"\\L\\0\\9\\#", "L09#", false},
      {"\\;\\\\", ";\\", false},
      {"\\!x", "!x", false},
      {"\\>\\<", "><", false},
      {"-.,\\", "-.,\\", false},  // a trailing backslash stands for itself
      {"\xE5\xB9\xB4", "\xE5\xB9\xB4", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    const EditMask mask(c.mask);
    const std::string literals = c.literals;
    ASSERT_EQ(mask.Length(), static_cast<int>(literals.size()));
    EXPECT_EQ(mask.FillsFromRight(), c.fromRight);
    for (int i = 0; i < mask.Length(); ++i) {
      EXPECT_TRUE(mask.IsLiteral(i)) << i;
      EXPECT_EQ(mask.LiteralAt(i), literals[static_cast<std::size_t>(i)]) << i;
      EXPECT_TRUE(mask.Accepts(i, literals[static_cast<std::size_t>(i)])) << i;
    }
  }
  // An escaped ";" belongs to the mask; the fields start after it.
  const EditMask escaped("0\\;0;0;*");
  EXPECT_EQ(escaped.EmptyDisplayText(), "*;*");
  EXPECT_FALSE(escaped.SavesLiterals());
}

TEST_F(EditMaskTest, PositionsOutsideTheMask) {
  const EditMask mask("0/0");
  for (int position : {-1, 3}) {
    EXPECT_FALSE(mask.IsLiteral(position));
    EXPECT_FALSE(mask.IsRequired(position));
    EXPECT_FALSE(mask.Accepts(position, '1'));
    EXPECT_EQ(mask.LiteralAt(position), '\0');
    EXPECT_EQ(mask.Transform(position, 'a'), 'a');
  }
  EXPECT_EQ(mask.LiteralAt(0), '\0');
}

TEST_F(EditMaskTest, CaseRulesApplyToLaidText) {
  struct Case {
    const char* mask;
    const char* text;
    const char* display;
  };
  const Case cases[] = {
      {">cccc;0", "abCd", "ABCD"},
      {"<cccc;0", "ABcD", "abcd"},
      {">cc<cc;0", "abCD", "ABcd"},
      {"<cc>cc;0", "ABcd", "abCD"},
      {">cc<>cc;0", "abcD", "ABcD"},
      {">c\\xc;0", "ab", "AxB"},             // literals keep their case
      {">cc;0", "\xC3\xA4", "\xC3\xA4"},     // UTF-8 bytes pass unchanged
      {">L<l;0", "aB", "Ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(EditMask(c.mask).DisplayFromText(c.text), c.display);
  }
  const EditMask mask(">c<c<>c");
  EXPECT_EQ(mask.Transform(0, 'q'), 'Q');
  EXPECT_EQ(mask.Transform(1, 'Q'), 'q');
  EXPECT_EQ(mask.Transform(2, 'q'), 'q');
  EXPECT_EQ(mask.Transform(2, 'Q'), 'Q');
}

// Each display is what a control shows for the text, and the text is what
// the control's Text gives for the display.
TEST_F(EditMaskTest, TextAndDisplayRoundTrip) {
  struct Case {
    const char* mask;
    const char* display;
    const char* text;
  };
  const Case cases[] = {
      {"!9999/99/99;1;_", "2024/01/15", "2024/01/15"},
      {"!9999/99/99;0;_", "2024/01/15", "20240115"},
      {"!9999/99/99;1;_", "____/__/__", "    /  /  "},
      {"!9999/99/99;0;_", "____/__/__", ""},
      {"!999/99/99;1;_", "_99/12/31", " 99/12/31"},
      {"!999/99/99;0;_", "_99/12/31", "991231"},
      {"!999/99/99;0;_", "___/__/99", "99"},
      {"999/99/99;0;_", "99_/__/__", "99"},
      {"!9999/99;1;_", "2024/05", "2024/05"},
      {"!9999/99;0;_", "2024/05", "202405"},
      {"!99:99:99;1;_", "_9:05:00", " 9:05:00"},
      {"99:99:99;0;_", "1_:30:__", "1 30"},
      {"!99:99:99;0;_", "__:_5:0_", "50 "},
      {"(999) 999;0;*", "(12*) ***", "12"},
      {"(999) 999;1;*", "(12*) ***", "(12 )    "},
      {"9999\xE5\xB9\xB4" "99\xE6\x9C\x88;1;_", "2024\xE5\xB9\xB4" "05\xE6\x9C\x88",
       "2024\xE5\xB9\xB4" "05\xE6\x9C\x88"},
      {"9999\xE5\xB9\xB4" "99\xE6\x9C\x88;0;_", "2024\xE5\xB9\xB4" "05\xE6\x9C\x88", "202405"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " | " + c.display);
    const EditMask mask(c.mask);
    EXPECT_EQ(mask.TextFromDisplay(c.display), c.text);
    EXPECT_EQ(mask.DisplayFromText(c.text), c.display);
  }
}

TEST_F(EditMaskTest, LaysTextsThatDoNotFitTheMask) {
  struct Case {
    const char* mask;
    const char* text;
    const char* display;
  };
  const Case cases[] = {
      {"!9999/99/99;1;_", "20240115", "2024/01/15"},  // saved literals missing
      {"9999/99/99;1;_", "20240115", "2024/01/15"},
      {"99/99;0;_", "12/3", "12//3"},                   // unsaved: "/" is data
      {"ccc;1;_", "a b", "a_b"},                        // a space reads as empty
      {"99;0;_", "1234", "12"},
      {"!99;0;_", "1234", "34"},
      {"00;0;_", "a1", "a1"},                           // kept for Validate
      {"99:99;1;_", "", "__:__"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " | " + c.text);
    EXPECT_EQ(EditMask(c.mask).DisplayFromText(c.text), c.display);
  }
}

TEST_F(EditMaskTest, TextOfAShortDisplayReadsBlanks) {
  EXPECT_EQ(EditMask("99/99;1;_").TextFromDisplay("12"), "12/  ");
  EXPECT_EQ(EditMask("99/99;0;_").TextFromDisplay("12"), "12");
}

TEST_F(EditMaskTest, ValidateFindsTheFirstFault) {
  struct Case {
    const char* mask;
    const char* display;
    int errorPosition;  // -1: valid
  };
  const Case cases[] = {
      {"!0000/00/00;1;_", "2024/01/15", -1},
      {"!0000/00/00;1;_", "2024/01/1_", 9},
      {"!0000/00/00;1;_", "____/__/__", 0},
      {"!0000/00/00;1;_", "2024-01-15", 4},
      {"!0000/00/00;1;_", "2024/0a/15", 6},
      {"!0000/00/00;1;_", "2024/01", 7},
      {"!0000/00/00;1;_", "2024/01/159", 10},
      {"!9999/99/99;1;_", "____/__/__", -1},
      {"99:99;1;_", "1 :5_", -1},
      {"99:99;1;_", "1x:5_", 1},
      {"L0", "A ", 1},
      {"L0", "_1", 0},
      {"C;1;_", " ", -1},
      {"C;1;_", "_", 0},
      {"c;1;*", "*", -1},
      {"#9", "-_", -1},
      {"#9", "+5", -1},
      {"#9", ".5", 0},
      {"l", "1", 0},
      {"AAa", "x9_", -1},
      {"AAa", "x-_", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " | " + c.display);
    int errorPosition = 42;
    EXPECT_EQ(EditMask(c.mask).Validate(c.display, errorPosition), c.errorPosition < 0);
    EXPECT_EQ(errorPosition, c.errorPosition);
  }
}

TEST_F(EditMaskTest, SeparatorsComeFromTheFormatSettings) {
  const EditMask before("!9999/99/99;1;_");
  FormatSettings().DateSeparator = '-';
  FormatSettings().TimeSeparator = '.';

  const EditMask date("!9999/99/99;1;_");
  EXPECT_EQ(date.EmptyDisplayText(), "____-__-__");
  EXPECT_EQ(date.LiteralAt(4), '-');
  EXPECT_EQ(date.TextFromDisplay("2024-01-15"), "2024-01-15");
  EXPECT_EQ(date.DisplayFromText("2024-01-15"), "2024-01-15");
  int errorPosition = -1;
  EXPECT_FALSE(date.Validate("2024/01/15", errorPosition));
  EXPECT_EQ(errorPosition, 4);

  EXPECT_EQ(EditMask("!99:99:99;1;_").EmptyDisplayText(), "__.__.__");
  EXPECT_EQ(EditMask("99\\/99\\:99").EmptyDisplayText(), "__/__:__");
  EXPECT_EQ(before.EmptyDisplayText(), "____/__/__");  // read when built
}

}  // namespace
}  // namespace qv

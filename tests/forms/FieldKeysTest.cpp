// Displayed dates and year-months to keys, and the masks and empty templates
// of each date type.
#include <gtest/gtest.h>

#include "forms/FieldFormFixture.h"

namespace qv::test {
namespace {

struct KeyCase {
  const char* type;
  const char* separator;
  const char* text;
  const char* key;
};

using FieldKeysTest = FieldFormTest;

TEST_F(FieldKeysTest, DisplayedDateGivesCompactKeyInTheTypesOrder) {
  const KeyCase cases[] = {
      {"2", "-", "12-25-2024", "20241225"},  // month-day-year
      {"2", "-", " 1-5-2024 ", "20240105"},
      {"2", "-", "12-25-abcd", "12-25-abcd"},  // not a number: returned as it is
      {"2", "-", "  -  -    ", ""},            // the empty template
      {"2", "-", "", ""},
      {"1", "/", "2024/1/5", "20240105"},
      {"1", "/", "2024-1-5", "2024-1-5"},  // not the company's separator
      {"3", ".", "25.12.2024", "20241225"},
      {"4", "/", "93/1/2", "20040102"},  // years counted from 1912
      {"5", "/", "113/12/25", "20241225"},
      {"0", "/", "2024/1/5", ""},  // no known date type
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(std::string("type ") + c.type + " text '" + c.text + "'");
    UseDates(c.type, c.separator);
    EXPECT_EQ(form->DisplayDateToKey(c.text), c.key);
  }
}

TEST_F(FieldKeysTest, DisplayedYearMonthGivesKeyInTheTypesOrder) {
  const KeyCase cases[] = {
      {"2", "-", "12-2024", "202412"},
      {"1", "/", "2024/3", "202403"},
      {"3", ".", "03.2024", "202403"},
      {"4", "/", "93/02", "200402"},
      {"5", "/", "113/12", "202412"},
      {"2", "-", "  -    ", ""},
      {"2", "-", "", ""},
      {"2", "-", "00-2024", "00-2024"},  // a zero part: returned as it is
      {"4", "/", "ab/12", "ab/12"},      // never the valid 1910-12
      {"0", "/", "2024/3", ""},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(std::string("type ") + c.type + " text '" + c.text + "'");
    UseDates(c.type, c.separator);
    EXPECT_EQ(form->YearMonthToKey(c.text), c.key);
  }
}

TEST_F(FieldKeysTest, MasksAndTemplatesFollowTheDateType) {
  struct MaskCase {
    const char* type;
    const char* separator;
    const char* dateMask;
    const char* yearMonthMask;
    const char* dateTemplate;
    const char* yearMonthTemplate;
  };
  const MaskCase cases[] = {
      {"1", "/", "9999/99/99;1; ", "9999/99;1; ", "    /  /  ", "    /  "},
      {"2", "-", "99-99-9999;1; ", "99-9999;1; ", "  -  -    ", "  -    "},
      {"3", ".", "99.99.9999;1; ", "99.9999;1; ", "  .  .    ", "  .    "},
      {"4", "/", "99/99/99;1; ", "99/99;1; ", "  /  /  ", "  /  "},
      {"5", "/", "999/99/99;1; ", "999/99;1; ", "   /  /  ", "   /  "},
  };
  for (const MaskCase& c : cases) {
    SCOPED_TRACE(std::string("type ") + c.type);
    UseDates(c.type, c.separator);
    EXPECT_EQ(form->DateMask(), c.dateMask);
    EXPECT_EQ(form->YearMonthMask(), c.yearMonthMask);
    EXPECT_EQ(form->DateTemplate(), c.dateTemplate);
    EXPECT_EQ(form->YearMonthTemplate(), c.yearMonthTemplate);
  }
}

}  // namespace
}  // namespace qv::test

// Text in the user's locale through ICU: collation and upper-casing per
// locale, which locale the environment names, and the string lists that sort
// and find by the rules in force while names stay ASCII.
#include "platform/system/IcuLocaleText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Strings.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

int Sign(int order) { return order < 0 ? -1 : order > 0 ? 1 : 0; }

TEST(IcuLocaleText, ComparesInTheLocalesOrderWithoutRegardToCase) {
  const struct {
    const char* locale;
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      // Accented Latin: case folded, accents kept, letters where the alphabet has them.
      {"en_US.UTF-8", "Émile", "émile", 0},
      {"en_US.UTF-8", "ÉMILE", "émile", 0},
      {"en_US.UTF-8", "Emile", "Émile", -1},
      {"en_US.UTF-8", "Émile", "Eve", -1},
      {"en_US.UTF-8", "apple", "Banana", -1},
      {"C.UTF-8", "b", "B", 0},
      {"C.UTF-8", "Émile", "Zoe", -1},
      // Simplified Chinese in pinyin order: a, bei, zhong (code points run the other way).
      {"zh_CN.UTF-8", "啊", "北", -1},
      {"zh_CN.UTF-8", "北", "中", -1},
      {"zh_SG", "啊", "中", -1},
      {"zh_CN.UTF-8", "三", "十", -1},
      {"zh_CN.UTF-8", "丁", "乙", -1},
      // Traditional Chinese by strokes: 十 (2) before 三 (3), 乙 (1) before 丁 (2).
      {"zh_TW.UTF-8", "十", "三", -1},
      {"zh_HK", "乙", "丁", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + ": " + c.a + " / " + c.b);
    const auto rules = MakeIcuTextRules(c.locale);
    EXPECT_EQ(Sign(rules->CompareText(c.a, c.b)), c.order);
    EXPECT_EQ(Sign(rules->CompareText(c.b, c.a)), -c.order);
  }
}

TEST(IcuLocaleText, UpperCasesByTheLocalesRules) {
  const struct {
    const char* locale;
    const char* text;
    const char* upper;
  } cases[] = {
      {"en_US.UTF-8", "émile zoë", "ÉMILE ZOË"},
      {"de_DE.UTF-8", "straße", "STRASSE"},  // longer than the text
      {"en_US.UTF-8", "i", "I"},
      {"tr_TR.UTF-8", "i", "İ"},
      {"zh_CN.UTF-8", "螺丝钉 m6", "螺丝钉 M6"},
      {"zh_CN.UTF-8", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + ": " + c.text);
    EXPECT_EQ(MakeIcuTextRules(c.locale)->UpperCase(c.text), c.upper);
  }
}

TEST(IcuLocaleText, IcuLocaleFollowsTheSystemCodePageRule) {
  const std::pair<const char*, const char*> cases[] = {
      {"zh_CN.UTF-8", "zh"},      {"zh_SG", "zh"},           {"zh-cn", "zh"},
      {"zh_TW.Big5", "zh_Hant"},  {"zh_HK.UTF-8", "zh_Hant"}, {"zh_MO", "zh_Hant"},
      {"C.UTF-8", "en"},          {"POSIX", "en"},            {"", "en"},
      {"en_GB.UTF-8", "en_GB"},   {"de_DE@euro", "de_DE"},
  };
  for (const auto& [name, icu] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(IcuLocaleOfLocaleName(name), icu);
  }
}

TEST(IcuLocaleText, LocaleNameIsTheFirstVariableSet) {
  {
    test::ScopedEnv all("LC_ALL", "zh_TW.UTF-8"), collate("LC_COLLATE", "zh_CN.UTF-8"), lang("LANG", "C");
    EXPECT_EQ(TextLocaleName(), "zh_TW.UTF-8");
  }
  {
    test::ScopedEnv all("LC_ALL", ""), collate("LC_COLLATE", "zh_CN.UTF-8"), lang("LANG", "zh_TW");
    EXPECT_EQ(TextLocaleName(), "zh_CN.UTF-8");
  }
  test::ScopedEnv all("LC_ALL", std::nullopt), collate("LC_COLLATE", std::nullopt), lang("LANG", std::nullopt);
  EXPECT_EQ(TextLocaleName(), "");
}

TEST(IcuLocaleText, RulesAreInForceOnceTheModuleIsLoaded) {
  // Whatever the environment's locale, ICU puts É among the E; bytes would put it after Z.
  EXPECT_LT(LocaleCompareText("Émile", "Zoe"), 0);
  EXPECT_TRUE(LocaleSameText("Émile", "éMILE"));
}

TEST(IcuLocaleText, TheEnvironmentChoosesTheLocaleAndAScopeRestoresIt) {
  const TLocaleTextRules* before = &LocaleTextRules();
  {
    test::ScopedEnv all("LC_ALL", "zh_TW.UTF-8");
    ScopedTextLocale locale(TextLocaleName());
    EXPECT_LT(LocaleCompareText("十", "三"), 0);
    {
      ScopedTextLocale simplified("zh_CN.UTF-8");
      EXPECT_GT(LocaleCompareText("十", "三"), 0);
    }
    EXPECT_LT(LocaleCompareText("十", "三"), 0);
  }
  EXPECT_EQ(&LocaleTextRules(), before);
}

TEST(IcuLocaleText, StringListsSortAndFindInTheLocale) {
  ScopedTextLocale locale("zh_CN.UTF-8");
  TStringList list{"中", "Émile", "啊", "北"};
  list.SetSorted(true);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"啊", "北", "中", "Émile"}));
  list.Add("émile");  // after the entry it equals
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"啊", "北", "中", "Émile", "émile"}));
  EXPECT_EQ(list.IndexOf("ÉMILE"), 3);
  EXPECT_EQ(list.IndexOf("Emile"), -1);
}

TEST(IcuLocaleText, NamesInStringListsStayAscii) {
  // Turkish upper-cases "i" as "İ"; a name still matches its ASCII upper case.
  ScopedTextLocale locale("tr_TR.UTF-8");
  TStringList list{"file=1", "émile=2"};
  EXPECT_FALSE(LocaleSameText("file", "FILE"));
  EXPECT_EQ(list.Values("FILE"), "1");
  EXPECT_EQ(list.Values("ÉMILE"), "");
  EXPECT_EQ(list.IndexOf("FİLE=1"), 0);  // an item is text: found in the locale
}

}  // namespace
}  // namespace qv

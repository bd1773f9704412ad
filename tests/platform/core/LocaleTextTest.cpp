// Text in the user's locale as core alone has it: the ASCII stand-in, and
// string lists that sort and find by whichever rules are installed.
#include "platform/core/LocaleText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Strings.h"

namespace qv {
namespace {

// Orders by length only and upper-cases nothing: nothing the stand-in would do.
class TLengthRules final : public TLocaleTextRules {
 public:
  int CompareText(std::string_view a, std::string_view b) const override {
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
  }
  std::string UpperCase(std::string_view text) const override { return std::string(text.size(), '*'); }
};

TEST(LocaleText, StandInFoldsAsciiAndKeepsOtherBytes) {
  EXPECT_EQ(LocaleCompareText("abc", "ABD"), -1);
  EXPECT_EQ(LocaleCompareText("ABC", "abc"), 0);
  EXPECT_EQ(LocaleCompareText("ab", "abc"), -1);
  EXPECT_EQ(LocaleCompareText("Émile", "Zoe"), 1);
  EXPECT_EQ(LocaleUpperCase("émile"), "éMILE");
  EXPECT_TRUE(LocaleSameText("Abc", "aBC"));
  EXPECT_FALSE(LocaleSameText("Émile", "émile"));
}

TEST(LocaleText, StringListsFollowTheInstalledRules) {
  const TLengthRules rules;
  InstallLocaleTextRules(&rules);
  TStringList list{"ccc", "a", "bb"};
  list.SetSorted(true);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "bb", "ccc"}));
  EXPECT_EQ(list.IndexOf("xy"), 1);
  InstallLocaleTextRules(nullptr);
  EXPECT_EQ(list.IndexOf("xy"), -1);
  EXPECT_EQ(list.IndexOf("BB"), 1);
}

}  // namespace
}  // namespace qv

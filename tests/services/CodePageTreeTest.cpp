// Converting the texts of value trees between a code page and Unicode.
#include <gtest/gtest.h>

#include "platform/core/Clock.h"
#include "platform/system/CodePages.h"
#include "services/LibStrs.h"
#include "support/Installation.h"

namespace qv {
namespace {

std::string Gbk(const std::string& utf8) {
  std::string bytes;
  EXPECT_TRUE(TryEncodeCodePage(utf8, 936, bytes));
  return bytes;
}

TEST(CodePageTree, DecodesEveryTextLeafOfTheTree) {
  Variant grid = Variant::Array2(0, 0, 0, 1);
  grid.At(0, 0) = Gbk("单价");
  grid.At(0, 1) = Variant::ArrayOf({Gbk("不进入")});  // two dimensions: not descended into
  const Variant request = Variant::ArrayOf(
      {Gbk("开启报表失败"), 7, Variant::Null(), Variant::ArrayOf({Gbk("年月"), Variant::ArrayOf({Gbk("料号")})}), grid});

  const Variant unicode = CodePageToUnicode(request, 936);
  EXPECT_EQ(unicode[0].Type(), VarType::UString);
  EXPECT_EQ(unicode[0].ToString(), "开启报表失败");
  EXPECT_EQ(unicode[1], Variant(7));
  EXPECT_TRUE(unicode[2].IsNull());
  EXPECT_EQ(unicode[3][0].ToString(), "年月");
  EXPECT_EQ(unicode[3][1][0].ToString(), "料号");
  EXPECT_EQ(unicode[4].At(0, 0).ToString(), "单价");
  EXPECT_EQ(unicode[4].At(0, 1)[0].TextRef(), Gbk("不进入"));
  EXPECT_EQ(request[0].TextRef(), Gbk("开启报表失败"));  // the input is left alone

  const Variant back = UnicodeToCodePage(unicode, 936);
  EXPECT_EQ(back, request);
  EXPECT_EQ(back[3][1][0].Type(), VarType::String);
}

TEST(CodePageTree, LeavesAndScalars) {
  const struct {
    Variant input;
    int codePage;
    bool toUnicode;
    Variant expected;
  } cases[] = {
      {Variant(), 936, true, Variant()},
      {Variant::Null(), 936, false, Variant::Null()},
      {Variant(2.5), 936, true, Variant(2.5)},
      // program text travels unchanged with the program code page
      {Variant("制表日期"), CP_UTF8, true, Variant::Unicode("制表日期")},
      // bytes the code page cannot decode are read as program text
      {Variant(std::string("\xff\xfe")), 936, true, Variant::Unicode("\xEF\xBF\xBD\xEF\xBF\xBD")},
      {Variant(std::string("ok")), 99999, true, Variant::Unicode("ok")},
      // characters the code page cannot hold become "?"
      {Variant::Unicode("A😀B"), 936, false, Variant("A?B")},
      // an unknown code page leaves program text
      {Variant::Unicode("开启"), 99999, false, Variant("开启")},
      // a narrow leaf is read as program text before it is encoded
      {Variant("開啟"), 950, false, Variant([] {
         std::string big5;
         TryEncodeCodePage("開啟", 950, big5);
         return big5;
       }())},
  };
  for (const auto& c : cases) {
    const Variant result = c.toUnicode ? CodePageToUnicode(c.input, c.codePage) : UnicodeToCodePage(c.input, c.codePage);
    EXPECT_EQ(result.Type(), c.expected.Type()) << VarTypeName(c.input.Type()) << " " << c.codePage;
    EXPECT_EQ(result, c.expected) << VarTypeName(c.input.Type()) << " " << c.codePage;
  }
}

TEST(CodePageTree, FailureIsLoggedAndThePartialResultReturned) {
  test::Installation install;
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  ScopedClock clock(EncodeDate(2024, 1, 31));
  const Variant broken = Variant::Unicode(std::string("\xc3", 1));  // not well-formed UTF-8
  const Variant input = Variant::ArrayOf({Variant::Unicode("前"), broken, Variant::Unicode("后")});

  const Variant narrow = UnicodeToCodePage(input, 936);
  EXPECT_EQ(narrow[0].TextRef(), Gbk("前"));
  EXPECT_EQ(narrow[1], broken);
  EXPECT_EQ(narrow[2].Type(), VarType::UString);  // not reached

  const Variant wide = CodePageToUnicode(Variant::ArrayOf({Gbk("前"), broken}), 936);
  EXPECT_EQ(wide[0].ToString(), "前");

  const std::string log = test::ReadFile(install.Folder("client") + "/Log/Alert_libstrs_20240131.log");
  EXPECT_NE(log.find("] LINE[2735] Unicode text is not well formed\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("] LINE[115] Unicode text is not well formed\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace qv

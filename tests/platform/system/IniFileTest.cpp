#include "platform/system/IniFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/system/CodePages.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class IniFileTest : public ::testing::Test {
 protected:
  TIniFile Write(const std::string& bytes) {
    const std::string path = dir_ / "test.ini";
    test::WriteFile(path, bytes);
    return TIniFile(path);
  }

  test::TempDir dir_;
};

TEST_F(IniFileTest, LinesOfEveryKind) {
  const TIniFile ini = Write(
      "orphan=before any section\n"
      "[Server Information]\n"
      "ComputerName=srv1;srv2;\n"
      "  ServerPort =  2110  \n"
      "; ServerPort=1\n"
      "  ;Comment=indented\n"
      "line without equals sign\n"
      "=no key\n"
      "Quoted=\"  kept blanks  \"\n"
      "Single=' single '\n"
      "Mismatched=\"abc'\n"
      "OneQuote=\"\n"
      "Inner=a \"b\" c\n"
      "Tabs=\t\tvalue\t\n"
      "Equals=a=b\n"
      "Empty=\n"
      "[ Broken section \n"
      "Key=in broken section\n"
      "[Trailing] text after\n"
      "Key=in trailing\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Server Information", "ComputerName", "srv1;srv2;"},
      {"Server Information", "ServerPort", "2110"},
      {"Server Information", "; ServerPort", "<default>"},
      {"Server Information", "Comment", "<default>"},
      {"Server Information", "line without equals sign", "<default>"},
      {"Server Information", "", "<default>"},
      {"Server Information", "Quoted", "  kept blanks  "},
      {"Server Information", "Single", " single "},
      {"Server Information", "Mismatched", "\"abc'"},
      {"Server Information", "OneQuote", "\""},
      {"Server Information", "Inner", "a \"b\" c"},
      {"Server Information", "Tabs", "value"},
      {"Server Information", "Equals", "a=b"},
      {"Server Information", "Empty", ""},
      {"Server Information", "orphan", "<default>"},
      {"", "orphan", "<default>"},
      {"Broken section", "Key", "in broken section"},
      {"Trailing", "Key", "in trailing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected);
  }
  EXPECT_THAT(ini.ReadSections(), ElementsAre("Server Information", "Broken section", "Trailing"));
}

TEST_F(IniFileTest, NamesCompareWithoutCaseAndAreTrimmed) {
  const TIniFile ini = Write("[CodePage]\nUICodePage=950\n");
  EXPECT_EQ(ini.ReadString("codepage", "uicodepage", ""), "950");
  EXPECT_EQ(ini.ReadString(" CODEPAGE\t", " UICODEPAGE ", ""), "950");
  EXPECT_TRUE(ini.SectionExists("CODEPAGE"));
  EXPECT_TRUE(ini.ValueExists("codepage", "UiCodePage"));
  EXPECT_FALSE(ini.ValueExists("codepage", "DBCodePage"));
  EXPECT_FALSE(ini.SectionExists("Other"));
}

TEST_F(IniFileTest, FirstKeyWinsAndRepeatedSectionsJoin) {
  const TIniFile ini = Write(
      "[WorkDLLPath]\n"
      "Path1=Mod\n"
      "PATH1=Other\n"
      "[Else]\n"
      "Path2=elsewhere\n"
      "[workdllpath]\n"
      "Path2=\\Mod\\\n"
      "path1=Third\n"
      "Path3=/abs/Mod\n");
  EXPECT_EQ(ini.ReadString("WorkDLLPath", "Path1", ""), "Mod");
  EXPECT_EQ(ini.ReadString("WorkDLLPath", "Path2", ""), "\\Mod\\");
  EXPECT_THAT(ini.ReadSection("WorkDLLPath"), ElementsAre("Path1", "Path2", "Path3"));
  EXPECT_THAT(ini.ReadSectionValues("workdllpath"),
              ElementsAre("Path1=Mod", "Path2=\\Mod\\", "Path3=/abs/Mod"));
  EXPECT_THAT(ini.ReadSections(), ElementsAre("WorkDLLPath", "Else"));
  EXPECT_THAT(ini.ReadSection("Missing"), IsEmpty());
  EXPECT_THAT(ini.ReadSectionValues("Missing"), IsEmpty());
}

TEST_F(IniFileTest, SectionWithoutKeysDoesNotExist) {
  const TIniFile ini = Write("[Empty]\n; only a comment\n[Full]\nA=1\n");
  EXPECT_FALSE(ini.SectionExists("Empty"));
  EXPECT_TRUE(ini.SectionExists("Full"));
  EXPECT_THAT(ini.ReadSections(), ElementsAre("Empty", "Full"));
}

TEST_F(IniFileTest, CrLfAndByteOrderMark) {
  const TIniFile crlf = Write("[A]\r\nKey=value\r\nQuoted=\"q\"\r\nLast=end");
  EXPECT_EQ(crlf.ReadString("A", "Key", ""), "value");
  EXPECT_EQ(crlf.ReadString("A", "Quoted", ""), "q");
  EXPECT_EQ(crlf.ReadString("A", "Last", ""), "end");

  const TIniFile bom = Write("\xEF\xBB\xBF[A]\r\nKey=语言\r\n");
  EXPECT_EQ(bom.ReadString("A", "Key", ""), "语言");
  EXPECT_THAT(bom.ReadSections(), ElementsAre("A"));
}

TEST_F(IniFileTest, GbkFileIsDecoded) {
  std::string gbk;
  ASSERT_TRUE(TryEncodeCodePage("[客户端]\r\n名称=开启报表失败\r\nLangType=CHS\r\n", 936, gbk));
  ASSERT_FALSE(IsValidUtf8(gbk));
  const TIniFile ini = Write(gbk);
  EXPECT_EQ(ini.ReadString("客户端", "名称", ""), "开启报表失败");
  EXPECT_EQ(ini.ReadString("客户端", "LangType", ""), "CHS");
}

TEST_F(IniFileTest, IntegerValues) {
  const TIniFile ini = Write(
      "[N]\n"
      "Plain=211\n"
      "Spaced= 211 \n"
      "Dollar=$FF\n"
      "Hex=0x10\n"
      "HexUpper=0X1f\n"
      "Negative=-5\n"
      "Plus=+7\n"
      "NegativeHex=-$10\n"
      "AllBits=$FFFFFFFF\n"
      "Max=2147483647\n"
      "Min=-2147483648\n"
      "TooBig=2147483648\n"
      "TooLong=$100000000\n"
      "Trailing=21a\n"
      "Inside=2 1\n"
      "Empty=\n"
      "OnlyPrefix=$\n"
      "OnlyHexPrefix=0x\n"
      "Sign=-\n"
      "Quoted=\"42\"\n"
      "Real=1.5\n");
  struct Case {
    const char* key;
    int expected;
  };
  const Case cases[] = {
      {"Plain", 211},        {"Spaced", 211},        {"Dollar", 255},
      {"Hex", 16},           {"HexUpper", 31},       {"Negative", -5},
      {"Plus", 7},           {"NegativeHex", -16},   {"AllBits", -1},
      {"Max", 2147483647},   {"Min", -2147483647 - 1}, {"TooBig", -99},
      {"TooLong", -99},      {"Trailing", -99},      {"Inside", -99},
      {"Empty", -99},        {"OnlyPrefix", -99},    {"OnlyHexPrefix", -99},
      {"Sign", -99},         {"Quoted", 42},         {"Real", -99},
      {"Missing", -99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.ReadInteger("N", c.key, -99), c.expected);
  }
  EXPECT_TRUE(ini.ReadBool("N", "Plain", false));
  EXPECT_FALSE(ini.ReadBool("N", "Missing", false));
  EXPECT_TRUE(ini.ReadBool("N", "Missing", true));
  EXPECT_TRUE(ini.ReadBool("N", "Trailing", true));
}

TEST_F(IniFileTest, MissingFileIsEmpty) {
  const TIniFile ini(dir_ / "missing.ini");
  EXPECT_EQ(ini.FileName(), dir_ / "missing.ini");
  EXPECT_EQ(ini.ReadString("A", "B", "default"), "default");
  EXPECT_EQ(ini.ReadInteger("A", "B", 211), 211);
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_THAT(ini.ReadSections(), IsEmpty());

  const TIniFile folder(dir_.Path());
  EXPECT_EQ(folder.ReadString("A", "B", "default"), "default");
}

}  // namespace
}  // namespace qv

#include "platform/system/TextFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/core/AsciiText.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(TextFile, SplitsLfAndCrLfLines) {
  EXPECT_THAT(SplitLines("a\r\nb\nc"), ElementsAre("a", "b", "c"));
  EXPECT_THAT(SplitLines("a\n\nb\r\n"), ElementsAre("a", "", "b"));
  EXPECT_THAT(SplitLines("a\r"), ElementsAre("a"));
  EXPECT_THAT(SplitLines("a\rb"), ElementsAre("a\rb"));
  EXPECT_THAT(SplitLines(""), IsEmpty());
}

TEST(TextFile, DecodesUtf8BomAndGbk) {
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF语言"), "语言");
  EXPECT_EQ(DecodeTextFile("语言"), "语言");
  EXPECT_EQ(DecodeTextFile("\xD3\xEF\xD1\xD4"), "语言");          // GBK
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF\xD3\xEF"), "\uFFFD\uFFFD");  // a BOM means UTF-8
}

TEST(TextFile, ReadsWholeFiles) {
  test::TempDir dir;
  const std::string bytes("a\0b\r\n", 5);
  test::WriteFile(dir / "f", bytes);
  std::string read = "stale";
  EXPECT_TRUE(ReadFileBytes(dir / "f", read));
  EXPECT_EQ(read, bytes);
  EXPECT_FALSE(ReadFileBytes(dir / "missing", read));
  EXPECT_EQ(read, "");
  EXPECT_FALSE(ReadFileBytes(dir.Path(), read));
}

TEST(AsciiText, CaseAndBlanks) {
  EXPECT_TRUE(SameTextAscii("ClientPath", "CLIENTPATH"));
  EXPECT_FALSE(SameTextAscii("ClientPath", "ClientPat"));
  EXPECT_TRUE(SameTextAscii("客户端", "客户端"));
  EXPECT_TRUE(EndsWithTextAscii("PQLR52S.SO", ".so"));
  EXPECT_FALSE(EndsWithTextAscii("so", ".so"));
  EXPECT_EQ(TrimBlanks(" \t a b \t"), "a b");
  EXPECT_EQ(TrimBlanks(" \t "), "");
}

}  // namespace
}  // namespace qv

// The translator binding with the real translator library beside the test
// program. Texts are written here in UTF-8 and carried to and from the code
// pages with the platform's code-page functions, so that a failure shows
// readable text.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "localization/TranslatorU.h"
#include "platform/core/Exception.h"
#include "platform/system/CodePages.h"
#include "platform/system/SystemInfo.h"

namespace qv {
namespace {

constexpr int kGB = 936;
constexpr int kBig5 = 950;

std::string Encoded(const std::string& utf8, int codePage) {
  std::string bytes;
  EXPECT_TRUE(TryEncodeCodePage(utf8, codePage, bytes)) << utf8;
  return bytes;
}

// The result must be valid text of its code page; "<invalid>" otherwise.
std::string Decoded(const std::string& bytes, int codePage) {
  std::string utf8;
  return TryDecodeCodePage(bytes, codePage, utf8) ? utf8 : "<invalid>";
}

struct Case {
  const char* source;    // UTF-8, in the script of the source code page
  const char* expected;  // UTF-8, in the script of the target code page
};

class TranslatorTest : public ::testing::Test {
 protected:
  std::string GBToBig5(const std::string& utf8) {
    return Decoded(translator_.GBToBIG5Text(Encoded(utf8, kGB)), kBig5);
  }
  std::string Big5ToGB(const std::string& utf8) {
    return Decoded(translator_.BIG5ToGBText(Encoded(utf8, kBig5)), kGB);
  }

  TTranslator translator_;  // the default file name, found beside the program
};

TEST_F(TranslatorTest, ConvertsSimplifiedGBToTraditionalBig5) {
  const Case cases[] = {
      {"开启报表失败", "開啟報表失敗"},
      {"Report 报表 2024-01-31: 开启失败!", "Report 報表 2024-01-31: 開啟失敗!"},
      {"plain ASCII only", "plain ASCII only"},
      {"", ""},
      // A phrase, not only single characters: 台 becomes 臺 after 后.
      {"后台", "後臺"},
      // The euro sign takes one byte in GB but two in Big5: the result outgrows
      // the source and the binding has to ask again with a bigger buffer.
      {"价格 €100", "價格 €100"},
      // 癅 has no Big5 form at all: one '?' in its place, the rest intact.
      {"报表癅失败", "報表?失敗"},
  };
  for (const Case& c : cases) EXPECT_EQ(GBToBig5(c.source), c.expected) << c.source;
}

TEST_F(TranslatorTest, ConvertsTraditionalBig5ToSimplifiedGB) {
  const Case cases[] = {
      {"開啟報表失敗", "开启报表失败"},
      {"Report 報表 2024-01-31: 開啟失敗!", "Report 报表 2024-01-31: 开启失败!"},
      {"", ""},
      // The simplified form of 訏 lies outside GB, but 訏 itself is in GB: kept.
      {"報表訏失敗", "报表訏失败"},
      // GB has no U+2027 hyphenation point in any form.
      {"報表‧失敗", "报表?失败"},
  };
  for (const Case& c : cases) EXPECT_EQ(Big5ToGB(c.source), c.expected) << c.source;
}

TEST_F(TranslatorTest, RoundTripGivesBackTheSourceBytes) {
  const std::string gb = Encoded("开启报表失败，请稍后再试。", kGB);
  EXPECT_EQ(translator_.BIG5ToGBText(translator_.GBToBIG5Text(gb)), gb);
}

TEST_F(TranslatorTest, InvalidAndEmbeddedBytesDoNotCutTheText) {
  const std::string report = Encoded("报表", kGB);
  const std::string failed = Encoded("失败", kGB);
  struct ByteCase {
    std::string source;    // code page 936 bytes
    std::string expected;  // UTF-8
  };
  const ByteCase cases[] = {
      {report + "\xFF" + failed, "報表?失敗"},      // a byte no character starts with
      {report + "\x81 " + failed, "報表? 失敗"},    // a lead byte before ASCII keeps the ASCII
      {report + "\xB1", "報表?"},                   // a character cut off at the end
      // A NUL byte is part of the text, not its end.
      {report + '\0' + failed, std::string("報表") + '\0' + "失敗"},
  };
  for (const ByteCase& c : cases) EXPECT_EQ(Decoded(translator_.GBToBIG5Text(c.source), kBig5), c.expected);

  const std::string big5Report = Encoded("報表", kBig5);
  EXPECT_EQ(Decoded(translator_.BIG5ToGBText(big5Report + "\xFF" + big5Report), kGB), "报表?报表");
}

TEST_F(TranslatorTest, LongTextIsConvertedIntact) {
  std::string gbSource;
  std::string big5Expected;
  for (int line = 0; gbSource.size() < 100 * 1024; ++line) {
    const std::string number = std::to_string(line);
    gbSource += Encoded("第" + number + "张报表开启失败，请稍后再试。\n", kGB);
    big5Expected += Encoded("第" + number + "張報表開啟失敗，請稍後再試。\n", kBig5);
  }
  const std::string big5 = translator_.GBToBIG5Text(gbSource);
  EXPECT_EQ(big5.size(), big5Expected.size());
  EXPECT_TRUE(big5 == big5Expected);  // not EXPECT_EQ: a 100 KB diff helps no one
  EXPECT_TRUE(translator_.BIG5ToGBText(big5) == gbSource);
}

TEST_F(TranslatorTest, ConvertsFromSeveralThreadsAtOnce) {
  const std::string source = Encoded("开启报表失败 后台", kGB);
  const std::string expected = Encoded("開啟報表失敗 後臺", kBig5);
  std::vector<int> wrong(4, 0);
  std::vector<std::thread> threads;
  for (int& count : wrong) {
    threads.emplace_back([&, counter = &count] {
      for (int i = 0; i < 200; ++i) *counter += translator_.GBToBIG5Text(source) != expected;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int count : wrong) EXPECT_EQ(count, 0);
}

// True while the library at that path is loaded in this process.
bool IsLoaded(const char* path) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

TEST(TranslatorBinding, HoldsTheLibraryForItsLifetime) {
  const std::string path = ExecutableFolder() + TTranslator::DefaultLibraryFileName;
  {
    TTranslator translator;
    EXPECT_TRUE(IsLoaded(path.c_str()));
  }
  EXPECT_FALSE(IsLoaded(path.c_str()));
}

TEST(TranslatorBinding, MissingLibraryIsNamedInTheError) {
  try {
    TTranslator translator("/nonexistent/Qvlanguage.so");
    FAIL() << "the translator was created without its library";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Load Library /nonexistent/Qvlanguage.so Error!");
  }
}

TEST(TranslatorBinding, LibraryWithoutBig5ToGBIsRefusedAndReleased) {
  try {
    TTranslator translator(PQLR_GB_ONLY_LIBRARY);
    FAIL() << "the translator was created without BIG5toGB";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Get Library Procedure Address Error!");
  }
  EXPECT_FALSE(IsLoaded(PQLR_GB_ONLY_LIBRARY));
}

}  // namespace
}  // namespace qv

#include "platform/system/CodePages.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/system/SystemInfo.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

struct Sample {
  int codePage;
  std::string utf8;
  std::string bytes;
};

// "开启报表失败" in GBK, "開啟報表失敗" in Big5, and a character of each
// single-byte code page.
const std::vector<Sample> kSamples = {
    {936, "开启报表失败", "\xBF\xAA\xC6\xF4\xB1\xA8\xB1\xED\xCA\xA7\xB0\xDC"},
    {950, "開啟報表失敗", "\xB6\x7D\xB1\xD2\xB3\xF8\xAA\xED\xA5\xA2\xB1\xD1"},
    {936, "报表 PQLR52 (2024)", "\xB1\xA8\xB1\xED PQLR52 (2024)"},
    {437, "é░", "\x82\xB0"},
    {1252, "café €5", "caf\xE9 \x80" "5"},
    {65001, "开启 ok", "开启 ok"},
};

// The program's own text passes through its code page unchanged whatever the
// system code page, and narrow text of another code page is not taken for it.
TEST(CodePages, ProgramCodePageIsUtf8) {
  test::ScopedEnv chinese("LC_ALL", "zh_CN.GBK");
  ASSERT_EQ(SystemCodePage(), 936);
  const int program = ProgramCodePage();
  EXPECT_EQ(program, 65001);
  EXPECT_EQ(CodePageCharsetName(program), "UTF-8");
  std::string text;
  ASSERT_TRUE(TryDecodeCodePage("开启报表失败", program, text));
  EXPECT_EQ(text, "开启报表失败");
  ASSERT_TRUE(TryEncodeCodePage("開啟報表失敗", program, text));
  EXPECT_EQ(text, "開啟報表失敗");
  EXPECT_FALSE(TryDecodeCodePage("\xBF\xAA\xC6\xF4", program, text));  // "开启" in GBK
}

TEST(CodePages, CharsetNames) {
  EXPECT_EQ(CodePageCharsetName(936), "CP936");
  EXPECT_EQ(CodePageCharsetName(950), "CP950");
  EXPECT_EQ(CodePageCharsetName(437), "CP437");
  EXPECT_EQ(CodePageCharsetName(1252), "CP1252");
  EXPECT_EQ(CodePageCharsetName(65001), "UTF-8");
  EXPECT_EQ(CodePageCharsetName(54936), "GB18030");
  EXPECT_EQ(CodePageCharsetName(28591), "ISO-8859-1");
  EXPECT_EQ(CodePageCharsetName(874), "CP874");
}

TEST(CodePages, DecodesAndEncodesBothWays) {
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.codePage);
    SCOPED_TRACE(sample.utf8);
    std::string decoded, encoded;
    ASSERT_TRUE(TryDecodeCodePage(sample.bytes, sample.codePage, decoded));
    EXPECT_EQ(decoded, sample.utf8);
    ASSERT_TRUE(TryEncodeCodePage(sample.utf8, sample.codePage, encoded));
    EXPECT_EQ(encoded, sample.bytes);
    EXPECT_EQ(DecodeLenient(sample.bytes, sample.codePage), sample.utf8);
  }
}

TEST(CodePages, UnmappableCharactersBecomeQuestionMarks) {
  const std::vector<Sample> cases = {
      {437, "a€b", "a?b"},
      {950, "开启", "??"},          // simplified forms are not in Big5
      {936, "x😀y", "x?y"},         // outside GBK
      {1252, "中文 ok", "?? ok"},
      {20127, "naïve", "na?ve"},
  };
  for (const Sample& sample : cases) {
    SCOPED_TRACE(sample.utf8);
    std::string encoded = "stale";
    ASSERT_TRUE(TryEncodeCodePage(sample.utf8, sample.codePage, encoded));
    EXPECT_EQ(encoded, sample.bytes);
  }
}

TEST(CodePages, InvalidBytesDoNotDecode) {
  const std::vector<Sample> cases = {
      {936, "", "\xFF\xFF"},       // no such lead byte
      {936, "", "ab\xD6"},         // lead byte without its trail byte
      {936, "", "\x81\x0A"},       // trail byte out of range
      {950, "", "\xA4"},
      {1252, "", "\x81"},          // unassigned in 1252
      {65001, "", "\xC3\x28"},
      {65001, "", "\xED\xA0\x80"},  // surrogate
  };
  for (const Sample& sample : cases) {
    SCOPED_TRACE(sample.codePage);
    std::string decoded;
    EXPECT_FALSE(TryDecodeCodePage(sample.bytes, sample.codePage, decoded));
  }
}

TEST(CodePages, InvalidUtf8DoesNotEncode) {
  for (int codePage : {936, 950, 437, 1252, 65001}) {
    for (std::string text : {"\xC3", "abc\xFF", "\xED\xA0\x80", "\xC0\x80", "中\xE4\xB8"}) {
      SCOPED_TRACE(codePage);
      std::string encoded;
      EXPECT_FALSE(TryEncodeCodePage(text, codePage, encoded));
    }
  }
}

TEST(CodePages, UnknownCodePageFails) {
  std::string out;
  for (int codePage : {12345, 0, -1}) {
    SCOPED_TRACE(codePage);
    EXPECT_FALSE(TryDecodeCodePage("abc", codePage, out));
    EXPECT_FALSE(TryDecodeCodePage("\xD6\xD0", codePage, out));
    EXPECT_FALSE(TryEncodeCodePage("abc", codePage, out));
    EXPECT_FALSE(TryEncodeCodePage("中", codePage, out));
  }
  // ... but decodes as UTF-8 when leniency is asked for.
  EXPECT_EQ(DecodeLenient("中\xFFx", 12345), "中\uFFFDx");
}

TEST(CodePages, LenientDecodingReplacesInvalidSequences) {
  const std::vector<Sample> cases = {
      {936, "A\uFFFD B\uFFFD", "A\xFF B\xD6"},
      {936, "\uFFFD\n中", "\x81\x0A\xD6\xD0"},
      {1252, "x\uFFFDy", "x\x81y"},
      {65001, "a\uFFFDb", "a\xC3" "b"},
      {65001, "\uFFFD\uFFFD", "\xC0\x80"},      // each byte of an overlong form
      {65001, "\uFFFDz", "\xE4\xB8z"},         // a cut sequence is one U+FFFD
      {65001, "\uFFFD", "\xF4\x8F"},         // cut four-byte sequence
      {65001, "\uFFFD\uFFFD", "\xF4\x90"},   // 0x90 cannot follow 0xF4
  };
  for (const Sample& sample : cases) {
    SCOPED_TRACE(sample.utf8);
    EXPECT_EQ(DecodeLenient(sample.bytes, sample.codePage), sample.utf8);
  }
}

TEST(CodePages, AsciiFastPathMatchesTheConverter) {
  std::string ascii;
  for (int c = 0; c < 128; ++c) ascii += static_cast<char>(c);
  // A non-ASCII character at the end sends the same ASCII through iconv.
  const std::vector<Sample> tails = {
      {936, "中", "\xD6\xD0"}, {950, "中", "\xA4\xA4"}, {437, "é", "\x82"},
      {1252, "é", "\xE9"},     {65001, "é", "é"},
  };
  for (const Sample& tail : tails) {
    SCOPED_TRACE(tail.codePage);
    std::string fast, slow;
    ASSERT_TRUE(TryDecodeCodePage(ascii, tail.codePage, fast));
    ASSERT_TRUE(TryDecodeCodePage(ascii + tail.bytes, tail.codePage, slow));
    EXPECT_EQ(fast, ascii);
    EXPECT_EQ(slow, ascii + tail.utf8);
    ASSERT_TRUE(TryEncodeCodePage(ascii, tail.codePage, fast));
    ASSERT_TRUE(TryEncodeCodePage(ascii + tail.utf8, tail.codePage, slow));
    EXPECT_EQ(fast, ascii);
    EXPECT_EQ(slow, ascii + tail.bytes);
  }
}

TEST(CodePages, EmptyText) {
  for (int codePage : {936, 950, 437, 1252, 65001}) {
    SCOPED_TRACE(codePage);
    std::string out = "stale";
    EXPECT_TRUE(TryDecodeCodePage("", codePage, out));
    EXPECT_EQ(out, "");
    out = "stale";
    EXPECT_TRUE(TryEncodeCodePage("", codePage, out));
    EXPECT_EQ(out, "");
    EXPECT_EQ(DecodeLenient("", codePage), "");
  }
}

TEST(CodePages, LongTextGrowsTheOutput) {
  // Each byte of 437 box drawing is three bytes of UTF-8.
  std::string boxes(5000, '\xB0');
  std::string decoded;
  ASSERT_TRUE(TryDecodeCodePage(boxes, 437, decoded));
  ASSERT_EQ(decoded.size(), 15000u);
  EXPECT_EQ(decoded.substr(0, 6), "░░");
  std::string back;
  ASSERT_TRUE(TryEncodeCodePage(decoded, 437, back));
  EXPECT_EQ(back, boxes);

  std::string chinese;
  for (int i = 0; i < 2000; ++i) chinese += "开启报表失败";
  std::string gbk;
  ASSERT_TRUE(TryEncodeCodePage(chinese, 936, gbk));
  EXPECT_EQ(gbk.size(), chinese.size() / 3 * 2);
  EXPECT_EQ(DecodeLenient(gbk, 936), chinese);
}

TEST(CodePages, ThreadsConvertIndependently) {
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      const Sample& sample = kSamples[t % 2];
      for (int i = 0; i < 500; ++i) {
        std::string decoded, encoded;
        if (!TryDecodeCodePage(sample.bytes, sample.codePage, decoded) || decoded != sample.utf8 ||
            !TryEncodeCodePage(decoded, sample.codePage, encoded) || encoded != sample.bytes)
          ++failures[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
}

TEST(CodePages, Utf8Validity) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},
      {"plain ASCII text that is longer than eight bytes", true},
      {"中文", true},
      {"\xF0\x9F\x98\x80", true},          // U+1F600
      {"\xF4\x8F\xBF\xBF", true},          // U+10FFFF
      {"\xC0\x80", false},                 // overlong NUL
      {"\xE0\x80\xAF", false},             // overlong
      {"\xED\xA0\x80", false},             // surrogate
      {"\xF4\x90\x80\x80", false},         // above U+10FFFF
      {"\xF8\x88\x80\x80\x80", false},     // five-byte form
      {"abcdefgh\xE4\xB8", false},         // cut at the end
      {"\x80", false},                     // stray continuation byte
      {std::string("a\0b", 3), true},
  };
  for (const auto& [text, valid] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(IsValidUtf8(text), valid);
  }
}

}  // namespace
}  // namespace qv

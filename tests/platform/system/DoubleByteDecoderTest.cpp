// The table decoder of double-byte code pages agrees with iconv on every
// one- and two-byte sequence, valid or not.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/system/DoubleByteDecoder.h"

namespace qv {
namespace {

// iconv's answer for one sequence: the UTF-8 text, or nothing when invalid.
bool IconvDecode(const char* charset, const std::string& bytes, std::string& utf8) {
  iconv_t cd = iconv_open("UTF-8", charset);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  std::string buffer(bytes.size() * 4 + 16, '\0');
  char* out = buffer.data();
  std::size_t outLeft = buffer.size();
  const bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  iconv_close(cd);
  utf8.assign(buffer.data(), buffer.size() - outLeft);
  return ok;
}

// The tables of GBK and Big5, built once for all the tests.
const DoubleByteDecoder& Table(int codePage) {
  static const DoubleByteDecoder gbk("CP936"), big5("CP950");
  return codePage == 936 ? gbk : big5;
}

TEST(DoubleByteDecoder, AgreesWithIconvOnEverySequence) {
  for (const auto& [codePage, charset] : {std::pair{936, "CP936"}, std::pair{950, "CP950"}}) {
    const DoubleByteDecoder& decoder = Table(codePage);
    ASSERT_TRUE(decoder.IsUsable()) << codePage;
    int disagreements = 0;
    for (int lead = 0x80; lead <= 0xFF; ++lead)
      for (int trail = -1; trail <= 0xFF; ++trail) {
        std::string bytes(1, static_cast<char>(lead));
        if (trail >= 0) bytes += static_cast<char>(trail);
        std::string expected, actual;
        const bool valid = IconvDecode(charset, bytes, expected);
        const bool decoded = decoder.Decode(bytes, actual);
        if (valid != decoded || (valid && expected != actual)) ++disagreements;
      }
    EXPECT_EQ(disagreements, 0) << charset;
  }
}

TEST(DoubleByteDecoder, LongTextsOfWideningBytes) {
  // Single bytes that widen to three bytes of UTF-8 outgrow the first guess
  // of the output's size.
  for (int codePage : {936, 950}) {
    const char* charset = codePage == 936 ? "CP936" : "CP950";
    for (int b = 0x80; b <= 0xFF; ++b) {
      const std::string text = "x" + std::string(500, static_cast<char>(b)) + "\xa4\x40y";
      std::string expected, actual;
      const bool valid = IconvDecode(charset, text, expected);
      ASSERT_EQ(Table(codePage).Decode(text, actual), valid) << charset << " " << b;
      if (valid) {
        EXPECT_EQ(actual, expected) << charset << " " << b;
      }
    }
  }
}

TEST(DoubleByteDecoder, TextsAndUnknownCharacterSets) {
  const DoubleByteDecoder& gbk = Table(936);
  std::string utf8;
  ASSERT_TRUE(gbk.Decode("A\xbf\xaa\xc6\xf4" "B", utf8));  // "A开启B"
  EXPECT_EQ(utf8, "A开启B");
  EXPECT_FALSE(gbk.Decode("ok\xbf", utf8));  // a lead byte at the end
  EXPECT_TRUE(gbk.Decode("", utf8));
  EXPECT_EQ(utf8, "");
  EXPECT_FALSE(DoubleByteDecoder("NO-SUCH-CHARSET").IsUsable());
}

}  // namespace
}  // namespace qv

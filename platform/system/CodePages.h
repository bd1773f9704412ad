#pragma once
// Conversion between UTF-8, the text of the process, and the narrow text of
// a code page, named by its Windows number (936 simplified Chinese, 950
// traditional Chinese, 437 English, 1252, 65001 UTF-8 ...). The conversion
// runs through glibc iconv; descriptors are cached per thread, and pure
// ASCII text of an ASCII-compatible code page is copied without iconv.

#include <string>
#include <string_view>

namespace qv {

// The UTF-8 code page, which is also the program code page on this platform.
constexpr int CP_UTF8 = 65001;

// The code page of the program's own text: UTF-8.
int ProgramCodePage();

// The iconv name of a code page: 65001 "UTF-8", 54936 "GB18030",
// 20127 "ASCII", 28591..28599 "ISO-8859-1".."ISO-8859-9", any other number
// n "CP<n>" (936 "CP936", 950 "CP950", 437 "CP437", 1252 "CP1252").
std::string CodePageCharsetName(int codePage);

// True for the code pages whose bytes 0x00..0x7F are ASCII and never part
// of a multi-byte character: 936, 950, 437, 1252, 65001, 54936, 20127 and
// 28591..28599. Pure ASCII text of these is copied without iconv.
bool IsAsciiCompatibleCodePage(int codePage);

// Decodes narrow text of the code page into UTF-8. False when iconv does not
// know the code page or the bytes are not valid in it (utf8 is then
// unspecified).
bool TryDecodeCodePage(std::string_view bytes, int codePage, std::string& utf8);

// Encodes UTF-8 into the code page. A character that the code page cannot
// hold becomes '?', as with the platform's default character, and the rest
// is converted. False only when the code page is unknown or the input is
// not valid UTF-8 (bytes is then unspecified).
bool TryEncodeCodePage(std::string_view utf8, int codePage, std::string& bytes);

// Decodes narrow text of the code page into UTF-8 and never fails: every
// invalid sequence becomes U+FFFD. An unknown code page is read as UTF-8.
std::string DecodeLenient(std::string_view bytes, int codePage);

// True when the text is well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

}  // namespace qv

#pragma once
// Small helpers for names that compare without regard to ASCII case and for
// trimming blanks, as the platform's configuration files need them. Bytes
// outside ASCII (UTF-8 of other scripts) compare exactly.

#include <string>
#include <string_view>

namespace qv {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The text with ASCII letters in upper case.
std::string AsciiUpper(std::string text);

// True when both texts are equal after ASCII lower-casing.
bool SameTextAscii(std::string_view a, std::string_view b);

// True when text ends with suffix, without regard to ASCII case.
bool EndsWithTextAscii(std::string_view text, std::string_view suffix);

// The text without leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

}  // namespace qv

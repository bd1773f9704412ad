#pragma once
// Numbers to text and back, the platform's way: integers in decimal or with a
// "$" / "0x" hexadecimal prefix, reals with 15 significant digits.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The parts of an integer text: sign, base (10, or 16 after "$" or "0x") and
// magnitude. False unless the whole text, blanks around it allowed, is such
// a number whose magnitude fits in 64 bits.
struct IntegerText {
  bool Negative = false;
  int Base = 10;
  std::uint64_t Magnitude = 0;
};
bool ParseIntegerText(std::string_view text, IntegerText& parts);

// A whole decimal or hexadecimal integer, blanks around it allowed.
// Hexadecimal digits are a 64-bit pattern ("$FFFFFFFFFFFFFFFF" is -1).
bool TryStrToInt64(std::string_view text, std::int64_t& value);
// A whole decimal number with the given decimal point, blanks around it allowed.
bool TryStrToFloat(std::string_view text, double& value, char decimalPoint = '.');

std::string IntToStr(std::int64_t value);
// Shortest general form with 15 significant digits: "1.5", "1E20", "1E-5".
std::string FloatToStr(double value, char decimalPoint = '.');

// Without leading and trailing blanks and control characters.
std::string_view Trim(std::string_view text);

}  // namespace qv

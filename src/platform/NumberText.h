#pragma once
// Numbers to text and back, the platform's way: integers in decimal or with a
// "$" / "0x" hexadecimal prefix, reals with 15 significant digits.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// A whole decimal or hexadecimal integer, blanks around it allowed.
bool TryStrToInt64(std::string_view text, std::int64_t& value);
// A whole decimal number with the given decimal point, blanks around it allowed.
bool TryStrToFloat(std::string_view text, double& value, char decimalPoint = '.');

std::string IntToStr(std::int64_t value);
// Shortest general form with 15 significant digits: "1.5", "1E20", "1E-5".
std::string FloatToStr(double value, char decimalPoint = '.');

// Without leading and trailing blanks and control characters.
std::string_view Trim(std::string_view text);

}  // namespace qv

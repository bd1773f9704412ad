#include "platform/core/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qv {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool ParseIntegerText(std::string_view text, IntegerText& parts) {
  text = Trim(text);
  parts = IntegerText{};
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    parts.Negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (!text.empty() && text.front() == '$') {
    parts.Base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    parts.Base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parts.Magnitude, parts.Base);
  return error == std::errc() && end == text.data() + text.size();
}

bool TryStrToInt64(std::string_view text, std::int64_t& value) {
  IntegerText parts;
  if (!ParseIntegerText(text, parts)) return false;
  if (parts.Base == 10 && parts.Magnitude > (parts.Negative ? 9223372036854775808ull : 9223372036854775807ull))
    return false;
  value = static_cast<std::int64_t>(parts.Negative ? 0 - parts.Magnitude : parts.Magnitude);
  return true;
}

bool TryStrToFloat(std::string_view text, double& value, char decimalPoint) {
  text = Trim(text);
  if (text.empty()) return false;
  std::string normal(text);
  for (char& c : normal) {
    if (c == decimalPoint)
      c = '.';
    else if (c == '.')
      return false;  // a point that is not the decimal point
  }
  std::string_view digits = normal;
  if (digits.front() == '+') digits.remove_prefix(1);
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general);
  return error == std::errc() && end == digits.data() + digits.size() && std::isfinite(value);
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string FloatToStr(double value, char decimalPoint) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text = buffer;
  // "1.5E+20" -> "1.5E20", "1E-05" -> "1E-5"
  if (const std::size_t e = text.find('E'); e != std::string::npos) {
    std::string exponent = text.substr(e + 1);
    std::string sign = exponent[0] == '-' ? "-" : "";
    exponent = exponent.substr(exponent[0] == '-' || exponent[0] == '+' ? 1 : 0);
    exponent.erase(0, exponent.find_first_not_of('0'));
    text = text.substr(0, e + 1) + sign + exponent;
  }
  if (decimalPoint != '.')
    for (char& c : text)
      if (c == '.') c = decimalPoint;
  return text;
}

}  // namespace qv

#include "platform/core/FormatText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/core/Exception.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/NumberText.h"

namespace qv {

namespace {

// Limits that keep an outside pattern from asking for huge texts.
constexpr int kMaxWidth = 4096;
constexpr int kMaxRealDigits = 18;
constexpr int kNone = -1;

struct Directive {
  bool leftJustify = false;
  int width = kNone;
  int precision = kNone;
  char type = 0;  // lower case
};

std::size_t CodePointCount(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The text cut after count code points.
std::string FirstCodePoints(const std::string& text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (seen++ == count) return text.substr(0, i);
  }
  return text;
}

std::string ZeroPadded(std::string digits, int minDigits) {
  if (minDigits > static_cast<int>(digits.size())) digits.insert(0, minDigits - digits.size(), '0');
  return digits;
}

std::string HexDigits(std::uint64_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return digits;
}

// printf of one real with a fixed conversion; the conversion is chosen from
// literals, so the C library never sees an outside format.
std::string PrintReal(char conversion, int precision, double value) {
  char buffer[512];  // 309 integer digits of the largest double, 18 decimals, sign
  switch (conversion) {
    case 'f': std::snprintf(buffer, sizeof buffer, "%.*f", precision, value); break;
    case 'E': std::snprintf(buffer, sizeof buffer, "%.*E", precision, value); break;
    default: std::snprintf(buffer, sizeof buffer, "%.*G", precision, value); break;
  }
  return buffer;
}

// "E+05" becomes "E+005" (scientific) or "E5" (general).
std::string RewriteExponent(const std::string& text, bool scientific) {
  const std::size_t e = text.find('E');
  if (e == std::string::npos) return text;
  std::string digits = text.substr(e + 1);
  const char sign = digits[0] == '-' ? '-' : '+';
  if (digits[0] == '-' || digits[0] == '+') digits.erase(0, 1);
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (scientific) return text.substr(0, e + 1) + sign + ZeroPadded(digits, 3);
  return text.substr(0, e + 1) + (sign == '-' ? "-" : "") + (digits.empty() ? "0" : digits);
}

char DecimalSeparator() { return FormatSettings().DecimalSeparator; }
char ThousandSeparator() { return DecimalSeparator() == ',' ? '.' : ','; }

std::string WithDecimalSeparator(std::string text) {
  std::replace(text.begin(), text.end(), '.', DecimalSeparator());
  return text;
}

// "," between the thousands of the integer part of a fixed text ("-1234.50").
std::string WithThousands(const std::string& fixed) {
  const std::size_t begin = fixed[0] == '-' ? 1 : 0;
  const std::size_t end = std::min(fixed.find('.'), fixed.size());
  std::string out = fixed.substr(0, begin);
  for (std::size_t i = begin; i < end; ++i) {
    if (i > begin && (end - i) % 3 == 0) out += ',';
    out += fixed[i];
  }
  return out + fixed.substr(end);
}

class Formatter {
 public:
  Formatter(const std::string& pattern, const std::vector<Variant>& args) : pattern_(pattern), args_(args) {}

  std::string Run() {
    std::string out;
    while (pos_ < pattern_.size()) {
      const std::size_t percent = pattern_.find('%', pos_);
      out.append(pattern_, pos_, std::min(percent, pattern_.size()) - pos_);
      if (percent == std::string::npos) break;
      pos_ = percent + 1;
      if (Peek() == '%') {
        out += '%';
        ++pos_;
        continue;
      }
      const Directive directive = ParseDirective();
      out += Pad(Convert(directive, NextArg()), directive);
    }
    return out;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError("Format '" + pattern_ + "' invalid or incompatible with argument");
  }

  char Peek() const { return pos_ < pattern_.size() ? pattern_[pos_] : '\0'; }

  const Variant& NextArg() {
    if (argIndex_ >= args_.size()) throw EConvertError("No argument for format '" + pattern_ + "'");
    return args_[argIndex_++];
  }

  // A count written in digits or as "*" (the next argument); kNone when absent.
  int ReadCount() {
    if (Peek() == '*') {
      ++pos_;
      const std::int64_t value = IntegerOf(NextArg());
      if (value < 0 || value > kMaxWidth) Invalid();
      return static_cast<int>(value);
    }
    int value = kNone;
    while (Peek() >= '0' && Peek() <= '9') {
      value = (value == kNone ? 0 : value * 10) + (pattern_[pos_++] - '0');
      if (value > kMaxWidth) Invalid();
    }
    return value;
  }

  Directive ParseDirective() {
    Directive directive;
    int count = ReadCount();
    if (Peek() == ':') {
      if (count == kNone) Invalid();
      argIndex_ = static_cast<std::size_t>(count);
      ++pos_;
      count = kNone;
    }
    if (count == kNone) {
      if (Peek() == '-') {
        directive.leftJustify = true;
        ++pos_;
      }
      count = ReadCount();
    }
    directive.width = count;
    if (Peek() == '.') {
      ++pos_;
      directive.precision = ReadCount();
      if (directive.precision == kNone) Invalid();
    }
    if (pos_ >= pattern_.size()) Invalid();
    const char type = pattern_[pos_++];
    directive.type = static_cast<char>(type >= 'A' && type <= 'Z' ? type - 'A' + 'a' : type);
    return directive;
  }

  std::string Convert(const Directive& directive, const Variant& arg) const {
    switch (directive.type) {
      case 's': return TextOf(arg, directive.precision);
      case 'd': {
        const std::int64_t value = IntegerOf(arg);
        const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : value;
        return (value < 0 ? "-" : "") + ZeroPadded(std::to_string(magnitude), directive.precision);
      }
      case 'u': return ZeroPadded(std::to_string(static_cast<std::uint64_t>(IntegerOf(arg))), directive.precision);
      case 'x': return ZeroPadded(HexDigits(static_cast<std::uint64_t>(IntegerOf(arg))), directive.precision);
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': return RealText(directive, RealOf(arg));
      default: Invalid();
    }
  }

  std::string TextOf(const Variant& arg, int precision) const {
    switch (arg.Type()) {
      case VarType::Null:
      case VarType::Array:
      case VarType::Dispatch: Invalid();
      default: break;
    }
    const std::string text = arg.ToString();
    return precision == kNone ? text : FirstCodePoints(text, static_cast<std::size_t>(precision));
  }

  std::int64_t IntegerOf(const Variant& arg) const {
    std::int64_t value = 0;
    if (arg.Type() == VarType::Integer) return arg.ToInt64();
    if (arg.IsText() && TryStrToInt64(arg.TextRef(), value)) return value;
    Invalid();
  }

  double RealOf(const Variant& arg) const {
    switch (arg.Type()) {
      case VarType::Integer:
      case VarType::Real:
      case VarType::Date: return arg.ToDouble();
      case VarType::String:
      case VarType::UString: {
        double value = 0;
        if (TryStrToFloat(arg.TextRef(), value, DecimalSeparator())) return value;
        std::int64_t whole = 0;
        if (TryStrToInt64(arg.TextRef(), whole)) return static_cast<double>(whole);
        break;
      }
      default: break;
    }
    Invalid();
  }

  static std::string RealText(const Directive& directive, double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    const int precision = directive.precision;
    const int digits = precision == kNone ? 15 : std::clamp(precision, 1, kMaxRealDigits);
    const int decimals = precision == kNone ? 2 : std::min(precision, kMaxRealDigits);
    switch (directive.type) {
      case 'e': return WithDecimalSeparator(RewriteExponent(PrintReal('E', digits - 1, value), true));
      case 'g': return WithDecimalSeparator(RewriteExponent(PrintReal('G', digits, value), false));
      case 'f': return WithDecimalSeparator(PrintReal('f', decimals, value));
      default: {  // 'n', 'm'
        const std::string fixed = WithThousands(PrintReal('f', decimals, value));
        std::string out;
        for (char c : fixed) out += c == '.' ? DecimalSeparator() : c == ',' ? ThousandSeparator() : c;
        return out;
      }
    }
  }

  static std::string Pad(std::string text, const Directive& directive) {
    const std::size_t length = CodePointCount(text);
    if (directive.width == kNone || length >= static_cast<std::size_t>(directive.width)) return text;
    const std::string blanks(static_cast<std::size_t>(directive.width) - length, ' ');
    return directive.leftJustify ? text + blanks : blanks + text;
  }

  const std::string& pattern_;
  const std::vector<Variant>& args_;
  std::size_t pos_ = 0;
  std::size_t argIndex_ = 0;
};

}  // namespace

std::string Format(const std::string& pattern, const std::vector<Variant>& args) {
  return Formatter(pattern, args).Run();
}

}  // namespace qv

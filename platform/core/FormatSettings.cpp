#include "platform/core/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>

namespace qv {

std::string PatternFromStrftime(const std::string& format) {
  std::string pattern;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      if (static_cast<unsigned char>(c) >= 0x80 || std::isalpha(static_cast<unsigned char>(c)))
        return "";
      pattern += c;
      continue;
    }
    if (++i == format.size()) return "";
    switch (format[i]) {
      case 'Y': pattern += "yyyy"; break;
      case 'y': pattern += "yy"; break;
      case 'm': pattern += "MM"; break;
      case 'd': pattern += "dd"; break;
      case 'e': pattern += "d"; break;
      case 'H': pattern += "hh"; break;
      case 'M': pattern += "nn"; break;
      case 'S': pattern += "ss"; break;
      case 'T': pattern += "hh:nn:ss"; break;
      case 'D': pattern += "MM/dd/yy"; break;
      case 'F': pattern += "yyyy-MM-dd"; break;
      default: return "";
    }
  }
  return pattern;
}

namespace {

// The first separator character in a pattern, or the fallback.
char FirstSeparator(const std::string& pattern, char fallback) {
  for (char c : pattern)
    if (!std::isalpha(static_cast<unsigned char>(c))) return c;
  return fallback;
}

std::string WithPlaceholder(std::string pattern, char separator, char placeholder) {
  for (char& c : pattern)
    if (c == separator) c = placeholder;
  return pattern;
}

}  // namespace

TFormatSettings LocaleFormatSettings() {
  TFormatSettings settings;
  locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (!locale) locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (!locale) return settings;
  const std::string date = PatternFromStrftime(nl_langinfo_l(D_FMT, locale));
  const std::string time = PatternFromStrftime(nl_langinfo_l(T_FMT, locale));
  const std::string decimal = nl_langinfo_l(RADIXCHAR, locale);  // copied: freed with the locale
  freelocale(locale);

  // Patterns hold "/" and ":" for the separators, which are settings of
  // their own, so a program can change them without touching the patterns.
  if (!date.empty()) {
    settings.DateSeparator = FirstSeparator(date, '/');
    settings.ShortDateFormat = WithPlaceholder(date, settings.DateSeparator, '/');
  }
  if (!time.empty()) {
    settings.TimeSeparator = FirstSeparator(time, ':');
    settings.LongTimeFormat = WithPlaceholder(time, settings.TimeSeparator, ':');
  }
  if (decimal.size() == 1) settings.DecimalSeparator = decimal[0];
  return settings;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = LocaleFormatSettings();
  return settings;
}

}  // namespace qv

#pragma once
// The process's date and time format settings: initialised from the locale,
// changeable by the program (the forms switch the separators per company).

#include <string>

namespace qv {

struct TFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "yyyy/MM/dd";
  std::string LongTimeFormat = "hh:nn:ss";
  char DecimalSeparator = '.';
};

// The settings in force; read from the locale on first use.
TFormatSettings& FormatSettings();

// What the locale named by the environment (LC_ALL, LC_TIME, LANG) gives.
TFormatSettings LocaleFormatSettings();

// Translates a C-library date or time format ("%Y-%m-%d", "%H:%M:%S") into
// the platform's pattern ("yyyy-MM-dd", "hh:nn:ss"); "" when it holds a
// conversion or a character the platform's patterns cannot express.
std::string PatternFromStrftime(const std::string& format);

}  // namespace qv

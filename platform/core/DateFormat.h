#pragma once
// Formatting of date values with the platform's patterns:
//   yyyy yy  m mm mmm mmmm (month; minutes right after an hour)  d dd ddd dddd
//   h hh  n nn  s ss  z zzz  am/pm a/p  c (short date + long time)  ddddd (short
//   date)  t tt (time)  "/" and ":" (the separators of the settings)  '...' "..."
//   (literal text). Letters are read without regard to case. A value that is
//   not a valid date and time (IsValidDateTime) has no text: it formats as "".

#include <string>

#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"

namespace qv {

std::string FormatDateTime(const std::string& pattern, TDateTime value,
                           const TFormatSettings& settings = FormatSettings());

// Short date, then the long time when the value has a time of day.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

// Reads a date in the order of the short date format (year, month and day
// separated by the date separator), optionally followed by a blank and a time
// "h:n" or "h:n:s". False when the text is not such a date.
bool TryStrToDateTime(const std::string& text, TDateTime& value,
                      const TFormatSettings& settings = FormatSettings());

}  // namespace qv

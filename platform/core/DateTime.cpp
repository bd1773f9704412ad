#include "platform/core/DateTime.h"

#include <cmath>

#include "platform/core/Exception.h"

namespace qv {

namespace {

// Days between 1 March of year 0 and the civil date (proleptic Gregorian).
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe);
}

DateParts CivilFromDays(std::int64_t z) {
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// constexpr: dates are encoded during static initialisation of other files.
constexpr std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);

}  // namespace

bool IsValidDateTime(TDateTime value) {
  // The day before kMinDateTime is year 0; NaN fails both comparisons.
  return value > kMinDateTime - 1 && value < kEndDateTime;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInAMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (day < 1 || day > DaysInAMonth(year, month)) return false;
  date = static_cast<TDateTime>(DaysFromCivil(year, month, day) - kEpoch);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime date;
  if (!TryEncodeDate(year, month, day, date)) throw EConvertError("Invalid argument to date encode");
  return date;
}

bool TryEncodeTime(int hour, int minute, int second, int ms, TDateTime& time) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || ms < 0 ||
      ms > 999)
    return false;
  time = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + ms) / 86400000.0;
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int ms) {
  TDateTime time;
  if (!TryEncodeTime(hour, minute, second, ms, time)) throw EConvertError("Invalid argument to time encode");
  return time;
}

std::int64_t DatePart(TDateTime value) {
  return IsValidDateTime(value) ? static_cast<std::int64_t>(std::trunc(value)) : 0;
}

DateParts DecodeDate(TDateTime date) {
  if (!IsValidDateTime(date)) return {};
  return CivilFromDays(DatePart(date) + kEpoch);
}

TimeParts DecodeTime(TDateTime time) {
  if (!IsValidDateTime(time)) return {};
  const double fraction = std::fabs(time - std::trunc(time));
  auto ms = static_cast<std::int64_t>(std::llround(fraction * 86400000.0));
  if (ms >= 86400000) ms = 86399999;
  TimeParts parts;
  parts.MilliSecond = static_cast<int>(ms % 1000);
  parts.Second = static_cast<int>(ms / 1000 % 60);
  parts.Minute = static_cast<int>(ms / 60000 % 60);
  parts.Hour = static_cast<int>(ms / 3600000);
  return parts;
}

}  // namespace qv

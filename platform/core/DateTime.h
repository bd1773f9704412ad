#pragma once
// Date values: whole days counted from 30 December 1899, the time of day as
// the fraction. Years 1 to 9999 are representable.

#include <cstdint>

namespace qv {

using TDateTime = double;

struct DateParts {
  int Year = 0, Month = 0, Day = 0;
};

struct TimeParts {
  int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};

// The representable range: 1 January of year 1 (its negative values count
// forward within the day) up to, not including, 1 January 10000.
inline constexpr TDateTime kMinDateTime = -693593.0;
inline constexpr TDateTime kEndDateTime = 2958466.0;
// False for values outside that range, infinities and NaN.
bool IsValidDateTime(TDateTime value);

bool IsLeapYear(int year);
// 28 to 31 for months 1-12; 0 for any other month or a year outside 1-9999.
int DaysInAMonth(int year, int month);

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeDate(int year, int month, int day);  // raises EConvertError
bool TryEncodeTime(int hour, int minute, int second, int ms, TDateTime& time);
TDateTime EncodeTime(int hour, int minute, int second, int ms);  // raises EConvertError

// All parts are 0 for a value that is not a valid date and time.
DateParts DecodeDate(TDateTime date);
TimeParts DecodeTime(TDateTime time);

// The whole-day part (toward zero: the platform's dates before 1899 have a
// fraction that still counts forward); 0 for a value that is not valid.
std::int64_t DatePart(TDateTime value);

}  // namespace qv

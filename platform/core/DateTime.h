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

bool IsLeapYear(int year);
// 28 to 31 for months 1-12; 0 for any other month or a year outside 1-9999.
int DaysInAMonth(int year, int month);

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeDate(int year, int month, int day);  // raises EConvertError
bool TryEncodeTime(int hour, int minute, int second, int ms, TDateTime& time);
TDateTime EncodeTime(int hour, int minute, int second, int ms);  // raises EConvertError

DateParts DecodeDate(TDateTime date);
TimeParts DecodeTime(TDateTime time);

// The whole-day part (toward negative infinity for the platform's layout of
// dates before 1899, whose fraction still counts forward).
std::int64_t DatePart(TDateTime value);

}  // namespace qv

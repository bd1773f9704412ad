// Date values, the settable clock and date formatting with the settings.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "platform/core/Clock.h"
#include "platform/core/DateFormat.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/FormatSettings.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

TEST(DateValues, EncodeDecodeAroundTheEpoch) {
  EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_DOUBLE_EQ(EncodeDate(2024, 3, 7), 45358);
  for (const auto& [y, m, d] : {std::tuple{1, 1, 1}, {1753, 1, 1}, {2000, 2, 29}, {9999, 12, 31}, {1899, 1, 5}}) {
    const DateParts parts = DecodeDate(EncodeDate(y, m, d));
    EXPECT_EQ(std::tie(parts.Year, parts.Month, parts.Day), std::tie(y, m, d));
  }
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2000, 2), 29);
  EXPECT_EQ(DaysInAMonth(2024, 0), 0);
}

TEST(DateValues, TimeOfDayToTheMillisecond) {
  const TimeParts t = DecodeTime(EncodeDate(2024, 1, 31) + EncodeTime(13, 5, 9, 7));
  EXPECT_EQ(t.Hour, 13);
  EXPECT_EQ(t.Minute, 5);
  EXPECT_EQ(t.Second, 9);
  EXPECT_EQ(t.MilliSecond, 7);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(Clock, CanBeFixedAndReset) {
  const TDateTime moment = EncodeDate(2024, 1, 31) + EncodeTime(13, 5, 9, 7);
  {
    ScopedClock fixed(moment);
    EXPECT_DOUBLE_EQ(Clock::Now(), moment);
    EXPECT_DOUBLE_EQ(Clock::Date(), EncodeDate(2024, 1, 31));
  }
  // Reset, it reads the system's time again: in UTC the days since 1899-12-30,
  // of which 25569 passed before 1970.
  test::ScopedEnv utc("TZ", "UTC");
  tzset();
  const auto unixDays = [] {
    const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::ratio<86400>>(since1970).count();
  };
  const double before = unixDays();
  const TDateTime now = Clock::Now();
  const double after = unixDays();
  const double oneMillisecond = 1.0 / 86400000;
  EXPECT_GE(now, 25569 + before - oneMillisecond);
  EXPECT_LE(now, 25569 + after + oneMillisecond);
}

TEST(DateFormat, Patterns) {
  TFormatSettings settings;
  settings.DateSeparator = '-';
  settings.TimeSeparator = '.';
  settings.ShortDateFormat = "yyyy/m/d";
  settings.LongTimeFormat = "hh:nn:ss";
  const TDateTime value = EncodeDate(2024, 1, 31) + EncodeTime(13, 5, 9, 7);
  const struct {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"YYYY/MM/DD hh:nn:ss:zzz", "2024-01-31 13.05.09.007"},  // separators come from the settings
      {"yyyymmdd", "20240131"},
      {"yymmdd", "240131"},
      {"d/m/yy", "31-1-24"},
      {"hh:mm", "13.05"},  // minutes after an hour
      {"h am/pm", "1 PM"},
      {"ddd mmm", "Wed Jan"},
      {"'at' hh 'o''clock'", "at 13 oclock"},
      {"c", "2024-1-31 13.05.09"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, value, settings), c.text) << c.pattern;
}

TEST(DateFormat, ReadsDatesInTheOrderOfTheShortFormat) {
  TFormatSettings settings;
  settings.ShortDateFormat = "dd/MM/yyyy";
  TDateTime value = 0;
  ASSERT_TRUE(TryStrToDateTime("07/03/2024 10:30", value, settings));
  EXPECT_DOUBLE_EQ(value, EncodeDate(2024, 3, 7) + EncodeTime(10, 30, 0, 0));
  EXPECT_FALSE(TryStrToDateTime("31/02/2024", value, settings));
  EXPECT_FALSE(TryStrToDateTime("2024/03", value, settings));
  EXPECT_FALSE(TryStrToDateTime("07/03/2024 25:00", value, settings));
}

TEST(FormatSettings, PatternsFromTheLocale) {
  EXPECT_EQ(PatternFromStrftime("%Y-%m-%d"), "yyyy-MM-dd");
  EXPECT_EQ(PatternFromStrftime("%H:%M:%S"), "hh:nn:ss");
  EXPECT_EQ(PatternFromStrftime("%m/%d/%y"), "MM/dd/yy");
  EXPECT_EQ(PatternFromStrftime("%Y年%m月%d日"), "");  // not expressible
  EXPECT_EQ(PatternFromStrftime("%I:%M:%S %p"), "");
}

}  // namespace
}  // namespace qv

#include "platform/core/DateFormat.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/core/NumberText.h"

namespace qv {

namespace {

const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

std::string Padded(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

bool StartsWithNoCase(const std::string& text, std::size_t at, const char* prefix) {
  for (std::size_t i = 0; prefix[i]; ++i)
    if (at + i >= text.size() ||
        std::tolower(static_cast<unsigned char>(text[at + i])) != prefix[i])
      return false;
  return true;
}

class Formatter {
 public:
  Formatter(TDateTime value, const TFormatSettings& settings)
      : settings_(settings), date_(DecodeDate(value)), time_(DecodeTime(value)) {
    const long long days = DatePart(value);
    dayOfWeek_ = static_cast<int>(((days + 6) % 7 + 7) % 7);  // 30 Dec 1899 was a Saturday
  }

  std::string Run(const std::string& pattern, int depth = 0) {
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
      const char c = pattern[i];
      const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const std::size_t run = RunLength(pattern, i);
      if (c == '\'' || c == '"') {
        const std::size_t end = pattern.find(c, i + 1);
        out += pattern.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
        i = end == std::string::npos ? pattern.size() : end + 1;
        continue;
      }
      if (StartsWithNoCase(pattern, i, "am/pm")) {
        out += time_.Hour < 12 ? "AM" : "PM";
        twelveHour_ = true;
        i += 5;
        continue;
      }
      if (StartsWithNoCase(pattern, i, "a/p")) {
        out += time_.Hour < 12 ? "A" : "P";
        twelveHour_ = true;
        i += 3;
        continue;
      }
      switch (lower) {
        case 'y': out += run <= 2 ? Padded(date_.Year % 100, 2) : Padded(date_.Year, 4); break;
        case 'm': out += Month(run); break;
        case 'd': out += Day(run, depth); break;
        case 'h': out += Padded(Hour(pattern, i + run), run >= 2 ? 2 : 1); lastWasHour_ = true; i += run; continue;
        case 'n': out += Padded(time_.Minute, run >= 2 ? 2 : 1); break;
        case 's': out += Padded(time_.Second, run >= 2 ? 2 : 1); break;
        case 'z': out += Padded(time_.MilliSecond, run >= 3 ? 3 : 1); break;
        case 't': out += depth < 2 ? Run(settings_.LongTimeFormat, depth + 1) : ""; break;
        case 'c': out += depth < 2 ? Run(settings_.ShortDateFormat, depth + 1) + " " + Run(settings_.LongTimeFormat, depth + 1) : ""; break;
        case '/': out.append(run, settings_.DateSeparator); break;
        case ':': out.append(run, settings_.TimeSeparator); break;
        default: out.append(pattern, i, run); break;
      }
      if (std::isalpha(static_cast<unsigned char>(lower))) lastWasHour_ = false;
      i += run;
    }
    return out;
  }

 private:
  static std::size_t RunLength(const std::string& pattern, std::size_t at) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[at])));
    std::size_t end = at + 1;
    while (end < pattern.size() &&
           std::tolower(static_cast<unsigned char>(pattern[end])) == lower)
      ++end;
    return end - at;
  }

  std::string Month(std::size_t run) const {
    if (lastWasHour_) return Padded(time_.Minute, run >= 2 ? 2 : 1);
    if (run >= 4) return kLongMonths[date_.Month - 1];
    if (run == 3) return kShortMonths[date_.Month - 1];
    return Padded(date_.Month, static_cast<int>(run));
  }

  std::string Day(std::size_t run, int depth) {
    if (run >= 5) return depth < 2 ? Run(settings_.ShortDateFormat, depth + 1) : "";
    if (run == 4) return kLongDays[dayOfWeek_];
    if (run == 3) return kShortDays[dayOfWeek_];
    return Padded(date_.Day, static_cast<int>(run));
  }

  // The hour, on a 12-hour dial when the rest of the pattern has an am/pm.
  int Hour(const std::string& pattern, std::size_t from) const {
    bool twelve = twelveHour_;
    for (std::size_t i = from; !twelve && i < pattern.size(); ++i)
      twelve = StartsWithNoCase(pattern, i, "am/pm") || StartsWithNoCase(pattern, i, "a/p");
    if (!twelve) return time_.Hour;
    const int hour = time_.Hour % 12;
    return hour == 0 ? 12 : hour;
  }

  const TFormatSettings& settings_;
  DateParts date_;
  TimeParts time_;
  int dayOfWeek_ = 0;
  bool lastWasHour_ = false;
  bool twelveHour_ = false;
};

}  // namespace

std::string FormatDateTime(const std::string& pattern, TDateTime value,
                           const TFormatSettings& settings) {
  if (!IsValidDateTime(value)) return "";
  return Formatter(value, settings).Run(pattern);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  if (!IsValidDateTime(value)) return "";
  std::string text = FormatDateTime(settings.ShortDateFormat, value, settings);
  if (value != std::trunc(value)) text += " " + FormatDateTime(settings.LongTimeFormat, value, settings);
  return text;
}

namespace {

// Splits text at the separator into whole numbers; false unless there are
// between minParts and maxParts of them.
bool SplitNumbers(const std::string& text, char separator, std::size_t minParts, std::size_t maxParts,
                  std::vector<int>& parts) {
  parts.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    std::int64_t number;
    if (!TryStrToInt64(text.substr(start, end - start), number) || number < 0 || number > 99999)
      return false;
    parts.push_back(static_cast<int>(number));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts.size() >= minParts && parts.size() <= maxParts;
}

}  // namespace

bool TryStrToDateTime(const std::string& text, TDateTime& value, const TFormatSettings& settings) {
  const std::string trimmed(Trim(text));
  const std::size_t blank = trimmed.find(' ');
  std::vector<int> date, time;
  if (!SplitNumbers(trimmed.substr(0, blank), settings.DateSeparator, 3, 3, date)) return false;
  // The order of year, month and day is the order of their first letters.
  std::string order;
  for (char c : settings.ShortDateFormat) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((lower == 'y' || lower == 'm' || lower == 'd') && order.find(lower) == std::string::npos)
      order += lower;
  }
  if (order.size() != 3) order = "ymd";
  int year = date[order.find('y')], month = date[order.find('m')], day = date[order.find('d')];
  if (year < 100) year += 2000;
  TDateTime datePart, timePart = 0;
  if (!TryEncodeDate(year, month, day, datePart)) return false;
  if (blank != std::string::npos) {
    if (!SplitNumbers(std::string(Trim(trimmed.substr(blank))), settings.TimeSeparator, 2, 3, time) ||
        !TryEncodeTime(time[0], time[1], time.size() > 2 ? time[2] : 0, 0, timePart))
      return false;
  }
  value = datePart + timePart;
  return true;
}

}  // namespace qv

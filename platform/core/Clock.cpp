#include "platform/core/Clock.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace qv {

namespace {

TDateTime SystemNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec < 60 ? local.tm_sec : 59, ms);
}

Clock::Source& CurrentSource() {
  static Clock::Source source;
  return source;
}

}  // namespace

TDateTime Clock::Now() {
  const Source& source = CurrentSource();
  return source ? source() : SystemNow();
}

TDateTime Clock::Date() { return std::trunc(Now()); }

void Clock::SetSource(Source source) { CurrentSource() = std::move(source); }

void Clock::SetFixed(TDateTime moment) {
  SetSource([moment] { return moment; });
}

void Clock::Reset() { CurrentSource() = nullptr; }

}  // namespace qv

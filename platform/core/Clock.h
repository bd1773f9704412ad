#pragma once
// The one clock of the system. Nothing reads the system clock directly, so
// tests can fix "now" and every dated file name and stamp follows.

#include <functional>

#include "platform/core/DateTime.h"

namespace qv {

class Clock {
 public:
  using Source = std::function<TDateTime()>;

  // The current local date and time, milliseconds included.
  static TDateTime Now();
  // Today, without the time of day.
  static TDateTime Date();

  // Replaces the source of the time; an empty source restores the system clock.
  static void SetSource(Source source);
  static void SetFixed(TDateTime moment);
  static void Reset();
};

// Fixes the clock for a scope and restores the system clock afterwards.
class ScopedClock {
 public:
  explicit ScopedClock(TDateTime moment) { Clock::SetFixed(moment); }
  ~ScopedClock() { Clock::Reset(); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace qv

// The main of every test program. It pins what the machine would otherwise
// decide, so that the tests give the same result everywhere: the locale (and
// with it the system code page), the time zone, the format settings and the
// clock. Tests about the locale or the time set their own for their scope;
// before each test the settings and the clock are pinned again, so that
// nothing a test changed leaks into the next.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/FormatSettings.h"

extern char** environ;

namespace qv::test {
namespace {

// A weekday morning long enough after the dates the tests use themselves.
const TDateTime kPinnedMoment = EncodeDate(2025, 3, 14) + EncodeTime(9, 26, 53, 589);

// Leaves LC_ALL=C.UTF-8 as the only locale variable, and UTC as time zone.
void PinLocale() {
  std::vector<std::string> localeVariables;
  for (char** entry = environ; *entry; ++entry)
    if (std::strncmp(*entry, "LC_", 3) == 0) localeVariables.emplace_back(*entry, std::strcspn(*entry, "="));
  for (const std::string& name : localeVariables) unsetenv(name.c_str());
  unsetenv("LANG");
  unsetenv("LANGUAGE");
  setenv("LC_ALL", "C.UTF-8", 1);
  setenv("TZ", "UTC", 1);
}

class PinnedSettingsAndClock : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    FormatSettings() = LocaleFormatSettings();
    Clock::SetFixed(kPinnedMoment);
  }
};

}  // namespace
}  // namespace qv::test

int main(int argc, char** argv) {
  qv::test::PinLocale();
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new qv::test::PinnedSettingsAndClock);
  return RUN_ALL_TESTS();
}

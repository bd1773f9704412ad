#include "platform/core/LocaleText.h"

#include <algorithm>
#include <atomic>

#include "platform/core/AsciiText.h"

namespace qv {

namespace {

class TAsciiTextRules final : public TLocaleTextRules {
 public:
  int CompareText(std::string_view a, std::string_view b) const override {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
      const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
      const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
      if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  }
  std::string UpperCase(std::string_view text) const override { return AsciiUpper(std::string(text)); }
};

const TAsciiTextRules kAsciiRules;
// Lists may sort on any thread; the rules are swapped rarely.
std::atomic<const TLocaleTextRules*> installed{nullptr};

}  // namespace

const TLocaleTextRules& LocaleTextRules() {
  const TLocaleTextRules* rules = installed.load(std::memory_order_acquire);
  return rules ? *rules : kAsciiRules;
}

void InstallLocaleTextRules(const TLocaleTextRules* rules) { installed.store(rules, std::memory_order_release); }

int LocaleCompareText(std::string_view a, std::string_view b) { return LocaleTextRules().CompareText(a, b); }

std::string LocaleUpperCase(std::string_view text) { return LocaleTextRules().UpperCase(text); }

bool LocaleSameText(std::string_view a, std::string_view b) {
  if (a == b) return true;
  const TLocaleTextRules& rules = LocaleTextRules();
  return rules.UpperCase(a) == rules.UpperCase(b);
}

}  // namespace qv

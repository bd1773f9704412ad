#pragma once
// The user's locale rules for text (platform/core/LocaleText.h) through ICU:
// a collator of secondary strength (case ignored; accents, and the locale's
// order of everything else, kept) and the locale's upper-casing. When qv_system
// is loaded it puts the rules of the environment's locale in force; a program
// or a test may choose another locale.

#include <memory>
#include <string>
#include <string_view>

#include "platform/core/LocaleText.h"

namespace qv {

// The locale name the user's text follows: the first non-empty of LC_ALL,
// LC_COLLATE and LANG ("" when none is set).
std::string TextLocaleName();

// The ICU locale of a locale name such as "zh_CN.UTF-8". By the rule of the
// system code page (CodePageOfLocaleName), zh_CN and zh_SG give "zh" (pinyin
// order) and zh_TW, zh_HK and zh_MO "zh_Hant" (stroke order); "C", "POSIX"
// and "" give "en"; any other name its part before "." or "@" ("de_DE").
std::string IcuLocaleOfLocaleName(std::string_view localeName);

// ICU's rules for the locale name. Raises Exception when ICU cannot serve
// them (its data missing).
std::unique_ptr<TLocaleTextRules> MakeIcuTextRules(std::string_view localeName);

// Puts ICU's rules for the locale name in force for the whole process.
// Rules once made stay until the process ends, so a list that another thread
// is still sorting by the earlier ones is safe. Raises as MakeIcuTextRules.
void UseTextLocale(std::string_view localeName);

// Puts a locale's rules in force for a scope, then the earlier rules again.
class ScopedTextLocale {
 public:
  explicit ScopedTextLocale(std::string_view localeName) : previous_(LocaleTextRules()) {
    UseTextLocale(localeName);
  }
  ~ScopedTextLocale() { InstallLocaleTextRules(&previous_); }
  ScopedTextLocale(const ScopedTextLocale&) = delete;
  ScopedTextLocale& operator=(const ScopedTextLocale&) = delete;

 private:
  const TLocaleTextRules& previous_;
};

}  // namespace qv

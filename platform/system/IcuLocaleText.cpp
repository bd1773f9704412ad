#include "platform/system/IcuLocaleText.h"

#include <unicode/ucasemap.h>
#include <unicode/ucol.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/core/Exception.h"
#include "platform/system/SystemInfo.h"

namespace qv {

namespace {

void CheckIcu(UErrorCode status, const char* what) {
  if (U_FAILURE(status)) throw Exception(std::string("ICU ") + what + ": " + u_errorName(status));
}

// ICU counts lengths in 32 bits.
int32_t IcuLength(std::string_view text) {
  if (text.size() > INT32_MAX) throw ERangeError("Text too long for the locale's rules");
  return static_cast<int32_t>(text.size());
}

class TIcuTextRules final : public TLocaleTextRules {
 public:
  explicit TIcuTextRules(const std::string& icuLocale) {
    UErrorCode status = U_ZERO_ERROR;
    collator_.reset(ucol_open(icuLocale.c_str(), &status));
    CheckIcu(status, "collator");
    ucol_setStrength(collator_.get(), UCOL_SECONDARY);
    caseMap_.reset(ucasemap_open(icuLocale.c_str(), 0, &status));
    CheckIcu(status, "case map");
  }

  int CompareText(std::string_view a, std::string_view b) const override {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(collator_.get(), a.data(), IcuLength(a), b.data(), IcuLength(b), &status);
    CheckIcu(status, "compare");
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
  }

  std::string UpperCase(std::string_view text) const override {
    // Upper case may be longer ("ß" gives "SS"): measured when it does not fit.
    std::string upper(text.size(), '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucasemap_utf8ToUpper(caseMap_.get(), upper.data(), IcuLength(upper), text.data(),
                                          IcuLength(text), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      upper.resize(static_cast<std::size_t>(length));
      status = U_ZERO_ERROR;
      length = ucasemap_utf8ToUpper(caseMap_.get(), upper.data(), length, text.data(), IcuLength(text), &status);
    }
    CheckIcu(status, "upper case");
    upper.resize(static_cast<std::size_t>(length));
    return upper;
  }

 private:
  struct CloseCollator {
    void operator()(UCollator* collator) const { ucol_close(collator); }
  };
  struct CloseCaseMap {
    void operator()(UCaseMap* caseMap) const { ucasemap_close(caseMap); }
  };
  std::unique_ptr<UCollator, CloseCollator> collator_;
  std::unique_ptr<UCaseMap, CloseCaseMap> caseMap_;
};

// The rules made so far, by ICU locale. They stay until the process ends;
// then the stand-in is put back before they go.
struct MadeRules {
  std::mutex mutex;
  std::map<std::string, std::unique_ptr<TLocaleTextRules>> byLocale;
  ~MadeRules() { InstallLocaleTextRules(nullptr); }
};

MadeRules& Made() {
  static MadeRules made;
  return made;
}

// When qv_system loads: the rules of the environment's locale. Without ICU's
// data the stand-in stays rather than the process failing to start.
struct UseEnvironmentLocaleAtLoad {
  UseEnvironmentLocaleAtLoad() {
    try {
      UseTextLocale(TextLocaleName());
    } catch (const Exception&) {
    }
  }
} const useEnvironmentLocaleAtLoad;

}  // namespace

std::string TextLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "";
}

std::string IcuLocaleOfLocaleName(std::string_view localeName) {
  switch (CodePageOfLocaleName(localeName)) {
    case 936: return "zh";
    case 950: return "zh_Hant";
  }
  const std::string_view tag = localeName.substr(0, localeName.find_first_of(".@"));
  if (tag.empty() || tag == "C" || tag == "POSIX") return "en";
  return std::string(tag);
}

std::unique_ptr<TLocaleTextRules> MakeIcuTextRules(std::string_view localeName) {
  return std::make_unique<TIcuTextRules>(IcuLocaleOfLocaleName(localeName));
}

void UseTextLocale(std::string_view localeName) {
  MadeRules& made = Made();
  const std::string icuLocale = IcuLocaleOfLocaleName(localeName);
  const std::lock_guard lock(made.mutex);
  std::unique_ptr<TLocaleTextRules>& rules = made.byLocale[icuLocale];
  if (!rules) rules = std::make_unique<TIcuTextRules>(icuLocale);
  InstallLocaleTextRules(rules.get());
}

}  // namespace qv

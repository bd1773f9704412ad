#include "localization/TranslatorU.h"

#include "platform/core/Exception.h"

namespace qv {

namespace {

constexpr std::size_t kConversionFailed = static_cast<std::size_t>(-1);

}  // namespace

const TClass& TTranslator::StaticClass() {
  static const TClass cls = ClassBuilder<TTranslator>("TTranslator", &TObject::StaticClass());
  return cls;
}

TTranslator::TTranslator(const std::string& libraryFileName) { Bind(libraryFileName); }

void TTranslator::Bind(const std::string& libraryFileName) {
  if (library_.IsLoaded()) return;
  if (!library_.Load(libraryFileName)) throw Exception("Load Library " + libraryFileName + " Error!");
  gbToBig5_ = library_.Function<ConvertEntry>("GBtoBIG5");
  big5ToGb_ = library_.Function<ConvertEntry>("BIG5toGB");
  // A throwing constructor still destroys library_, which releases it.
  if (!gbToBig5_ || !big5ToGb_) throw Exception("Get Library Procedure Address Error!");
}

std::string TTranslator::GBToBIG5Text(const std::string& source) const { return Convert(gbToBig5_, source); }

std::string TTranslator::BIG5ToGBText(const std::string& source) const { return Convert(big5ToGb_, source); }

std::string TTranslator::Convert(ConvertEntry* entry, const std::string& source) {
  if (!entry) return source;
  // Both code pages spend the same bytes on a character, so the source's
  // length nearly always fits; otherwise the library says what does.
  std::string result(source.size(), '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::size_t needed = entry(source.data(), source.size(), result.data(), result.size());
    if (needed == kConversionFailed) break;
    const bool fitted = needed <= result.size();
    result.resize(needed);
    if (fitted) return result;
  }
  throw Exception("Translate Text Error!");
}

}  // namespace qv

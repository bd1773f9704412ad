#pragma once
// TTranslator binds the translator library, which converts simplified Chinese
// text in code page 936 (GB) to traditional Chinese text in code page 950
// (Big5) and back. Each code-page converter that needs conversions owns one.
//
// The library is loaded by file name and exports, with C linkage,
//   size_t GBtoBIG5(const char* source, size_t sourceLength,
//                   char* result, size_t resultCapacity);
//   size_t BIG5toGB(...same...);
// Each returns the length the whole result needs and writes the result
// (8-bit, not terminated) only when it fits the caller's buffer; (size_t)-1
// means the library cannot convert on this machine.

#include <cstddef>
#include <string>

#include "platform/core/Object.h"
#include "platform/system/DynamicLibrary.h"

namespace qv {

class TTranslator : public TObject {
  QV_OBJECT(TTranslator, TObject)

  static constexpr const char* DefaultLibraryFileName = "Qvlanguage.so";

  // Binds the library. Raises Exception "Load Library <file name> Error!"
  // when it cannot be loaded and "Get Library Procedure Address Error!" when
  // an entry is missing (the library is then released again).
  explicit TTranslator(const std::string& libraryFileName = DefaultLibraryFileName);

  // Code page 936 text in, code page 950 text out; the source itself when the
  // library has no such entry. Raises Exception "Translate Text Error!" when
  // the library reports that it cannot convert.
  std::string GBToBIG5Text(const std::string& source) const;
  // Code page 950 text in, code page 936 text out; otherwise as above.
  std::string BIG5ToGBText(const std::string& source) const;

 private:
  using ConvertEntry = std::size_t(const char*, std::size_t, char*, std::size_t);

  void Bind(const std::string& libraryFileName);
  static std::string Convert(ConvertEntry* entry, const std::string& source);

  DynamicLibrary library_;  // released with the translator
  ConvertEntry* gbToBig5_ = nullptr;
  ConvertEntry* big5ToGb_ = nullptr;
};

}  // namespace qv

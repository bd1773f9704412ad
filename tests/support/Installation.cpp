#include "support/Installation.h"

namespace qv::test {

Installation::Installation()
    : registryFile_("QVX_REGISTRY_FILE", root_ / "registry"),
      tempFolder_("TMPDIR", root_ / "tmp"),
      savedSettings_(FormatSettings()) {
  WriteFile(root_ / "tmp/.keep", "");
  FormatSettings().DateSeparator = '/';
  FormatSettings().TimeSeparator = ':';
  FormatSettings().ShortDateFormat = "yyyy/MM/dd";
  FormatSettings().LongTimeFormat = "hh:nn:ss";
}

Installation::~Installation() { FormatSettings() = savedSettings_; }

void Installation::SetRegistry(const std::string& valueLines) {
  WriteFile(root_ / "registry", "[HKEY_LOCAL_MACHINE\\Software\\QVX\\Orvane]\n" + valueLines);
}

}  // namespace qv::test

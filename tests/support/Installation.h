#pragma once
// A registry file and installation folders in a temporary folder, with the
// environment pointed at them, for tests of configuration and logging.

#include <string>

#include "platform/core/FormatSettings.h"
#include "support/TestSupport.h"

namespace qv::test {

class Installation {
 public:
  Installation();
  ~Installation();

  const TempDir& Root() const { return root_; }
  std::string Folder(const std::string& name) const { return root_ / name; }

  // Writes the registry file with the given lines under the installation key;
  // no call leaves no registry file at all.
  void SetRegistry(const std::string& valueLines);

 private:
  TempDir root_;
  ScopedEnv registryFile_;
  ScopedEnv tempFolder_;
  TFormatSettings savedSettings_;
};

}  // namespace qv::test

#pragma once
// An installation with client and server folders, their configuration files
// naming a user-interface code page, and language files in the folders
// MultiLanguage/<language>/, for the tests of the language files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/system/CodePages.h"
#include "support/Installation.h"

namespace qv::test {

class LanguageInstallation {
 public:
  // Registers both installations; each configuration names its code page.
  void Configure(const std::string& clientCodePage, const std::string& serverCodePage = "936") {
    install_.SetRegistry("ClientPath=" + Client() + "\nServerPath=" + Server() + "\n");
    WriteFile(Client() + "/OrvaneC.ini", "[CodePage]\nUICodePage=" + clientCodePage + "\n");
    WriteFile(Server() + "/OrvaneS.ini", "[CodePage]\nUICodePage=" + serverCodePage + "\n");
  }

  std::string Client() const { return install_.Folder("client"); }
  std::string Server() const { return install_.Folder("server"); }
  // The language folder below an installation folder, with its trailing "/".
  static std::string LanguageFolder(const std::string& installation, const std::string& language) {
    return installation + "/MultiLanguage/" + language + "/";
  }
  // Writes a file (and so its folder) into a client language folder.
  std::string ClientFile(const std::string& language, const std::string& name, const std::string& bytes) const {
    const std::string path = LanguageFolder(Client(), language) + name;
    WriteFile(path, bytes);
    return path;
  }
  const TempDir& Root() const { return install_.Root(); }

 private:
  Installation install_;
  ScopedEnv locale_{"LC_ALL", "C.UTF-8"};
};

// UTF-8 text carried into a code page, as a language file in that code page holds it.
inline std::string Encoded(const std::string& utf8, int codePage) {
  std::string bytes;
  EXPECT_TRUE(TryEncodeCodePage(utf8, codePage, bytes)) << utf8;
  return bytes;
}

// Makes a folder the current one for the lifetime of the object.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::string& folder) {
    char* old = getcwd(nullptr, 0);
    previous_ = old ? old : "/";
    std::free(old);
    EXPECT_EQ(chdir(folder.c_str()), 0) << folder;
  }
  ~ScopedCurrentFolder() { EXPECT_EQ(chdir(previous_.c_str()), 0); }
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::string previous_;
};

}  // namespace qv::test

#pragma once
// A client (and server) installation whose configuration names the code
// pages, on a system of the given locale, for tests of the code-page
// converter.

#include <string>

#include "support/Installation.h"
#include "support/TestSupport.h"

namespace qv::test {

// The locales of a GB system and of a Big5 system.
inline constexpr const char* kGBSystem = "zh_CN.UTF-8";
inline constexpr const char* kBig5System = "zh_TW.UTF-8";

class ConverterInstallation {
 public:
  // codePages: the lines of the client's [CodePage] section, e.g. "UICodePage=950\n".
  ConverterInstallation(const char* locale, const std::string& codePages) : locale_("LC_ALL", locale) {
    install_.SetRegistry("ClientPath=" + install_.Folder("client") + "\nServerPath=" + install_.Folder("server") +
                         "\n");
    WriteFile(install_.Folder("client") + "/OrvaneC.ini", "[CodePage]\n" + codePages);
    WriteFile(install_.Folder("server") + "/OrvaneS.ini", "");
  }

  void SetServerCodePages(const std::string& codePages) {
    WriteFile(install_.Folder("server") + "/OrvaneS.ini", "[CodePage]\n" + codePages);
  }

 private:
  Installation install_;
  ScopedEnv locale_;
};

}  // namespace qv::test

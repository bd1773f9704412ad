#include "services/OrvaneINI.h"

#include <cctype>
#include <cstdio>

#include "platform/core/AsciiText.h"
#include "platform/core/Exception.h"
#include "platform/core/NumberText.h"
#include "platform/system/IniFile.h"
#include "platform/system/Registry.h"
#include "platform/system/SystemInfo.h"
#include "services/AlertLog.h"

namespace qv {

namespace {

const char* const kRegistryKey = "Software\\QVX\\Orvane";
const char* const kEmptyPasswordMarker = "QV_Say_NoPassWord_ThePassWordIsEmpty";
const char* const kPasswordError = "QV_Say_Password_Error";

bool IsTrueText(const std::string& text) {
  return SameTextAscii(text, "1") || SameTextAscii(text, "Y") || SameTextAscii(text, "YES") ||
         SameTextAscii(text, "TRUE");
}

bool HasDrivePart(const std::string& path) {
  return (!path.empty() && path[0] == '/') ||
         (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])));
}

// A work folder as written in the file: relative to the installation, made
// so by a leading "\", or absolute; always ending with a separator. The value
// is classified before the separator is added, so an empty value is the
// installation folder rather than "/".
std::string WorkFolder(const std::string& installPath, std::string value) {
  if (!HasDrivePart(value)) value = installPath + (!value.empty() && value[0] == '\\' ? value.substr(1) : value);
  if (value.empty() || (value.back() != '/' && value.back() != '\\')) value += '/';
  for (char& c : value)
    if (c == '\\') c = '/';
  return value;
}

std::uint8_t RotateLeft(std::uint8_t b, unsigned n) {
  n %= 8;
  return static_cast<std::uint8_t>((b << n) | (b >> ((8 - n) % 8)));
}

std::uint8_t RotateRight(std::uint8_t b, unsigned n) { return RotateLeft(b, (8 - n % 8) % 8); }

}  // namespace

// ---- both readers ----

TOrvaneIni::TOrvaneIni() {
  const int system = SystemCodePage();
  sysCodePage_ = system == 936 || system == 950 ? std::to_string(system) : "437";
  uiCodePage_ = sysCodePage_;
  DecideConvertModes();
}

void TOrvaneIni::DecideConvertModes() {
  uiConvertMode_ = uiCodePage_ == "950" ? 2 : (uiCodePage_ == "936" && sysCodePage_ == "950") ? 4 : 0;
  dbConvertMode_ = (uiCodePage_ == "950" && dbCodePage_ == "936")   ? 2
                   : (uiCodePage_ == "936" && dbCodePage_ == "950") ? 1
                                                                    : 0;
}

bool TOrvaneIni::Locate(const char* pathValue, const char* fileName) {
  try {
    TRegistry registry(RootKey::LocalMachine);
    if (!registry.OpenKeyReadOnly(kRegistryKey)) return false;
    installPath_ = registry.ReadString(pathValue);
    profileType_ = registry.ReadString("ProfileType");
  } catch (...) {
    return false;
  }
  if (installPath_.empty()) return false;
  installPath_ = IncludeTrailingPathDelimiter(installPath_);

  profilePath_ = installPath_;
  if (!profileType_.empty() && profileType_ != "0") {
    profileUser_ = GetUserNameText();
    profilePath_ = installPath_ + "Profile/" + profileUser_ + "/";
  }
  iniFileName_ = profilePath_ + fileName;
  if (!FileExists(iniFileName_)) {
    profilePath_ = installPath_;
    iniFileName_ = installPath_ + fileName;
  }
  return true;
}

void TOrvaneIni::ReadCommonKeys(const TIniFile& ini) {
  productVersion_ = ini.ReadString("ProductVersion", "Version", "");
  uiCodePage_ = ini.ReadString("CodePage", "UICodePage", sysCodePage_);
  dbCodePage_ = ini.ReadString("CodePage", "DBCodePage", "936");
}

void TOrvaneIni::ReadWorkFolders(const TIniFile& ini, const char* defaultFolder) {
  workDLLPaths_.clear();
  for (const std::string& line : ini.ReadSectionValues("WorkDLLPath"))
    workDLLPaths_.push_back(WorkFolder(installPath_, line.substr(line.find('=') + 1)));
  if (workDLLPaths_.empty()) workDLLPaths_.push_back(installPath_ + defaultFolder);
}

// ---- client ----

TOrvaneIniC::TOrvaneIniC() {
  if (!Locate("ClientPath", "OrvaneC.ini")) return;
  const TIniFile ini(iniFileName_);
  ReadCommonKeys(ini);
  langType_ = ini.ReadString("Client Components", "LangType", "ENG");
  createGifBeforeSendEF_ = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
  supportCallBack_ = IsTrueText(ini.ReadString("Server Information", "SupportCallBack", "0"));
  autoCheckNewMsg_ = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
  checkInterval_ = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
  popupMsg_ = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
  loginCheck_ = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
  if (ReadServerList(ini)) ReadWorkFolders(ini, "C_PKG/");
  DecideConvertModes();
}

bool TOrvaneIniC::ReadServerList(const TIniFile& ini) {
  std::string names(Trim(ini.ReadString("Server Information", "ComputerName", "127.0.0.1")));
  if (!names.empty() && names.back() == ';') names.pop_back();
  if (names.empty()) return false;
  const int port = ini.ReadInteger("Server Information", "ServerPort", 211);

  std::vector<std::string> addresses;
  for (std::size_t start = 0;;) {
    const std::size_t end = names.find(';', start);
    addresses.push_back(names.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  serverList_ = Variant::Array2(0, 1, 0, static_cast<int>(addresses.size()) - 1);
  for (int i = 0; i < static_cast<int>(addresses.size()); ++i) {
    serverList_.At(0, i) = addresses[static_cast<std::size_t>(i)];
    serverList_.At(1, i) = port;
  }
  return true;
}

// ---- server ----

TOrvaneIniS::TOrvaneIniS() {
  if (!Locate("ServerPath", "OrvaneS.ini")) return;
  const TIniFile ini(iniFileName_);
  ReadCommonKeys(ini);
  ReadDatabaseKeys(ini);
  supportCallBack_ = IsTrueText(ini.ReadString("DBPasswordCtrl", "SupportCallBack", "0"));
  ReadWorkFolders(ini, "S_PKG/");
  DecideConvertModes();
}

void TOrvaneIniS::ReadDatabaseKeys(const TIniFile& ini) {
  const char* const dbe = "DBE Setting";
  auto text = [&](const char* section, const char* key, const char* defaultValue) {
    return Variant(ini.ReadString(section, key, defaultValue));
  };
  auto number = [&](const char* section, const char* key, int defaultValue) {
    return Variant(ini.ReadInteger(section, key, defaultValue));
  };
  Variant& s = dbSettings_;
  s.At(0, 0) = text(dbe, "MainAlias", "Ferrow");
  s.At(0, 1) = text(dbe, "MainUserName", "sa");
  s.At(0, 2) = DecodePasswordSafely(ini.ReadString(dbe, "XXXXXX", ""));
  s.At(0, 3) = text(dbe, "MainDBType", "MSSQL");
  s.At(0, 4) = text(dbe, "MainDBName", "");
  s.At(0, 5) = text(dbe, "MainServerName", "");
  s.At(0, 6) = number(dbe, "MainConnectionTimeOut", 300);
  s.At(0, 7) = number(dbe, "MainCommandTimeOut", 3000);
  s.At(1, 0) = text(dbe, "TempAlias", "FerrowTemp");
  s.At(1, 1) = text(dbe, "TempUserName", "sa");
  s.At(1, 2) = DecodePasswordSafely(ini.ReadString(dbe, "TempPassword", ""));
  s.At(1, 3) = text(dbe, "TempDBType", "PARADOX");
  s.At(1, 4) = text(dbe, "TempDBName", "");
  s.At(1, 5) = text(dbe, "TempDriverName", "PostgreSQL");
  s.At(1, 6) = number(dbe, "TempConnectionTimeOut", 300);
  s.At(1, 7) = number(dbe, "TempCommandTimeOut", 3000);
  s.At(2, 0) = std::string(Trim(ini.ReadString("DBPasswordCtrl", "ComputerName", "")));
  s.At(2, 1) = number("DBPasswordCtrl", "ServerPort", 211);
  s.At(2, 2) = number("DBPasswordCtrl", "ClientSocketPort", 1024);
  s.At(2, 3) = text(dbe, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
  s.At(3, 0) = text(dbe, "EctAlias", "EDIDATA");
  s.At(3, 1) = text(dbe, "EctUserName", "sa");
  s.At(3, 2) = text(dbe, "EctPassword", "");

  const std::string mainServer = s.At(0, 5).ToString();
  systemControlAddress_ = ini.ReadString(dbe, "SystemControlAddress", "");
  if (Trim(systemControlAddress_).empty()) systemControlAddress_ = mainServer;
  otherSystemControlAddress_ = ini.ReadString(dbe, "OtherSystemControlAddress", "");
  if (Trim(otherSystemControlAddress_).empty()) otherSystemControlAddress_ = mainServer;

  const std::string type = s.At(0, 3).ToString();
  dbKind_ = SameTextAscii(type, "ORACLE") ? 1 : SameTextAscii(type, "DB2") ? 2 : 0;
}

// ---- passwords ----

std::string EncodeSQLSa(const std::string& password) {
  const std::string plain = password.empty() ? kEmptyPasswordMarker : password;
  std::string stored;
  for (std::size_t k = 1; k <= plain.size(); ++k) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x",
                  RotateRight(static_cast<std::uint8_t>(plain[k - 1]), static_cast<unsigned>(k)));
    stored += pair;
  }
  return stored;
}

std::string DecodeSQLSa(const std::string& stored) {
  std::string plain;
  for (std::size_t k = 1; 2 * k <= stored.size(); ++k) {
    const std::string pair = stored.substr(2 * k - 2, 2);
    if (!std::isxdigit(static_cast<unsigned char>(pair[0])) || !std::isxdigit(static_cast<unsigned char>(pair[1])))
      throw EConvertError("'$" + pair + "' is not a valid integer value");
    const auto byte = static_cast<std::uint8_t>(std::stoi(pair, nullptr, 16));
    plain += static_cast<char>(RotateLeft(byte, static_cast<unsigned>(k)));
  }
  return plain == kEmptyPasswordMarker ? std::string() : plain;
}

std::string DecodePasswordSafely(const std::string& stored) {
  try {
    return DecodeSQLSa(stored);
  } catch (const Exception& error) {
    ReportException(&error, EncodeSQLSa("DecodeSQLSa"), "解析 Sa 时发生错误!");
    return kPasswordError;
  }
}

}  // namespace qv

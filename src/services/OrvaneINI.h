#pragma once
// The readers of the installation's configuration: TOrvaneIniC for a client
// installation, TOrvaneIniS for an application server. Each reads the
// registry key "Software\QVX\Orvane" and its configuration file once, when
// it is created, and is then only queried; create one, read, drop it.
// Neither raises: a missing key, value or file leaves the defaults.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace qv {

class TIniFile;

// The fields both installations have.
class TOrvaneIni {
 public:
  virtual ~TOrvaneIni() = default;

  const std::string& InstallPath() const { return installPath_; }  // with a trailing "/"
  const std::string& ProfilePath() const { return profilePath_; }
  const std::string& ProfileType() const { return profileType_; }
  const std::string& ProfileUser() const { return profileUser_; }
  const std::string& IniFileName() const { return iniFileName_; }
  const std::string& SysCodePage() const { return sysCodePage_; }
  const std::string& UICodePage() const { return uiCodePage_; }
  const std::string& DBCodePage() const { return dbCodePage_; }
  std::uint8_t UIConvertMode() const { return uiConvertMode_; }
  std::uint8_t DBConvertMode() const { return dbConvertMode_; }
  bool SupportCallBack() const { return supportCallBack_; }
  const std::string& ProductVersion() const { return productVersion_; }
  // Folders searched for server modules, each ending with "/".
  const std::vector<std::string>& WorkDLLPaths() const { return workDLLPaths_; }

 protected:
  // pathValue is "ClientPath" or "ServerPath", fileName the configuration file.
  TOrvaneIni();
  // Finds the file (Algorithm: registry, profile, shared file); false when
  // the installation is not registered and nothing more can be read.
  bool Locate(const char* pathValue, const char* fileName);
  void ReadCommonKeys(const TIniFile& ini);
  void DecideConvertModes();
  void ReadWorkFolders(const TIniFile& ini, const char* defaultFolder);

  std::string installPath_, profilePath_, profileType_ = "0", profileUser_ = "Default", iniFileName_;
  std::string sysCodePage_, uiCodePage_, dbCodePage_ = "936";
  std::uint8_t uiConvertMode_ = 0, dbConvertMode_ = 0;
  bool supportCallBack_ = false;
  std::string productVersion_;
  std::vector<std::string> workDLLPaths_;
};

class TOrvaneIniC : public TOrvaneIni {
 public:
  TOrvaneIniC();

  // [0, i] the i-th server address, [1, i] its port; empty until the file
  // names at least one server.
  const Variant& ServerList() const { return serverList_; }
  const std::string& LangType() const { return langType_; }
  const std::string& CreateGifBeforeSendEF() const { return createGifBeforeSendEF_; }
  const std::string& AutoCheckNewMsg() const { return autoCheckNewMsg_; }
  const std::string& CheckInterval() const { return checkInterval_; }
  const std::string& PopupMsg() const { return popupMsg_; }
  const std::string& LoginCheck() const { return loginCheck_; }

 private:
  bool ReadServerList(const TIniFile& ini);

  Variant serverList_;
  std::string langType_, createGifBeforeSendEF_, autoCheckNewMsg_, checkInterval_, popupMsg_, loginCheck_;
};

class TOrvaneIniS : public TOrvaneIni {
 public:
  TOrvaneIniS();

  // [d, k]: d 0 main database, 1 temporary database, 2 server socket
  // settings, 3 EDI database; k the setting (alias, user, password, type, …).
  const Variant& DBSettings() const { return dbSettings_; }
  const std::string& SystemControlAddress() const { return systemControlAddress_; }
  const std::string& OtherSystemControlAddress() const { return otherSystemControlAddress_; }
  // 1 for an ORACLE main database, 2 for DB2, else 0.
  std::uint8_t DBKind() const { return dbKind_; }
  void CopyWorkDLLPaths(std::vector<std::string>& list) const { list = workDLLPaths_; }

 private:
  void ReadDatabaseKeys(const TIniFile& ini);

  Variant dbSettings_ = Variant::Array2(0, 3, 0, 7);
  std::string systemControlAddress_, otherSystemControlAddress_;
  std::uint8_t dbKind_ = 0;
};

// The stored form of database passwords: hexadecimal pairs, each byte
// rotated by its position. An empty password travels as a marker text.
std::string EncodeSQLSa(const std::string& password);
// Raises EConvertError for a pair that is not hexadecimal.
std::string DecodeSQLSa(const std::string& stored);
// DecodeSQLSa that never raises: "QV_Say_Password_Error" and a report in the
// generator log for a stored text that cannot be decoded.
std::string DecodePasswordSafely(const std::string& stored);

}  // namespace qv

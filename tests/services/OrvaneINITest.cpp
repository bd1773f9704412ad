// The configuration readers of client and server installations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/system/SystemInfo.h"
#include "services/OrvaneINI.h"
#include "support/Installation.h"

namespace qv {
namespace {

using test::Installation;
using test::ScopedEnv;
using test::WriteFile;

class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override { client = install.Folder("client") + "/"; }

  void RegisterClient(const std::string& extra = "") {
    install.SetRegistry("ClientPath=" + install.Folder("client") + "\n" + extra);
  }
  void ClientFile(const std::string& text) { WriteFile(client + "OrvaneC.ini", text); }

  Installation install;
  ScopedEnv locale{"LC_ALL", "C.UTF-8"};
  std::string client;
};

TEST_F(ConfigurationTest, UnregisteredInstallationKeepsTheDefaults) {
  for (bool registryFile : {false, true}) {
    if (registryFile) install.SetRegistry("ServerPath=/srv\n");  // key present, ClientPath missing
    const TOrvaneIniC ini;
    EXPECT_EQ(ini.InstallPath(), "");
    EXPECT_EQ(ini.IniFileName(), "");
    EXPECT_EQ(ini.ProfileType(), registryFile ? "" : "0");
    EXPECT_EQ(ini.ProfileUser(), "Default");
    EXPECT_EQ(ini.SysCodePage(), "437");
    EXPECT_EQ(ini.UICodePage(), "437");
    EXPECT_EQ(ini.DBCodePage(), "936");
    EXPECT_TRUE(ini.ServerList().IsEmpty());
    EXPECT_TRUE(ini.WorkDLLPaths().empty());
  }
}

TEST_F(ConfigurationTest, CodePagesAndConversionModes) {
  const struct {
    const char* locale;
    const char* codePageSection;
    const char* sys;
    const char* ui;
    int uiMode, dbMode;
  } cases[] = {
      {"en_US.UTF-8", "", "437", "437", 0, 0},
      {"zh_CN.UTF-8", "", "936", "936", 0, 0},
      {"zh_TW.UTF-8", "", "950", "950", 2, 2},
      {"zh_TW.UTF-8", "UICodePage=936\n", "950", "936", 4, 0},
      {"zh_CN.GBK", "UICodePage=950\nDBCodePage=936\n", "936", "950", 2, 2},
      {"zh_CN.GBK", "UICodePage=936\nDBCodePage=950\n", "936", "936", 0, 1},
      {"C", "UICodePage=950\nDBCodePage=950\n", "437", "950", 2, 0},
  };
  RegisterClient();
  for (const auto& c : cases) {
    ScopedEnv language("LC_ALL", c.locale);
    ClientFile(std::string("[CodePage]\n") + c.codePageSection);
    const TOrvaneIniC ini;
    EXPECT_EQ(ini.SysCodePage(), c.sys) << c.locale << " " << c.codePageSection;
    EXPECT_EQ(ini.UICodePage(), c.ui) << c.locale << " " << c.codePageSection;
    EXPECT_EQ(ini.UIConvertMode(), c.uiMode) << c.locale << " " << c.codePageSection;
    EXPECT_EQ(ini.DBConvertMode(), c.dbMode) << c.locale << " " << c.codePageSection;
  }
}

TEST_F(ConfigurationTest, ClientKeysAndServerList) {
  RegisterClient();
  ClientFile(
      "[Server Information]\nComputerName= srv1;srv2; \nServerPort=2110\nSupportCallBack=yes\n"
      "[Client Components]\nLangType=CHT\n[ProductVersion]\nVersion=8.1\n");
  const TOrvaneIniC ini;
  EXPECT_EQ(ini.InstallPath(), client);
  EXPECT_EQ(ini.ProfilePath(), client);
  EXPECT_EQ(ini.IniFileName(), client + "OrvaneC.ini");
  EXPECT_EQ(ini.LangType(), "CHT");
  EXPECT_EQ(ini.ProductVersion(), "8.1");
  EXPECT_TRUE(ini.SupportCallBack());
  EXPECT_EQ(ini.CreateGifBeforeSendEF(), "Y");
  EXPECT_EQ(ini.AutoCheckNewMsg(), "1");
  EXPECT_EQ(ini.LoginCheck(), "0");

  const Variant& servers = ini.ServerList();
  ASSERT_EQ(servers.DimCount(), 2);
  EXPECT_EQ(servers.HighBound(1), 1);
  ASSERT_EQ(servers.HighBound(2), 1);
  EXPECT_EQ(servers.At(0, 0).ToString(), "srv1");
  EXPECT_EQ(servers.At(0, 1).ToString(), "srv2");
  EXPECT_EQ(servers.At(1, 0).ToInt(), 2110);
  EXPECT_EQ(servers.At(1, 1).ToInt(), 2110);
  EXPECT_EQ(ini.WorkDLLPaths(), std::vector<std::string>{client + "C_PKG/"});
}

TEST_F(ConfigurationTest, ServerListEdges) {
  RegisterClient();
  ClientFile("");  // no key: the local server on the default port
  {
    const TOrvaneIniC ini;
    ASSERT_EQ(ini.ServerList().HighBound(2), 0);
    EXPECT_EQ(ini.ServerList().At(0, 0).ToString(), "127.0.0.1");
    EXPECT_EQ(ini.ServerList().At(1, 0).ToInt(), 211);
  }
  ClientFile("[Server Information]\nComputerName= a ; b\n");  // entries are not trimmed
  {
    const TOrvaneIniC ini;
    EXPECT_EQ(ini.ServerList().At(0, 0).ToString(), "a ");
    EXPECT_EQ(ini.ServerList().At(0, 1).ToString(), " b");
  }
  for (const char* empty : {"ComputerName=   \n", "ComputerName=;\n"}) {
    ClientFile(std::string("[Server Information]\n") + empty + "[WorkDLLPath]\nA=Mod\n");
    const TOrvaneIniC ini;
    EXPECT_TRUE(ini.ServerList().IsEmpty()) << empty;
    EXPECT_TRUE(ini.WorkDLLPaths().empty()) << empty;
  }
}

TEST_F(ConfigurationTest, SupportCallBackValues) {
  RegisterClient();
  for (const auto& [value, expected] : std::vector<std::pair<const char*, bool>>{
           {"1", true}, {"y", true}, {"Yes", true}, {"TRUE", true}, {"0", false}, {"on", false}, {"", false}}) {
    ClientFile(std::string("[Server Information]\nSupportCallBack=") + value + "\n");
    EXPECT_EQ(TOrvaneIniC().SupportCallBack(), expected) << value;
  }
}

TEST_F(ConfigurationTest, WorkFolders) {
  RegisterClient();
  ClientFile("[WorkDLLPath]\nP1=Mod\nP2=\\Mod\\\nP3=/opt/Mod\nP4=Sub\\Deeper\nP5=\nP6=\\\nP7=/\n");
  // An empty value, like a lone "\", is the installation folder itself; only "/" is the root.
  EXPECT_EQ(TOrvaneIniC().WorkDLLPaths(), (std::vector<std::string>{client + "Mod/", client + "Mod/", "/opt/Mod/",
                                                                    client + "Sub/Deeper/", client, client, "/"}));
}

TEST_F(ConfigurationTest, PerUserProfiles) {
  RegisterClient("ProfileType=1\n");
  ClientFile("[Client Components]\nLangType=CHS\n");
  {
    const TOrvaneIniC ini;  // no file of the user's own: the shared one
    EXPECT_EQ(ini.ProfileUser(), GetUserNameText());
    EXPECT_EQ(ini.ProfilePath(), client);
    EXPECT_EQ(ini.LangType(), "CHS");
  }
  const std::string own = client + "Profile/" + GetUserNameText() + "/";
  WriteFile(own + "OrvaneC.ini", "[Client Components]\nLangType=ENG\n");
  const TOrvaneIniC ini;
  EXPECT_EQ(ini.ProfilePath(), own);
  EXPECT_EQ(ini.IniFileName(), own + "OrvaneC.ini");
  EXPECT_EQ(ini.LangType(), "ENG");
}

class ServerConfigurationTest : public ConfigurationTest {
 protected:
  void SetUp() override {
    server = install.Folder("server") + "/";
    install.SetRegistry("ServerPath=" + install.Folder("server") + "\n");
  }
  void ServerFile(const std::string& text) { WriteFile(server + "OrvaneS.ini", text); }
  std::string server;
};

TEST_F(ServerConfigurationTest, Defaults) {
  ServerFile("");
  const TOrvaneIniS ini;
  const Variant& s = ini.DBSettings();
  EXPECT_EQ(s.At(0, 0).ToString(), "Ferrow");
  EXPECT_EQ(s.At(0, 3).ToString(), "MSSQL");
  EXPECT_EQ(s.At(0, 6).ToInt(), 300);
  EXPECT_EQ(s.At(0, 7).ToInt(), 3000);
  EXPECT_EQ(s.At(1, 3).ToString(), "PARADOX");
  EXPECT_EQ(s.At(1, 5).ToString(), "PostgreSQL");
  EXPECT_EQ(s.At(2, 1).ToInt(), 211);
  EXPECT_EQ(s.At(2, 2).ToInt(), 1024);
  EXPECT_EQ(s.At(2, 3).ToString(), "Chinese_Taiwan_Stroke_BIN");
  EXPECT_EQ(s.At(3, 0).ToString(), "EDIDATA");
  EXPECT_TRUE(s.At(2, 4).IsEmpty());  // not named: unassigned
  EXPECT_TRUE(s.At(3, 7).IsEmpty());
  EXPECT_EQ(s.At(0, 2).ToString(), "");
  EXPECT_EQ(ini.DBKind(), 0);
  EXPECT_EQ(ini.WorkDLLPaths(), std::vector<std::string>{server + "S_PKG/"});
  std::vector<std::string> copy;
  ini.CopyWorkDLLPaths(copy);
  EXPECT_EQ(copy, ini.WorkDLLPaths());
}

TEST_F(ServerConfigurationTest, DatabaseKeys) {
  ServerFile("[DBE Setting]\nMainDBType=oracle\nMainServerName=dbhost\nOtherSystemControlAddress=ctl\n"
             "XXXXXX=" + EncodeSQLSa("s3cret") + "\nTempPassword=" + EncodeSQLSa("") +
             "\nEctPassword=6a1b\n[DBPasswordCtrl]\nComputerName=  appsrv  \nSupportCallBack=TRUE\n");
  const TOrvaneIniS ini;
  const Variant& s = ini.DBSettings();
  EXPECT_EQ(ini.DBKind(), 1);
  EXPECT_EQ(ini.SystemControlAddress(), "dbhost");  // blank: the main server
  EXPECT_EQ(ini.OtherSystemControlAddress(), "ctl");
  EXPECT_EQ(s.At(0, 2).ToString(), "s3cret");
  EXPECT_EQ(s.At(1, 2).ToString(), "");            // the encoded marker of an empty password
  EXPECT_EQ(s.At(3, 2).ToString(), "6a1b");        // kept as stored
  EXPECT_EQ(s.At(2, 0).ToString(), "appsrv");
  EXPECT_TRUE(ini.SupportCallBack());

  ServerFile("[DBE Setting]\nMainDBType=Db2\n");
  EXPECT_EQ(TOrvaneIniS().DBKind(), 2);
}

TEST(PasswordCoding, EncodeThenDecodeGivesTheInput) {
  for (const std::string& password :
       std::vector<std::string>{"", "a", "sa", "P@ssw0rd!", "密码", std::string("\x00\xff", 2)})
    EXPECT_EQ(DecodeSQLSa(EncodeSQLSa(password)), password);
  EXPECT_EQ(EncodeSQLSa("A"), "a0");        // 0x41 rotated right by 1
  EXPECT_EQ(DecodeSQLSa("a0f"), "A");       // an odd last character is ignored
  EXPECT_EQ(DecodeSQLSa(""), "");
  EXPECT_EQ(EncodeSQLSa(""), EncodeSQLSa("QV_Say_NoPassWord_ThePassWordIsEmpty"));
}

TEST_F(ServerConfigurationTest, UndecodablePasswordIsReported) {
  ScopedClock clock(EncodeDate(2024, 1, 31));
  ServerFile("[DBE Setting]\nXXXXXX=a0zz\nMainAlias=Main\n");
  const TOrvaneIniS ini;
  EXPECT_EQ(ini.DBSettings().At(0, 2).ToString(), "QV_Say_Password_Error");
  EXPECT_EQ(ini.DBSettings().At(0, 0).ToString(), "Main");  // reading goes on
  const std::string log = test::ReadFile(server + "Log/Alert_NOVRAGenerator_20240131.log");
  EXPECT_NE(log.find(" on " + EncodeSQLSa("DecodeSQLSa") + " "), std::string::npos);
  EXPECT_NE(log.find("] Exception is EConvertError\r\nMessage 01: '$zz' is not a valid integer value"),
            std::string::npos);
  EXPECT_NE(log.find("] Programer Message: 解析 Sa 时发生错误!"), std::string::npos);
}

}  // namespace
}  // namespace qv

// Language files on disk: encodings named by the XML declaration, the form
// base's use of a file found by package name, and message texts read by key.
#include <gtest/gtest.h>

#include <string>

#include "localization/LanguageController.h"
#include "localization/LanguageInstallation.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/Form.h"
#include "platform/ui/controls/Label.h"

namespace qv {
namespace {

using test::Encoded;
using test::LanguageInstallation;
using test::WriteFile;

TEST(LangFileEncodingTest, DeclaredEncodingIsReadAsUtf8) {
  const struct {
    const char* declaration;
    int codePage;  // 0: the text's own UTF-8
    const char* text;
  } cases[] = {
      {R"(<?xml version="1.0" encoding="GB2312"?>)", 936, "成本报表"},
      {R"(<?xml version='1.0' encoding='gbk'?>)", 936, "期間報表"},
      {R"(<?xml version="1.0" encoding = "BIG5" standalone="yes"?>)", 950, "成本報表"},
      {R"(<?xml version="1.0" encoding="Big5"?>)", 950, "年度彙總"},
      {R"(<?xml version="1.0" encoding="GB18030"?>)", 54936, "𠀀成本"},
      {R"(<?xml version="1.0" encoding="UTF-8"?>)", 0, "成本报表"},
      {"", 0, "成本报表"},
  };
  test::TempDir folder;
  for (const auto& c : cases) {
    const std::string xml = std::string(c.declaration) + "\n<TfrmX><lblTitle Caption=\"" + c.text + "\"/></TfrmX>";
    WriteFile(folder / "TfrmX.Lng", c.codePage ? Encoded(xml, c.codePage) : xml);
    const auto document = TLangDocument::FromFile(folder / "TfrmX.Lng");
    EXPECT_STREQ(document->FirstElement("lblTitle").attribute("Caption").value(), c.text) << c.declaration;
  }
}

TEST(LangFileEncodingTest, FormBaseAppliesTheFilesOfItsClassChainInOrder) {
  LanguageInstallation install;
  install.Configure("950");
  const std::string big5 = R"(<?xml version="1.0" encoding="Big5"?>)";
  const auto file = [&](const char* className, const std::string& body) {
    install.ClientFile("CHT", std::string(className) + ".Lng", Encoded(big5 + body, 950));
  };
  file("TfrmBase", R"(<TfrmBase Caption="基礎"><lblA Caption="甲"/><lblB Caption="乙"/></TfrmBase>)");
  file("TfrmCost", R"(<TfrmCost Caption="成本報表"><lblB Caption="丙"/></TfrmCost>)");
  TForm* form = CreateForm<TForm>(nullptr);
  TLabel* a = new TLabel(form);
  a->SetName("lblA");
  TLabel* b = new TLabel(form);
  b->SetName("lblB");
  auto* controller = new TQvLangController(form);
  for (const char* className : {"TfrmBase", "TfrmMissing", "TfrmCost"}) {
    controller->SetLangPackageName(className);
    if (!FileExists(controller->LangFileName())) continue;
    controller->SetActive(true);
    controller->Reader().ReadComponent(form);
  }
  EXPECT_EQ(form->Caption(), "成本報表");
  EXPECT_EQ(a->Caption(), "甲");
  EXPECT_EQ(b->Caption(), "丙");
  TObject::Free(form);
}

class LangMsgTest : public ::testing::Test {
 protected:
  void SetUp() override { install.Configure("936"); }
  std::string Msg(const std::string& key) { return ReadLangMsg(dtClient, "TfrmBaseGene", key, "default"); }

  LanguageInstallation install;
};

TEST_F(LangMsgTest, KeyFindsTheFirstMsgAttribute) {
  install.ClientFile("CHS", "TfrmBaseGene.Lng", Encoded(R"(<?xml version="1.0" encoding="GB2312"?>
    <TfrmBaseGene>
      <sNoMsg Caption="not a message"/>
      <sProjNameError Msg="方案名称错误"/>
      <group><sTwice Msg="first"/></group>
      <sTwice Msg="second"/>
      <sLaterMsg/><sLaterMsg Msg="the one with a text"/>
    </TfrmBaseGene>)", 936));
  const struct {
    const char* key;
    const char* expected;
  } cases[] = {
      {"sProjNameError", "方案名称错误"}, {"sNoMsg", "default"},  {"sMissing", "default"},
      {"sTwice", "first"},                {"sLaterMsg", "the one with a text"}, {"", "default"},
  };
  for (const auto& c : cases) EXPECT_EQ(Msg(c.key), c.expected) << c.key;
}

TEST_F(LangMsgTest, MissingOrBrokenFileGivesTheDefault) {
  EXPECT_EQ(Msg("sProjNameError"), "default");
  install.ClientFile("CHS", "TfrmBaseGene.Lng", R"(<TfrmBaseGene><sProjNameError Msg="x"></TfrmBaseGene>)");
  EXPECT_EQ(Msg("sProjNameError"), "default");
}

TEST_F(LangMsgTest, ChangedFileIsReadAgain) {
  install.ClientFile("CHS", "TfrmBaseGene.Lng", R"(<a><sKey Msg="old"/></a>)");
  EXPECT_EQ(Msg("sKey"), "old");
  install.ClientFile("CHS", "TfrmBaseGene.Lng", R"(<a><sKey Msg="new"/></a>)");
  EXPECT_EQ(Msg("sKey"), "new");
}

TEST_F(LangMsgTest, DesignTypeChoosesTheConfiguration) {
  WriteFile(LanguageInstallation::LanguageFolder(install.Server(), "CHS") + "TfrmBaseGene.Lng",
            R"(<a><sKey Msg="server"/></a>)");
  EXPECT_EQ(ReadLangMsg(dtServer, "TfrmBaseGene", "sKey", "default"), "server");
  EXPECT_EQ(Msg("sKey"), "default");
}

TEST_F(LangMsgTest, WithoutLanguageTheFileIsLookedUpInTheCurrentFolder) {
  install.Configure("1252");
  install.ClientFile("ENG", "TfrmBaseGene.Lng", R"(<a><sKey Msg="folder"/></a>)");
  WriteFile(install.Root() / "work/TfrmBaseGene.Lng", R"(<a><sKey Msg="current"/></a>)");
  test::ScopedCurrentFolder current(install.Root() / "work");
  EXPECT_EQ(Msg("sKey"), "current");
}

}  // namespace
}  // namespace qv

// The language files shipped with the plug-in serve the condition form in
// each interface: well-formed, naming the form's components and holding
// the texts of its messages.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/DBLabel.h"
#include "forms/base/BaseGene.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/PageControl.h"
#include "support/Installation.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

struct InterfaceCase {
  const char* codePage;
  const char* basicPage;
  const char* printDate;
  const char* ok;
  const char* environmentLabel;
};

class ShippedLanguageTest : public ::testing::TestWithParam<InterfaceCase> {
 protected:
  ShippedLanguageTest() {
    const std::string client = install.Folder("client") + "/";
    install.SetRegistry("ClientPath=" + client + "\n");
    test::WriteFile(client + "OrvaneC.ini", std::string("[CodePage]\nUICodePage=") + GetParam().codePage + "\n");
    fs::copy(fs::path(PQLR_SHARE_FOLDER) / "MultiLanguage", client + "MultiLanguage", fs::copy_options::recursive);
  }

  test::ScopedEnv locale{"LC_ALL", "zh_CN.UTF-8"};
  test::Installation install;
};

TEST_P(ShippedLanguageTest, ShowingTheFormAppliesTheInterfacesTexts) {
  TfrmBaseGene* form = CreateForm<TfrmBaseGene>(nullptr);
  form->Show();
  EXPECT_EQ(form->tsOption1->Caption(), GetParam().basicPage);
  EXPECT_EQ(form->lblToday->Caption(), GetParam().printDate);
  EXPECT_EQ(form->btnOk->Caption(), GetParam().ok);
  EXPECT_EQ(form->LocalText("TfrmBaseGene", "sEnvSetting", "-"), GetParam().environmentLabel);
  TObject::Free(form);
}

INSTANTIATE_TEST_SUITE_P(Interfaces, ShippedLanguageTest,
                         ::testing::Values(InterfaceCase{"936", "基本选项", "制表日期", "确定", "环境设置"},
                                           InterfaceCase{"950", "基本選項", "製表日期", "確定", "環境設定"},
                                           InterfaceCase{"437", "Basic options", "Print date", "OK",
                                                         "Environment settings"}),
                         [](const auto& info) { return std::string("CodePage") + info.param.codePage; });

}  // namespace
}  // namespace qv

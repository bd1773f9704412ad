// The language controller: the language folder chosen by the configuration,
// the file named by the package name, opening and closing with their events
// and errors, and what closes an open document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "localization/LanguageController.h"
#include "localization/LanguageInstallation.h"
#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Form.h"

namespace qv {
namespace {

using test::LanguageInstallation;
using test::WriteFile;

// ---- language folder and file name ----

TEST(LanguageFolderTest, CodePageChoosesTheFolderThatExists) {
  const struct {
    const char* clientCodePage;
    const char* existingFolder;  // below the client installation
    TDesignType designType;
    const char* expected;        // below the installation, or "" for no folder
  } cases[] = {
      {"950", "CHT", dtClient, "client/MultiLanguage/CHT/"},
      {"936", "CHS", dtClient, "client/MultiLanguage/CHS/"},
      {"437", "ENG", dtClient, "client/MultiLanguage/ENG/"},
      {"950", "CHS", dtClient, ""},  // the language's folder is missing
      {"1252", "ENG", dtClient, ""},  // no language for the code page
      {"950", "CHT", dtServer, "server/MultiLanguage/CHS/"},  // the server's own code page, 936
  };
  for (const auto& c : cases) {
    LanguageInstallation install;
    install.Configure(c.clientCodePage);
    WriteFile(LanguageInstallation::LanguageFolder(install.Client(), c.existingFolder) + ".keep", "");
    WriteFile(LanguageInstallation::LanguageFolder(install.Server(), "CHS") + ".keep", "");
    const std::string expected = *c.expected ? install.Root() / c.expected : "";
    EXPECT_EQ(GetLangFolder(c.designType), expected) << c.clientCodePage << " " << c.existingFolder;
  }
}

TEST(LanguageFolderTest, PackageNameSetsTheFileInTheLanguageFolder) {
  for (const char* codePage : {"950", "1252"}) {
    LanguageInstallation install;
    install.Configure(codePage);
    WriteFile(LanguageInstallation::LanguageFolder(install.Client(), "CHT") + ".keep", "");
    TQvLangController controller(nullptr);
    controller.SetLangPackageName("TfrmBaseGene");
    const std::string folder = std::string(codePage) == "950" ? install.Client() + "/MultiLanguage/CHT/" : "";
    EXPECT_EQ(controller.LangFileName(), folder + "TfrmBaseGene.Lng") << codePage;
  }
}

// ---- opening and closing ----

class ControllerTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    controller.BeforeOpen = MethodOf<&ControllerTest::BeforeOpen>(this);
    controller.AfterOpen = MethodOf<&ControllerTest::AfterOpen>(this);
    controller.BeforeClose = MethodOf<&ControllerTest::BeforeClose>(this);
    controller.AfterClose = MethodOf<&ControllerTest::AfterClose>(this);
  }
  void Record(const char* event) { events.push_back(std::string(event) + (controller.Active() ? "+" : "-")); }
  void BeforeOpen(TObject*) { Record("BeforeOpen"); }
  void AfterOpen(TObject*) { Record("AfterOpen"); }
  void BeforeClose(TObject*) { Record("BeforeClose"); }
  void AfterClose(TObject*) { Record("AfterClose"); }

  std::string OpenError() {
    try {
      controller.SetActive(true);
    } catch (const LanguageControllerError& error) {
      return error.Message();
    }
    return "(opened)";
  }

  test::TempDir folder;
  TQvLangController controller{nullptr};
  std::vector<std::string> events;  // each with the state at that moment
};

TEST_F(ControllerTest, OpeningAndClosingRaiseTheirEventsOnce) {
  controller.XMLText().SetText("<TfrmX Caption=\"x\"/>");
  controller.SetActive(true);
  controller.SetActive(true);
  EXPECT_TRUE(controller.Active());
  EXPECT_STREQ(controller.Document()->DocumentElement().name(), "TfrmX");
  controller.SetActive(false);
  controller.SetActive(false);
  EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen-", "AfterOpen+", "BeforeClose+", "AfterClose-"}));
  EXPECT_THROW(controller.Reader(), LanguageControllerError);
}

TEST_F(ControllerTest, ReaderExistsExactlyWhileOpen) {
  try {
    controller.Reader();
    FAIL() << "a closed controller gave a reader";
  } catch (const LanguageControllerError& error) {
    EXPECT_EQ(error.Message(), "No active LanguageController!");
  }
  controller.XMLText().SetText("<a/>");
  controller.SetActive(true);
  EXPECT_STREQ(controller.Reader().Document().DocumentElement().name(), "a");
}

TEST_F(ControllerTest, FailedOpeningsRaiseAndStayClosed) {
  const struct {
    const char* xmlText;
    const char* fileName;
    const char* message;
  } cases[] = {
      {"", "", "Cannot Find File !"},
      {"", "missing.Lng", "File was not found"},
      {"<a><b></a>", "", "Start-end tags mismatch"},
      {"just text", "", "No document element found"},
  };
  for (const auto& c : cases) {
    controller.XMLText().SetText(c.xmlText);
    if (*c.fileName) controller.SetLangFileName(folder / c.fileName);
    events.clear();
    EXPECT_EQ(OpenError(), c.message) << c.xmlText << c.fileName;
    EXPECT_FALSE(controller.Active());
    EXPECT_EQ(events, std::vector<std::string>{"BeforeOpen-"});
    EXPECT_THROW(controller.Reader(), LanguageControllerError);
  }
}

TEST_F(ControllerTest, AFailedOpeningDropsTheDocumentOpenBefore) {
  WriteFile(folder / "good.Lng", "<a/>");
  WriteFile(folder / "bad.Lng", "<a>");
  controller.SetLangFileName(folder / "good.Lng");
  controller.SetActive(true);
  controller.SetLangFileName(folder / "bad.Lng");
  EXPECT_EQ(OpenError(), "Start-end tags mismatch");
  EXPECT_EQ(controller.Document(), nullptr);
}

TEST_F(ControllerTest, NewFileNameClearsTheTextAndCloses) {
  controller.XMLText().SetText("<a/>");
  controller.SetActive(true);
  events.clear();
  controller.SetLangFileName(folder / "x.Lng");
  EXPECT_FALSE(controller.Active());
  EXPECT_EQ(controller.XMLText().Count(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"BeforeClose+", "AfterClose-"}));
  controller.SetLangFileName(folder / "x.Lng");  // unchanged: nothing happens
  EXPECT_EQ(events.size(), 2u);
}

TEST_F(ControllerTest, TextClearsTheFileNameAndCloses) {
  WriteFile(folder / "x.Lng", "<fromFile/>");
  controller.SetLangFileName(folder / "x.Lng");
  controller.SetActive(true);
  controller.XMLText().SetText("<fromText/>");
  EXPECT_FALSE(controller.Active());
  EXPECT_EQ(controller.LangFileName(), "");
  controller.SetActive(true);
  EXPECT_STREQ(controller.Document()->DocumentElement().name(), "fromText");
}

TEST_F(ControllerTest, ActiveReadWhileLoadingOpensWhenLoadingEnds) {
  TForm* form = CreateForm<TForm>(nullptr);
  TQvLangController* owned = nullptr;
  {
    LoadingScope loading(*form);
    owned = new TQvLangController(form);
    owned->SetLangFileName(folder / "unused.Lng");
    owned->XMLText().SetText("<a/>");  // read from a form file: the name stays
    owned->SetActive(true);
    EXPECT_FALSE(owned->Active());
  }
  EXPECT_TRUE(owned->Active());
  EXPECT_EQ(owned->LangFileName(), folder / "unused.Lng");
  TObject::Free(form);
}

TEST_F(ControllerTest, ExclusionListIsCopiedIntoTheOpenReader) {
  TStringList names{"lblOne"};
  controller.SetExcludeControls(&names);
  names.Add("lblTwo");
  controller.XMLText().SetText("<a/>");
  controller.SetActive(true);
  EXPECT_EQ(controller.Reader().ExcludeControls().Text(), "lblOne\r\n");
  controller.SetExcludeControls(&names);
  EXPECT_EQ(controller.Reader().ExcludeControls().Text(), "lblOne\r\nlblTwo\r\n");
  controller.SetExcludeControls(nullptr);
  EXPECT_EQ(controller.Reader().ExcludeControls().Count(), 0);
}

TEST_F(ControllerTest, PublishedPropertiesDriveTheController) {
  LanguageInstallation install;
  install.Configure("1252", "936");
  WriteFile(LanguageInstallation::LanguageFolder(install.Server(), "CHS") + "TfrmX.Lng", "<TfrmX/>");
  for (const auto& [name, text] :
       {std::pair{"DesignType", "dtServer"}, {"LangPackageName", "TfrmX"}, {"Active", "True"}}) {
    const TPropInfo* info = GetPropInfo(&controller, name);
    ASSERT_NE(info, nullptr) << name;
    SetPropText(controller, *info, text);
  }
  EXPECT_EQ(controller.LangFileName(), install.Server() + "/MultiLanguage/CHS/TfrmX.Lng");
  EXPECT_TRUE(controller.Active());
  for (const char* event : {"BeforeOpen", "AfterOpen", "BeforeClose", "AfterClose", "BeforeLoadComponent",
                            "AfterLoadComponent", "ExcludeControls"})
    EXPECT_NE(GetPropInfo(&controller, event), nullptr) << event;
}

}  // namespace
}  // namespace qv

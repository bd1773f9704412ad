// Required fields: what counts as blank, the check in front of the action
// buttons with the page and focus it leads to, and the colours of required
// fields with their restoration.
#include <gtest/gtest.h>

#include <functional>

#include "controls/SelectPnl.h"
#include "forms/FieldFormFixture.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Button.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/Panel.h"
#include "platform/ui/controls/SpeedButton.h"

namespace qv::test {
namespace {

constexpr TColor kRequired = 0xAFFFFF;

class RequiredFieldsTest : public FieldFormTest {
 protected:
  RequiredFieldsTest() : required(Add<TEdit>("edReq")) {}
  TEdit& required;
  HandlerLog log;
};

TEST_F(RequiredFieldsTest, BlankTextIsEmptyOrTheMasksLiterals) {
  struct BlankCase {
    const char* mask;  // nullptr: a plain edit
    const char* text;
    bool blank;
  };
  const BlankCase cases[] = {
      {nullptr, "", true},         {nullptr, "   ", true},           {nullptr, "x", false},
      {"99-99-9999;1; ", "", true}, {"99-99-9999;1; ", "12-25-2024", false},
      {"99-99-9999;0; ", "", true}, {"99-99-9999;0; ", "12252024", false},
  };
  for (const BlankCase& c : cases) {
    SCOPED_TRACE(std::string(c.mask ? c.mask : "plain") + " '" + c.text + "'");
    TCustomEdit* edit = nullptr;
    if (c.mask) {
      auto* masked = new TMaskEdit(form);
      masked->SetEditMask(c.mask);
      edit = masked;
    } else {
      edit = new TEdit(form);
    }
    edit->SetText(c.text);
    const std::string before = edit->GetText();
    EXPECT_EQ(form->IsBlank(edit), c.blank);
    EXPECT_EQ(edit->GetText(), before);
  }
  auto& panel = Add<TPanel>("pnlNoText");
  EXPECT_FALSE(form->IsBlank(&panel)) << "a component without a text is never blank";
}

TEST_F(RequiredFieldsTest, SelectionPanelIsBlankByThePartItShows) {
  struct PanelCase {
    const char* what;
    std::function<void(TSelectPanel&)> fill;
    bool blank;
  };
  const PanelCase cases[] = {
      {"range, begin only", [](TSelectPanel& p) { p.edBegin->SetText("A01"); }, true},
      {"range, final only", [](TSelectPanel& p) { p.edFinal->SetText("A09"); }, true},
      {"range, both",
       [](TSelectPanel& p) {
         p.edBegin->SetText("A01");
         p.edFinal->SetText("A09");
       },
       false},
      {"list, no rows", [](TSelectPanel& p) { p.SetStyle(sp_Discrete); }, true},
      {"list, a row",
       [](TSelectPanel& p) {
         p.SetStyle(sp_Discrete);
         p.ListBox->AddRow({"A01"});
       },
       false},
  };
  for (const PanelCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto* panel = new TSelectPanel(form);
    panel->SetParent(form->tsOption1);
    panel->SetName("spItem");
    c.fill(*panel);
    EXPECT_EQ(form->CheckRequired("spItem"), c.blank);
    EXPECT_EQ(form->ErrorCodes.find("E;000037") != std::string::npos, c.blank);
    form->ReportMessage("");
    TObject::Free(panel);
  }
}

TEST_F(RequiredFieldsTest, FieldsMarkedNotToBeTestedOrMissingAreSkipped) {
  for (const char* entries : {"edReq;N", "edReq; n ;0", "edReq;1", "edMissing", " , "}) {
    SCOPED_TRACE(entries);
    EXPECT_FALSE(form->CheckRequired(entries));
  }
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(form->CheckRequired("edMissing, edReq;Y"));
}

TEST_F(RequiredFieldsTest, BlankFieldStopsTheActionButtonAndIsShown) {
  auto& query = Add<TButton>("btnQuery", form->Panel1);
  query.OnClick = MethodOf<&HandlerLog::Clicked>(&log);
  form->SetRequiredFields("edReq");
  Show();
  form->pgOption->SetActivePage(form->tsOption2);

  input::Click(*form->btnOk);
  input::Click(query);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"必须输入", "必须输入"}));
  EXPECT_TRUE(form->CheckFailed);
  EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
  EXPECT_TRUE(required.Focused());
  EXPECT_EQ(form->okClicks, 0);
  EXPECT_TRUE(log.clicked.empty());

  required.SetText("X");
  input::Click(*form->btnOk);
  input::Click(query);
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_EQ(form->okClicks, 1);
  EXPECT_EQ(log.clicked, std::vector<TObject*>{&query});
}

TEST_F(RequiredFieldsTest, PeriodButtonDownWithABlankFieldIsPutUpAndItsPageHidden) {
  auto* periodic = new TTabSheet(form);
  periodic->SetName("tsPeriod");
  periodic->SetPageControl(form->pgOption);
  auto& period = Add<TSpeedButton>("btnPeriod", form->Panel1);
  period.SetGroupIndex(1);
  period.SetAllowAllUp(true);
  period.OnClick = MethodOf<&HandlerLog::Clicked>(&log);
  form->SetRequiredFields("edReq");
  Show();
  form->pgOption->SetActivePage(periodic);
  period.SetDown(true);

  input::Click(*form->btnOk);
  EXPECT_EQ(Messages(), std::vector<std::string>{"必须输入"});
  EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
  EXPECT_TRUE(required.Focused());
  EXPECT_FALSE(periodic->TabVisible());
  EXPECT_FALSE(period.Down());
  EXPECT_EQ(form->okClicks, 0);

  // Pressing the period button down checks too; filled, its own click runs.
  required.SetText("X");
  periodic->SetTabVisible(true);
  input::Click(period);
  EXPECT_TRUE(period.Down());
  EXPECT_EQ(log.clicked, std::vector<TObject*>{&period});
  EXPECT_TRUE(periodic->TabVisible());
}

TEST_F(RequiredFieldsTest, ButtonsWithoutHandlersNeverCallTheFormAgain) {
  auto& design = Add<TButton>("btnDesign", form->Panel1);
  required.SetText("X");
  form->SetRequiredFields("edReq,edOther;N");  // two entries: the buttons are hooked twice
  Show();
  input::Click(design);
  EXPECT_FALSE(form->CheckFailed);

  form->SetRequiredFields("");
  EXPECT_FALSE(design.OnClick.Assigned());
  EXPECT_EQ(form->btnOk->OnClick.Method(), MethodOf<&TfrmBaseGene::btnOkClick>(form));
}

TEST_F(RequiredFieldsTest, RequiredColoursComeAndGoWithTheRegistration) {
  auto& first = Add<TSelectPanel>("spFirst");
  auto& second = Add<TSelectPanel>("spSecond");
  auto& later = Add<TEdit>("edLater");
  form->RecordColors(form);
  const TColor plain = required.Color();
  ASSERT_NE(plain, kRequired);
  EXPECT_EQ(form->Colors->Values("spFirst.edFinal"), std::to_string(first.edFinal->Color()));

  form->SetRequiredFields("edReq,spFirst;;2,spSecond;N;3");
  EXPECT_EQ(required.Color(), kRequired);
  EXPECT_NE(first.edBegin->Color(), kRequired);
  EXPECT_EQ(first.edFinal->Color(), kRequired);
  EXPECT_NE(first.ListBox->Color(), kRequired);
  EXPECT_NE(second.edFinal->Color(), kRequired);
  EXPECT_EQ(second.ListBox->Color(), kRequired) << "a field not tested is still coloured";

  form->SetRequiredFields("edLater,spFirst;;x");  // a part that is no number colours all three
  EXPECT_EQ(required.Color(), plain);
  EXPECT_NE(second.ListBox->Color(), kRequired);
  EXPECT_EQ(later.Color(), kRequired);
  EXPECT_EQ(first.edBegin->Color(), kRequired);
  EXPECT_EQ(first.ListBox->Color(), kRequired);
}

TEST_F(RequiredFieldsTest, ColoursInsideAnUnnamedContainerAreRestored) {
  auto* box = new TPanel(form);  // a container without a name
  box->SetParent(form->tsOption1);
  auto& inside = Add<TEdit>("edInside", box);
  auto* unnamed = new TEdit(form);
  unnamed->SetParent(box);
  form->RecordColors(form);
  const TColor plain = inside.Color();
  ASSERT_NE(plain, kRequired);
  EXPECT_EQ(form->Colors->Values("edInside"), std::to_string(plain));
  for (int i = 0; i < form->Colors->Count(); ++i)
    EXPECT_NE(form->Colors->Names(i), "") << "a control without a name is not recorded";

  form->SetRequiredFields("edInside");
  EXPECT_EQ(inside.Color(), kRequired);
  form->SetRequiredFields("edReq");
  EXPECT_EQ(inside.Color(), plain);
}

}  // namespace
}  // namespace qv::test

// The condition form's creation, initialisation, showing and closing.
#include <gtest/gtest.h>

#include <functional>

#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/SelectPnl.h"
#include "forms/ConditionFormFixture.h"
#include "platform/automation/Automation.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/Application.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/Panel.h"

namespace qv {
namespace {

using test::ConditionFormFixture;
using test::HostParams;
using test::JobServiceProgID;
using test::TestConditionForm;

using ConditionFormTest = ConditionFormFixture<>;

TEST_F(ConditionFormTest, CreationPreparesTheFormHidden) {
  TestConditionForm& form = Build();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.VersionStamp, "870401-0.00.00");
  EXPECT_EQ(form.LastFocused, &form);
  EXPECT_TRUE(form.Interactive);
  EXPECT_FALSE(form.CheckFailed);
  ASSERT_NE(form.DynamicDates, nullptr);
  EXPECT_EQ(form.OnDateFieldExit.Method(), MethodOf<&TfrmBaseGene::DateFieldExit>(&form));
  EXPECT_EQ(form.OnRequiredExit.Method(), MethodOf<&TfrmBaseGene::RequiredExit>(&form));
  EXPECT_TRUE(form.btnPrintDate->Flat());
  EXPECT_EQ(Application().HintHidePause(), 500000);
}

TEST_F(ConditionFormTest, TraditionalChineseSystemTakesTheLocalesDateSeparator) {
  const struct {
    const char* locale;
    char separator;
  } cases[] = {
      {"zh_CN.UTF-8", '-'},
      {"C.UTF-8", '-'},
      {"zh_TW.UTF-8", '/'},  // the locale's own, "/" when it has none
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    test::ScopedEnv system("LC_ALL", c.locale);
    FormatSettings().DateSeparator = '-';
    Build();
    EXPECT_EQ(FormatSettings().DateSeparator, c.separator);
  }
}

TEST_F(ConditionFormTest, InitializeOpensTheSessionAndNamesTheProgram) {
  host->ProductIDValue = 7;
  TestConditionForm& form = Ready(HostParams(5, 0));
  EXPECT_EQ(form.UserID, "U001");
  EXPECT_EQ(form.CompanyID, "C01");
  EXPECT_EQ(form.DbName, "DemoDB");
  EXPECT_EQ(form.HostExtra, Variant("extra"));
  EXPECT_EQ(form.ProductID, 7);
  EXPECT_EQ(form.ProgramID, "PQLR52");
  EXPECT_EQ(form.ServerProgID, "PQLR52S.Class1");
  EXPECT_EQ(form.ProgramName, "成本报表");
  EXPECT_EQ(form.CompanyTag, "总公司");
  EXPECT_EQ(form.ReportKind, "R");
  EXPECT_EQ(form.EnvCount, 9);
  EXPECT_EQ(form.OptionCount, 1);
  EXPECT_NE(form.DateFields.find("edPrintDate"), std::string::npos);
  EXPECT_TRUE(form.LocalServer);
  EXPECT_EQ(form.AppServer.Type(), VarType::Dispatch);
  EXPECT_TRUE(form.ConditionData.IsNull());
  EXPECT_TRUE(Messages().empty());
  Application().ProcessMessages();
  EXPECT_FALSE(gone);
}

TEST_F(ConditionFormTest, HostWithoutProductIDGivesThree) {
  host->Missing.insert("productid");
  EXPECT_EQ(Ready().ProductID, 3);
}

TEST_F(ConditionFormTest, InitializeRunsOnce) {
  TestConditionForm& form = Ready();
  EXPECT_FALSE(form.Initialize(Variant::ArrayOf({"U002", "C02", "OtherDB", 0, "x"})));
  EXPECT_EQ(form.UserID, "U001");
  EXPECT_EQ(form.CompanyID, "C01");
}

TEST_F(ConditionFormTest, MissingFifthParameterReportsAndClosesAfterInitialising) {
  TestConditionForm& form = Ready(HostParams(4, 0));
  EXPECT_EQ(Messages(), std::vector<std::string>{"缺少参数"});
  EXPECT_EQ(form.ErrorCodes.rfind("E;000038", 0), 0u) << form.ErrorCodes;
  EXPECT_EQ(form.AppServer.Type(), VarType::Dispatch);  // the initialisation went on
  EXPECT_EQ(form.ProgramID, "PQLR52");
  EXPECT_FALSE(gone);
  Application().ProcessMessages();
  EXPECT_TRUE(gone);
}

TEST_F(ConditionFormTest, WithoutHostWindowParameterTheWindowIsZero) {
  Build();
  form->Initialize(HostParams(3));
  EXPECT_EQ(form->HostWindow, 0);
  Application().ProcessMessages();
  EXPECT_TRUE(gone);
}

TEST_F(ConditionFormTest, FormOfAnotherProgramReportsAndCloses) {
  Build().SetName("frmABC52");
  EXPECT_TRUE(form->Initialize(HostParams()));
  EXPECT_EQ(Messages(), std::vector<std::string>{"程序不符"});
  EXPECT_TRUE(form->AppServer.IsEmpty());  // no session is opened
  Application().ProcessMessages();
  EXPECT_TRUE(gone);
}

TEST_F(ConditionFormTest, NoSessionReportsFailsAndCloses) {
  UnregisterAutomationFactory(JobServiceProgID);
  Build();
  EXPECT_FALSE(form->Initialize(HostParams()));
  EXPECT_EQ(Messages(), std::vector<std::string>{"无法连接"});
  Application().ProcessMessages();
  EXPECT_TRUE(gone);
}

TEST_F(ConditionFormTest, SessionIsInProcessOnlyWhenTheConfigurationNamesNoOtherServer) {
  struct ServerCase {
    const char* what;
    const char* registry;  // lines under the installation key; "" no client installation
    const char* clientIni;
    bool session;
  };
  const std::string clientPath = "ClientPath=" + install.Folder("client") + "/\n";
  const ServerCase cases[] = {
      {"no ComputerName: the configuration's own default", clientPath.c_str(), "[Server Information]\n", true},
      {"empty ComputerName", clientPath.c_str(), "[Server Information]\nComputerName=\n", false},
      {"a lone separator", clientPath.c_str(), "[Server Information]\nComputerName= ; \n", false},
      {"no client installation", "", "", false},
  };
  for (const ServerCase& c : cases) {
    SCOPED_TRACE(c.what);
    install.SetRegistry(c.registry);
    test::WriteFile(install.Folder("client") + "/OrvaneC.ini", c.clientIni);
    dialogs.shown.clear();
    Build();
    EXPECT_EQ(form->Initialize(HostParams()), c.session) << form->ErrorTexts;
    EXPECT_EQ(form->AppServer.IsEmpty(), !c.session);
    EXPECT_EQ(Messages(), c.session ? std::vector<std::string>{} : std::vector<std::string>{"无法连接"});
    Application().ProcessMessages();
    EXPECT_EQ(gone, !c.session);
  }
}

TEST_F(ConditionFormTest, ExceptionIsRecordedWithoutDialogAndTheFormStays) {
  // A host that lacks a member, and no host object at all.
  const std::function<void()> breakHost[] = {[&] { host->Missing.insert("versiontype"); },
                                             [&] { form->HostObject = Variant(); }};
  for (const auto& spoil : breakHost) {
    Build();
    spoil();
    EXPECT_FALSE(form->Initialize(HostParams()));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(form->ErrorCodes, "E;-1; ");
    EXPECT_NE(form->ErrorTexts.find("VersionType"), std::string::npos);
    Application().ProcessMessages();
    EXPECT_FALSE(gone);
  }
}

TEST_F(ConditionFormTest, StandAloneProgramInitialisesItself) {
  RegisterAutomationFactory("FerrowWorkCenter.Manager", [this] { return AutomationPtr(host); });
  Build("/opt/qvx/client/PQLR52CT");
  UnregisterAutomationFactory("FerrowWorkCenter.Manager");
  EXPECT_EQ(form->UserID, "796");
  EXPECT_EQ(form->CompanyID, "DOZoro60");
  EXPECT_EQ(form->DbName, "DOZoro60");
  EXPECT_EQ(form->ProgramID, "PQLR52");
  // Three parameters only; reported before the host object exists.
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("000038"), std::string::npos);
}

TEST_F(ConditionFormTest, ProgramIdentityFromTheModuleFile) {
  const struct {
    const char* path;
    bool library;
    const char* programID;
  } cases[] = {
      {"/opt/PQLR52C.so", true, "PQLR52"},
      {"/opt/pqlr52c.SO", true, "PQLR52"},
      {"/opt/ABCDEFGHC.So", true, "ABCDEFGH"},
      {"/opt/PQLR5.so", true, "PQLR5."},  // shorter than seven: the first six of the whole name
      {"/opt/PQ.so", true, "PQ.SO"},
      {"/opt/PQLR52CT", false, "PQLR52"},  // a program drops two letters
      {"/opt/PQLR52C.dll", false, "PQLR52"},
  };
  TestConditionForm& form = Build();
  for (const auto& c : cases) {
    form.ModulePath = c.path;
    form.DefineProgram();
    EXPECT_EQ(form.IsLibraryModule(), c.library) << c.path;
    EXPECT_EQ(form.ProgramID, c.programID) << c.path;
    EXPECT_EQ(form.ServerProgID, std::string(c.programID) + "S.Class1") << c.path;
  }
}

TEST_F(ConditionFormTest, DescendantOptionsComeBeforeThePrintDate) {
  TestConditionForm& form = Ready();
  form.SetOptionCount(3);
  EXPECT_EQ(form.OptionCount, 4);
}

TEST_F(ConditionFormTest, TitleOfAStandAloneProgramSaysSo) {
  TestConditionForm& form = Ready();
  form.SetTitle("成本报表");
  EXPECT_EQ(form.Caption(), "成本报表[总公司]");
  form.ModulePath = "/opt/PQLR52CT";
  form.SetTitle("成本报表");
  EXPECT_EQ(form.Title, "成本报表[您现在运行的是Exe版本!]");
}

TEST_F(ConditionFormTest, ShowingCaptionsTheFormAndFocusesTheFirstEnabledControl) {
  TestConditionForm& form = Ready();
  auto* disabled = new TEdit(&form);
  disabled->SetParent(form.tsOption1);
  disabled->SetEnabled(false);
  auto* first = new TEdit(&form);
  first->SetParent(form.tsOption1);
  auto* second = new TEdit(&form);
  second->SetParent(form.tsOption1);
  form.pgOption->SetActivePage(form.tsOption2);
  form.Show();
  EXPECT_EQ(form.Caption(), "成本报表[总公司]");
  EXPECT_EQ(form.pgOption->ActivePage(), form.tsOption1);
  EXPECT_TRUE(first->Focused());
  EXPECT_EQ(form.LastFocused, first);
}

TEST_F(ConditionFormTest, EditsInsideADisabledOrHiddenPanelAreNotFocused) {
  const struct {
    const char* what;
    void (*spoil)(TPanel&);
  } cases[] = {{"disabled panel", [](TPanel& p) { p.SetEnabled(false); }},
               {"hidden panel", [](TPanel& p) { p.SetVisible(false); }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestConditionForm& form = Ready();
    auto* panel = new TPanel(&form);
    panel->SetParent(form.tsOption1);
    auto* inside = new TEdit(&form);
    inside->SetParent(panel);
    auto* next = new TEdit(&form);
    next->SetParent(form.tsOption1);
    c.spoil(*panel);
    form.Show();
    EXPECT_FALSE(inside->Focused());
    EXPECT_TRUE(next->Focused());
    EXPECT_EQ(form.LastFocused, next);
  }
}

TEST_F(ConditionFormTest, SelectionPanelIsFocusedInThePartItShows) {
  const struct {
    TSelectStyle style;
    bool range;
  } cases[] = {{sp_Range, true}, {sp_Discrete, false}};
  for (const auto& c : cases) {
    TestConditionForm& form = Ready();
    auto* panel = new TSelectPanel(&form);
    panel->SetParent(form.tsOption1);
    panel->SetStyle(c.style);
    form.Show();
    TWinControl* expected = c.range ? static_cast<TWinControl*>(panel->edBegin) : panel->ListBox;
    EXPECT_TRUE(expected->Focused()) << c.style;
  }
}

TEST_F(ConditionFormTest, SystemPageIsLaidOutWhenFirstShown) {
  TestConditionForm& form = Ready();
  form.Show();
  EXPECT_FALSE(form.SysPageLaidOut);
  form.pgOption->SelectNextPage(true);
  ASSERT_EQ(form.pgOption->ActivePage(), form.tsOption2);
  EXPECT_TRUE(form.SysPageLaidOut);
  EXPECT_EQ(form.edPrintDate->Left(), 60);
  EXPECT_EQ(form.edPrintDate->Top(), 8);
  EXPECT_EQ(form.edPrintDate->Width(), 85);
  EXPECT_TRUE(form.edPrintDate->Focused());
}

TEST_F(ConditionFormTest, CancelClosesAndFreesTheForm) {
  TestConditionForm& form = Ready();
  form.Show();
  input::Click(*form.btnCancel);
  EXPECT_FALSE(gone);
  Application().ProcessMessages();
  EXPECT_TRUE(gone);
}

TEST_F(ConditionFormTest, DestroyingForgetsTheSessionAndTheHost) {
  TestConditionForm& form = Ready();
  form.FormDestroy(&form);
  EXPECT_EQ(form.SysParams, nullptr);
  EXPECT_EQ(form.DynamicDates, nullptr);
  EXPECT_TRUE(form.AppServer.IsEmpty());
  EXPECT_TRUE(form.HostObject.IsEmpty());
  EXPECT_TRUE(form.Counter.IsEmpty());
}

// A window of the host that counts its repaints.
class HostWindowDouble : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void WndProc(TMessage& message) override {
    if (message.Msg == 0x000F) ++repaints;
    TWinControl::WndProc(message);
  }
  int repaints = 0;
};

TEST_F(ConditionFormTest, MovingOrResizingRepaintsTheHostWindow) {
  HostWindowDouble hostWindow(nullptr);
  TestConditionForm& form = Ready(HostParams(5, hostWindow.Handle()));
  ASSERT_EQ(form.HostWindow, hostWindow.Handle());
  form.SetBounds(0, 0, 600, 400);
  hostWindow.repaints = 0;
  form.SetBounds(0, 0, 640, 400);  // resized only
  EXPECT_EQ(hostWindow.repaints, 1);
  form.SetBounds(20, 30, 640, 400);  // moved only
  EXPECT_EQ(hostWindow.repaints, 2);
}

TEST_F(ConditionFormTest, LookupRequestOfThePrintDateOpensTheDatePicker) {
  TestConditionForm& form = Ready();
  form.LookupWindow = Variant(host->LookupWindow);
  form.Show();
  form.pgOption->SetActivePage(form.tsOption2);
  form.edPrintDate->SetText("2024/01/02");
  for (const auto& [answer, expected] : {std::pair{"20240315", "2024/03/15"}, {"", "2024/03/15"}}) {
    host->LookupWindow->DayAnswer = answer;
    Application().SendMessage(form.Handle(), WM_LOOKUPREQUEST, 0, reinterpret_cast<LPARAM>(form.edPrintDate));
    EXPECT_EQ(form.edPrintDate->Text(), expected) << answer;
    EXPECT_TRUE(form.edPrintDate->Focused());
  }
}

TEST_F(ConditionFormTest, LookupWithoutPickerKeepsThePrintDate) {
  TestConditionForm& form = Ready();
  form.edPrintDate->SetText("2024/01/02");
  form.LookupField(VK_F2, form.edPrintDate);
  EXPECT_EQ(form.edPrintDate->Text(), "2024/01/02");
}

}  // namespace
}  // namespace qv

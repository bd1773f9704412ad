// The report controller driving a condition form of the test's own class:
// what happens around the form's initialisation, the order in which the
// form and the host hear of showing, hiding and destruction, and the
// internal errors of a library whose start-up did not run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controller/DLLRPCtrller.h"
#include "forms/base/BaseGeneU.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/Application.h"
#include "support/HostDouble.h"
#include "support/Installation.h"

namespace qv {
namespace {

std::vector<std::string>* Log = nullptr;

void Note(const std::string& entry) {
  if (Log) Log->push_back(entry);
}

// A condition form that initialises as told and notes its own handlers.
class TRecordingForm : public TfrmBaseGene {
  QV_OBJECT(TRecordingForm, TfrmBaseGene)

  explicit TRecordingForm(TComponent* owner) : TfrmBaseGene(owner) {
    OnHide = MethodOf<&TRecordingForm::OwnHide>(this);
  }

  bool Initialize(const Variant& params) override {
    Note("initialize");
    Params.push_back(params);
    HostSeen = HostObject;
    return InitializeAnswer;
  }
  void FormShow(TObject*) override { Note("own show"); }
  void OwnHide(TObject*) { Note("own hide"); }
  void FormDestroy(TObject* sender) override {
    Note("own destroy");
    TfrmBaseGene::FormDestroy(sender);
  }

  static inline bool InitializeAnswer = true;
  std::vector<Variant> Params;
  Variant HostSeen;
};

const TClass& TRecordingForm::StaticClass() {
  static const TClass cls = ClassBuilder<TRecordingForm>("TRecordingForm", &TfrmBaseGene::StaticClass());
  return cls;
}

class ReportControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Log = &log;
    frmBaseGeneClass = &MakeConditionForm<TRecordingForm>;
    controller.HostObject = Variant(host);
    controller.OnEvent = [this](std::int32_t code, TDLLBaseController* sender) {
      EXPECT_EQ(sender, &controller);
      log.push_back(std::to_string(code));
    };
  }
  void TearDown() override {
    controller.FreeForm();
    Application().ProcessMessages();
    frmBaseGeneClass = savedFormClass;
    TRecordingForm::InitializeAnswer = true;
    Log = nullptr;
  }
  TRecordingForm* Form() { return static_cast<TRecordingForm*>(controller.Form); }

  test::Installation install;
  std::shared_ptr<test::HostDouble> host = std::make_shared<test::HostDouble>();
  std::vector<std::string> log;
  TfrmBaseGeneClass savedFormClass = frmBaseGeneClass;
  TDLLRPCtrller controller;
  const Variant params = Variant::ArrayOf({"U01", "C01", "DB01", 0, "extra"});
};

TEST_F(ReportControllerTest, LibraryWithoutItsStartUpRaisesTheInternalErrors) {
  const TDLLControllerClass controllerClass = DLLControllerClass;
  DLLControllerClass = nullptr;
  try {
    GetController();
    ADD_FAILURE() << "no error raised";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "QVX DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }
  DLLControllerClass = controllerClass;

  frmBaseGeneClass = nullptr;
  try {
    controller.CreateForm(params);
    ADD_FAILURE() << "no error raised";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "QVX DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
  }
  EXPECT_TRUE(controller.FormGone());
  EXPECT_TRUE(log.empty());
}

TEST_F(ReportControllerTest, GetControllerMakesReportControllers) {
  TDLLBaseController* made = GetController();
  EXPECT_TRUE(made->Is<TDLLRPCtrller>());
  EXPECT_TRUE(made->FormGone());
  TObject::Free(made);
}

TEST_F(ReportControllerTest, FormIsMadeAndToldOfItsHostBeforeItInitialises) {
  for (const bool answer : {true, false}) {
    SCOPED_TRACE(answer);
    TRecordingForm::InitializeAnswer = answer;
    log.clear();
    EXPECT_EQ(controller.CreateForm(params), answer ? 0 : -1);
    ASSERT_NE(Form(), nullptr);
    // Outside a library the form first initialises itself as a stand-alone
    // program when it learns its module path.
    EXPECT_EQ(log, (std::vector<std::string>{"initialize", "256", "initialize"}));
    EXPECT_EQ(Form()->Params.back(), params);
    EXPECT_EQ(Form()->HostSeen, Variant(host));
    // The form's module is the file holding the controller's code: this test program.
    EXPECT_EQ(Form()->ModulePath, ExecutableFileName());
    EXPECT_FALSE(Form()->Visible());
    controller.FreeForm();
  }
}

TEST_F(ReportControllerTest, FormsOwnHandlersRunBeforeTheHostHears) {
  ASSERT_EQ(controller.CreateForm(params), 0);
  Form()->ResultCode = ResultCancelled;
  Form()->ResultValue = "cancelled";
  log.clear();
  controller.SetVisible(1);
  controller.SetVisible(0);
  controller.FreeForm();
  EXPECT_EQ(log, (std::vector<std::string>{"own show", "272", "own hide", "288", "own destroy", "304"}));
  EXPECT_EQ(controller.ResultCode, ResultCancelled);
  EXPECT_EQ(controller.ResultValue, Variant("cancelled"));
  EXPECT_TRUE(controller.FormGone());
}

}  // namespace
}  // namespace qv

// The plug-in driving a report form that belongs to its program: the form
// opens its session on the job service, in-process because the configured
// application server is 127.0.0.1, and the controller hands it conditions,
// shows it and collects its results.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "platform/ui/Application.h"
#include "plugin/PluginHost.h"
#include "support/JobServiceDouble.h"

namespace qv::test {
namespace {

class PluginSessionTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    UseReportForm(true);
  }

  // A controller holding an initialised report form.
  ControllerPtr OpenForm() {
    ControllerPtr controller = HostController();
    EXPECT_EQ(controller->CreateForm(HostParams()), 0);
    return controller;
  }
  static fixture::FormRecord* Record() {
    return ReportFixture().Entry<FixtureRecordFn>("FixtureRecord")();
  }
  static Variant ConditionData() {
    return ReportFixture().Entry<FixtureConditionDataFn>("FixtureConditionData")();
  }
  static Variant Conditions(int mode, const Variant& values) {
    return Variant::ArrayOf({mode, Variant::ArrayOf({false, values})});
  }

  const Variant values = Variant::ArrayOf({"U01", "2026"});
};

TEST_F(PluginSessionTest, SessionOpensOnTheJobServiceOnly) {
  const struct {
    bool serviceRegistered;
    int result;
    bool reportsNoSession;
  } cases[] = {{true, 0, false}, {false, -1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serviceRegistered);
    std::optional<ScopedJobService> service;
    if (c.serviceRegistered) service.emplace();
    host->Calls.clear();
    events.clear();
    ControllerPtr controller = HostController();
    EXPECT_EQ(controller->CreateForm(HostParams()), c.result);
    EXPECT_EQ(Asked("E;000006"), c.reportsNoSession);
    EXPECT_FALSE(Asked("E;000036"));
    Application().ProcessMessages();
    EXPECT_EQ(controller->FormGone(), c.reportsNoSession);  // a failed session closes the form
    const std::vector<int> expected =
        c.reportsNoSession ? std::vector<int>{FormCreatedEvent, FormDestroyedEvent} : std::vector<int>{FormCreatedEvent};
    EXPECT_EQ(events, expected);
  }
}

// With the plug-in's own form and with a form of its program.
class FourParametersTest : public PluginSessionTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FourParametersTest, ReportTheMissingExtraAndCloseOnNextTurn) {
  const bool reportForm = GetParam();
  UseReportForm(reportForm);
  ScopedJobService service;
  ControllerPtr controller = HostController();
  EXPECT_EQ(controller->CreateForm(HostParams(4)), 0);  // the initialisation still runs to its end
  EXPECT_TRUE(Asked("E;000038"));
  EXPECT_EQ(Asked("E;000036"), !reportForm);
  EXPECT_FALSE(Asked("E;000006"));
  EXPECT_FALSE(controller->FormGone());
  Application().ProcessMessages();
  EXPECT_TRUE(controller->FormGone());
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormDestroyedEvent}));
}

INSTANTIATE_TEST_SUITE_P(PluginForms, FourParametersTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "ReportForm" : "ShippedForm"; });

TEST_F(PluginSessionTest, SecondCreateFormIsRefusedAndKeepsOneHook) {
  ScopedJobService service;
  ControllerPtr controller = OpenForm();
  EXPECT_EQ(controller->CreateForm(HostParams()), -1);  // a form initialises once
  controller->SetVisible(1);
  controller->SetVisible(0);
  controller->FreeForm();
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormShownEvent, FormHiddenEvent, FormDestroyedEvent}));
}

TEST_F(PluginSessionTest, FormInfoNamesUserCompanyAndProgram) {
  ScopedJobService service;
  ControllerPtr controller = OpenForm();
  Variant info;
  ASSERT_EQ(controller->GetFormInfo(info), 0);
  EXPECT_EQ(info.LowBound(), 0);
  EXPECT_EQ(info, Variant::ArrayOf({"U01", "C01", "PQLR52", "存货成本表"}));
}

TEST_F(PluginSessionTest, ShowingAMinimisedFormRestoresItAndBringsItForward) {
  ScopedJobService service;
  ControllerPtr controller = OpenForm();
  TCustomForm* form = FormOf(*controller);
  ASSERT_NE(form, nullptr);
  form->SetWindowState(wsMinimized);
  controller->SetVisible(1);
  EXPECT_EQ(form->WindowState(), wsNormal);
  EXPECT_EQ(Application().ActiveForm(), form);
  EXPECT_EQ(controller->GetVisible(), -1);
}

TEST_F(PluginSessionTest, ShowModalFormAnswersTheModalResult) {
  ScopedJobService service;
  ControllerPtr controller = OpenForm();
  std::int16_t visibleWhileModal = 0;
  modalResponse = [&](TCustomForm& form) {
    visibleWhileModal = controller->GetVisible();
    form.SetModalResult(mrOk);
  };
  EXPECT_EQ(controller->ShowModalForm().ToInt(), mrOk);
  EXPECT_EQ(visibleWhileModal, -1);
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormShownEvent, FormHiddenEvent}));
  Application().ProcessMessages();  // closing a condition form frees it
  EXPECT_TRUE(controller->FormGone());
  EXPECT_EQ(events.back(), FormDestroyedEvent);
}

TEST_F(PluginSessionTest, ApplyConditionHandsOverElementOneAndFollowsItsMode) {
  ScopedJobService service;
  const struct {
    int mode;
    int okClicks;
    std::vector<int> modes;
  } cases[] = {{0, 0, {}}, {1, 1, {}}, {2, 1, {}}, {3, 0, {3}}, {7, 0, {7}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    ControllerPtr controller = OpenForm();
    const Variant data = Variant::ArrayOf({"ignored", Conditions(c.mode, values)});
    EXPECT_EQ(controller->ApplyCondition(data), 0);
    ASSERT_NE(Record(), nullptr);
    EXPECT_EQ(ConditionData(), data[1]);
    EXPECT_EQ(Record()->LoadedValues, std::vector<Variant>{values});
    EXPECT_EQ(Record()->OkClicks, c.okClicks);
    EXPECT_EQ(Record()->Modes, c.modes);
  }
}

TEST_F(PluginSessionTest, ApplyConditionOfKindTakesKindsFiveAndNineOnly) {
  ScopedJobService service;
  const struct {
    int kind;
    int result;
  } cases[] = {{5, 0}, {9, 0}, {7, -1}, {0, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    ControllerPtr controller = OpenForm();
    const Variant conditions = Conditions(1, values);
    EXPECT_EQ(controller->ApplyConditionOfKind(c.kind, Variant("second"), conditions), c.result);
    const bool taken = c.result == 0;
    EXPECT_EQ(ConditionData(), taken ? conditions : Variant::Null());
    EXPECT_EQ(Record()->LoadedValues.size(), taken ? 1u : 0u);
    EXPECT_EQ(Record()->OkClicks, taken ? 1 : 0);
  }
}

TEST_F(PluginSessionTest, UnsuitableConditionsAndRaisingFormsGiveMinusOne) {
  ScopedJobService service;
  ControllerPtr controller = OpenForm();
  for (const Variant& data : {Variant(), Variant::Null(), Variant("1;2"), Variant(5)}) {
    EXPECT_EQ(controller->ApplyCondition(data), -1);
  }
  EXPECT_EQ(controller->ApplyCondition(Variant::ArrayOf({0})), -1);  // no element 1
  EXPECT_TRUE(Record()->LoadedValues.empty());
  EXPECT_EQ(ConditionData(), Variant::Null());

  Record()->FailLoading = true;
  EXPECT_EQ(controller->ApplyCondition(Variant::ArrayOf({0, Conditions(1, values)})), -1);
  EXPECT_EQ(controller->ApplyConditionOfKind(5, Variant(), Conditions(1, values)), -1);
  EXPECT_EQ(Record()->OkClicks, 0);
  EXPECT_FALSE(controller->FormGone());
}

TEST_F(PluginSessionTest, DestroyedFormLeavesItsResultsAndIsToldOnce) {
  ScopedJobService service;
  enum class Ending { FreeForm, FreeController, Cancel };
  for (const Ending ending : {Ending::FreeForm, Ending::FreeController, Ending::Cancel}) {
    SCOPED_TRACE(static_cast<int>(ending));
    events.clear();
    ControllerPtr controller = OpenForm();
    std::int32_t code = -5;
    Variant value;
    controller->OnEvent = [&](std::int32_t event, TDLLBaseController* sender) {
      events.push_back(event);
      if (event != FormDestroyedEvent) return;
      code = sender->ResultCode;
      value = sender->ResultValue;
      EXPECT_TRUE(sender->FormGone());
    };
    ReportFixture().Entry<FixtureSetResultFn>("FixtureSetResult")(ResultRequestAccepted, Variant("00000012"));
    switch (ending) {
      case Ending::FreeForm:
        controller->FreeForm();
        controller->FreeForm();  // nothing left to free
        break;
      case Ending::FreeController:
        controller.reset();
        break;
      case Ending::Cancel:
        controller->SetVisible(1);
        FormOf(*controller)->Close();
        Application().ProcessMessages();
        break;
    }
    EXPECT_EQ(code, ResultRequestAccepted);
    EXPECT_EQ(value, Variant("00000012"));
    EXPECT_EQ(std::count(events.begin(), events.end(), FormDestroyedEvent), 1);
    EXPECT_TRUE(!controller || controller->FormGone());
  }
}

}  // namespace
}  // namespace qv::test

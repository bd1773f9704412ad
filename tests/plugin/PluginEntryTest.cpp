// The plug-in loaded as the shell loads it, with the condition form it ships
// today: a generic form whose name belongs to no program, so it reports the
// mismatch and closes itself on the next turn of the message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/ui/Application.h"
#include "plugin/PluginHost.h"

namespace qv::test {
namespace {

using PluginEntryTest = PluginHostTest;

TEST_F(PluginEntryTest, GetControllerIsAPlainCEntryGivingIndependentControllers) {
  EXPECT_NE(Plugin().Symbol("GetController"), nullptr);
  ControllerPtr first = HostController();
  ControllerPtr second = NewController();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first.get(), second.get());
  EXPECT_TRUE(second->HostObject.IsEmpty());
  EXPECT_EQ(second->ResultCode, 0);

  ASSERT_EQ(first->CreateForm(HostParams()), 0);
  EXPECT_FALSE(first->FormGone());
  EXPECT_TRUE(second->FormGone());
  EXPECT_EQ(second->GetWindowHandle(), 0);
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent}));
}

TEST_F(PluginEntryTest, WithoutAFormEveryOperationIsHarmless) {
  ControllerPtr controller = HostController();
  std::string version = "untouched";
  controller->GetVersion(version);
  EXPECT_EQ(version, "untouched");
  EXPECT_EQ(controller->GetVisible(), 0);
  controller->SetVisible(-1);
  EXPECT_EQ(controller->GetWindowHandle(), 0);
  EXPECT_EQ(controller->ShowModalForm().ToInt(), mrCancel);
  Variant info = "untouched";
  EXPECT_EQ(controller->GetFormInfo(info), -1);
  EXPECT_EQ(info, Variant("untouched"));
  EXPECT_EQ(controller->ApplyCondition(Variant::ArrayOf({0, 0})), -1);
  EXPECT_EQ(controller->ApplyConditionOfKind(5, Variant(), Variant::ArrayOf({0})), -1);
  controller->FreeForm();
  EXPECT_TRUE(controller->FormGone());
  EXPECT_TRUE(events.empty());
}

TEST_F(PluginEntryTest, ShippedFormReportsForeignProgramAndClosesOnNextTurn) {
  ControllerPtr controller = HostController();
  ASSERT_EQ(controller->CreateForm(HostParams()), 0);  // the mismatch is reported, not a failure
  EXPECT_TRUE(Asked("E;000036"));
  EXPECT_FALSE(Asked("E;000038"));
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent}));

  // Until the loop turns, the form answers as usual.
  ASSERT_FALSE(controller->FormGone());
  EXPECT_EQ(controller->GetVisible(), 0);
  std::string version;
  controller->GetVersion(version);
  EXPECT_EQ(version, "870401-0.00.00");
  Variant info;
  ASSERT_EQ(controller->GetFormInfo(info), 0);
  EXPECT_EQ(info, Variant::ArrayOf({"U01", "C01", "PQLR52", "存货成本表"}));

  Application().ProcessMessages();
  EXPECT_TRUE(controller->FormGone());
  Application().ProcessMessages();
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormDestroyedEvent}));
  EXPECT_EQ(controller->ResultCode, ResultNothingDone);
  EXPECT_EQ(controller->GetFormInfo(info), -1);
}

// After CreateForm the shipped form has its close pending: nothing the host
// does before the loop turns frees it under its own code.
TEST_F(PluginEntryTest, AModalShowingOfTheClosingFormEndsAtOnceWithCancel) {
  ControllerPtr controller = HostController();
  ASSERT_EQ(controller->CreateForm(HostParams()), 0);
  EXPECT_EQ(controller->ShowModalForm().ToInt(), mrCancel);
  EXPECT_FALSE(controller->FormGone());
  Application().ProcessMessages();
  EXPECT_TRUE(controller->FormGone());
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormDestroyedEvent}));
}

TEST_F(PluginEntryTest, AMessageShownWhileTheCloseIsPendingLeavesTheFormWhole) {
  ControllerPtr controller = HostController();
  ASSERT_EQ(controller->CreateForm(HostParams()), 0);
  // Values by name, naming a field the form does not have: "W;000014".
  const Variant unknownField = Variant::ArrayOf({Variant::ArrayOf({Variant::ArrayOf({0, "edNoSuchField"})})});
  const Variant conditions = Variant::ArrayOf({0, Variant::ArrayOf({true, unknownField})});
  EXPECT_EQ(controller->ApplyConditionOfKind(5, Variant(), conditions), 0);
  EXPECT_TRUE(Asked("W;000014"));
  EXPECT_FALSE(controller->FormGone());
  Application().ProcessMessages();
  EXPECT_TRUE(controller->FormGone());
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormDestroyedEvent}));
}

// Whatever event the host frees the controller on, the controller ends once
// its own code has returned, and the form is told gone exactly once.
TEST_F(PluginEntryTest, TheHostMayFreeTheControllerFromItsEventHandlers) {
  const struct {
    const char* what;
    int freeOn;
    void (*drive)(TDLLBaseController&);
  } cases[] = {
      {"created", FormCreatedEvent, [](TDLLBaseController& c) { c.CreateForm(HostParams()); }},
      {"shown", FormShownEvent, [](TDLLBaseController& c) { c.CreateForm(HostParams()), c.SetVisible(1); }},
      {"hidden", FormHiddenEvent,
       [](TDLLBaseController& c) { c.CreateForm(HostParams()), c.SetVisible(1), c.SetVisible(0); }},
      {"destroyed by FreeForm", FormDestroyedEvent,
       [](TDLLBaseController& c) { c.CreateForm(HostParams()), c.FreeForm(); }},
      {"destroyed by the loop", FormDestroyedEvent,
       [](TDLLBaseController& c) { c.CreateForm(HostParams()); }},
      {"destroyed by freeing the controller", FormDestroyedEvent,
       [](TDLLBaseController& c) { c.CreateForm(HostParams()), TObject::Free(&c); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<int> told;
    auto alive = std::make_shared<bool>(true);
    const std::weak_ptr<bool> controllerAlive = alive;
    TDLLBaseController* controller = NewController().release();
    controller->HostObject = Variant(host);
    controller->OnEvent = [&told, alive, freeOn = c.freeOn](std::int32_t code, TDLLBaseController* self) {
      told.push_back(code);
      if (code == freeOn) TObject::Free(self);
    };
    alive.reset();
    c.drive(*controller);
    Application().ProcessMessages();
    EXPECT_TRUE(controllerAlive.expired()) << "the controller was never freed";
    EXPECT_EQ(std::count(told.begin(), told.end(), FormDestroyedEvent), 1);
  }
}

TEST_F(PluginEntryTest, ShowAndHideAreToldOnceEach) {
  ControllerPtr controller = HostController();
  ASSERT_EQ(controller->CreateForm(HostParams()), 0);
  controller->SetVisible(1);
  EXPECT_EQ(controller->GetVisible(), -1);
  controller->SetVisible(2);  // already shown
  controller->SetVisible(0);
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_EQ(events, (std::vector<int>{FormCreatedEvent, FormShownEvent, FormHiddenEvent}));
}

TEST_F(PluginEntryTest, TheHandlersOfShowAndHideSeeTheFormAsItBecomes) {
  ControllerPtr controller = HostController();
  std::vector<int> visible;
  controller->OnEvent = [&visible](std::int32_t code, TDLLBaseController* self) {
    if (code == FormShownEvent || code == FormHiddenEvent) visible.push_back(self->GetVisible());
  };
  ASSERT_EQ(controller->CreateForm(HostParams()), 0);
  controller->SetVisible(1);
  controller->SetVisible(0);
  EXPECT_EQ(visible, (std::vector<int>{-1, 0}));
}

TEST_F(PluginEntryTest, HostWithoutEventSinkWorks) {
  ControllerPtr controller = NewController();
  controller->HostObject = Variant(host);
  ASSERT_EQ(controller->CreateForm(HostParams()), 0);
  controller->SetVisible(1);
  controller->SetVisible(0);
  Application().ProcessMessages();
  EXPECT_TRUE(controller->FormGone());
  EXPECT_TRUE(Asked("E;000036"));
}

}  // namespace
}  // namespace qv::test

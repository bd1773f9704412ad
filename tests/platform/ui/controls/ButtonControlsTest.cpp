// Buttons, check boxes, radio buttons and speed buttons driven by clicks and
// keys: modal results through the headless presenter, check box states and
// OnClick, radio button exclusivity, speed-button groups.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/Button.h"
#include "platform/ui/controls/CheckBox.h"
#include "platform/ui/controls/Panel.h"
#include "platform/ui/controls/RadioButton.h"
#include "platform/ui/controls/SpeedButton.h"
#include "support/FormTest.h"

namespace qv {
namespace {

class ClickCounter : public TObject {
 public:
  void Count(TObject* sender) { senders.push_back(sender); }
  std::vector<TObject*> senders;
};

class ButtonFormTest : public test::FormTest<TForm, 400, false> {
 protected:
  // Runs the form modally; the responder clicks the control.
  TModalResult ShowModalClicking(TControl& control) {
    Application().SetPresenter(
        std::make_unique<HeadlessPresenter>([&control](TCustomForm&) { input::Click(control); }));
    return form->ShowModal();
  }

  ClickCounter clicks;
};

// ---- push buttons ----

TEST_F(ButtonFormTest, ClickingAButtonWithAModalResultEndsTheModalForm) {
  struct Case {
    TModalResult ButtonResult;
    TModalResult Expected;
  };
  for (const Case& c : {Case{mrOk, mrOk}, Case{mrNo, mrNo}, Case{mrNone, mrCancel}}) {
    auto& button = Add<TButton>();
    button.SetModalResult(c.ButtonResult);
    button.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
    clicks.senders.clear();
    EXPECT_EQ(ShowModalClicking(button), c.Expected);
    EXPECT_EQ(clicks.senders, std::vector<TObject*>{&button});
    EXPECT_FALSE(form->Visible());
    TObject::Free(&button);
  }
}

TEST_F(ButtonFormTest, BitBtnKindGivesCaptionAndModalResult) {
  auto& yes = Add<TBitBtn>();
  yes.SetKind(bkYes);
  EXPECT_EQ(yes.Caption(), "&Yes");
  EXPECT_TRUE(yes.Default());
  EXPECT_EQ(ShowModalClicking(yes), mrYes);

  yes.SetKind(bkCustom);  // keeps what the kind gave
  EXPECT_EQ(yes.ModalResult(), mrYes);
}

TEST_F(ButtonFormTest, BitBtnCloseKindClosesTheFormWithoutClicking) {
  auto& close = Add<TBitBtn>();
  close.SetKind(bkClose);
  close.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
  form->Show();
  input::Click(close);
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(clicks.senders.empty());
}

TEST_F(ButtonFormTest, SpaceKeyClicksAFocusedButton) {
  auto& button = Add<TButton>();
  button.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
  form->Show();
  input::Key(button, VK_SPACE);
  EXPECT_EQ(clicks.senders.size(), 1u);
}

TEST_F(ButtonFormTest, GlyphCellsStayBetweenOneAndFour) {
  auto& bitBtn = Add<TBitBtn>();
  auto& speed = Add<TSpeedButton>();
  for (const auto& [given, kept] : std::vector<std::pair<int, int>>{{0, 1}, {2, 2}, {4, 4}, {9, 4}, {-3, 1}}) {
    bitBtn.SetNumGlyphs(given);
    speed.SetNumGlyphs(given);
    EXPECT_EQ(bitBtn.NumGlyphs(), kept) << given;
    EXPECT_EQ(speed.NumGlyphs(), kept) << given;
  }
}

// ---- check boxes ----

TEST_F(ButtonFormTest, CheckBoxClicksCycleItsStates) {
  struct Case {
    bool AllowGrayed;
    std::vector<TCheckBoxState> States;  // after each click
  };
  const std::vector<Case> cases{
      {false, {cbChecked, cbUnchecked, cbChecked}},
      {true, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}},
  };
  form->Show();
  for (const Case& c : cases) {
    auto& box = Add<TCheckBox>();
    box.SetAllowGrayed(c.AllowGrayed);
    box.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
    clicks.senders.clear();
    for (std::size_t i = 0; i < c.States.size(); ++i) {
      input::Click(box);
      EXPECT_EQ(box.State(), c.States[i]) << "click " << i + 1;
      EXPECT_EQ(clicks.senders.size(), i + 1) << "one OnClick per click";
    }
  }
}

TEST_F(ButtonFormTest, SettingCheckedRaisesOnClickExceptWhileLoading) {
  auto& box = Add<TCheckBox>();
  box.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
  box.SetChecked(true);
  box.SetChecked(true);  // unchanged
  box.SetState(cbGrayed);
  EXPECT_EQ(clicks.senders.size(), 2u);
  EXPECT_FALSE(box.Checked());

  {
    LoadingScope loading(*form);
    box.SetChecked(true);
  }
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks.senders.size(), 2u);
}

TEST_F(ButtonFormTest, SpaceKeyTogglesACheckBox) {
  auto& box = Add<TCheckBox>();
  box.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
  form->Show();
  input::Key(box, VK_SPACE);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks.senders.size(), 1u);
}

TEST_F(ButtonFormTest, DisabledCheckBoxIgnoresClicks) {
  auto& box = Add<TCheckBox>();
  box.SetEnabled(false);
  form->Show();
  input::Click(box);
  EXPECT_FALSE(box.Checked());
}

// ---- radio buttons ----

TEST_F(ButtonFormTest, CheckingARadioButtonUnchecksItsSiblingsOnly) {
  auto& first = Add<TRadioButton>();
  auto& second = Add<TRadioButton>();
  auto& third = Add<TRadioButton>();
  auto& panel = Add<TPanel>();
  auto& elsewhere = Add<TRadioButton>(&panel);
  elsewhere.SetChecked(true);
  first.SetChecked(true);
  second.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
  form->Show();

  input::Click(second);
  EXPECT_FALSE(first.Checked());
  EXPECT_TRUE(second.Checked());
  EXPECT_FALSE(third.Checked());
  EXPECT_TRUE(elsewhere.Checked());
  EXPECT_EQ(clicks.senders, std::vector<TObject*>{&second});
  EXPECT_TRUE(second.TabStop());
  EXPECT_FALSE(first.TabStop());

  third.OnClick = MethodOf<&ClickCounter::Count>(&clicks);
  third.SetChecked(true);  // from the program: OnClick as well
  EXPECT_FALSE(second.Checked());
  EXPECT_EQ(clicks.senders.size(), 2u);
  second.SetChecked(false);  // unchecking raises nothing
  EXPECT_EQ(clicks.senders.size(), 2u);
}

// ---- speed buttons ----

class SpeedButtonGroupTest : public ButtonFormTest {
 protected:
  void SetUp() override {
    ButtonFormTest::SetUp();
    for (TSpeedButton*& button : group) {
      button = &Add<TSpeedButton>();
      button->SetGroupIndex(1);
      button->OnClick = MethodOf<&ClickCounter::Count>(&clicks);
    }
    form->Show();
  }
  std::vector<bool> DownStates() const {
    std::vector<bool> states;
    for (const TSpeedButton* button : group) states.push_back(button->Down());
    return states;
  }
  TSpeedButton* group[3] = {};
};

TEST_F(SpeedButtonGroupTest, OneButtonOfAGroupIsDownAtATime) {
  input::Click(*group[0]);
  EXPECT_EQ(DownStates(), (std::vector<bool>{true, false, false}));
  input::Click(*group[2]);
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, false, true}));
  input::Click(*group[2]);  // without AllowAllUp the down button stays down
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(clicks.senders.size(), 3u);

  group[2]->SetDown(false);
  EXPECT_TRUE(group[2]->Down());
  group[1]->SetDown(true);
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, true, false}));
}

TEST_F(SpeedButtonGroupTest, AllowAllUpIsSharedAndLetsTheDownButtonGoUp) {
  group[0]->SetAllowAllUp(true);
  EXPECT_TRUE(group[2]->AllowAllUp());
  input::Click(*group[2]);
  input::Click(*group[2]);
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, false, false}));
}

TEST_F(SpeedButtonGroupTest, ButtonsOutsideTheGroupAreIndependent) {
  auto& ungrouped = Add<TSpeedButton>();
  auto& panel = Add<TPanel>();
  auto& otherParent = Add<TSpeedButton>(&panel);
  otherParent.SetGroupIndex(1);
  otherParent.SetDown(true);
  ungrouped.OnClick = MethodOf<&ClickCounter::Count>(&clicks);

  input::Click(ungrouped);
  EXPECT_FALSE(ungrouped.Down());  // only grouped buttons go down
  EXPECT_EQ(clicks.senders, std::vector<TObject*>{&ungrouped});
  input::Click(*group[0]);
  EXPECT_TRUE(otherParent.Down());

  ungrouped.SetDown(true);
  EXPECT_FALSE(ungrouped.Down());
}

TEST_F(SpeedButtonGroupTest, AButtonJoiningAGroupLeavesOneDown) {
  group[0]->SetDown(true);
  auto& joining = Add<TSpeedButton>();
  group[0]->SetAllowAllUp(true);
  joining.SetGroupIndex(2);
  joining.SetDown(true);
  joining.SetGroupIndex(1);
  EXPECT_TRUE(joining.AllowAllUp());
  EXPECT_FALSE(group[0]->Down());
  EXPECT_TRUE(joining.Down());
}

}  // namespace
}  // namespace qv

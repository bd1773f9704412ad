// The control model: focus with its exit and enter order, tab order, keys
// with the form's preview, showing, closing and modal forms, posted
// messages, parent fonts and colours, alignment and text metrics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"

namespace qv {
namespace {

std::vector<std::string> journal;

// A window control that writes its enter, exit and key events to the journal.
class TProbeControl : public TWinControl {
  QV_OBJECT(TProbeControl, TWinControl)
  TProbeControl(TComponent* owner, TWinControl* parent, const std::string& name) : TWinControl(owner) {
    SetName(name);
    SetParent(parent);
    SetTabStop(true);
    SetBounds(0, 0, 50, 20);
  }
  void DoEnter() override {
    journal.push_back("enter " + Name());
    TWinControl::DoEnter();
  }
  void DoExit() override {
    journal.push_back("exit " + Name());
    TWinControl::DoExit();
  }
  void KeyDown(Word& key, TShiftState shift) override {
    journal.push_back("keydown " + Name() + " " + std::to_string(key));
    TWinControl::KeyDown(key, shift);
  }
  void KeyPress(std::string& key) override {
    journal.push_back("press " + Name() + " " + key);
    TWinControl::KeyPress(key);
  }
};

const TClass& TProbeControl::StaticClass() {
  static const TClass cls = ClassBuilder<TProbeControl>("TProbeControl", &TWinControl::StaticClass());
  return cls;
}

class TProbeForm : public TForm {
  QV_OBJECT(TProbeForm, TForm)
  explicit TProbeForm(TComponent* owner) : TForm(owner) {
    SetName("frmProbe");
    SetBounds(0, 0, 400, 300);
    panel = new TProbeControl(this, this, "pnl");
    panel->SetTabStop(false);
    first = new TProbeControl(this, panel, "edFirst");
    second = new TProbeControl(this, panel, "edSecond");
    outside = new TProbeControl(this, this, "edOutside");
  }
  void KeyDown(Word& key, TShiftState shift) override {
    journal.push_back("form keydown " + std::to_string(key));
    if (key == VK_F2) key = 0;  // the form consumes F2
    TForm::KeyDown(key, shift);
  }
  void KeyPress(std::string& key) override {
    journal.push_back("form press " + key);
    if (key == "\r") key.clear();
    TForm::KeyPress(key);
  }
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_LOOKUPREQUEST) lookups.push_back(reinterpret_cast<TControl*>(message.LParam));
    if (message.Msg == WM_MOVE) moves.push_back(message.LParam);
    TForm::WndProc(message);
  }
  void ExitRefocuses(TObject*) { second->SetFocus(); }
  void CloseHandler(TObject*, TCloseAction& action) { action = closeAction; }

  TProbeControl *panel, *first, *second, *outside;
  std::vector<TControl*> lookups;
  std::vector<LPARAM> moves;
  TCloseAction closeAction = caHide;
};

const TClass& TProbeForm::StaticClass() {
  static const TClass cls = ClassBuilder<TProbeForm>("TProbeForm", &TForm::StaticClass());
  return cls;
}

class ControlModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    form = CreateForm<TProbeForm>(nullptr);
  }
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
    Application().SetPresenter(nullptr);
  }
  TProbeForm* form;
};

TEST_F(ControlModelTest, AWindowIsToldOfANewPositionNotOfANewSizeAlone) {
  form->SetBounds(0, 0, 500, 300);   // resized only
  EXPECT_TRUE(form->moves.empty());
  form->SetBounds(30, 40, 500, 300);  // moved only
  form->SetBounds(-5, 7, 200, 100);   // both; the left in the low word
  EXPECT_EQ(form->moves, (std::vector<LPARAM>{0x28001E, 0x7FFFB}));
}

// ---- releasing forms ----

TEST_F(ControlModelTest, AReleaseWaitsUntilNoModalRunIsInProgress) {
  const HWND handle = form->Handle();
  form->Release();
  EXPECT_TRUE(form->Closing());
  // A message dialog turns the loop while the release is pending.
  int turns = 0;
  Application().SetPresenter(std::make_unique<HeadlessPresenter>([&](TCustomForm&) {
    Application().ProcessMessages();
    ++turns;
  }));
  TForm* dialog = CreateForm<TForm>(nullptr);
  dialog->ShowModal();
  TObject::Free(dialog);
  EXPECT_EQ(turns, 1);
  ASSERT_EQ(Application().FindControl(handle), form) << "released under a modal run";
  Application().ProcessMessages();
  EXPECT_EQ(Application().FindControl(handle), nullptr);
  form = nullptr;
}

TEST_F(ControlModelTest, AModalRunOfAClosingFormEndsAtOnceWithCancel) {
  bool presented = false;
  Application().SetPresenter(std::make_unique<HeadlessPresenter>([&](TCustomForm& shown) {
    presented = true;
    shown.SetModalResult(mrOk);
  }));
  form->Release();
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(presented);
  EXPECT_FALSE(form->Visible());
  const HWND handle = form->Handle();
  Application().ProcessMessages();
  EXPECT_EQ(Application().FindControl(handle), nullptr);
  form = nullptr;
}

TEST_F(ControlModelTest, ShowingFocusesTheFirstControlInTabOrder) {
  EXPECT_FALSE(form->first->CanFocus());  // the form is hidden
  EXPECT_THROW(form->first->SetFocus(), EInvalidOperation);
  form->Show();
  EXPECT_TRUE(form->first->Focused());
  EXPECT_EQ(journal, (std::vector<std::string>{"enter pnl", "enter edFirst"}));
}

TEST_F(ControlModelTest, ExitsInnermostFirstAndEntersOutermostFirst) {
  form->Show();
  journal.clear();
  form->second->SetFocus();  // inside the same container: only the controls themselves
  EXPECT_EQ(journal, (std::vector<std::string>{"exit edFirst", "enter edSecond"}));
  journal.clear();
  form->outside->SetFocus();  // leaving the container raises its exit too
  EXPECT_EQ(journal, (std::vector<std::string>{"exit edSecond", "exit pnl", "enter edOutside"}));
  journal.clear();
  form->first->SetFocus();
  EXPECT_EQ(journal, (std::vector<std::string>{"exit edOutside", "enter pnl", "enter edFirst"}));
  EXPECT_EQ(form->ActiveControl(), form->first);
}

TEST_F(ControlModelTest, AnExitHandlerMayTakeTheFocusBack) {
  form->Show();
  form->first->OnExit = MethodOf<&TProbeForm::ExitRefocuses>(form);
  journal.clear();
  form->outside->SetFocus();
  EXPECT_TRUE(form->second->Focused());
  EXPECT_EQ(form->ActiveControl(), form->second);
  // The move to edOutside stopped where the handler moved the focus again.
  EXPECT_EQ(journal, (std::vector<std::string>{"exit edFirst", "enter edSecond"}));
}

TEST_F(ControlModelTest, DisabledOrHiddenContainersKeepTheFocusAway) {
  form->Show();
  form->panel->SetEnabled(false);
  EXPECT_FALSE(form->first->CanFocus());
  EXPECT_FALSE(form->first->IsEnabledInTree());
  EXPECT_FALSE(input::Focus(*form->second));
  form->panel->SetEnabled(true);
  form->panel->SetVisible(false);
  EXPECT_FALSE(form->second->CanFocus());
  EXPECT_FALSE(form->second->IsShowing());
}

TEST_F(ControlModelTest, TabMovesThroughTheTabOrderAndWraps) {
  form->Show();
  form->second->SetTabOrder(0);  // edSecond before edFirst inside the panel
  EXPECT_EQ(form->first->TabOrder(), 1);
  form->second->SetFocus();
  std::vector<std::string> visited;
  for (int i = 0; i < 4; ++i) {
    input::Key(*static_cast<TWinControl*>(Application().FocusedControl()), VK_TAB);
    visited.push_back(Application().FocusedControl()->Name());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"edFirst", "edOutside", "edSecond", "edFirst"}));
  input::Key(*form->first, VK_TAB, ssShift);
  EXPECT_TRUE(form->second->Focused());
  form->first->SetTabOrder(99);  // clamped to the end
  EXPECT_EQ(form->first->TabOrder(), 1);
}

TEST_F(ControlModelTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  form->Show();
  journal.clear();
  input::Key(*form->first, 'A', ssShift);
  EXPECT_EQ(journal, (std::vector<std::string>{"keydown edFirst 65", "press edFirst A"}));  // no preview asked
  form->SetKeyPreview(true);
  journal.clear();
  input::Key(*form->first, VK_F2);
  input::Key(*form->first, VK_RETURN);
  EXPECT_EQ(journal, (std::vector<std::string>{"form keydown 113", "form keydown 13", "keydown edFirst 13",
                                               "form press \r"}));
}

struct ClickCounter : TObject {
  int clicks = 0;
  void Clicked(TObject*) { ++clicks; }
};

TEST_F(ControlModelTest, InputToHiddenOrDisabledControlsIsDropped) {
  ClickCounter counter;
  form->first->OnClick = MethodOf<&ClickCounter::Clicked>(&counter);
  input::Click(*form->first);  // the form is hidden
  form->Show();
  form->panel->SetEnabled(false);
  journal.clear();
  input::Key(*form->first, 'A');
  input::Click(*form->first);
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(counter.clicks, 0);
  form->panel->SetEnabled(true);
  input::Click(*form->first);
  EXPECT_EQ(counter.clicks, 1);
}

TEST_F(ControlModelTest, SentAndPostedMessages) {
  form->Show();
  const HWND handle = form->Handle();
  EXPECT_EQ(Application().FindControl(handle), form);
  Application().SendMessage(handle, WM_LOOKUPREQUEST, 0, reinterpret_cast<LPARAM>(form->first));
  ASSERT_EQ(form->lookups.size(), 1u);  // delivered at once
  EXPECT_EQ(form->lookups[0], form->first);
  Application().PostMessage(handle, WM_LOOKUPREQUEST, 0, reinterpret_cast<LPARAM>(form->second));
  EXPECT_EQ(form->lookups.size(), 1u);  // not before the loop turns
  Application().ProcessMessages();
  EXPECT_EQ(form->lookups.size(), 2u);
  EXPECT_FALSE(Application().PostMessage(999999, WM_NULL));
}

TEST_F(ControlModelTest, ReleaseFreesTheFormOnTheNextTurnOfTheLoop) {
  ClickCounter destroyed;  // counts OnDestroy here
  form->OnDestroy = MethodOf<&ClickCounter::Clicked>(&destroyed);
  const HWND handle = form->Handle();
  form->Release();
  EXPECT_EQ(destroyed.clicks, 0);
  Application().ProcessMessages();
  EXPECT_EQ(destroyed.clicks, 1);
  EXPECT_EQ(Application().FindControl(handle), nullptr);
  form = nullptr;  // already gone
}

TEST_F(ControlModelTest, CloseActions) {
  form->OnClose = MethodOf<&TProbeForm::CloseHandler>(form);
  form->Show();
  form->closeAction = caNone;
  form->Close();
  EXPECT_TRUE(form->Visible());
  form->closeAction = caHide;
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(Application().FocusedControl(), nullptr);
}

TEST_F(ControlModelTest, ModalFormsAnswerThroughThePresenter) {
  bool sawItShown = false;
  Application().SetPresenter(std::make_unique<HeadlessPresenter>([&](TCustomForm& shown) {
    sawItShown = shown.Visible() && shown.IsModal();
    shown.SetModalResult(mrOk);
  }));
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_TRUE(sawItShown);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->IsModal());

  Application().SetPresenter(nullptr);  // nobody answers: cancelled, not left waiting
  EXPECT_EQ(form->ShowModal(), mrCancel);

  Application().SetPresenter(std::make_unique<HeadlessPresenter>([](TCustomForm& shown) { shown.Close(); }));
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(ControlModelTest, ParentFontAndColourFollowTheParent) {
  form->Font().SetName("Tahoma");
  EXPECT_EQ(form->first->Font().Name(), "Tahoma");
  form->second->Font().SetHeight(-20);  // its own font from now on
  form->Font().SetHeight(-11);
  EXPECT_EQ(form->first->Font().Height(), -11);
  EXPECT_EQ(form->second->Font().Height(), -20);
  EXPECT_FALSE(form->second->ParentFont());

  form->first->SetParentColor(true);
  form->panel->SetColor(clRed);  // edFirst follows its parent's colour, edSecond not
  EXPECT_EQ(form->first->Color(), clRed);
  EXPECT_EQ(form->second->Color(), clBtnFace);
}

TEST_F(ControlModelTest, FontPathsByName) {
  TObject* target = nullptr;
  const TPropInfo* info = ResolvePropPath(form->first, "Font.Charset", target);
  ASSERT_NE(info, nullptr);
  SetOrdProp(*target, *info, GB2312_CHARSET);
  EXPECT_EQ(form->first->Font().Charset(), GB2312_CHARSET);
  EXPECT_FALSE(form->first->ParentFont());
}

TEST_F(ControlModelTest, AlignedChildrenShareTheClientArea) {
  form->panel->SetAlign(alTop);
  form->panel->SetHeight(40);
  form->outside->SetAlign(alClient);
  EXPECT_EQ(form->panel->BoundsRect(), (TRect{0, 0, 400, 40}));
  EXPECT_EQ(form->outside->BoundsRect(), (TRect{0, 40, 400, 300}));
  form->SetBounds(0, 0, 200, 100);
  EXPECT_EQ(form->outside->BoundsRect(), (TRect{0, 40, 200, 100}));
}

TEST_F(ControlModelTest, FreeingTheFocusedControlForgetsIt) {
  form->Show();
  form->second->SetFocus();
  TObject::Free(form->second);
  form->second = nullptr;
  EXPECT_EQ(Application().FocusedControl(), nullptr);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  form->outside->SetFocus();  // no exit for the control that went
  EXPECT_TRUE(form->outside->Focused());
}

TEST(TextMetrics, WideAndNarrowCharacters) {
  TFont font;
  font.SetHeight(-13);
  EXPECT_EQ(TextWidthOf(font, "制表日期"), 52);
  EXPECT_EQ(TextHeightOf(font), 13);
  EXPECT_EQ(TextWidthOf(font, "W"), 7);
  EXPECT_EQ(TextWidthOf(font, "ab制"), 7 + 7 + 13);
  font.SetSize(9);  // 9 points at 96 pixels per inch: 12 pixels
  EXPECT_EQ(font.Height(), -12);
  EXPECT_EQ(TextWidthOf(font, "区间选择"), 48);
}

}  // namespace
}  // namespace qv

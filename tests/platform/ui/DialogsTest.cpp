// Message dialogs answered the way a user answers them: a responder of the
// headless presenter clicks a button found by name or presses a key.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/ui/Application.h"
#include "platform/ui/controls/Button.h"
#include "platform/ui/controls/Label.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Input.h"

namespace qv {
namespace {

struct FormFree {
  void operator()(TForm* form) const { TObject::Free(form); }
};
using DialogPtr = std::unique_ptr<TForm, FormFree>;

class DialogsTest : public ::testing::Test {
 protected:
  ~DialogsTest() override { Application().SetPresenter(nullptr); }

  void Respond(std::function<void(TCustomForm&)> responder) {
    Application().SetPresenter(std::make_unique<HeadlessPresenter>(std::move(responder)));
  }
  static void ClickNamed(TCustomForm& form, const char* name) {
    auto* control = ObjectAs<TControl>(form.FindComponent(name));
    ASSERT_NE(control, nullptr) << name;
    input::Click(*control);
  }
  static void PressOnFocused(TCustomForm& form, Word key) {
    ASSERT_NE(form.ActiveControl(), nullptr);
    input::Key(*form.ActiveControl(), key);
  }
};

struct ButtonCase {
  TMsgDlgBtn button;
  const char* name;
  TModalResult result;
};

class DialogButtons : public DialogsTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(DialogButtons, ClickingTheButtonNamedForItGivesItsResult) {
  const ButtonCase c = GetParam();
  Respond([&](TCustomForm& form) { ClickNamed(form, c.name); });
  // Another button beside it, so the result comes from the one clicked.
  const TMsgDlgBtn other = c.button == mbHelp ? mbOK : mbHelp;
  EXPECT_EQ(MessageDlg("Go on?", mtConfirmation, MsgDlgButtons(c.button, other), 0), c.result);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogButtons,
                         ::testing::Values(ButtonCase{mbYes, "Yes", mrYes}, ButtonCase{mbNo, "No", mrNo},
                                           ButtonCase{mbOK, "OK", mrOk}, ButtonCase{mbCancel, "Cancel", mrCancel},
                                           ButtonCase{mbAbort, "Abort", mrAbort},
                                           ButtonCase{mbRetry, "Retry", mrRetry},
                                           ButtonCase{mbIgnore, "Ignore", mrIgnore},
                                           ButtonCase{mbAll, "All", mrAll},
                                           ButtonCase{mbNoToAll, "NoToAll", mrNoToAll},
                                           ButtonCase{mbYesToAll, "YesToAll", mrYesToAll}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogsTest, AnsweringNoThroughThePresenterSeesTheWholeDialog) {
  std::vector<std::string> seen;
  std::string caption;
  Respond([&](TCustomForm& form) {
    caption = form.Caption();
    for (TComponent* c : form.ComponentList())
      if (auto* button = ObjectAs<TWinControl>(c)) seen.push_back(button->Name() + "=" + button->Caption());
    ClickNamed(form, "No");
  });
  const std::size_t formsBefore = Application().Forms().size();
  EXPECT_EQ(MessageDlg("Save the scheme?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  EXPECT_EQ(caption, "Confirmation");
  EXPECT_EQ(seen, (std::vector<std::string>{"Yes=&Yes", "No=&No", "Cancel=Cancel"}));
  EXPECT_EQ(Application().Forms().size(), formsBefore);  // the dialog is freed
}

TEST_F(DialogsTest, HelpClosesNothing) {
  Respond([&](TCustomForm& form) {
    ClickNamed(form, "Help");
    EXPECT_EQ(form.ModalResult(), mrNone);
  });
  EXPECT_EQ(MessageDlg("Details", mtInformation, MsgDlgButtons(mbOK, mbHelp), 7), mrCancel);  // nobody answered
}

struct KeyCase {
  const char* name;
  TMsgDlgButtons buttons;
  Word key;
  TModalResult result;
};

class DialogKeys : public DialogsTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeys, EscapeCancelsAndEnterTakesTheDefault) {
  Respond([&](TCustomForm& form) { PressOnFocused(form, GetParam().key); });
  EXPECT_EQ(MessageDlg("Question", mtWarning, GetParam().buttons, 0), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogKeys,
    ::testing::Values(KeyCase{"EscapeClicksCancel", mbYesNoCancel, VK_ESCAPE, mrCancel},
                      KeyCase{"EscapeClicksNoWithoutCancel", MsgDlgButtons(mbYes, mbNo), VK_ESCAPE, mrNo},
                      KeyCase{"EscapeClosesWithoutCancelOrNo", mbAbortRetryIgnore, VK_ESCAPE, mrCancel},
                      KeyCase{"EnterPrefersOk", MsgDlgButtons(mbYes, mbOK, mbCancel), VK_RETURN, mrOk},
                      KeyCase{"EnterTakesYesWithoutOk", mbYesNoCancel, VK_RETURN, mrYes},
                      KeyCase{"EnterTakesTheFirstOtherwise", mbAbortRetryIgnore, VK_RETURN, mrAbort}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogsTest, EnterClicksTheButtonThatHasTheFocus) {
  Respond([&](TCustomForm& form) {
    input::Key(*form.ActiveControl(), VK_TAB);  // from Yes to No
    PressOnFocused(form, VK_RETURN);
  });
  EXPECT_EQ(MessageDlg("Question", mtConfirmation, mbYesNoCancel, 0), mrNo);
}

TEST_F(DialogsTest, ButtonsCarryTheirRolesAndTheTextKeepsItsAmpersand) {
  DialogPtr dialog(CreateMessageDialog("Save & close?", mtConfirmation, mbYesNoCancel));
  auto* yes = ObjectAs<TButton>(dialog->FindComponent("Yes"));
  auto* cancel = ObjectAs<TButton>(dialog->FindComponent("Cancel"));
  ASSERT_TRUE(yes && cancel);
  EXPECT_TRUE(yes->Default());
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(dialog->ActiveControl(), yes);
  EXPECT_EQ(ObjectAs<TLabel>(dialog->FindComponent("Message"))->DisplayCaption(), "Save & close?");
}

struct CaptionCase {
  TMsgDlgType type;
  const char* caption;
};

class DialogCaptions : public DialogsTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(DialogCaptions, NameTheDialogType) {
  const std::string title = Application().Title();
  Application().SetTitle("Cost report");
  DialogPtr dialog(CreateMessageDialog("text", GetParam().type, mbOKCancel));
  Application().SetTitle(title);
  EXPECT_EQ(dialog->Caption(), GetParam().caption);
  EXPECT_EQ(dialog->FindComponent("Image") != nullptr, GetParam().type != mtCustom);
  EXPECT_EQ(ObjectAs<TControl>(dialog->FindComponent("Message"))->Caption(), "text");
  EXPECT_FALSE(dialog->Visible());
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogCaptions,
                         ::testing::Values(CaptionCase{mtWarning, "Warning"}, CaptionCase{mtError, "Error"},
                                           CaptionCase{mtInformation, "Information"},
                                           CaptionCase{mtConfirmation, "Confirmation"},
                                           CaptionCase{mtCustom, "Cost report"}));

// Measured with the form's font, 13 pixels high: "制表日期" is 52 × 13.
TEST_F(DialogsTest, NarrowButtonRowIsCentredUnderTheText) {
  DialogPtr dialog(CreateMessageDialog("制表日期", mtInformation, MsgDlgButtons(mbOK)));
  const TControl* text = ObjectAs<TControl>(dialog->FindComponent("Message"));
  EXPECT_EQ(text->BoundsRect(), (TRect{50, 8, 102, 21}));  // right of the 32-pixel image
  EXPECT_EQ(ObjectAs<TControl>(dialog->FindComponent("OK"))->BoundsRect(), (TRect{17, 52, 92, 77}));
  EXPECT_EQ(dialog->Width(), 110);
  EXPECT_EQ(dialog->Height(), 85);
}

TEST_F(DialogsTest, WideButtonRowSetsTheWidthAndButtonsStandEightApart) {
  DialogPtr dialog(CreateMessageDialog("制表日期", mtCustom, mbYesNoCancel));
  const char* names[] = {"Yes", "No", "Cancel"};
  const int lefts[] = {8, 91, 174};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(ObjectAs<TControl>(dialog->FindComponent(names[i]))->BoundsRect(),
              (TRect{lefts[i], 33, lefts[i] + 75, 58}))
        << names[i];
  EXPECT_EQ(dialog->Width(), 257);
  EXPECT_EQ(dialog->Height(), 66);
}

TEST_F(DialogsTest, LongTextWidensTheFormAndEachLineAddsItsHeight) {
  const std::string line(60, 'x');  // 60 × 7 = 420 pixels
  DialogPtr dialog(CreateMessageDialog(line + "\r\nshort", mtCustom, MsgDlgButtons(mbOK)));
  EXPECT_EQ(ObjectAs<TControl>(dialog->FindComponent("Message"))->BoundsRect(), (TRect{8, 8, 428, 34}));
  EXPECT_EQ(dialog->Width(), 436);
  EXPECT_EQ(ObjectAs<TControl>(dialog->FindComponent("OK"))->Left(), (436 - 75) / 2);
}

}  // namespace
}  // namespace qv

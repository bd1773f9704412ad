// Lookup buttons: placed beside their edit, one per edit, and a click asks
// the edit's form for the lookup.
#include "controls/F2Button.h"

#include <gtest/gtest.h>

#include <vector>

#include "DialogRecorder.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Edit.h"

namespace qv {
namespace {

// A form that notes the lookup requests it receives.
class TLookupForm : public TForm {
  QV_OBJECT(TLookupForm, TForm)

  explicit TLookupForm(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 400, 300);
    edit = NewEdit(104, 9);
    other = NewEdit(104, 60);
    button = new TF2Button(this);
    button->SetParent(this);
  }

  void WndProc(TMessage& message) override {
    if (message.Msg == WM_LOOKUPREQUEST) requests.push_back({message, Application().FocusedControl()});
    TForm::WndProc(message);
  }

  void ButtonClicked(TObject*) { requestsAtClick = static_cast<int>(requests.size()); }

  struct Request {
    TMessage message;
    TWinControl* focused;
  };
  TEdit *edit, *other;
  TF2Button* button;
  std::vector<Request> requests;
  int requestsAtClick = -1;

 private:
  TEdit* NewEdit(int left, int top) {
    auto* e = new TEdit(this);
    e->SetParent(this);
    e->SetBounds(left, top, 120, 21);
    return e;
  }
};

const TClass& TLookupForm::StaticClass() {
  static const TClass cls = ClassBuilder<TLookupForm>("TLookupForm", &TForm::StaticClass());
  return cls;
}

class LookupButtonTest : public testing::Test {
 protected:
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
  }

  TLookupForm* form = CreateForm<TLookupForm>(nullptr);
  TF2Button& button = *form->button;
};

TEST_F(LookupButtonTest, StartsAsAFlatLookupPictureWithPublishedBinding) {
  EXPECT_EQ(button.GlyphIndex(), 8);
  EXPECT_TRUE(button.Flat());
  EXPECT_TRUE(button.AutoAlign());
  EXPECT_EQ(button.Gap(), 2);
  SetObjectProp(button, *GetPropInfo(&button, "F2Control"), form->edit);
  EXPECT_EQ(button.F2Control(), form->edit);
  EXPECT_EQ(button.Left(), 226);
}

struct AlignCase {
  const char* what;
  TRect edit;  // left, top, right, bottom
  int gap;
  TRect expected;
};

TEST_F(LookupButtonTest, SitsRightOfTheControlSquareAndAsHigh) {
  const AlignCase cases[] = {
      {"usual edit", {104, 9, 224, 30}, 2, {226, 9, 247, 30}},
      {"no gap", {104, 9, 224, 30}, 0, {224, 9, 245, 30}},
      {"taller edit, wider gap", {10, 40, 60, 70}, 5, {65, 40, 95, 70}},
  };
  for (const AlignCase& c : cases) {
    SCOPED_TRACE(c.what);
    form->edit->SetBounds(c.edit.Left, c.edit.Top, c.edit.Width(), c.edit.Height());
    button.SetF2Control(nullptr);
    button.SetGap(static_cast<std::uint8_t>(c.gap));
    button.SetF2Control(form->edit);
    EXPECT_EQ(button.BoundsRect(), c.expected);
  }
}

TEST_F(LookupButtonTest, EachPropertyRealignsUnlessAutoAlignIsOff) {
  button.SetF2Control(form->edit);
  button.SetGap(10);
  EXPECT_EQ(button.Left(), 234);
  button.SetAutoAlign(false);
  button.SetGap(2);
  button.SetF2Control(form->other);
  EXPECT_EQ(button.Left(), 234);
  EXPECT_EQ(button.Top(), 9);
  button.SetAutoAlign(true);
  EXPECT_EQ(button.BoundsRect(), (TRect{226, 60, 247, 81}));
}

// At run time the button moves only when its own properties are set;
// while the form is designed it follows its edit.
TEST_F(LookupButtonTest, FollowsTheEditOnlyWhileDesigning) {
  button.SetF2Control(form->edit);
  form->edit->SetBounds(20, 100, 80, 25);
  EXPECT_EQ(button.BoundsRect(), (TRect{226, 9, 247, 30}));
  form->SetDesigning(true);
  form->edit->SetBounds(30, 110, 80, 25);
  EXPECT_EQ(button.BoundsRect(), (TRect{112, 110, 137, 135}));
  form->other->SetBounds(0, 0, 50, 50);  // not its control
  EXPECT_EQ(button.Left(), 112);
}

TEST_F(LookupButtonTest, AlignsOnceTheFormHasLoaded) {
  TF2Button* late;
  {
    LoadingScope loading(*form);
    late = new TF2Button(form);
    late->SetParent(form);
    late->SetF2Control(form->other);
    form->other->SetBounds(200, 150, 100, 24);  // placed after the binding was read
  }
  EXPECT_EQ(late->BoundsRect(), (TRect{302, 150, 326, 174}));
}

TEST_F(LookupButtonTest, ClickFocusesTheEditAndAsksItsFormForTheLookup) {
  button.SetF2Control(form->edit);
  button.OnClick = MethodOf<&TLookupForm::ButtonClicked>(form);
  form->Show();
  form->other->SetFocus();
  input::Click(button);
  ASSERT_EQ(form->requests.size(), 1u);
  const TMessage& message = form->requests[0].message;
  EXPECT_EQ(message.WParam, 0u);
  EXPECT_EQ(message.LParam, reinterpret_cast<LPARAM>(form->edit));
  EXPECT_EQ(form->requests[0].focused, form->edit);
  EXPECT_EQ(form->requestsAtClick, 0) << "the button's own click comes first";
}

TEST_F(LookupButtonTest, NoLookupForAControlThatIsOffOrCannotTakeTheFocus) {
  const struct {
    const char* what;
    bool enabled, visible, bound;
  } cases[] = {
      {"disabled", false, true, true},
      {"hidden", true, false, true},
      {"unbound", true, true, false},
  };
  form->Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    form->other->SetFocus();
    form->edit->SetEnabled(c.enabled);
    form->edit->SetVisible(c.visible);
    button.SetF2Control(c.bound ? form->edit : nullptr);
    input::Click(button);
    EXPECT_TRUE(form->requests.empty());
    EXPECT_EQ(Application().FocusedControl(), form->other);
  }
}

TEST_F(LookupButtonTest, SecondButtonForTheSameEditIsRefused) {
  button.SetF2Control(form->edit);
  auto* second = new TF2Button(form);
  second->SetParent(form);
  second->SetF2Control(form->other);
  test::DialogRecorder dialogs;
  second->SetF2Control(form->edit);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].message, "不能同时有两个 F2Button 指到同一个 Edit.");
  EXPECT_EQ(dialogs.shown[0].kind, "mtError");
  EXPECT_TRUE(dialogs.shown[0].hasOnlyOK);
  EXPECT_EQ(second->F2Control(), form->other);
  EXPECT_EQ(second->Top(), 60) << "still placed at its own edit";

  button.SetF2Control(form->edit);  // its own binding again: refused without a word
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(button.F2Control(), form->edit);
}

TEST_F(LookupButtonTest, FreedEditUnbindsTheButton) {
  button.SetF2Control(form->edit);
  TObject::Free(form->edit);
  EXPECT_EQ(button.F2Control(), nullptr);
  form->Show();
  input::Click(button);
  EXPECT_TRUE(form->requests.empty());
}

}  // namespace
}  // namespace qv

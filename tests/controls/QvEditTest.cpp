// Edits with an attached label, and the data edit with its lookup button:
// where label and button sit, what they follow, and what the button's click
// does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/QvEdit.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Panel.h"
#include "support/FormTest.h"

namespace qv {
namespace {

// Keeps the lookup requests it receives.
class TLookupForm : public TForm {
 public:
  using TForm::TForm;
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_LOOKUPREQUEST) requests.push_back(message.LParam);
    TForm::WndProc(message);
  }
  std::vector<LPARAM> requests;
};

class DialogLog : public TObject {
 public:
  void Dialog(TObject* sender) { senders.push_back(sender); }
  std::vector<TObject*> senders;
};

using LabeledEditTest = test::FormTest<TLookupForm, 500>;

// Edit at 100, 10, 121 × 21; label "Name" 28 × 13 at font height 13.
template <class Edit>
void ExpectLabelPlacement(Edit& edit) {
  struct Case {
    TLabelPosition position;
    int spacing;
    int left, top;
  };
  edit.SetBounds(100, 10, 121, 21);
  edit.SetCaption("Name");
  ASSERT_EQ(edit.EditLabel()->Height(), 13);
  ASSERT_EQ(edit.EditLabel()->Width(), 28);
  for (const Case& c : {Case{lpLeft, 4, 68, 14}, Case{lpRight, 4, 225, 14}, Case{lpAbove, 4, 100, -7},
                        Case{lpBelow, 4, 100, 35}, Case{lpLeft, 0, 72, 14}, Case{lpBelow, 9, 100, 40}}) {
    SCOPED_TRACE(std::to_string(c.position) + "/" + std::to_string(c.spacing));
    edit.SetLabelPosition(c.position);
    edit.SetLabelSpacing(c.spacing);
    EXPECT_EQ(edit.EditLabel()->Left(), c.left);
    EXPECT_EQ(edit.EditLabel()->Top(), c.top);
  }
}

TEST_F(LabeledEditTest, TheLabelSitsBesideTheEditAtTheSpacing) {
  {
    SCOPED_TRACE("TQvEdit");
    ExpectLabelPlacement(Add<TQvEdit>());
  }
  {
    SCOPED_TRACE("TQvDBEdit");
    ExpectLabelPlacement(Add<TQvDBEdit>());
  }
}

TEST_F(LabeledEditTest, StartsLeftAtFourWithANamedLabelFocusingTheEdit) {
  auto* edit = &Add<TQvEdit>();
  EXPECT_EQ(edit->LabelPosition(), lpLeft);
  EXPECT_EQ(edit->LabelSpacing(), 4);
  EXPECT_EQ(edit->Caption(), "");
  ASSERT_NE(edit->EditLabel(), nullptr);
  EXPECT_EQ(edit->FindComponent("EditLabel"), edit->EditLabel());
  EXPECT_EQ(edit->EditLabel()->FocusControl(), edit);
  EXPECT_EQ(GetObjectProp(*edit, *GetPropInfo(edit, "EditLabel")), edit->EditLabel());
  SetPropText(*edit, *GetPropInfo(edit, "LabelPosition"), "lpAbove");
  EXPECT_EQ(edit->LabelPosition(), lpAbove);
}

TEST_F(LabeledEditTest, TheLabelFollowsMovesCaptionsAndIgnoresNegativeSpacing) {
  auto* edit = &Add<TQvEdit>();
  edit->SetBounds(100, 10, 121, 21);
  edit->SetCaption("Name");
  edit->SetLeft(150);
  EXPECT_EQ(edit->EditLabel()->Left(), 118);
  edit->SetHeight(33);
  EXPECT_EQ(edit->EditLabel()->Top(), 20);
  edit->SetCaption("Names");  // 35 wide: the label's right edge stays at the spacing
  EXPECT_EQ(edit->EditLabel()->Left(), 111);
  edit->SetLabelSpacing(-1);
  EXPECT_EQ(edit->LabelSpacing(), 4);
  EXPECT_EQ(edit->EditLabel()->Left(), 111);
}

TEST_F(LabeledEditTest, TheLabelFollowsParentEnabledStateAndVisibility) {
  auto* panel = &Add<TPanel>();
  auto* edit = &Add<TQvEdit>();
  EXPECT_EQ(edit->EditLabel()->Parent(), form);
  edit->SetParent(panel);
  EXPECT_EQ(edit->EditLabel()->Parent(), panel);
  edit->SetEnabled(false);
  EXPECT_FALSE(edit->EditLabel()->Enabled());
  edit->SetVisible(false);
  EXPECT_FALSE(edit->EditLabel()->Visible());
  edit->SetVisible(true);
  EXPECT_TRUE(edit->EditLabel()->Visible());
}

TEST_F(LabeledEditTest, TheLabelGoesWithTheEditAndTheEditSurvivesItsLabel) {
  auto* panel = &Add<TPanel>();
  auto* edit = &Add<TQvEdit>(panel);
  EXPECT_EQ(panel->ControlCount(), 2);
  TObject::Free(edit);
  EXPECT_EQ(panel->ControlCount(), 0);

  auto* other = &Add<TQvEdit>(panel);
  TObject::Free(other->EditLabel());
  EXPECT_EQ(other->EditLabel(), nullptr);
  other->SetCaption("Name");
  other->SetLeft(5);
  EXPECT_EQ(other->Caption(), "");
}

TEST_F(LabeledEditTest, TheLabelEndsLoadingWithTheEdit) {
  TQvEdit* edit = nullptr;
  {
    LoadingScope loading(*form);
    edit = &Add<TQvEdit>();
    edit->SetBounds(100, 10, 121, 21);
    edit->SetCaption("Name");
  }
  EXPECT_FALSE(edit->EditLabel()->HasState(ComponentStateFlag::Loading));
  EXPECT_EQ(edit->EditLabel()->Width(), 28);
  EXPECT_EQ(edit->EditLabel()->Left(), 68);
}

// ---- data edits ----

class DataEditTest : public LabeledEditTest {
 protected:
  void SetUp() override {
    LabeledEditTest::SetUp();
    dataSet = new TDataSet(form);
    dataSet->AddField("CUST_NO", ftString)->SetDisplayLabel("Customer");
    dataSet->Open();
    source = new TDataSource(form);
    source->SetDataSet(dataSet);
  }
  TDataSet* dataSet = nullptr;
  TDataSource* source = nullptr;
};

TEST_F(DataEditTest, SettingTheFieldWhileDesigningTakesItsDisplayLabel) {
  auto* edit = &Add<TQvDBEdit>();
  edit->SetDataSource(source);
  edit->SetDataField("CUST_NO");
  EXPECT_EQ(edit->Caption(), "");
  edit->SetDataField("");
  edit->SetDesigning(true);
  edit->SetDataField("cust_no");
  EXPECT_EQ(edit->Caption(), "Customer");
  edit->SetDataField("MISSING");
  EXPECT_EQ(edit->Caption(), "Customer");
}

TEST_F(DataEditTest, TheButtonIsAFlatSquareRightOfTheEdit) {
  auto* edit = &Add<TQvBtnDBEdit>();
  TGSpeedButton* button = edit->F2Button();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(edit->FindComponent("F2Button"), button);
  EXPECT_TRUE(button->Flat());
  EXPECT_EQ(button->GlyphIndex(), 8);
  EXPECT_EQ(edit->ButtonSpacing(), 2);
  EXPECT_EQ(button->Parent(), form);
  edit->SetBounds(100, 10, 121, 21);
  EXPECT_EQ(button->BoundsRect(), (TRect{223, 10, 244, 31}));
  edit->SetButtonSpacing(5);
  edit->SetHeight(25);
  EXPECT_EQ(button->BoundsRect(), (TRect{226, 10, 251, 35}));
  edit->SetGlyphIndex(3);
  EXPECT_EQ(button->GlyphIndex(), 3);
  edit->SetButtonHint("Look up");
  EXPECT_EQ(button->Hint(), "Look up");
  EXPECT_EQ(edit->ButtonHint(), "Look up");
}

TEST_F(DataEditTest, TheButtonFollowsParentEnabledStateAndVisibility) {
  auto* panel = &Add<TPanel>();
  auto* edit = &Add<TQvBtnDBEdit>();
  edit->SetParent(panel);
  EXPECT_EQ(edit->F2Button()->Parent(), panel);
  EXPECT_EQ(edit->EditLabel()->Parent(), panel);
  edit->SetEnabled(false);
  EXPECT_FALSE(edit->F2Button()->Enabled());
  edit->SetVisible(false);
  EXPECT_FALSE(edit->F2Button()->Visible());
}

TEST_F(DataEditTest, AClickWithoutOnDialogFocusesTheEditAndAsksItsOwner) {
  auto* edit = &Add<TQvBtnDBEdit>();
  auto* other = &Add<TQvEdit>();
  input::Focus(*other);
  input::Click(*edit->F2Button());
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(form->requests, std::vector<LPARAM>{reinterpret_cast<LPARAM>(edit)});
}

TEST_F(DataEditTest, AClickWithOnDialogRaisesItInstead) {
  auto* edit = &Add<TQvBtnDBEdit>();
  DialogLog log;
  edit->OnDialog = MethodOf<&DialogLog::Dialog>(&log);
  input::Click(*edit->F2Button());
  EXPECT_EQ(log.senders, std::vector<TObject*>{edit});
  EXPECT_TRUE(form->requests.empty());
  EXPECT_FALSE(edit->Focused());
}

TEST_F(DataEditTest, AnEditThatCannotTakeTheFocusAsksNothing) {
  auto* edit = &Add<TQvBtnDBEdit>();
  form->Hide();
  edit->F2Button()->Click();
  EXPECT_TRUE(form->requests.empty());
}

}  // namespace
}  // namespace qv

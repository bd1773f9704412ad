// Labels, combo boxes, group boxes and panels, and the published properties
// of the standard controls as forms and language files reach them by name.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/CheckBox.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/GroupBox.h"
#include "platform/ui/controls/Label.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/Memo.h"
#include "platform/ui/controls/Panel.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/SpinEdit.h"
#include "support/FormTest.h"

namespace qv {
namespace {

class EventLog : public TObject {
 public:
  void Change(TObject*) { entries.push_back("change"); }
  void Select(TObject*) { entries.push_back("select"); }
  void Click(TObject*) { entries.push_back("click"); }
  void DropDown(TObject*) { entries.push_back("dropdown"); }
  void CloseUp(TObject*) { entries.push_back("closeup"); }
  void DrawItem(TObject*, int index, TRect, TOwnerDrawState) { entries.push_back("draw " + std::to_string(index)); }
  std::vector<std::string> entries;
};

class StdControlsTest : public test::FormTest<> {
 protected:
  EventLog log;
};

// ---- labels ----

TEST_F(StdControlsTest, AutoSizedLabelTakesTheSizeOfItsShownCaption) {
  struct Case {
    std::string Caption;
    int FontHeight;
    int Width, Height;
  };
  const std::vector<Case> cases{
      {"制表日期", -13, 52, 13},
      {"制表日期", -16, 64, 16},
      {"&File", -13, 28, 13},     // the accelerator mark is not measured
      {"A&&B", -13, 21, 13},      // "&&" is one "&"
      {"", -13, 7, 13},           // an empty caption measures one blank
      {"ab\r\n制表", -13, 26, 26},  // two lines
  };
  auto& label = Add<TLabel>();
  for (const Case& c : cases) {
    label.Font().SetHeight(c.FontHeight);
    label.SetCaption(c.Caption);
    EXPECT_EQ(label.Width(), c.Width) << c.Caption << " at " << c.FontHeight;
    EXPECT_EQ(label.Height(), c.Height) << c.Caption << " at " << c.FontHeight;
  }
}

TEST_F(StdControlsTest, LabelFollowsItsParentFontAndStopsWithoutAutoSize) {
  auto& label = Add<TLabel>();
  label.SetCaption("制表日期");
  form->Font().SetHeight(-20);
  EXPECT_EQ(label.Width(), 80);
  EXPECT_EQ(label.Height(), 20);

  label.SetAutoSize(false);
  label.SetCaption("制");
  EXPECT_EQ(label.Width(), 80);
}

TEST_F(StdControlsTest, RightJustifiedLabelKeepsItsRightEdge) {
  auto& label = Add<TLabel>();
  label.SetAlignment(taRightJustify);
  label.SetCaption("制表");
  label.SetLeft(100);
  label.SetCaption("制表日期");
  EXPECT_EQ(label.Left() + label.Width(), 126);
  EXPECT_EQ(label.Width(), 52);
}

TEST_F(StdControlsTest, WordWrappedLabelKeepsItsWidthAndGrowsDown) {
  auto& label = Add<TLabel>();
  label.SetAutoSize(false);
  label.SetWidth(30);
  label.SetWordWrap(true);
  label.SetCaption("制表日期");  // two characters fit in 30 pixels
  label.SetAutoSize(true);
  EXPECT_EQ(label.Width(), 30);
  EXPECT_EQ(label.Height(), 26);
}

TEST_F(StdControlsTest, LabelForgetsItsFocusControlWhenThatGoes) {
  auto& label = Add<TLabel>();
  auto* edit = new TEdit(nullptr);  // not owned by the form: only the free notice tells the label
  edit->SetParent(form);
  label.SetFocusControl(edit);
  EXPECT_EQ(label.FocusControl(), edit);
  TObject::Free(edit);
  EXPECT_EQ(label.FocusControl(), nullptr);
}

// ---- combo boxes ----

struct ComboCase {
  const char* Name;
  TComboBoxStyle Style;
  std::function<void(TComboBox&)> Act;
  int ItemIndex;
  std::string Text;
};

class ComboSelectionTest : public StdControlsTest, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(ComboSelectionTest, ItemIndexAndTextAgree) {
  const ComboCase& c = GetParam();
  auto& combo = Add<TComboBox>();
  combo.Items().SetText("Apple\nbanana\nCherry");
  combo.SetStyle(c.Style);
  combo.SetItemIndex(0);
  c.Act(combo);
  EXPECT_EQ(combo.ItemIndex(), c.ItemIndex);
  EXPECT_EQ(combo.Text(), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    ComboBox, ComboSelectionTest,
    ::testing::Values(
        ComboCase{"IndexSelects", csDropDown, [](TComboBox& c) { c.SetItemIndex(1); }, 1, "banana"},
        ComboCase{"IndexPastTheEndSelectsNothing", csDropDown, [](TComboBox& c) { c.SetItemIndex(3); }, -1, ""},
        ComboCase{"IndexBelowMinusOneSelectsNothing", csDropDownList, [](TComboBox& c) { c.SetItemIndex(-5); }, -1,
                  ""},
        ComboCase{"EditTextOfAnItemSelectsIt", csDropDown, [](TComboBox& c) { c.SetText("Cherry"); }, 2, "Cherry"},
        ComboCase{"EditTextKeepsOtherTexts", csSimple, [](TComboBox& c) { c.SetText("cherry"); }, -1, "cherry"},
        ComboCase{"ListTextSelectsWithoutRegardToCase", csDropDownList, [](TComboBox& c) { c.SetText("cherry"); },
                  2, "Cherry"},
        ComboCase{"ListTextOfNoItemSelectsNothing", csOwnerDrawFixed, [](TComboBox& c) { c.SetText("kiwi"); }, -1,
                  ""},
        ComboCase{"DeletingTheSelectedLastItemSelectsNothing", csDropDownList,
                  [](TComboBox& c) {
                    c.SetItemIndex(2);
                    c.Items().Delete(2);
                  },
                  -1, ""},
        ComboCase{"ListTextFollowsAChangedItem", csDropDownList, [](TComboBox& c) { c.Items().SetStrings(0, "Apricot"); },
                  0, "Apricot"},
        ComboCase{"StyleChangeKeepsTheSelection", csDropDown,
                  [](TComboBox& c) {
                    c.SetItemIndex(1);
                    c.SetStyle(csOwnerDrawVariable);
                  },
                  1, "banana"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StdControlsTest, ProgramSelectionRaisesNoEvents) {
  auto& combo = Add<TComboBox>();
  combo.Items().SetText("a\nb");
  combo.OnChange = MethodOf<&EventLog::Change>(&log);
  combo.OnSelect = MethodOf<&EventLog::Select>(&log);
  combo.SetItemIndex(1);
  combo.SetText("a");
  EXPECT_TRUE(log.entries.empty());
}

TEST_F(StdControlsTest, TypingInADropDownListSelectsByFirstLetter) {
  auto& combo = Add<TComboBox>();
  combo.SetStyle(csDropDownList);
  combo.Items().SetText("Apple\nbanana\nAvocado\n苹果");
  combo.OnClick = MethodOf<&EventLog::Click>(&log);
  combo.OnSelect = MethodOf<&EventLog::Select>(&log);

  const std::vector<std::pair<std::string, int>> presses{{"a", 0}, {"A", 2}, {"a", 0}, {"B", 1}, {"苹", 3}, {"z", 3}};
  for (const auto& [character, index] : presses) {
    input::Press(combo, character);
    EXPECT_EQ(combo.ItemIndex(), index) << "after " << character;
  }
  EXPECT_EQ(combo.Text(), "苹果");
  EXPECT_EQ(log.entries.size(), 10u);  // click and select for each of the five moves
  EXPECT_EQ(log.entries[0], "click");
  EXPECT_EQ(log.entries[1], "select");
}

TEST_F(StdControlsTest, ArrowKeysSelectAndRaiseOnChangeWithoutOnSelect) {
  auto& combo = Add<TComboBox>();
  combo.Items().SetText("a\nb");
  combo.OnChange = MethodOf<&EventLog::Change>(&log);
  input::Key(combo, VK_DOWN);
  input::Key(combo, VK_DOWN);
  input::Key(combo, VK_DOWN);  // already at the last item
  input::Key(combo, VK_UP);
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"change", "change", "change"}));
}

TEST_F(StdControlsTest, TypingInAnEditComboChangesTheText) {
  auto& combo = Add<TComboBox>();
  combo.Items().SetText("ab\nabc");
  combo.OnChange = MethodOf<&EventLog::Change>(&log);
  input::TypeText(combo, "abc");
  EXPECT_EQ(combo.ItemIndex(), 1);
  input::Key(combo, VK_BACK);
  EXPECT_EQ(combo.Text(), "ab");
  EXPECT_EQ(combo.ItemIndex(), 0);
  input::TypeText(combo, "中");
  EXPECT_EQ(combo.ItemIndex(), -1);
  input::Key(combo, VK_BACK);  // removes the whole character
  EXPECT_EQ(combo.Text(), "ab");
  EXPECT_EQ(log.entries.size(), 6u);
}

TEST_F(StdControlsTest, ComboDropsDownAndDrawsOwnerDrawnItems) {
  auto& combo = Add<TComboBox>();
  combo.Items().SetText("a\nb");
  combo.OnDropDown = MethodOf<&EventLog::DropDown>(&log);
  combo.OnCloseUp = MethodOf<&EventLog::CloseUp>(&log);
  combo.OnDrawItem = MethodOf<&EventLog::DrawItem>(&log);
  input::Key(combo, VK_F4);
  EXPECT_TRUE(combo.DroppedDown());
  input::Key(combo, VK_ESCAPE);
  EXPECT_FALSE(combo.DroppedDown());

  combo.DrawItem(0, {0, 0, 145, 16}, odSelected);  // not owner-drawn: nothing
  combo.SetStyle(csOwnerDrawFixed);
  combo.DrawItem(1, {0, 16, 145, 32}, 0);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"dropdown", "closeup", "draw 1"}));
}

TEST_F(StdControlsTest, ComboItemIndexSetWhileLoadingWaitsForTheItems) {
  TComboBox* combo = nullptr;
  {
    LoadingScope loading(*form);
    combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(csDropDownList);
    combo->SetItemIndex(1);
    combo->Items().SetText("a\nb");
  }
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "b");
}

// ---- containers ----

TEST_F(StdControlsTest, GroupBoxContentStartsBelowItsCaption) {
  auto& box = Add<TGroupBox>();
  box.SetBounds(0, 0, 200, 100);
  box.SetCaption("选择类别");
  auto& inner = Add<TPanel>(&box);
  inner.SetAlign(alClient);
  EXPECT_EQ(inner.BoundsRect(), (TRect{2, 15, 198, 98}));

  box.Font().SetHeight(-20);
  EXPECT_EQ(inner.BoundsRect(), (TRect{2, 22, 198, 98}));
  EXPECT_EQ(box.ContentRect(), inner.BoundsRect());
  EXPECT_EQ(inner.ClientOrigin().Y, box.ClientOrigin().Y + 22);  // children stand in the box's coordinates
}

TEST_F(StdControlsTest, PanelFrameIsLeftOutOfTheAlignedArea) {
  struct Case {
    TPanelBevel Inner, Outer;
    int BevelWidth, BorderWidth;
    int Frame;
  };
  const std::vector<Case> cases{
      {bvNone, bvRaised, 1, 0, 1},  {bvNone, bvNone, 3, 0, 0},    {bvLowered, bvRaised, 2, 0, 4},
      {bvSpace, bvNone, 2, 3, 5},   {bvLowered, bvLowered, 1, 2, 4},
  };
  auto& panel = Add<TPanel>();
  panel.SetBounds(0, 0, 100, 60);
  auto& child = Add<TPanel>(&panel);
  child.SetAlign(alClient);
  for (const Case& c : cases) {
    panel.SetBevelInner(c.Inner);
    panel.SetBevelOuter(c.Outer);
    panel.SetBevelWidth(c.BevelWidth);
    panel.SetBorderWidth(c.BorderWidth);
    EXPECT_EQ(panel.FrameWidth(), c.Frame);
    EXPECT_EQ(child.BoundsRect(), (TRect{c.Frame, c.Frame, 100 - c.Frame, 60 - c.Frame}));
  }
}

// ---- published properties ----

TEST_F(StdControlsTest, PublishedPropertiesAreReachableByName) {
  struct Case {
    TControl* Control;
    std::string Property;
    std::string Value;
    std::function<bool()> Took;
  };
  auto& edit = Add<TEdit>();
  auto& masked = Add<TMaskEdit>();
  auto& memo = Add<TMemo>();
  auto& combo = Add<TComboBox>();
  auto& box = Add<TCheckBox>();
  auto& spin = Add<TSpinEdit>();
  auto& label = Add<TLabel>();
  auto& bitBtn = Add<TBitBtn>();
  auto& speed = Add<TSpeedButton>();
  auto& panel = Add<TPanel>();
  combo.Items().SetText("x\ny");
  edit.OnChange = MethodOf<&EventLog::Change>(&log);

  const std::vector<Case> cases{
      {&edit, "Text", "制表", [&] { return edit.Text() == "制表" && log.entries.size() == 1; }},
      {&edit, "CharCase", "ecUpperCase", [&] { return edit.CharCase() == ecUpperCase; }},
      {&edit, "ImeName", "", [&] { return edit.ImeName().empty(); }},
      {&masked, "EditMask", "!9999/99/99;1;_", [&] { return masked.IsMasked(); }},
      {&masked, "Text", "2024/01/05", [&] { return masked.EditText() == "2024/01/05"; }},
      {&memo, "WantReturns", "False", [&] { return !memo.WantReturns(); }},
      {&memo, "ScrollBars", "ssVertical", [&] { return memo.ScrollBars() == ssVertical; }},
      {&combo, "ItemIndex", "1", [&] { return combo.Text() == "y"; }},
      {&combo, "Style", "csDropDownList", [&] { return combo.Style() == csDropDownList; }},
      {&box, "State", "cbGrayed", [&] { return box.State() == cbGrayed; }},
      {&spin, "Value", "7", [&] { return spin.Text() == "7"; }},
      {&label, "Caption", "制表日期", [&] { return label.Width() == 52; }},
      {&bitBtn, "Kind", "bkOK", [&] { return bitBtn.ModalResult() == mrOk; }},
      {&speed, "GroupIndex", "2", [&] { return speed.GroupIndex() == 2; }},
      {&panel, "BevelOuter", "bvNone", [&] { return panel.FrameWidth() == 0; }},
  };
  for (const Case& c : cases) {
    const TPropInfo* info = GetPropInfo(c.Control, c.Property);
    ASSERT_NE(info, nullptr) << c.Control->ClassName() << "." << c.Property;
    SetPropText(*c.Control, *info, c.Value);
    EXPECT_TRUE(c.Took()) << c.Control->ClassName() << "." << c.Property;
    EXPECT_EQ(GetPropText(*c.Control, *info), c.Value) << c.Control->ClassName() << "." << c.Property;
  }

  for (TControl* control : std::vector<TControl*>{&combo, &memo}) {
    const TPropInfo* items = GetPropInfo(control, control == &combo ? "Items" : "Lines");
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->Kind, TTypeKind::Class);
    auto* strings = ObjectAs<TStrings>(GetObjectProp(*control, *items));
    ASSERT_NE(strings, nullptr);
    TStringList replacement{"p", "q"};
    SetObjectProp(*control, *items, &replacement);
    EXPECT_EQ(strings->ToVector(), (std::vector<std::string>{"p", "q"}));
  }
  EXPECT_EQ(memo.Text(), "p\r\nq\r\n");
  EXPECT_EQ(GetPropInfo(&memo, "PasswordChar"), nullptr);
  EXPECT_NE(GetPropInfo(&combo, "OnDrawItem"), nullptr);
}

}  // namespace
}  // namespace qv

// Program-painted radio buttons and the radio group built of them: caption
// offsets and painting, exclusivity, the group's items, choice, columns and
// arrangement, and clicks and keys passed on to the group.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/QvRadio.h"
#include "platform/ui/Application.h"
#include "platform/ui/ControlObserver.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Panel.h"
#include "platform/ui/controls/RadioButton.h"
#include "support/FormTest.h"

namespace qv {
namespace {

class EventLog : public TObject {
 public:
  void Clicked(TObject* sender) { clicks.push_back(sender); }
  void KeyDown(TObject*, Word& key, TShiftState) { keys.push_back(key); }
  void KeyPress(TObject*, std::string& key) { pressed += key; }
  std::vector<TObject*> clicks;
  std::vector<Word> keys;
  std::string pressed;
};

class RadioTest : public test::FormTest<> {
 protected:
  TQvRadioGroup* Group(std::initializer_list<std::string> items) {
    auto* group = &Add<TQvRadioGroup>();
    TStringList list(items);
    group->SetItems(&list);
    group->OnClick = MethodOf<&EventLog::Clicked>(&log);
    return group;
  }

  EventLog log;
};

TEST(QvRadioButtonOffset, FollowsTheFontSizeSteps) {
  const std::vector<std::pair<int, int>> cases = {
      {-2, 44}, {0, 44},  {1, 17},  {8, 17},  {9, 19},  {15, 19}, {16, 20}, {17, 20}, {18, 21}, {23, 21}, {24, 23}, {29, 23},
      {30, 25}, {35, 25}, {36, 27}, {41, 27}, {42, 29}, {43, 29}, {44, 31}, {60, 31}, {61, 39}, {80, 39}, {81, 44}};
  for (const auto& [size, offset] : cases) EXPECT_EQ(TQvRadioButton::CaptionOffset(size), offset) << "size " << size;
}

TEST_F(RadioTest, PaintsTheBackgroundThenTheCaptionAtTheOffset) {
  auto* button = &Add<TQvRadioButton>();
  button->SetCaption("&Yes");
  button->Font().SetSize(9);  // 12 pixels high: offset 19
  button->Canvas().TextOut(0, 0, "left over");
  button->Paint();
  const auto& ops = button->Canvas().Operations();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].Kind, DrawKind::Rectangle);
  EXPECT_EQ(ops[0].Rect, (TRect{15, -4, 117, 21}));
  EXPECT_EQ(ops[0].Color, clBtnFace);
  EXPECT_EQ(ops[0].FillColor, clBtnFace);
  EXPECT_EQ(ops[1].Kind, DrawKind::TextRect);
  EXPECT_EQ(ops[1].Rect, (TRect{19, 0, 113, 17}));
  EXPECT_EQ(ops[1].Origin, (TPoint{19, 2}));
  EXPECT_EQ(ops[1].Text, "Yes");
  EXPECT_EQ(ops[1].FillColor, clNone);
  EXPECT_EQ(ops[1].Font.Height, -12);
}

TEST_F(RadioTest, StartsAs113By17WithoutTabStop) {
  auto* button = &Add<TQvRadioButton>();
  EXPECT_EQ(button->Width(), 113);
  EXPECT_EQ(button->Height(), 17);
  EXPECT_FALSE(button->TabStop());
  EXPECT_EQ(button->Alignment(), taRightJustify);
}

TEST_F(RadioTest, AnEnabledChangeRepaints) {
  auto* button = &Add<TQvRadioButton>();
  struct Recorder : ControlObserver {
    Recorder() { Install(this); }
    ~Recorder() override { Install(nullptr); }
    void ControlChanged(TControl& c, ControlChange change) override {
      if (change == ControlChange::Content) changed.push_back(&c);
    }
    std::vector<TControl*> changed;
  } recorder;
  button->SetEnabled(false);
  EXPECT_EQ(recorder.changed, std::vector<TControl*>{button});
}

TEST_F(RadioTest, CheckingUnchecksTheOtherQvButtonsOfTheParentOnly) {
  auto* panel = &Add<TPanel>();
  auto* a = &Add<TQvRadioButton>(panel);
  auto* b = &Add<TQvRadioButton>(panel);
  auto* stock = &Add<TRadioButton>(panel);
  auto* elsewhere = &Add<TQvRadioButton>();
  a->SetChecked(true);
  stock->SetChecked(true);
  elsewhere->SetChecked(true);
  b->OnClick = MethodOf<&EventLog::Clicked>(&log);

  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(stock->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_FALSE(a->TabStop());
  EXPECT_TRUE(b->TabStop());
  EXPECT_EQ(log.clicks, std::vector<TObject*>{b});
}

TEST_F(RadioTest, CheckingWhileLoadingRaisesNoClick) {
  auto* button = &Add<TQvRadioButton>();
  button->OnClick = MethodOf<&EventLog::Clicked>(&log);
  {
    LoadingScope loading(*form);
    button->SetChecked(true);
  }
  EXPECT_TRUE(button->Checked());
  EXPECT_TRUE(log.clicks.empty());
}

TEST_F(RadioTest, AUsersClickChecksAndClicksOnce) {
  auto* a = &Add<TQvRadioButton>();
  auto* b = &Add<TQvRadioButton>();
  a->SetChecked(true);
  b->OnClick = MethodOf<&EventLog::Clicked>(&log);
  input::Click(*b);
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(log.clicks, std::vector<TObject*>{b});
}

// ---- the group ----

TEST_F(RadioTest, GroupButtonsFollowTheItems) {
  TQvRadioGroup* group = Group({"One", "Two", "Three"});
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->Buttons(2)->Caption(), "Three");
  EXPECT_EQ(group->Buttons(0)->Parent(), group);
  EXPECT_EQ(group->Buttons(0)->Owner(), group);
  EXPECT_EQ(group->Buttons(0)->Name(), "");
  group->SetItemIndex(2);
  group->Items()->Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  group->Items()->SetStrings(0, "Uno");
  EXPECT_EQ(group->Buttons(0)->Caption(), "Uno");
  group->Items()->Clear();
  EXPECT_EQ(group->ButtonCount(), 0);
  EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(RadioTest, ItemIndexIsClampedAndMovesTheCheck) {
  TQvRadioGroup* group = Group({"One", "Two", "Three"});
  struct Case {
    int set, expected;
  };
  for (const Case& c : {Case{1, 1}, Case{5, 2}, Case{-7, -1}, Case{0, 0}}) {
    SCOPED_TRACE(c.set);
    group->SetItemIndex(c.set);
    EXPECT_EQ(group->ItemIndex(), c.expected);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(group->Buttons(i)->Checked(), i == c.expected) << "button " << i;
  }
}

TEST_F(RadioTest, ItemIndexReadWhileLoadingIsKeptUntilLoaded) {
  auto* group = &Add<TQvRadioGroup>();
  {
    LoadingScope loading(*form);
    group->SetItemIndex(1);
    EXPECT_EQ(group->ItemIndex(), 1);
    group->Items()->Add("One");
    group->Items()->Add("Two");
    EXPECT_EQ(group->ButtonCount(), 0);
  }
  ASSERT_EQ(group->ButtonCount(), 2);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_EQ(group->ItemIndex(), 1);
}

TEST_F(RadioTest, AnIndexNoItemHasIsBroughtInsideAfterLoading) {
  auto* group = &Add<TQvRadioGroup>();
  {
    LoadingScope loading(*form);
    group->Items()->Add("One");
    group->SetItemIndex(7);
  }
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_TRUE(group->Buttons(0)->Checked());
}

TEST_F(RadioTest, ClickingAnItemChoosesItAndClicksTheGroup) {
  TQvRadioGroup* group = Group({"One", "Two", "Three"});
  group->SetItemIndex(0);
  log.clicks.clear();
  input::Click(*group->Buttons(2));
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_FALSE(group->Buttons(0)->Checked());
  EXPECT_EQ(log.clicks, std::vector<TObject*>{group});
}

TEST_F(RadioTest, ChoosingByProgramClicksTheGroupAsTheCheckedButtonDoes) {
  TQvRadioGroup* group = Group({"One", "Two"});
  group->SetItemIndex(1);
  EXPECT_EQ(log.clicks, std::vector<TObject*>{group});
  group->SetItemIndex(1);
  EXPECT_EQ(log.clicks.size(), 1u);
}

TEST_F(RadioTest, KeysOnAButtonReachTheGroup) {
  TQvRadioGroup* group = Group({"One", "Two"});
  group->OnKeyDown = MethodOf<&EventLog::KeyDown>(&log);
  group->OnKeyPress = MethodOf<&EventLog::KeyPress>(&log);
  group->SetItemIndex(0);
  input::Focus(*group->Buttons(0));
  input::Key(*group->Buttons(0), 'A');
  EXPECT_EQ(log.keys, std::vector<Word>{'A'});
  EXPECT_EQ(log.pressed, "a");
}

TEST_F(RadioTest, ColumnsStayBetweenOneAndSixteen) {
  TQvRadioGroup* group = Group({});
  EXPECT_EQ(group->Columns(), 1);
  for (const auto& [set, expected] : std::vector<std::pair<int, int>>{{0, 1}, {20, 16}, {16, 16}, {-3, 1}, {2, 2}}) {
    group->SetColumns(set);
    EXPECT_EQ(group->Columns(), expected) << "set " << set;
  }
}

// Font height 13. Width 185: columns (185 − 10) div c wide at x 8 + column ×
// width; below the caption 13 + 5 the rest is shared by the rows, and half the
// remainder goes above the first row.
TEST_F(RadioTest, ButtonsAreArrangedInColumnsBelowTheCaption) {
  struct Case {
    int items, columns, height;
    std::vector<TRect> bounds;  // left, top, right, bottom
  };
  const std::vector<Case> cases = {
      {5, 2, 105, {{8, 14, 95, 43}, {8, 43, 95, 72}, {8, 72, 95, 101}, {95, 14, 182, 43}, {95, 43, 182, 72}}},
      {3, 1, 101, {{8, 15, 183, 42}, {8, 42, 183, 69}, {8, 69, 183, 96}}},
      {2, 3, 105, {{8, 14, 66, 101}, {66, 14, 124, 101}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.items) + " items, " + std::to_string(c.columns) + " columns");
    TQvRadioGroup* group = Group({});
    group->SetBounds(0, 0, 185, c.height);
    group->SetColumns(c.columns);
    for (int i = 0; i < c.items; ++i) group->Items()->Add("Item " + std::to_string(i));
    ASSERT_EQ(group->ButtonCount(), c.items);
    for (int i = 0; i < c.items; ++i) EXPECT_EQ(group->Buttons(i)->BoundsRect(), c.bounds[static_cast<std::size_t>(i)]) << "item " << i;
  }
}

TEST_F(RadioTest, ResizingAndFontChangesArrangeAgain) {
  TQvRadioGroup* group = Group({"One", "Two"});
  group->SetBounds(0, 0, 185, 105);
  group->SetWidth(210);
  EXPECT_EQ(group->Buttons(0)->Width(), 200);
  group->Font().SetHeight(-21);  // free height 105 − 21 − 5 = 79: rows of 39, top 21 + 1 + 0
  EXPECT_EQ(group->Buttons(1)->BoundsRect(), (TRect{8, 61, 208, 100}));
}

}  // namespace
}  // namespace qv

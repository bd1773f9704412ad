// The selection panel: ordering on exit for every value type, reading typed
// dates, rows with padding, duplicates and sorting, failing handlers, styles
// with their size exchange, layout, enabled state, the lookup request and its
// glyphs, column captions and the events forwarded from its controls.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DialogRecorder.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/GlyphLibrary.h"
#include "controls/SelectPnl.h"
#include "platform/core/TypInfo.h"
#include "platform/system/IcuLocaleText.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Edit.h"

namespace qv {
namespace {

class TPanelForm : public TForm {
  QV_OBJECT(TPanelForm, TForm)
  explicit TPanelForm(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 500, 300);
    panel = new TSelectPanel(this);
    panel->SetName("spItem");
    panel->SetParent(this);
    other = new TEdit(this);
    other->SetName("edOther");
    other->SetParent(this);
    other->SetTop(200);
  }
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_LOOKUPREQUEST) lookups.push_back(reinterpret_cast<TControl*>(message.LParam));
    TForm::WndProc(message);
  }
  void StyleChanging(TObject*, TSelectStyle, TSelectStyle& newStyle, bool& accept) {
    accept = acceptStyle;
    if (replaceStyle) newStyle = *replaceStyle;
  }
  void StyleChange(TObject*, TSelectStyle oldStyle, TSelectStyle newStyle) {
    changes.push_back({oldStyle, newStyle});
  }

  TSelectPanel* panel;
  TEdit* other;
  std::vector<TControl*> lookups;
  bool acceptStyle = true;
  std::optional<TSelectStyle> replaceStyle;
  std::vector<std::pair<TSelectStyle, TSelectStyle>> changes;
};

const TClass& TPanelForm::StaticClass() {
  static const TClass cls = ClassBuilder<TPanelForm>("TPanelForm", &TForm::StaticClass());
  return cls;
}

class SelectPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TPanelForm>(nullptr);
    panel = form->panel;
  }
  void TearDown() override { TObject::Free(form); }

  // Types a range and leaves the panel, as a user would.
  std::pair<std::string, std::string> ExitWith(const std::string& begin, const std::string& final) {
    if (!form->Visible()) form->Show();
    panel->edBegin->SetText(begin);
    panel->edFinal->SetText(final);
    panel->edBegin->SetFocus();
    form->other->SetFocus();
    return {panel->edBegin->Text(), panel->edFinal->Text()};
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (TListItem* item : panel->Items()) captions.push_back(item->Caption());
    return captions;
  }

  TPanelForm* form;
  TSelectPanel* panel;
};

using Range = std::pair<std::string, std::string>;

TEST_F(SelectPanelTest, OrderingOnExitByValueType) {
  const struct {
    TValueType type;
    TDateType dateType;
    Range typed, ordered;
  } cases[] = {
      {vt_String, dt_NoneCare, {"20050301", "20050101"}, {"20050101", "20050301"}},
      {vt_String, dt_NoneCare, {"20050301", ""}, {"20050301", ""}},
      {vt_String, dt_NoneCare, {" b ", " a"}, {"a", "b"}},  // trimmed first
      {vt_Number, dt_NoneCare, {"7", "x"}, {"x", "7"}},       // x counts as 0
      {vt_Number, dt_NoneCare, {"x", "7"}, {"x", "7"}},
      {vt_Number, dt_NoneCare, {"10", "9"}, {"9", "10"}},     // by value, not by text
      {vt_Date, dt_YYYYMMDD, {"2005/03", "2005/01/15"}, {"2005/01/15", "2005/03"}},
      {vt_Date, dt_YYYYMMDD, {"2005/01/15", "2005/13/45"}, {"2005/13/45", "2005/01/15"}},
      {vt_Date, dt_YYMMDD, {"95/01/01", "94/12/31"}, {"94/12/31", "95/01/01"}},
      {vt_Date, dt_NoneCare, {"b", "a"}, {"a", "b"}},
      {vt_Float, dt_NoneCare, {"10.5", "9.75"}, {"9.75", "10.5"}},
      {vt_Float, dt_NoneCare, {"1.05", "1.5"}, {"1.05", "1.5"}},  // the fraction's zeros count
      // Between -1 and 0 the whole part is "-0": the sign stays with the value.
      {vt_Float, dt_NoneCare, {"-0.5", "0.25"}, {"-0.5", "0.25"}},
      {vt_Float, dt_NoneCare, {"0.25", "-0.5"}, {"-0.5", "0.25"}},
      {vt_Float, dt_NoneCare, {"-0.25", "-0.5"}, {"-0.5", "-0.25"}},
      {vt_Float, dt_NoneCare, {"-00.5", "-1.5"}, {"-1.5", "-0.5"}},
      {vt_OtherMask, dt_NoneCare, {"b", "a"}, {"b", "a"}},
  };
  for (const auto& c : cases) {
    panel->SetValueType(c.type);
    panel->SetDateType(c.dateType);
    EXPECT_EQ(ExitWith(c.typed.first, c.typed.second), c.ordered)
        << ValueTypeType().NameOf(c.type) << " " << c.typed.first << " / " << c.typed.second;
  }
}

TEST_F(SelectPanelTest, DatesAreLeftAloneWhenAskedOrDiscarded) {
  panel->SetValueType(vt_Date);
  panel->SetDateType(dt_YYYYMMDD);
  panel->SetAutoChangeDateSite(false);
  EXPECT_EQ(ExitWith("2005/03/01", "2005/01/01"), (Range{"2005/03/01", "2005/01/01"}));
  panel->SetAutoChangeDateSite(true);
  panel->SetUseDiscard(true);
  panel->SetDiscard("9999/99/99");
  EXPECT_EQ(ExitWith("9999/99/99", "2005/01/01"), (Range{"9999/99/99", "2005/01/01"}));
  panel->SetUseDiscard(false);
  EXPECT_EQ(ExitWith("2005/03/01", "2005/01/01"), (Range{"2005/01/01", "2005/03/01"}));
}

TEST_F(SelectPanelTest, MaskedTextsKeepTheirBlanksAndBlankTextsAreNotOrdered) {
  panel->SetValueType(vt_String);
  panel->SetEditMask("!9999/99/99;1;_");
  EXPECT_EQ(panel->BlankText(), "    /  /  ");
  EXPECT_EQ(ExitWith("2005/03/01", ""), (Range{"2005/03/01", "    /  /  "}));
  EXPECT_EQ(ExitWith("2005/03/01", "2005/01/01"), (Range{"2005/01/01", "2005/03/01"}));
}

TEST_F(SelectPanelTest, ExitEventComesAfterTheOrdering) {
  struct Watch : TObject {
    TSelectPanel* panel;
    std::string seen;
    void Exited(TObject*) { seen = panel->edBegin->Text(); }
  } watch;
  watch.panel = panel;
  panel->OnExit = MethodOf<&Watch::Exited>(&watch);
  ExitWith("b", "a");
  EXPECT_EQ(watch.seen, "a");
}

TEST_F(SelectPanelTest, ReadingTypedDates) {
  const struct {
    TDateType type;
    const char* text;
    int year, month, day;  // 0: unreadable
  } cases[] = {
      {dt_YYYYMMDD, "2005/03/07", 2005, 3, 7}, {dt_YYYYMMDD, "2005/03", 2005, 3, 1},
      {dt_MMDDYYYY, "03/07/2005", 2005, 3, 7}, {dt_MMDDYYYY, "03/2005", 2005, 3, 1},
      {dt_DDMMYYYY, "07/03/2005", 2005, 3, 7}, {dt_DDMMYYYY, "03/2005", 2005, 3, 1},
      {dt_YYMMDD, "94/01/01", 2005, 1, 1},     {dt_YYYMMDD, "094/02/28", 2005, 2, 28},
      {dt_YYYYMMDD, "2005/13/45", 0, 0, 0},    {dt_YYYYMMDD, "2005/02/30", 0, 0, 0},
      {dt_YYYYMMDD, "2005", 0, 0, 0},          {dt_YYYYMMDD, "2005/1/2/3", 0, 0, 0},
      {dt_YYYYMMDD, "2005/x/01", 0, 0, 0},     {dt_YYYYMMDD, "  ", 0, 0, 0},
  };
  for (const auto& c : cases) {
    panel->SetDateType(c.type);
    const TDateTime expected = c.year ? EncodeDate(c.year, c.month, c.day) : 0;
    EXPECT_DOUBLE_EQ(panel->ParseDateText(c.text), expected) << c.text;
  }
}

TEST_F(SelectPanelTest, RowsArePaddedAndColumnsMadeAsNeeded) {
  EXPECT_FALSE(panel->ListBox->AddRow({}));
  ASSERT_TRUE(panel->ListBox->AddRow({"A01", "螺丝", "10"}));
  ASSERT_TRUE(panel->ListBox->AddRow({"B02"}));
  ASSERT_EQ(panel->Columns().Count(), 3);
  EXPECT_EQ(panel->Columns()[0]->Caption(), "Data1");
  EXPECT_EQ(panel->Columns()[2]->Caption(), "Data3");
  TListItem* second = panel->Items()[1];
  EXPECT_EQ(second->SubItems().Count(), 2);  // padded with empty texts
  EXPECT_EQ(second->SubItems()[1], "");
  ASSERT_TRUE(panel->ListBox->AddRow({"C03", "x", "y", "z"}));  // a longer row pads all the others
  for (TListItem* item : panel->Items()) EXPECT_EQ(item->SubItems().Count(), 3) << item->Caption();
}

// Font height 13: a "W" is 7 wide, so a column is 7 per character.
TEST_F(SelectPanelTest, ColumnsFitTheirLongestText) {
  panel->ListBox->AddRow({"A1", "螺丝钉"});
  panel->ListBox->AddRow({"ABCDEFG", "x"});
  EXPECT_EQ(panel->Columns()[0]->Width(), 49);
  EXPECT_EQ(panel->Columns()[1]->Width(), 35);  // "Data2" is longer than any value
  panel->SetCheckDuplicate(cd_CaseInsensitive);  // sorts: "A1", "ABCDEFG"
  // Equal captions sort by column 1, so the new row comes first and the old
  // one, after it, is the duplicate removed: its width goes with it.
  panel->ListBox->AddRow({"abcdefg", "a much longer text"});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A1", "abcdefg"}));
  EXPECT_EQ(panel->Columns()[1]->Width(), 126);
  panel->ListBox->AddRow({"abcdefg", "zz"});  // sorts after the row it repeats: removed itself
  EXPECT_EQ(panel->Items().Count(), 2);
  EXPECT_EQ(panel->Items()[1]->SubItems()[0], "a much longer text");
  panel->SetColumnsAutoSize(false);
  panel->ListBox->AddRow({"Z", "an even longer text than that one"});
  EXPECT_EQ(panel->Columns()[1]->Width(), 126);
}

// Raises from the handlers of the list while told to.
struct FailingHandlers : TObject {
  bool failing = true;
  void Deletion(TObject*, TListItem*) { Fail(); }
  void ItemChange(TObject*, TListItem*, TItemChange) { Fail(); }
  void Fail() const {
    if (failing) throw Exception("refused by the handler");
  }
};

// AddRow swallows what a handler raises and answers false; the rows it
// placed stay, and the next row is counted and checked with all of them.
TEST_F(SelectPanelTest, AddRowSwallowsAFailingHandler) {
  using Rows = std::vector<std::string>;
  const struct {
    const char* what;
    std::function<void(FailingHandlers&)> install;
    std::vector<std::string> failingRow;
    Rows afterFailure, afterNext;
    int secondColumnWidth;  // after the next row
  } cases[] = {
      {"deletion of the repeated row",
       [&](FailingHandlers& h) { panel->ListBox->OnDeletion = MethodOf<&FailingHandlers::Deletion>(&h); },
       {"x", "a much longer text"}, {"x", "x"}, {"x", "y"}, 35},  // the repeat goes, and its text
      {"change of the new row",
       [&](FailingHandlers& h) { panel->OnItemChange = MethodOf<&FailingHandlers::ItemChange>(&h); },
       {"z", "a much longer text"}, {"x", "z"}, {"x", "y", "z"}, 126},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FailingHandlers handlers;
    panel->ListBox->ClearRows();
    panel->SetCheckDuplicate(cd_CheckCase);
    ASSERT_TRUE(panel->ListBox->AddRow({"x"}));
    c.install(handlers);
    EXPECT_FALSE(panel->ListBox->AddRow(c.failingRow));
    EXPECT_EQ(Captions(), c.afterFailure);
    handlers.failing = false;
    ASSERT_TRUE(panel->ListBox->AddRow({"y"}));
    EXPECT_EQ(Captions(), c.afterNext);
    EXPECT_EQ(panel->Columns()[1]->Width(), c.secondColumnWidth);
    panel->ListBox->OnDeletion.Clear();
    panel->OnItemChange.Clear();
  }
}

// A deletion handler that raises in the middle of a duplicate pass leaves the
// list keeping its books: later edits count and the columns fit them.
TEST_F(SelectPanelTest, ADeletionHandlerThatRaisesLeavesTheRowBookkeepingWhole) {
  FailingHandlers handlers;
  panel->SetStyle(sp_Discrete);
  for (const char* value : {"a", "a"}) panel->ListBox->AddRow({value});
  panel->ListBox->OnDeletion = MethodOf<&FailingHandlers::Deletion>(&handlers);
  EXPECT_THROW(panel->SetCheckDuplicate(cd_CheckCase), Exception);
  handlers.failing = false;
  ASSERT_EQ(panel->Items().Count(), 2);
  panel->Items()[1]->SetCaption("a much longer text");
  ASSERT_TRUE(panel->ListBox->AddRow({"b"}));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a", "a much longer text", "b"}));
  EXPECT_EQ(panel->Columns()[0]->Width(), 126);
}

TEST_F(SelectPanelTest, ItemsAreWrittenAsCopiesOfTheRows) {
  TListView source(nullptr);
  source.Items().AddItem("A01", {"螺丝"});
  source.Items().AddItem("B02", {"a much longer text"});
  panel->ListBox->AddRow({"old"});
  const TPropInfo& items = *GetPropInfo(panel, "Items");
  SetObjectProp(*panel, items, &source.Items());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A01", "B02"}));
  EXPECT_EQ(panel->Items()[1]->SubItems()[0], "a much longer text");
  EXPECT_NE(GetObjectProp(*panel, items), &source.Items());
  source.Items()[0]->SetCaption("changed");
  EXPECT_EQ(panel->Items()[0]->Caption(), "A01");
  ASSERT_TRUE(panel->ListBox->AddRow({"C03", "弹簧"}));  // the copies are counted with the new row
  EXPECT_EQ(panel->Columns()[1]->Width(), 126);
  EXPECT_THROW(SetObjectProp(*panel, items, nullptr), EConvertError);
  EXPECT_EQ(panel->Items().Count(), 3);
}

TEST_F(SelectPanelTest, DuplicatesByCaseRule) {
  const struct {
    TCheckDuplicate check;
    std::vector<std::string> expected;
  } cases[] = {
      {cd_None, {"ABC", "abc"}},
      {cd_CheckCase, {"ABC", "abc"}},
      {cd_CaseInsensitive, {"ABC"}},
  };
  for (const auto& c : cases) {
    panel->ListBox->ClearRows();
    panel->SetCheckDuplicate(c.check);
    panel->ListBox->AddRow({"ABC"});
    panel->ListBox->AddRow({"abc"});
    EXPECT_EQ(Captions(), c.expected) << CheckDuplicateType().NameOf(c.check);
  }
}

TEST_F(SelectPanelTest, RowsSortAndRepeatInTheUsersLocale) {
  ScopedTextLocale locale("zh_CN.UTF-8");
  panel->SetCheckDuplicate(cd_CaseInsensitive);
  for (const char* value : {"中", "Émile", "北", "émile", "啊"}) panel->ListBox->AddRow({value});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"啊", "北", "中", "Émile"}));
}

TEST_F(SelectPanelTest, CheckingDuplicatesSortsTheList) {
  panel->SetStyle(sp_Discrete);
  for (const char* value : {"b", "a", "B", "c", "a"}) panel->ListBox->AddRow({value});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"b", "a", "B", "c", "a"}));
  panel->SetCheckDuplicate(cd_CheckCase);  // the list part is shown: removed at once
  EXPECT_TRUE(panel->SortListBox());
  EXPECT_EQ(panel->ListBox->SortType(), stBoth);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a", "b", "B", "c"}));
  panel->ListBox->AddRow({"B"});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a", "b", "B", "c"}));
  panel->SetCheckDuplicate(cd_CaseInsensitive);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(SelectPanelTest, DuplicatesLeftByAnEarlierModeGoAtTheNextRow) {
  for (const char* value : {"x", "x", "y"}) panel->ListBox->AddRow({value});
  panel->SetCheckDuplicate(cd_CheckCase);  // range part shown: nothing removed yet
  EXPECT_EQ(panel->Items().Count(), 3);
  panel->ListBox->AddRow({"z"});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"x", "y", "z"}));
}

TEST_F(SelectPanelTest, SortingByColumnClicks) {
  panel->SetSortListBox(true);
  panel->ListBox->AddRow({"b", "2"});
  panel->ListBox->AddRow({"a", "2"});
  panel->ListBox->AddRow({"c", "1"});
  panel->ListBox->AddRow({"a", "1"});
  auto rows = [&] {
    std::vector<std::string> texts;
    for (TListItem* item : panel->Items()) texts.push_back(item->Caption() + item->SubItems()[0]);
    return texts;
  };
  EXPECT_EQ(rows(), (std::vector<std::string>{"a1", "a2", "b2", "c1"}));
  TListColumn* second = panel->Columns()[1];
  panel->ListBox->OnColumnClick(panel->ListBox, second);
  EXPECT_EQ(rows(), (std::vector<std::string>{"a1", "c1", "a2", "b2"}));  // column 1, then caption
  panel->ListBox->OnColumnClick(panel->ListBox, second);
  EXPECT_FALSE(panel->SortAscending());
  EXPECT_EQ(rows(), (std::vector<std::string>{"b2", "a2", "c1", "a1"}));
}

TEST_F(SelectPanelTest, UserChoiceAndVerticalOnlyInTheirStyles) {
  panel->SetUserChoice(false);  // a range panel: not even stored
  EXPECT_TRUE(panel->UserChoice());
  panel->SetStyle(sp_Discrete);
  const TRect before = panel->BoundsRect();
  panel->SetUseVertical(true);
  EXPECT_FALSE(panel->UseVertical());
  EXPECT_EQ(panel->BoundsRect(), before);
}

TEST_F(SelectPanelTest, StyleChangesExchangeSizesOnlyAroundTheOneRowRange) {
  panel->SetBounds(0, 0, 353, 64);
  panel->SetOtherWidth(170);
  panel->SetOtherHeight(101);
  panel->SetStyle(sp_Discrete);
  EXPECT_EQ(std::pair(panel->Width(), panel->Height()), std::pair(170, 101));
  EXPECT_EQ(std::pair(panel->OtherWidth(), panel->OtherHeight()), std::pair(353, 64));
  panel->SetStyle(sp_UserChoice);
  EXPECT_EQ(std::pair(panel->Width(), panel->Height()), std::pair(170, 101));
  panel->SetStyle(sp_Range);
  EXPECT_EQ(std::pair(panel->Width(), panel->Height()), std::pair(353, 64));
  panel->SetUseVertical(true);  // the two-row range takes the other size…
  EXPECT_EQ(std::pair(panel->Width(), panel->Height()), std::pair(170, 101));
  panel->SetStyle(sp_Discrete);  // …and keeps it into the list style
  EXPECT_EQ(std::pair(panel->Width(), panel->Height()), std::pair(170, 101));
}

TEST_F(SelectPanelTest, StyleChangingMayRefuseOrRedirect) {
  panel->OnStyleChanging = MethodOf<&TPanelForm::StyleChanging>(form);
  panel->OnStyleChange = MethodOf<&TPanelForm::StyleChange>(form);
  form->Show();
  form->acceptStyle = false;
  panel->SetStyle(sp_Discrete);
  EXPECT_EQ(panel->Style(), sp_Range);
  EXPECT_TRUE(panel->pnlRange->Visible());
  EXPECT_FALSE(panel->pnlDiscrete->Visible());
  EXPECT_TRUE(form->changes.empty());
  form->acceptStyle = true;
  form->replaceStyle = sp_UserChoice;
  panel->SetStyle(sp_Discrete);
  EXPECT_EQ(panel->Style(), sp_UserChoice);
  EXPECT_EQ(form->changes, (std::vector<std::pair<TSelectStyle, TSelectStyle>>{{sp_Range, sp_UserChoice}}));
  EXPECT_TRUE(panel->chkUserChoice->Visible());
}

TEST_F(SelectPanelTest, SwitchingBetweenRangeAndList) {
  form->Show();
  panel->SetStyle(sp_UserChoice);
  panel->SetUserChoice(true);
  EXPECT_TRUE(panel->IsRangeShown());
  EXPECT_TRUE(panel->pnlRange->Visible());
  input::Click(*panel->chkUserChoice);
  EXPECT_FALSE(panel->UserChoice());
  EXPECT_FALSE(panel->pnlRange->Visible());
  EXPECT_TRUE(panel->pnlDiscrete->Visible());
  panel->SetFocus();  // the list part is shown: the focus goes on to the list
  EXPECT_TRUE(panel->ListBox->Focused());
  SetPropText(*panel, *GetPropInfo(panel, "UserChoice"), "True");
  EXPECT_TRUE(panel->pnlRange->Visible());
  EXPECT_EQ(GetPropText(*panel, *GetPropInfo(panel, "Style")), "sp_UserChoice");
}

TEST_F(SelectPanelTest, OneRowLayout) {
  // Font height 13: caption band 13, frame at (2, 16) and 348 × 26.
  EXPECT_EQ(panel->pnlRange->BoundsRect(), (TRect{2, 16, 350, 42}));
  EXPECT_EQ(panel->lblBegin->BoundsRect(), (TRect{2, 1, 15, 14}));
  EXPECT_EQ(panel->edBegin->BoundsRect(), (TRect{16, 1, 148, 25}));
  EXPECT_EQ(panel->btnBegin->Left(), 150);
  EXPECT_EQ(panel->lblFinal->Left(), 175);
  EXPECT_EQ(panel->edFinal->BoundsRect(), (TRect{190, 1, 322, 25}));
  EXPECT_EQ(panel->btnFinal->Left(), 324);
  panel->SetCanOpenWin(false);
  EXPECT_FALSE(panel->btnBegin->Visible());
  EXPECT_EQ(panel->edBegin->BoundsRect(), (TRect{16, 1, 173, 25}));
  EXPECT_EQ(panel->lblFinal->Left(), 177);
  EXPECT_EQ(panel->edFinal->BoundsRect(), (TRect{192, 1, 349, 25}));
}

TEST_F(SelectPanelTest, APanelBuiltWhileItsFormLoadsIsLaidOutWhenLoadingEnds) {
  TSelectPanel* loaded;
  {
    LoadingScope loading(*form);
    loaded = new TSelectPanel(form);
    loaded->SetParent(form);
  }
  EXPECT_FALSE(loaded->lblBegin->HasState(ComponentStateFlag::Loading));
  EXPECT_EQ(loaded->lblBegin->BoundsRect(), (TRect{2, 1, 15, 14}));  // sized to "起"
  EXPECT_EQ(loaded->edBegin->BoundsRect(), (TRect{16, 1, 148, 25}));
  EXPECT_EQ(loaded->edFinal->BoundsRect(), (TRect{190, 1, 322, 25}));
}

TEST_F(SelectPanelTest, WordListsAndHints) {
  TStringList words{"自", "自从"};
  panel->SetBeginWords(&words);
  EXPECT_EQ(panel->lblBegin->Caption(), "自");
  panel->SetStyle(sp_UserChoice);
  EXPECT_EQ(panel->lblBegin->Caption(), "自从");  // the two-row layout reads entry 1
  TStringList empty;
  panel->SetBeginWords(&empty);
  EXPECT_EQ(panel->lblBegin->Caption(), "自从");  // an empty list leaves the label

  EXPECT_EQ(panel->edBegin->Hint(), "");  // defaults apply at the first change only
  TStringList hints{"h0", "h1"};
  panel->SetChildHints(&hints);
  EXPECT_EQ(panel->chkUserChoice->Hint(), "h0");
  EXPECT_EQ(panel->edBegin->Hint(), "h1");
  panel->SetChildHints(nullptr);
  EXPECT_EQ(panel->ChildHints()->Count(), 2);
}

TEST_F(SelectPanelTest, EnabledReachesEveryContainedControl) {
  panel->edFinal->SetEnabled(false);  // disabled on its own before
  panel->SetEnabled(false);
  for (TControl* c : std::initializer_list<TControl*>{panel->edBegin, panel->btnBegin, panel->ListBox,
                                                      panel->btnClear, panel->pnlDiscrete, panel->chkUserChoice})
    EXPECT_FALSE(c->Enabled());
  panel->SetEnabled(true);
  EXPECT_TRUE(panel->edFinal->Enabled());
  EXPECT_TRUE(panel->btnClear->Enabled());
}

TEST_F(SelectPanelTest, LookupButtonsAskTheFormForALookup) {
  struct Watch : TObject {
    std::vector<TObject*> targets;
    void Opened(TObject*, TObject* target) { targets.push_back(target); }
  } watch;
  panel->OnOpenWinClick = MethodOf<&Watch::Opened>(&watch);
  form->Show();
  input::Click(*panel->btnFinal);
  ASSERT_EQ(form->lookups.size(), 1u);
  EXPECT_EQ(form->lookups[0], panel->edFinal);
  EXPECT_TRUE(panel->edFinal->Focused());
  EXPECT_EQ(watch.targets, std::vector<TObject*>{panel->edFinal});
}

// The lookup buttons take the number together. A glyph the library cannot
// give is reported by the button; should even the report fail, all three show
// glyph 0 and the panel keeps its number.
TEST_F(SelectPanelTest, GlyphIndexReachesTheThreeLookupButtons) {
  const struct {
    const char* what;
    const char* library;
    bool reportFails;
    int index, shown, kept;
  } cases[] = {
      {"a picture of the library", "FrResD5.so", false, 9, 9, 9},
      {"a picture without a size, reported", PQLR_MISBEHAVING_GLYPHS, false, 1, 1, 1},
      {"a picture without a size, its report failing", PQLR_MISBEHAVING_GLYPHS, true, 1, 0, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetGlyphLibraryPath("FrResD5.so");
    panel->SetGlyphIndex(8);
    SetGlyphLibraryPath(c.library);
    {
      test::DialogRecorder dialogs;
      if (c.reportFails)
        Application().SetPresenter(
            std::make_unique<HeadlessPresenter>([](TCustomForm&) -> void { throw Exception("no dialog"); }));
      panel->SetGlyphIndex(c.index);
    }
    for (TGSpeedButton* button : {static_cast<TGSpeedButton*>(panel->btnBegin),
                                  static_cast<TGSpeedButton*>(panel->btnFinal),
                                  static_cast<TGSpeedButton*>(panel->btnList)})
      EXPECT_EQ(button->GlyphIndex(), c.shown) << button->Name();
    EXPECT_EQ(panel->GlyphIndex(), c.kept);
    EXPECT_EQ(panel->btnDelete->GlyphIndex(), 47);
  }
  SetGlyphLibraryPath("FrResD5.so");
}

TEST_F(SelectPanelTest, ColumnCaptionsRebuildTheColumns) {
  const struct {
    const char* what;
    std::optional<std::vector<std::string>> captions;  // nullopt: no list
  } cases[] = {
      {"two captions", std::vector<std::string>{"代码", "名称"}},
      {"an empty list", std::vector<std::string>{}},
      {"no list", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    panel->ListBox->AddRow({"A01", "螺丝", "10"});  // three columns of their own
    TStringList captions;
    for (const std::string& caption : c.captions.value_or(std::vector<std::string>{})) captions.Add(caption);
    panel->SetColumnCaptions(c.captions ? &captions : nullptr);
    const std::vector<std::string> expected = c.captions.value_or(std::vector<std::string>{});
    ASSERT_EQ(panel->Columns().Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < panel->Columns().Count(); ++i) {
      EXPECT_EQ(panel->Columns()[i]->Caption(), expected[static_cast<std::size_t>(i)]);
      EXPECT_EQ(panel->Columns()[i]->WidthType(), ColumnTextWidth);
    }
    const std::unique_ptr<TStringList> read = panel->ColumnCaptions();
    EXPECT_EQ(read->Count(), static_cast<int>(expected.size()));
    read->Add("extra");  // a copy: the columns stay
    EXPECT_EQ(panel->Columns().Count(), static_cast<int>(expected.size()));
  }
}

TEST_F(SelectPanelTest, DeleteAndClearButtons) {
  struct Watch : TObject {
    bool accept = false;
    int clears = 0;
    void Deleting(TObject*, bool& accept_) { accept_ = accept; }
    void Cleared(TObject*) { ++clears; }
  } watch;
  panel->OnDeleteClick = MethodOf<&Watch::Deleting>(&watch);
  panel->OnClearClick = MethodOf<&Watch::Cleared>(&watch);
  form->Show();
  panel->SetStyle(sp_Discrete);
  for (const char* value : {"a", "b", "c"}) panel->ListBox->AddRow({value});
  panel->Items()[0]->SetSelected(true);
  panel->Items()[2]->SetSelected(true);
  input::Click(*panel->btnDelete);
  EXPECT_EQ(panel->Items().Count(), 3);  // refused
  watch.accept = true;
  input::Click(*panel->btnDelete);
  EXPECT_EQ(Captions(), std::vector<std::string>{"b"});
  input::Click(*panel->btnClear);
  EXPECT_EQ(panel->Items().Count(), 0);
  EXPECT_EQ(watch.clears, 1);
  EXPECT_TRUE(panel->ListBox->Focused());
}

// What the panel's own mouse, drag and dock events received.
struct Forwarded {
  std::string event;
  TObject* sender;
  TPoint point;
  friend bool operator==(const Forwarded&, const Forwarded&) = default;
};

struct ForwardLog : TObject {
  std::vector<Forwarded> events;
  TObject* dragSource = nullptr;
  void Note(const char* event, TObject* sender, int x, int y) { events.push_back({event, sender, {x, y}}); }
  void Down(TObject* s, TMouseButton, TShiftState, int x, int y) { Note("down", s, x, y); }
  void Move(TObject* s, TShiftState, int x, int y) { Note("move", s, x, y); }
  void Up(TObject* s, TMouseButton, TShiftState, int x, int y) { Note("up", s, x, y); }
  void DragDrop(TObject* s, TObject* source, int x, int y) {
    dragSource = source;
    Note("drop", s, x, y);
  }
  void DragOver(TObject* s, TObject*, int x, int y, TDragState, bool& accept) {
    accept = false;
    Note("over", s, x, y);
  }
  void StartDrag(TObject* s, TObject*&) { Note("start drag", s, 0, 0); }
  void EndDrag(TObject* s, TObject*, int x, int y) { Note("end drag", s, x, y); }
  void StartDock(TObject* s, TObject*&) { Note("start dock", s, 0, 0); }
  void EndDock(TObject* s, TObject*, int x, int y) { Note("end dock", s, x, y); }
};

// Mouse events reach the panel's own with the edits and the list as their
// sender in their own coordinates, and with the panel as sender for any other
// control, in the panel's coordinates. Font height 13: the range frame is at
// (2, 16) in the panel.
TEST_F(SelectPanelTest, MouseEventsAreForwardedFromEveryControl) {
  ForwardLog log;
  panel->OnMouseDown = MethodOf<&ForwardLog::Down>(&log);
  panel->OnMouseMove = MethodOf<&ForwardLog::Move>(&log);
  panel->OnMouseUp = MethodOf<&ForwardLog::Up>(&log);
  form->Show();
  const struct {
    const char* what;
    TControl* control;
    TPoint at;
    TObject* sender;
    TPoint forwarded;
  } cases[] = {
      {"begin label at (2, 1)", panel->lblBegin, {3, 4}, panel, {7, 21}},
      {"final label at (175, 1)", panel->lblFinal, {1, 1}, panel, {178, 18}},
      {"begin lookup button at (150, 1)", panel->btnBegin, {1, 2}, panel, {153, 19}},
      {"range frame", panel->pnlRange, {5, 5}, panel, {7, 21}},
      {"begin edit", panel->edBegin, {3, 4}, panel->edBegin, {3, 4}},
      {"final edit", panel->edFinal, {3, 4}, panel->edFinal, {3, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    log.events.clear();
    input::MouseDown(*c.control, mbLeft, 0, c.at.X, c.at.Y);
    c.control->MouseMove(0, c.at.X, c.at.Y);
    input::MouseUp(*c.control, mbLeft, 0, c.at.X, c.at.Y);
    EXPECT_EQ(log.events, (std::vector<Forwarded>{{"down", c.sender, c.forwarded},
                                                  {"move", c.sender, c.forwarded},
                                                  {"up", c.sender, c.forwarded}}));
  }
}

// Drag and dock events carry the panel as sender, their points converted to
// the panel's coordinates and the rest passed on.
TEST_F(SelectPanelTest, DragAndDockEventsAreForwardedAsThePanels) {
  ForwardLog log;
  panel->OnDragDrop = MethodOf<&ForwardLog::DragDrop>(&log);
  panel->OnDragOver = MethodOf<&ForwardLog::DragOver>(&log);
  panel->OnStartDrag = MethodOf<&ForwardLog::StartDrag>(&log);
  panel->OnEndDrag = MethodOf<&ForwardLog::EndDrag>(&log);
  panel->OnStartDock = MethodOf<&ForwardLog::StartDock>(&log);
  panel->OnEndDock = MethodOf<&ForwardLog::EndDock>(&log);
  const struct {
    const char* what;
    TControl* control;
    TPoint forwarded;  // of the point (3, 4)
  } cases[] = {
      {"begin label at (2, 1)", panel->lblBegin, {7, 21}},
      {"begin edit at (16, 1)", panel->edBegin, {21, 21}},
      {"list frame", panel->pnlDiscrete, {5, 20}},
      {"list", panel->ListBox, {5, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    log.events.clear();
    TControl& from = *c.control;
    TObject* dragObject = nullptr;
    bool accept = true;
    from.OnStartDrag(&from, dragObject);
    from.OnDragOver(&from, form->other, 3, 4, dsDragMove, accept);
    from.OnDragDrop(&from, form->other, 3, 4);
    from.OnEndDrag(&from, form->other, 3, 4);
    from.OnStartDock(&from, dragObject);
    from.OnEndDock(&from, form->other, 3, 4);
    EXPECT_FALSE(accept) << "the answer comes back";
    EXPECT_EQ(log.dragSource, form->other);
    EXPECT_EQ(log.events, (std::vector<Forwarded>{{"start drag", panel, {0, 0}},
                                                  {"over", panel, c.forwarded},
                                                  {"drop", panel, c.forwarded},
                                                  {"end drag", panel, c.forwarded},
                                                  {"start dock", panel, {0, 0}},
                                                  {"end dock", panel, c.forwarded}}));
  }
}

TEST_F(SelectPanelTest, KeysAreForwardedWithTheirControl) {
  struct Watch : TObject {
    TObject* sender = nullptr;
    void KeyDown(TObject* s, Word&, TShiftState) { sender = s; }
  } watch;
  panel->OnKeyDown = MethodOf<&Watch::KeyDown>(&watch);
  form->Show();
  panel->edFinal->SetFocus();
  input::Key(*panel->edFinal, VK_F2);
  EXPECT_EQ(watch.sender, panel->edFinal);
}

}  // namespace
}  // namespace qv

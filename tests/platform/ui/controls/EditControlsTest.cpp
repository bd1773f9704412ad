// Typing into edits, masked edits, memos and spin edits through the input
// API: caret, selection, UTF-8 text, refused characters, mask literals,
// the text of an empty masked edit, memo lines and the caret line.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/Memo.h"
#include "platform/ui/controls/SpinEdit.h"

namespace qv {
namespace {

// One step of user input: text typed character by character, or a key.
struct KeyStroke {
  Word Key;
  TShiftState Shift = 0;
};
using Step = std::variant<std::string, KeyStroke>;

void Perform(TWinControl& control, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    if (const auto* text = std::get_if<std::string>(&step))
      input::TypeText(control, *text);
    else
      input::Key(control, std::get<KeyStroke>(step).Key, std::get<KeyStroke>(step).Shift);
  }
}

class ChangeCounter : public TObject {
 public:
  void Count(TObject*) { ++changes; }
  int changes = 0;
};

// A shown form, so the controls on it take input.
class EditFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDateSeparator = FormatSettings().DateSeparator;
    FormatSettings().DateSeparator = '/';
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    form->Show();
  }
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
    FormatSettings().DateSeparator = savedDateSeparator;
  }
  template <class T>
  T& Add() {
    T* control = new T(form);
    control->SetParent(form);
    return *control;
  }

  TForm* form = nullptr;
  char savedDateSeparator = '/';
};

// ---- TEdit ----

struct EditTypingCase {
  const char* Name;
  std::string Initial;
  int SelStart, SelLength;
  std::vector<Step> Steps;
  std::string Expected;
  int ExpectedCaret;
};

class EditTypingTest : public EditFormTest, public ::testing::WithParamInterface<EditTypingCase> {};

TEST_P(EditTypingTest, TypingEditsAtTheCaret) {
  const EditTypingCase& c = GetParam();
  auto& edit = Add<TEdit>();
  edit.SetText(c.Initial);
  edit.SetSelStart(c.SelStart);
  edit.SetSelLength(c.SelLength);
  Perform(edit, c.Steps);
  EXPECT_EQ(edit.Text(), c.Expected);
  EXPECT_EQ(edit.SelStart(), c.ExpectedCaret);
  EXPECT_EQ(edit.SelLength(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Edit, EditTypingTest,
    ::testing::Values(
        EditTypingCase{"InsertsAtCaret", "abc", 1, 0, {std::string("X")}, "aXbc", 2},
        EditTypingCase{"ReplacesSelection", "abcdef", 1, 3, {std::string("Z")}, "aZef", 2},
        EditTypingCase{"BackspaceRemovesWholeChineseCharacter", "制表日期", 2, 0, {KeyStroke{VK_BACK}}, "制日期", 1},
        EditTypingCase{"BackspaceDeletesSelection", "制表日期", 1, 2, {KeyStroke{VK_BACK}}, "制期", 1},
        EditTypingCase{"ArrowsStepOverChineseCharacters", "制表日期", 4, 0,
                       {KeyStroke{VK_LEFT}, KeyStroke{VK_LEFT}, std::string("A")}, "制表A日期", 3},
        EditTypingCase{"DeleteRemovesForward", "制表", 0, 0, {KeyStroke{VK_DELETE}}, "表", 0},
        EditTypingCase{"EndThenTypeChinese", "ab", 0, 0, {KeyStroke{VK_END}, std::string("中文")}, "ab中文", 4},
        EditTypingCase{"HomeThenType", "ab", 2, 0, {KeyStroke{VK_HOME}, std::string("x")}, "xab", 1},
        EditTypingCase{"ShiftArrowSelectsThenTypingReplaces", "abc", 3, 0,
                       {KeyStroke{VK_LEFT, ssShift}, KeyStroke{VK_LEFT, ssShift}, std::string("Z")}, "aZ", 2},
        EditTypingCase{"LeftCollapsesSelectionToItsStart", "abcd", 1, 2, {KeyStroke{VK_LEFT}, std::string("_")},
                       "a_bcd", 2},
        EditTypingCase{"BackspaceAtStartDoesNothing", "ab", 0, 0, {KeyStroke{VK_BACK}}, "ab", 0},
        EditTypingCase{"EnterAndEscapeAreNotText", "ab", 2, 0, {KeyStroke{VK_RETURN}, KeyStroke{VK_ESCAPE}}, "ab",
                       2}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditFormTest, EditRaisesOnChangeForEveryTextChangeButNotWhileDesigning) {
  auto& edit = Add<TEdit>();
  ChangeCounter counter;
  edit.OnChange = MethodOf<&ChangeCounter::Count>(&counter);
  edit.SetText("ab");
  edit.SetText("ab");  // unchanged
  input::TypeText(edit, "中c");
  input::Key(edit, VK_BACK);
  EXPECT_EQ(counter.changes, 4);
  EXPECT_TRUE(edit.Modified());

  edit.SetDesigning(true);
  edit.SetText("designed");
  EXPECT_EQ(counter.changes, 4);
}

TEST_F(EditFormTest, ReadOnlyMaxLengthAndCharCaseRestrictTyping) {
  auto& edit = Add<TEdit>();
  ChangeCounter counter;
  edit.OnChange = MethodOf<&ChangeCounter::Count>(&counter);

  edit.SetReadOnly(true);
  input::TypeText(edit, "x");
  input::Key(edit, VK_DELETE);
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(counter.changes, 0);

  edit.SetReadOnly(false);
  edit.SetMaxLength(4);  // a Chinese character counts 2
  input::TypeText(edit, "ab中c");
  EXPECT_EQ(edit.Text(), "ab中");
  edit.SetText("longer than four");  // the program is not limited
  EXPECT_EQ(edit.Text(), "longer than four");

  edit.SetMaxLength(0);
  edit.SetText("");
  edit.SetCharCase(ecUpperCase);
  input::TypeText(edit, "ab中");
  EXPECT_EQ(edit.Text(), "AB中");
  edit.SetCharCase(ecLowerCase);
  EXPECT_EQ(edit.Text(), "ab中");
}

TEST_F(EditFormTest, AutoSelectOnEnterLetsTypingReplaceTheText) {
  auto& first = Add<TEdit>();
  auto& second = Add<TEdit>();
  first.SetText("hello");
  second.SetText("hello");
  second.SetAutoSelect(false);

  ASSERT_TRUE(input::Focus(first));
  EXPECT_EQ(first.SelText(), "hello");
  input::TypeText(first, "x");
  EXPECT_EQ(first.Text(), "x");

  ASSERT_TRUE(input::Focus(second));
  input::TypeText(second, "x");
  EXPECT_EQ(second.Text(), "xhello");
}

TEST_F(EditFormTest, MouseDownPutsTheCaretAtTheNearestCharacterBoundary) {
  auto& edit = Add<TEdit>();
  edit.SetText("ab制表");  // 7, 7, 13, 13 pixels wide at height 13
  const std::vector<std::pair<int, int>> clicks{{0, 0}, {3, 0}, {4, 1}, {10, 1}, {11, 2}, {21, 3}, {200, 4}};
  for (const auto& [x, caret] : clicks) {
    input::MouseDown(edit, mbLeft, ssLeft, x, 5);
    EXPECT_EQ(edit.SelStart(), caret) << "x = " << x;
  }
}

TEST_F(EditFormTest, PasswordCharMasksTheShownTextOnly) {
  auto& edit = Add<TEdit>();
  edit.SetPasswordChar('*');
  input::TypeText(edit, "密码ab");
  EXPECT_EQ(edit.DisplayText(), "****");
  EXPECT_EQ(edit.Text(), "密码ab");
}

// ---- TMaskEdit ----

struct EmptyMaskCase {
  std::string Mask;
  std::string Text;
  std::string EditText;
};

TEST_F(EditFormTest, EmptyMaskedEditGivesTheTextOfTheEmptyDisplay) {
  const std::vector<EmptyMaskCase> cases{
      {"!9999/99/99;1;_", "    /  /  ", "____/__/__"},
      {"!9999/99/99;0;_", "", "____/__/__"},
      {"(999)000;1;*", "(   )   ", "(***)***"},
      {"9999年99月;1;_", "    年  月", "____年__月"},
  };
  for (const EmptyMaskCase& c : cases) {
    auto& edit = Add<TMaskEdit>();
    edit.SetEditMask(c.Mask);
    EXPECT_TRUE(edit.IsMasked());
    EXPECT_EQ(edit.Text(), c.Text) << c.Mask;
    EXPECT_EQ(edit.EditText(), c.EditText) << c.Mask;
    edit.SetText("");
    EXPECT_EQ(edit.Text(), c.Text) << c.Mask << " after clearing";
  }
}

struct MaskTypingCase {
  const char* Name;
  std::string Mask;
  std::vector<Step> Steps;
  std::string EditText;
  std::string Text;
  int Caret;
};

class MaskTypingTest : public EditFormTest, public ::testing::WithParamInterface<MaskTypingCase> {};

TEST_P(MaskTypingTest, TypingFollowsTheMask) {
  const MaskTypingCase& c = GetParam();
  auto& edit = Add<TMaskEdit>();
  edit.SetEditMask(c.Mask);
  Perform(edit, c.Steps);
  EXPECT_EQ(edit.EditText(), c.EditText);
  EXPECT_EQ(edit.Text(), c.Text);
  EXPECT_EQ(edit.SelStart(), c.Caret);
}

INSTANTIATE_TEST_SUITE_P(
    MaskEdit, MaskTypingTest,
    ::testing::Values(
        MaskTypingCase{"DateFillsAndSkipsLiterals", "!9999/99/99;1;_", {std::string("20240105")}, "2024/01/05",
                       "2024/01/05", 10},
        MaskTypingCase{"RefusesLettersInDigitPositions", "!9999/99/99;1;_", {std::string("2x0")}, "20__/__/__",
                       "20  /  /  ", 2},
        MaskTypingCase{"TypedSeparatorIsRefusedAfterTheCaretSkippedIt", "!9999/99/99;1;_", {std::string("2024/01")},
                       "2024/01/__", "2024/01/  ", 8},
        MaskTypingCase{"TypingTheLiteralUnderTheCaretStepsOverIt", "(999)999;1;_", {std::string("(12")},
                       "(12_)___", "(12 )   ", 3},
        MaskTypingCase{"CaseRuleAndLiteralsDroppedFromText", ">LL-000;0;_", {std::string("ab-123")}, "AB-123",
                       "AB123", 6},
        MaskTypingCase{"ChineseTakesOnePositionPerByte", "CCC;1;_", {std::string("中")}, "中", "中", 1},
        MaskTypingCase{"ChineseRefusedWhereItDoesNotFit", "CC;1;_", {std::string("中")}, "__", "  ", 0},
        MaskTypingCase{"BackspaceBlanksBehindTheLiteral", "!9999/99/99;1;_",
                       {std::string("202401"), KeyStroke{VK_BACK}}, "2024/0_/__", "2024/0 /  ", 6},
        MaskTypingCase{"DeleteBlanksAtTheCaret", "!9999/99/99;1;_",
                       {std::string("202401"), KeyStroke{VK_HOME}, KeyStroke{VK_DELETE}}, "_024/01/__",
                       " 024/01/  ", 0},
        MaskTypingCase{"ArrowsPassOverLiterals", "99/99;1;_",
                       {std::string("12"), KeyStroke{VK_LEFT}, std::string("7")}, "17/__", "17/  ", 3},
        MaskTypingCase{"TypingPastTheEndIsRefused", "99;1;_", {std::string("123")}, "12", "12", 2}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditFormTest, MaskEditTextIsLaidIntoTheMask) {
  auto& edit = Add<TMaskEdit>();
  edit.SetEditMask("!9999/99/99;1;_");
  edit.SetText("2024/01/05");
  EXPECT_EQ(edit.EditText(), "2024/01/05");
  EXPECT_EQ(edit.SelStart(), 0);
  edit.SetEditMask("!9999/99/99;0;_");
  edit.SetText("20240105");
  EXPECT_EQ(edit.EditText(), "2024/01/05");
}

// The blank text of a masked edit is read by switching literal saving off,
// clearing, and switching it back on.
TEST_F(EditFormTest, ChangingTheMaskKeepsTheTypedCharacters) {
  auto& edit = Add<TMaskEdit>();
  edit.SetEditMask("!9999/99/99;1;_");
  input::TypeText(edit, "20240105");

  edit.SetEditMask("!9999/99/99;0;_");
  EXPECT_EQ(edit.Text(), "20240105");
  edit.SetText("");
  edit.SetEditMask("!9999/99/99;1;_");
  EXPECT_EQ(edit.Text(), "    /  /  ");

  edit.SetText("2024/01/05");
  edit.SetEditMask("");
  EXPECT_FALSE(edit.IsMasked());
  EXPECT_EQ(edit.Text(), "2024/01/05");

  edit.SetEditMask("!9999/99/99;1;_");  // a plain text is laid into the new mask
  EXPECT_EQ(edit.EditText(), "2024/01/05");
}

TEST_F(EditFormTest, ValidateEditReportsTheFirstUnfilledRequiredPosition) {
  auto& edit = Add<TMaskEdit>();
  edit.SetEditMask("000;1;_");
  edit.SetText("1");
  EXPECT_NO_THROW(edit.ValidateEdit());  // set by the program, not changed by the user

  edit.SetText("");
  input::TypeText(edit, "1");
  try {
    edit.ValidateEdit();
    FAIL() << "no error raised";
  } catch (const EDBEditError& error) {
    EXPECT_STREQ(error.ClassName(), "EDBEditError");
  }
  EXPECT_EQ(edit.SelStart(), 1);

  input::TypeText(edit, "23");
  EXPECT_NO_THROW(edit.ValidateEdit());
}

TEST_F(EditFormTest, LeavingAnInvalidMaskedEditKeepsTheFocus) {
  auto& masked = Add<TMaskEdit>();
  auto& next = Add<TEdit>();
  masked.SetEditMask("000;1;_");
  ASSERT_TRUE(input::Focus(masked));
  input::TypeText(masked, "1");
  EXPECT_THROW(input::Key(masked, VK_TAB), EDBEditError);
  EXPECT_TRUE(masked.Focused());

  input::TypeText(masked, "23");
  input::Key(masked, VK_TAB);
  EXPECT_TRUE(next.Focused());
}

// ---- TMemo ----

TEST_F(EditFormTest, MemoLinesFollowTheTextBothWays) {
  auto& memo = Add<TMemo>();
  ChangeCounter counter;
  memo.OnChange = MethodOf<&ChangeCounter::Count>(&counter);

  memo.SetText("one\r\ntwo");
  EXPECT_EQ(memo.Lines().ToVector(), (std::vector<std::string>{"one", "two"}));
  memo.Lines().Add("三");
  EXPECT_EQ(memo.Text(), "one\r\ntwo\r\n三\r\n");
  memo.Lines().Delete(0);
  EXPECT_EQ(memo.Text(), "two\r\n三\r\n");
  EXPECT_EQ(counter.changes, 3);

  memo.SetSelStart(100);  // the end: the empty line after the last break
  input::TypeText(memo, "x");
  EXPECT_EQ(memo.Lines().ToVector(), (std::vector<std::string>{"two", "三", "x"}));
}

TEST_F(EditFormTest, MemoReturnBreaksTheLineOnlyWhenItWantsReturns) {
  auto& memo = Add<TMemo>();
  Perform(memo, {std::string("ab"), KeyStroke{VK_RETURN}, std::string("中")});
  EXPECT_EQ(memo.Text(), "ab\r\n中");
  EXPECT_EQ(memo.CaretPos(), (TPoint{1, 1}));

  memo.SetText("");
  memo.SetWantReturns(false);
  Perform(memo, {std::string("ab"), KeyStroke{VK_RETURN}, std::string("c")});
  EXPECT_EQ(memo.Text(), "abc");
}

TEST_F(EditFormTest, MemoCaretMovesByLinesAndTreatsALineBreakAsOneStep) {
  auto& memo = Add<TMemo>();
  memo.SetText("one\r\ntwo\r\nthree");
  memo.SetCaretPos({4, 2});
  EXPECT_EQ(memo.CaretPos(), (TPoint{4, 2}));

  const std::vector<std::pair<Word, TPoint>> moves{
      {VK_UP, {3, 1}},    {VK_UP, {3, 0}},   {VK_UP, {3, 0}},    {VK_HOME, {0, 0}},
      {VK_LEFT, {0, 0}},  {VK_END, {3, 0}},  {VK_RIGHT, {0, 1}}, {VK_DOWN, {0, 2}},
      {VK_END, {5, 2}},   {VK_DOWN, {5, 2}}, {VK_UP, {3, 1}},
  };
  for (const auto& [key, expected] : moves) {
    input::Key(memo, key);
    EXPECT_EQ(memo.CaretPos(), expected) << "after key " << key;
  }

  memo.SetCaretPos({0, 1});
  input::Key(memo, VK_BACK);  // removes "\r\n" as one
  EXPECT_EQ(memo.Text(), "onetwo\r\nthree");
  EXPECT_EQ(memo.CaretPos(), (TPoint{3, 0}));
}

TEST_F(EditFormTest, MemoTabIsTextOnlyWhenItWantsTabs) {
  auto& memo = Add<TMemo>();
  auto& next = Add<TEdit>();
  memo.SetWantTabs(true);
  ASSERT_TRUE(input::Focus(memo));
  input::Key(memo, VK_TAB);
  EXPECT_EQ(memo.Text(), "\t");
  EXPECT_TRUE(memo.Focused());

  memo.SetWantTabs(false);
  input::Key(memo, VK_TAB);
  EXPECT_EQ(memo.Text(), "\t");
  EXPECT_TRUE(next.Focused());
}

// ---- TSpinEdit ----

struct SpinCase {
  const char* Name;
  int Min, Max, Increment;
  std::string Start;
  std::vector<Step> Steps;
  std::string Text;
  int Value;
};

class SpinEditTest : public EditFormTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(SpinEditTest, ArrowsStepAndLimitsHold) {
  const SpinCase& c = GetParam();
  auto& spin = Add<TSpinEdit>();
  spin.SetMinValue(c.Min);
  spin.SetMaxValue(c.Max);
  spin.SetIncrement(c.Increment);
  spin.SetText(c.Start);
  Perform(spin, c.Steps);
  EXPECT_EQ(spin.Text(), c.Text);
  EXPECT_EQ(spin.Value(), c.Value);
}

INSTANTIATE_TEST_SUITE_P(
    SpinEdit, SpinEditTest,
    ::testing::Values(SpinCase{"UpStepsByIncrement", 0, 0, 5, "0", {KeyStroke{VK_UP}}, "5", 5},
                      SpinCase{"NoLimitsWhenMinEqualsMax", 0, 0, 1, "0", {KeyStroke{VK_DOWN}}, "-1", -1},
                      SpinCase{"UpStopsAtMax", 0, 10, 5, "8", {KeyStroke{VK_UP}}, "10", 10},
                      SpinCase{"DownStopsAtMin", 3, 10, 5, "4", {KeyStroke{VK_DOWN}}, "3", 3},
                      SpinCase{"LettersAreRefused", 0, 0, 1, "", {std::string("1a2")}, "12", 12},
                      SpinCase{"SignsAreAccepted", 0, 0, 1, "", {std::string("-7")}, "-7", -7},
                      SpinCase{"NotANumberReadsAsMin", 2, 9, 1, "", {std::string("+-")}, "+-", 2},
                      SpinCase{"StepFromNotANumberStartsAtMin", 2, 9, 1, "", {KeyStroke{VK_UP}}, "3", 3}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditFormTest, SpinEditKeepsItsValueInsideTheLimitsWhenLeft) {
  auto& spin = Add<TSpinEdit>();
  auto& next = Add<TEdit>();
  spin.SetMinValue(0);
  spin.SetMaxValue(23);
  ASSERT_TRUE(input::Focus(spin));
  input::TypeText(spin, "30");  // replaces the selected "0"
  EXPECT_EQ(spin.Text(), "30");
  input::Focus(next);
  EXPECT_EQ(spin.Text(), "23");
}

}  // namespace
}  // namespace qv

// The condition form's keyboard: Escape, F1, F2, Ctrl+Alt+V, page keys, Enter.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <thread>

#include "controls/ExtPage.h"
#include "controls/QvRadio.h"
#include "controls/SelectPnl.h"
#include "forms/ConditionFormFixture.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/Grids.h"
#include "platform/ui/controls/MaskEdit.h"
#include "platform/ui/controls/Memo.h"

namespace qv {
namespace {

using test::ConditionFormFixture;
using test::ScopedEnv;
using test::TempDir;
using test::TestConditionForm;

// A shown form with three pages: the conditions page holds two edits with a
// memo between them, a selection panel and a radio group; the system page
// the print date; a third page one edit.
class FormKeysTest : public ConditionFormFixture<> {
 protected:
  void SetUp() override {
    TestConditionForm& f = Ready();
    edit1 = Add<TEdit>(f.tsOption1);
    memo = Add<TMemo>(f.tsOption1);
    memo->SetText("a\r\nb\r\nc");
    edit2 = Add<TEdit>(f.tsOption1);
    panel = Add<TSelectPanel>(f.tsOption1);
    panel->SetStyle(sp_Range);
    group = Add<TQvRadioGroup>(f.tsOption1);
    TStringList items{"一", "二"};
    group->SetItems(&items);
    group->SetBounds(0, 0, 200, 80);
    extraPage = new TTabSheet(&f);
    extraPage->SetPageControl(f.pgOption);
    extraEdit = Add<TEdit>(extraPage);
    f.Show();
  }
  template <class T>
  T* Add(TWinControl* parent) {
    T* control = new T(form);
    control->SetParent(parent);
    return control;
  }
  // Presses a key through the form's preview; the key as it came out.
  Word KeyDown(Word key, TShiftState shift) {
    form->FormKeyDown(form, key, shift);
    return key;
  }
  std::string PressEnter() {
    std::string key = "\r";
    form->FormKeyPress(form, key);
    return key;
  }

  TEdit* edit1 = nullptr;
  TMemo* memo = nullptr;
  TEdit* edit2 = nullptr;
  TSelectPanel* panel = nullptr;
  TQvRadioGroup* group = nullptr;
  TTabSheet* extraPage = nullptr;
  TEdit* extraEdit = nullptr;
};

TEST_F(FormKeysTest, EscapeClosesTheForm) {
  input::Key(*edit1, VK_ESCAPE);
  Application().ProcessMessages();
  EXPECT_TRUE(gone);
}

TEST_F(FormKeysTest, HelpTopicOfTheProgram) {
  const struct {
    const char* programID;
    const char* topic;  // "" for no help
  } cases[] = {
      {"PQLR52", "12520000"}, {"PQLB05", "13050000"}, {"PQLAR01", "62010000"}, {"PQLMB12", "83120000"},
      {"PQLmr77", "82770000"}, {"PQLX52", ""},        {"PQLAX01", ""},         {"PQLA", ""},
      {"PQL", ""},
  };
  for (const auto& c : cases) {
    host->Calls.clear();
    form->ProgramID = c.programID;
    KeyDown(VK_F1, 0);
    const auto calls = host->CallsOf("CallHelp");
    if (*c.topic == '\0') {
      EXPECT_TRUE(calls.empty()) << c.programID;
      continue;
    }
    ASSERT_EQ(calls.size(), 1u) << c.programID;
    ASSERT_EQ(calls[0].Args.size(), 1u);
    EXPECT_EQ(calls[0].Args[0], Variant::ArrayOf({std::string(c.programID).substr(0, 3), c.topic})) << c.programID;
  }
}

TEST_F(FormKeysTest, HelpWithoutHostDoesNothing) {
  form->HostObject = Variant();
  EXPECT_NO_THROW(KeyDown(VK_F1, 0));
}

TEST_F(FormKeysTest, F2LooksUpTheActiveControl) {
  form->LookupWindow = Variant(host->LookupWindow);
  host->LookupWindow->DayAnswer = "20240315";
  form->pgOption->SetActivePage(form->tsOption2);
  input::Focus(*form->edPrintDate);
  input::Key(*form->edPrintDate, VK_F2);
  EXPECT_EQ(form->edPrintDate->Text(), "2024/03/15");
}

TEST_F(FormKeysTest, CtrlKeysTurnPagesAndWrapAround) {
  const struct {
    Word key;
    TShiftState shift;
    int fromPage, toPage;
  } cases[] = {
      {VK_TAB, ssCtrl, 0, 1},           {VK_TAB, ssCtrl, 2, 0},          {VK_NEXT, ssCtrl, 2, 0},
      {VK_TAB, ssCtrl | ssShift, 0, 2}, {VK_PRIOR, ssCtrl, 0, 2},        {VK_PRIOR, ssCtrl, 2, 1},
  };
  for (const auto& c : cases) {
    form->pgOption->SetActivePageIndex(c.fromPage);
    EXPECT_EQ(KeyDown(c.key, c.shift), 0) << c.key << " " << int{c.shift};  // consumed
    EXPECT_EQ(form->pgOption->ActivePageIndex(), c.toPage) << c.key << " " << int{c.shift};
  }
  form->pgOption->SetActivePageIndex(0);
  EXPECT_EQ(KeyDown(VK_TAB, 0), VK_TAB);  // a plain Tab is the focus's
  EXPECT_EQ(form->pgOption->ActivePageIndex(), 0);
}

TEST_F(FormKeysTest, EnterMovesOn) {
  const struct {
    const char* name;
    std::function<TWinControl*()> focus;
    int caretLine;
    std::function<TControl*()> pageEnd;  // nullptr: no page-end control
    bool kept;
    std::function<TWinControl*()> focused;
    int page;
  } cases[] = {
      {"edit", [&] { return edit1; }, 0, nullptr, false, [&] { return memo; }, 0},
      {"memo first line", [&] { return memo; }, 0, nullptr, true, [&] { return memo; }, 0},
      {"memo second line", [&] { return memo; }, 1, nullptr, true, [&] { return memo; }, 0},
      {"memo third line", [&] { return memo; }, 2, nullptr, false, [&] { return edit2; }, 0},
      {"page end", [&] { return edit2; }, 0, [&] { return edit2; }, false, [&] { return form->edPrintDate; }, 1},
      {"page end memo second line", [&] { return memo; }, 1, [&] { return memo; }, true, [&] { return memo; }, 0},
      {"page end memo third line", [&] { return memo; }, 2, [&] { return memo; }, false,
       [&] { return form->edPrintDate; }, 1},
      {"panel edit", [&] { return panel->edBegin; }, 0, [&] { return panel; }, false,
       [&] { return form->edPrintDate; }, 1},
      {"radio button", [&] { return group->Buttons(0); }, 0, [&] { return group; }, false,
       [&] { return form->edPrintDate; }, 1},
      {"last page", [&] { return extraEdit; }, 0, [&] { return extraEdit; }, false, [&] { return extraEdit; }, 2},
  };
  for (const auto& c : cases) {
    form->PageEndControls.clear();
    if (c.pageEnd) form->PageEndControls.push_back(c.pageEnd());
    TWinControl* start = c.focus();
    form->pgOption->SetActivePage(static_cast<TTabSheet*>(start == extraEdit ? extraPage : form->tsOption1));
    ASSERT_TRUE(input::Focus(*start)) << c.name;
    memo->SetCaretPos({0, c.caretLine});
    EXPECT_EQ(PressEnter().empty(), !c.kept) << c.name;
    EXPECT_TRUE(c.focused()->Focused()) << c.name;
    EXPECT_EQ(form->pgOption->ActivePageIndex(), c.page) << c.name;
  }
}

TEST_F(FormKeysTest, EnterInAGridMovesToTheNextCellAndAddsRows) {
  auto* grid = Add<TDrawGrid>(form->tsOption1);  // 5 × 5, one fixed row and column
  const struct {
    int col, row;
    int nextCol, nextRow, rowCount;
  } cases[] = {
      {2, 2, 3, 2, 5},
      {4, 2, 1, 3, 5},
      {4, 4, 1, 5, 6},  // the last cell appends a row
  };
  for (const auto& c : cases) {
    grid->SetRowCount(5);
    ASSERT_TRUE(grid->MoveTo(c.col, c.row));
    ASSERT_TRUE(input::Focus(*grid));
    EXPECT_EQ(PressEnter(), "");
    EXPECT_EQ(grid->Col(), c.nextCol) << c.col << "," << c.row;
    EXPECT_EQ(grid->Row(), c.nextRow) << c.col << "," << c.row;
    EXPECT_EQ(grid->RowCount(), c.rowCount) << c.col << "," << c.row;
    EXPECT_TRUE(grid->Focused());
  }
}

// Ctrl+Alt+V hands the plug-in's file to the desktop's properties view.
TEST_F(FormKeysTest, CtrlAltVShowsTheModuleProperties) {
  TempDir bin;
  const std::string output = bin / "arguments";
  test::WriteFile(bin / "dbus-send",
                  "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + output + ".part' && mv '" + output + ".part' '" +
                      output + "'\n");
  chmod((bin / "dbus-send").c_str(), 0755);
  ScopedEnv path("PATH", bin.Path() + ":/usr/bin:/bin");
  form->ModulePath = "/opt/qvx/client dir/PQLR52C.so";

  KeyDown('V', ssCtrl | ssAlt);
  // The request runs on its own; wait (boundedly) for what it was given.
  for (int i = 0; i < 400 && !test::PathExists(output); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(test::PathExists(output));
  EXPECT_EQ(test::ReadFile(output),
            "--session\n--dest=org.freedesktop.FileManager1\n--type=method_call\n/org/freedesktop/FileManager1\n"
            "org.freedesktop.FileManager1.ShowItemProperties\n"
            "array:string:file:///opt/qvx/client%20dir/PQLR52C.so\nstring:\n");
}

}  // namespace
}  // namespace qv

// Date and year-month fields: registration, the handlers spliced into the
// fields' enter and exit events, the checks they run and the handlers the
// fields had before, which run only after a passing check.
#include <gtest/gtest.h>

#include "controls/SelectPnl.h"
#include "forms/FieldFormFixture.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/BitBtn.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/MaskEdit.h"

namespace qv::test {
namespace {

class FieldEventsTest : public FieldFormTest {
 protected:
  FieldEventsTest() : date(Add<TMaskEdit>("edDate1")), other(Add<TEdit>("edOther")) {}

  // Focuses the field, puts the text in and leaves it for another control.
  void EnterAndLeave(TWinControl& field, const std::string& text) {
    input::Focus(field);
    field.SetText(text);
    input::Focus(other);
  }

  TMaskEdit& date;
  TEdit& other;
  HandlerLog log;
};

TEST_F(FieldEventsTest, OwnDateFieldsKeepThePrintDateRegistered) {
  form->SetDateFields(" edPrintDate ");
  EXPECT_EQ(form->DateFields, "edPrintDate");
  form->SetDateFields("edDate1");
  EXPECT_EQ(form->DateFields, "edDate1,edPrintDate");
  for (TWinControl* field : {static_cast<TWinControl*>(&date), static_cast<TWinControl*>(form->edPrintDate)}) {
    EXPECT_EQ(field->OnEnter, form->OnDateFieldEnter) << field->Name();
    EXPECT_EQ(field->OnExit, form->OnDateFieldExit) << field->Name();
  }
  // A list naming the print date itself is taken as it is.
  form->SetDateFields("edPrintDate, edDate1");
  EXPECT_EQ(form->DateFields, "edPrintDate, edDate1");
}

TEST_F(FieldEventsTest, LeavingAMaskedDateFieldChecksItsDate) {
  date.OnEnter = MethodOf<&HandlerLog::Entered>(&log);
  date.OnExit = MethodOf<&HandlerLog::Exited>(&log);
  form->SetDateFields("edDate1");
  Show();

  input::Focus(date);
  EXPECT_EQ(date.EditMask(), "99-99-9999;1; ");
  EXPECT_EQ(log.entered, std::vector<TObject*>{&date});
  input::Focus(other);  // untouched: literals and blanks only
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_EQ(log.exited, std::vector<TObject*>{&date});

  EnterAndLeave(date, "13-45-2024");
  ASSERT_EQ(Messages(), std::vector<std::string>{"日期错误"});
  EXPECT_TRUE(form->CheckFailed);
  EXPECT_TRUE(date.Focused());
  EXPECT_EQ(log.exited.size(), 1u) << "the field's own exit handler ran after a failed check";
  EXPECT_NE(form->ErrorCodes.find("E;000005"), std::string::npos);

  date.SetText("12-25-2024");
  input::Focus(other);
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_EQ(log.exited, (std::vector<TObject*>{&date, &date}));
  EXPECT_TRUE(form->ErrorCodes.empty()) << "a passing check clears the message records";
}

TEST_F(FieldEventsTest, PlainDateFieldGetsTheTemplateAndRejectsAnUnreadableYear) {
  auto& plain = Add<TEdit>("edDate2");
  form->SetDateFields("edDate2");
  Show();

  input::Focus(plain);
  EXPECT_EQ(plain.GetText(), "  -  -    ");
  plain.SetText("12-25-abcd");
  input::Focus(other);
  EXPECT_EQ(Messages(), std::vector<std::string>{"日期错误"});
  EXPECT_TRUE(plain.Focused());
  // Coming back to the field after the failure keeps what the user typed.
  EXPECT_EQ(plain.GetText(), "12-25-abcd");

  plain.SetText("12-25-2024");
  input::Focus(other);
  input::Focus(plain);
  EXPECT_EQ(plain.GetText(), "12-25-2024");
}

TEST_F(FieldEventsTest, DateTypeFourReadsYearsFrom1912) {
  UseDates("4", ".");
  form->SetDateFields("edDate1");
  Show();
  EnterAndLeave(date, "93.02.29");  // 2004 is a leap year
  EXPECT_TRUE(dialogs.shown.empty());
  EnterAndLeave(date, "92.02.29");  // 2003 is not
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(FieldEventsTest, ControlNamedWithinARegisteredNameCountsAsRegistered) {
  auto& inside = Add<TEdit>("edDate");    // part of "edDate1"
  auto& outside = Add<TEdit>("edStart");  // part of no registered name
  form->SetDateFields("edDate1");
  // A descendant may wire the form's handler to a control itself.
  inside.OnExit = form->OnDateFieldExit;
  outside.OnExit = form->OnDateFieldExit;
  Show();

  EnterAndLeave(outside, "no date");
  EXPECT_TRUE(dialogs.shown.empty());
  EnterAndLeave(inside, "99-99-2024");
  EXPECT_EQ(Messages(), std::vector<std::string>{"日期错误"});
  EXPECT_TRUE(inside.Focused());
}

TEST_F(FieldEventsTest, LeavingForCancelChecksNothing) {
  date.OnExit = MethodOf<&HandlerLog::Exited>(&log);
  form->SetDateFields("edDate1");
  Show();
  input::Focus(date);
  date.SetText("99-99-2024");
  input::Focus(*form->btnCancel);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_TRUE(log.exited.empty());
}

TEST_F(FieldEventsTest, ReRegisteringNeverLosesTheOriginalHandler) {
  date.OnExit = MethodOf<&HandlerLog::Exited>(&log);
  form->SetDateFields("edDate1");
  form->SetDateFields("edDate1,edDate2");
  form->SetDateFields("edDate2,edDate1");
  Show();
  EnterAndLeave(date, "12-25-2024");
  EXPECT_EQ(log.exited, std::vector<TObject*>{&date});

  auto& month = Add<TMaskEdit>("edMonth");
  month.OnEnter = MethodOf<&HandlerLog::Entered>(&log);
  form->SetYearMonthFields("edMonth");
  form->SetYearMonthFields("edMonth, edMonth");
  form->SetYearMonthFields("edOther");  // edMonth is no longer a year-month field
  EXPECT_EQ(month.OnEnter.Method(), MethodOf<&HandlerLog::Entered>(&log));
  EXPECT_FALSE(month.OnExit.Assigned());
}

TEST_F(FieldEventsTest, FieldInBothRegistriesRunsOneCheckAndNoLoop) {
  auto& both = Add<TMaskEdit>("edBoth");  // no handlers of its own
  form->SetDateFields("edBoth");
  form->SetYearMonthFields("edBoth");
  Show();
  input::Focus(both);
  EXPECT_EQ(both.EditMask(), "99-99-9999;1; ") << "the date check comes first";
  both.SetText("12-25-2024");
  input::Focus(other);
  EXPECT_FALSE(form->CheckFailed);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FieldEventsTest, YearMonthFieldsPassUntouchedOrClearedAndRejectBadMonths) {
  auto& masked = Add<TMaskEdit>("edMonth");
  auto& plain = Add<TEdit>("edMonth2");
  form->SetYearMonthFields("edMonth,edMonth2");
  Show();

  input::Focus(masked);
  EXPECT_EQ(masked.EditMask(), "99-9999;1; ");
  input::Focus(other);
  EXPECT_TRUE(dialogs.shown.empty());
  EnterAndLeave(masked, "13-2024");
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(masked.Focused());
  masked.SetText("12-2024");
  input::Focus(other);
  EXPECT_FALSE(form->CheckFailed);

  input::Focus(plain);
  EXPECT_EQ(plain.GetText(), "  -    ");
  EnterAndLeave(plain, "");
  EXPECT_FALSE(form->CheckFailed) << "an emptied field is left to the required-field check";
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(FieldEventsTest, LeavingAYearMonthEditPassesOnlyAValidOrEmptiedMonth) {
  struct MonthCase {
    const char* type;
    const char* text;
    bool passes;
  };
  const MonthCase cases[] = {
      {"2", "12-2024", true},  {"2", "13-2024", false}, {"2", "", true},   {"2", "   ", true},
      {"2", "-", true},        // an untouched masked field
      {"9", "12-2024", false},  // no known date type gives no year-month
      {"9", "", true},
  };
  auto& month = Add<TEdit>("edMonth");
  for (const MonthCase& c : cases) {
    SCOPED_TRACE(std::string("type ") + c.type + " text '" + c.text + "'");
    UseDates(c.type, "-");
    month.SetText(c.text);
    EXPECT_EQ(form->CheckYearMonthField(&month, false), c.passes);
  }
}

TEST_F(FieldEventsTest, SelectionPanelDateFieldChecksBothEdits) {
  auto& panel = Add<TSelectPanel>("spDate");
  panel.SetAutoChangeDateSite(false);  // the range stays as typed
  form->SetDateFields("spDate");
  EXPECT_EQ(panel.ValueType(), vt_Date);
  EXPECT_EQ(panel.DateSign(), "-");
  EXPECT_EQ(panel.DateType(), dt_MMDDYYYY);
  Show();

  input::Focus(*panel.edBegin);
  EXPECT_EQ(panel.EditMask(), "99-99-9999;1; ");
  panel.edBegin->SetText("01-02-2024");
  panel.edFinal->SetText("02-30-2024");
  input::Focus(other);
  EXPECT_EQ(Messages(), std::vector<std::string>{"日期错误"});
  EXPECT_TRUE(panel.edFinal->Focused());
}

TEST_F(FieldEventsTest, UnsupportedControlShowsTheDeveloperMessageAndFails) {
  auto& combo = Add<TComboBox>("cboKind");
  EXPECT_FALSE(form->CheckDateField(&combo, false));
  EXPECT_FALSE(form->CheckYearMonthField(&combo, true));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].message, "判断日期的函数第一个参数错误, 只能传下列三种物件:\nTSelectPanel, TMaskedit, TEdit");
  EXPECT_EQ(dialogs.shown[1].message, "判断年月的函数第一个参数错误, 只能传下列三种物件:\nTSelectPanel, TMaskedit, TEdit");
}

TEST_F(FieldEventsTest, FireExitRunsTheExitHandlerOfTheOwningPanel) {
  auto& panel = Add<TSelectPanel>("spItem");
  panel.OnExit = MethodOf<&HandlerLog::Exited>(&log);
  form->CheckFailed = true;
  form->FireExit(panel.edBegin);
  EXPECT_EQ(log.exited, std::vector<TObject*>{&panel});
  EXPECT_FALSE(form->CheckFailed);

  form->SetDateFields("edDate1");
  Show();
  date.SetText("99-99-2024");
  form->FireExit(&date);
  EXPECT_TRUE(form->CheckFailed);
}

}  // namespace
}  // namespace qv::test

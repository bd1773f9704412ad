// The date picker and the phrase filler of the lookup-window service.
#include <gtest/gtest.h>

#include "forms/SessionFormTest.h"
#include "platform/core/Clock.h"
#include "platform/core/DateTime.h"
#include "platform/ui/controls/Edit.h"

namespace qv::test {
namespace {

class LookupsTest : public SessionFormTest {
 protected:
  void SetUp() override {
    SessionFormTest::SetUp();
    form->LookupWindow = Variant(host->LookupWindow);
    SetDateType("1", "-");
  }
  void SetDateType(const char* type, const char* separator) {
    host->Counter->SysParams = {{"Sys001", type}, {"Sys002", separator}};
    LoadParams();
  }
  // The request of the last ShowInputDay: [short-year calendar, proposal, database].
  Variant LastDayRequest() const { return host->LookupWindow->CallsOf("ShowInputDay").back().Args[0]; }

  ScopedClock clock{EncodeDate(2024, 3, 7)};
};

TEST_F(LookupsTest, PickedDateIsWrittenInTheCompanysDateType) {
  host->LookupWindow->DayAnswer = " 20240215 ";
  std::string result;
  form->PickDate("20240131", result);
  EXPECT_EQ(result, "2024-02-15");
  EXPECT_EQ(LastDayRequest(), Variant::ArrayOf({Variant(false), Variant("20240131"), Variant("DEMO")}));

  SetDateType("5", "/");  // the short-year calendar
  form->PickDate("20240131", result);
  EXPECT_EQ(LastDayRequest()[0], Variant(true));
  EXPECT_EQ(result, "113/02/15");
}

TEST_F(LookupsTest, OnlyAnEightCharacterTextIsProposed) {
  host->LookupWindow->DayAnswer = "20240215";
  std::string result;
  for (const char* text : {"2024/01/31", "", "2024013"}) {
    form->PickDate(text, result);
    EXPECT_EQ(LastDayRequest()[1].ToString(), "20240307") << text;  // today
  }
}

TEST_F(LookupsTest, CancelledOrUnreadablePickKeepsTheText) {
  std::string result;
  for (const char* answer : {"", "  ", "2024-2-15", "20241345"}) {
    host->LookupWindow->DayAnswer = answer;
    form->PickDate("2024-01-31", result);
    EXPECT_EQ(result, "2024-01-31") << answer;
  }
}

TEST_F(LookupsTest, WithoutLookupWindowNothingIsPickedOrFilled) {
  form->LookupWindow = Variant();
  std::string result = "stale";
  form->PickDate("20240131", result);
  EXPECT_EQ(result, "");
  auto* edit = new TEdit(form);
  edit->SetText("原文");
  form->FillPhrase(edit);
  EXPECT_EQ(edit->Text(), "原文");
  EXPECT_TRUE(host->LookupWindow->Calls.empty());
}

TEST_F(LookupsTest, PhraseReplacesTheControlsTextUnlessEmpty) {
  auto* edit = new TEdit(form);
  edit->SetText("原文");
  host->LookupWindow->Phrase = "";
  form->FillPhrase(edit);
  EXPECT_EQ(edit->Text(), "原文");
  host->LookupWindow->Phrase = "请尽快处理";
  form->FillPhrase(edit);
  EXPECT_EQ(edit->Text(), "请尽快处理");
  const auto calls = host->LookupWindow->CallsOf("GetPhrase");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Args[0].ToString(), "DS");
  EXPECT_EQ(calls[0].Args[1].ToString(), "DEMO");
  EXPECT_EQ(calls[0].Args[2].ToInt(), form->Handle());
}

}  // namespace
}  // namespace qv::test

// Validator queries, value validation with its messages, the program master,
// counters and the user's rights record.
#include <gtest/gtest.h>

#include "forms/SessionFormTest.h"
#include "platform/ui/controls/BitBtn.h"

namespace qv::test {
namespace {

class ValidatorTest : public SessionFormTest {
 protected:
  void SetUp() override {
    SessionFormTest::SetUp();
    host->Templates["I;000008"] = "查无此资料";
    host->Templates["E;000001"] = "错误: %s";
    host->Templates["W;000004"] = "警告: %s";
    host->Validator->AddRecord("INVMB", "01", "A01", Variant::ArrayOf({Variant("A01"), Variant("螺丝")}));
  }
  Variant Keys(const char* key) { return Variant::ArrayOf({Variant(key)}); }
};

TEST_F(ValidatorTest, QueryPassesTheFormsSettingsAndAnswersTheRecord) {
  form->ProductID = 7;
  form->Restriction = "S\x03" "0\x03";
  Variant record;
  EXPECT_TRUE(form->QueryTable("INVMB", "01", false, record, Keys("A01")));
  EXPECT_EQ(record, Variant::ArrayOf({Variant("A01"), Variant("螺丝")}));
  EXPECT_EQ(host->Validator->ProductID, Variant(7));
  EXPECT_EQ(host->Validator->BaseLimited.ToString(), "S\x03" "0\x03");
  const auto checks = host->Validator->CallsOf("CheckValue");
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(checks[0].Args[2].ToString(), "DEMO");
  EXPECT_TRUE(host->Validator->CallsOf("QueryData").empty());

  EXPECT_TRUE(form->QueryTable("INVMB", "01", true, record, Keys("A01")));
  EXPECT_EQ(host->Validator->CallsOf("QueryData").size(), 1u);
  EXPECT_FALSE(form->QueryTable("INVMB", "01", true, record, Keys("ZZZ")));
}

TEST_F(ValidatorTest, QueryWithoutOrWithFailingValidatorAnswersFalse) {
  Variant record;
  form->Validator = Variant();
  EXPECT_FALSE(form->QueryTable("INVMB", "01", false, record, Keys("A01")));
  form->Validator = Variant(host->Validator);
  host->Validator->Missing = {"checkvalue"};
  EXPECT_FALSE(form->QueryTable("INVMB", "01", false, record, Keys("A01")));
  // A validator without the two settings still answers.
  host->Validator->Missing = {"productid", "baselimited"};
  EXPECT_TRUE(form->QueryTable("INVMB", "01", false, record, Keys("A01")));
}

TEST_F(ValidatorTest, ValidationBySeverity) {
  const struct {
    const char* key;
    const char* severity;
    int index;
    bool valid;
    const char* codes;
    const char* dialogKind;  // "" no dialog
    Variant value;
  } cases[] = {
      {"ZZZ", "E", 0, false, "W;000002; E;000001;查无此资料; ", "mtError", Variant()},
      {"ZZZ", "W", 0, false, "W;000002; W;000004;查无此资料; ", "mtWarning", Variant()},
      {"ZZZ", "", 0, false, "", "", Variant()},  // no severity: nothing reported
      {"A01", "E", 1, true, "", "", Variant("螺丝")},
      {"A01", "E", 5, true, "", "", Variant::ArrayOf({Variant("A01"), Variant("螺丝")})},  // outside: the whole record
      {"A01", "E", -2, true, "", "", Variant::ArrayOf({Variant("A01"), Variant("螺丝")})},
  };
  for (const auto& c : cases) {
    dialogs.clear();
    form->ErrorCodes = "W;000002; ";  // kept by a failure, cleared otherwise
    Variant value = Variant("stale");
    EXPECT_EQ(form->ValidateValue(Variant("INVMB"), Variant("01"), Keys(c.key), c.severity, c.index, value), c.valid)
        << c.key << c.severity;
    EXPECT_EQ(form->ErrorCodes, c.codes) << c.key << c.severity;
    EXPECT_EQ(value, c.value) << c.key << c.severity << c.index;
    if (*c.dialogKind) {
      ASSERT_EQ(dialogs.size(), 1u);
      EXPECT_EQ(dialogs[0].kind, c.dialogKind);
      EXPECT_EQ(dialogs[0].message, c.severity[0] == 'E' ? "错误: 查无此资料" : "警告: 查无此资料");
    } else {
      EXPECT_TRUE(dialogs.empty());
    }
  }
  // Index -2 asks QueryData; the others CheckValue.
  EXPECT_EQ(host->Validator->CallsOf("QueryData").size(), 1u);
}

TEST_F(ValidatorTest, EmptyKeysAndCancelNeedNoQuery) {
  Variant value;
  EXPECT_TRUE(form->ValidateValue(Variant("INVMB"), Variant("01"), Variant(), "E", 0, value));
  EXPECT_TRUE(form->ValidateValue(Variant("INVMB"), Variant("01"), Variant::Null(), "E", 0, value));
  EXPECT_TRUE(value.IsEmpty());
  form->SetActiveControl(form->btnCancel);
  EXPECT_TRUE(form->ValidateValue(Variant("INVMB"), Variant("01"), Keys("ZZZ"), "E", 0, value));
  EXPECT_TRUE(host->Validator->Calls.empty());
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(SessionFormTest, ProgramMasterNamesTheProgram) {
  host->Validator->AddProgram("PQLR52", "成本报表", true, "Cost Report");
  form->SetProgram("pqlr52");
  EXPECT_EQ(form->Title, "成本报表");
  EXPECT_EQ(form->ProgramName, "成本报表");
  EXPECT_TRUE(form->WantLog);
  const auto calls = host->Validator->CallsOf("CheckValue");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Args[0].ToString(), "ADMMB");
  EXPECT_EQ(calls[0].Args[3], Variant::ArrayOf({Variant("PQLR52")}));
}

TEST_F(SessionFormTest, ProgramMasterInEnglishTakesTheEnglishName) {
  MakeForm("437");
  host->Validator->AddProgram("PQLR52", "成本报表", false, "Cost Report");
  form->SetProgram("PQLR52");
  EXPECT_EQ(form->Title, "Cost Report");
  EXPECT_FALSE(form->WantLog);
}

TEST_F(SessionFormTest, ProgramMasterMissingOrMalformed) {
  form->WantLog = true;
  form->SetProgram("PQLR52");  // unknown program: no name
  EXPECT_EQ(form->Title, "");
  EXPECT_EQ(form->ProgramName, "");
  host->Validator->AddRecord("ADMMB", "01", "PQLR52", Variant::ArrayOf({Variant("成本报表")}));
  form->SetProgram("PQLR52");  // a record too short to read: the identifier stands for the name
  EXPECT_EQ(form->Title, "PQLR52");
  EXPECT_EQ(form->ProgramName, "PQLR52");
  EXPECT_FALSE(form->WantLog);
}

TEST_F(SessionFormTest, CounterIsAskedInUpperCaseWithCompanyAndDatabase) {
  host->Counter->Counters["SIMPLESQL"] = Variant::ArrayOf({Variant("Y")});
  Variant data = Variant::ArrayOf({Variant("SELECT 1"), Variant("MA003")});
  Variant result;
  form->GetCounter("SimpleSQL", data, result);
  EXPECT_EQ(result, Variant::ArrayOf({Variant("Y")}));
  const auto calls = host->Counter->CallsOf("GetCounter");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Args[0].ToString(), "SIMPLESQL");
  EXPECT_EQ(calls[0].Args[1], data);
  EXPECT_EQ(calls[0].Args[2], Variant::ArrayOf({Variant("796"), Variant("DEMO")}));

  form->Counter = Variant();
  result = Variant("stale");
  EXPECT_NO_THROW(form->GetCounter("SimpleSQL", data, result));
  EXPECT_TRUE(result.IsEmpty());
}

Variant RightsRecord(const char* first) {
  return Variant::ArrayOf({Variant("DS"), Variant(first), Variant("第二段"), Variant("extra"), Variant("S01"),
                           Variant::ArrayOf({Variant(2), Variant("A"), Variant("B")})});
}

TEST_F(SessionFormTest, RightsRecordIsTakenApart) {
  form->LoadRights(RightsRecord("f1,Y,N,YYYYYYNY,f5,f6,f7"));
  EXPECT_EQ(form->RightsFields, (std::vector<std::string>{"f1", "Y", "N", "YYYYYYNY", "f5", "f6"}));
  EXPECT_EQ(form->RightsLetters, "YYYYYYNY");
  EXPECT_FALSE(form->RightsLetter7);
  EXPECT_TRUE(form->RightsLetter8);
  EXPECT_EQ(form->RightsText2, "第二段");
  EXPECT_EQ(form->RightsExtra, "extra");
  EXPECT_EQ(form->Restriction, "S01\x03" "2\x03" "A\x03" "B\x03");
  EXPECT_EQ(form->rightsLoadedCalls, 1);
}

TEST_F(SessionFormTest, MissingRightsLettersCountAsNo) {
  form->LoadRights(RightsRecord("f1,Y,N,YYYYYYX"));
  EXPECT_TRUE(form->RightsLetter7);  // anything but "N" grants
  EXPECT_FALSE(form->RightsLetter8);
  form->LoadRights(RightsRecord("f1"));
  EXPECT_EQ(form->RightsLetters, "");
  EXPECT_FALSE(form->RightsLetter7);
  EXPECT_FALSE(form->RightsLetter8);
}

}  // namespace
}  // namespace qv::test

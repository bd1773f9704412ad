// The host's services as the condition form obtains them, and the company's
// system parameters read through the counter service.
#include <gtest/gtest.h>

#include "forms/SessionFormTest.h"
#include "platform/automation/Automation.h"

namespace qv::test {
namespace {

TEST_F(SessionFormTest, ParametersAreLoadedFromTheCounterAndReadByName) {
  host->Counter->SysParams = {{"Sys001", "2"}, {"Sys002", "-"}, {"QVX002", "总公司"}};
  LoadParams();
  ASSERT_EQ(host->Counter->CallsOf("GetSysInfo").size(), 1u);
  EXPECT_EQ(host->Counter->CallsOf("GetSysInfo")[0].Args[0].ToString(), "796");
  EXPECT_EQ(form->SysParam("QVX002"), "总公司");
  EXPECT_EQ(form->SysParam("qvx002"), "总公司");  // names compare without regard to case
  EXPECT_EQ(form->SysParam("Sys999"), "");
  // Loading again takes the counter's current values; an emptied one goes.
  host->Counter->SysParams = {{"Sys001", "3"}, {"Sys002", ""}};
  LoadParams();
  EXPECT_EQ(form->SysParam("Sys001"), "3");
  EXPECT_EQ(form->SysParams->Count(), 2);  // Sys001 and QVX002
}

TEST_F(SessionFormTest, DateTypeAndSeparatorHaveDefaults) {
  const struct {
    const char* type;
    const char* separator;
    int expectedType;
    const char* expectedSeparator;
  } cases[] = {
      {"3", "-", 3, "-"},
      {"x", "", 1, "/"},  // not a number: 1; empty: "/"
      {nullptr, nullptr, 1, "/"},  // missing
  };
  for (const auto& c : cases) {
    host->Counter->SysParams.clear();
    if (c.type) host->Counter->SysParams = {{"Sys001", c.type}, {"Sys002", c.separator}};
    form->SysParams->Clear();
    LoadParams();
    EXPECT_EQ(form->DateType(), c.expectedType) << (c.type ? c.type : "missing");
    EXPECT_EQ(form->DateTypeCache, c.expectedType);
    EXPECT_EQ(form->DateSeparator(), c.expectedSeparator);
    EXPECT_EQ(form->DateSepCache, c.expectedSeparator);
  }
}

TEST_F(SessionFormTest, EmptyClassificationParametersGetDefaultLabels) {
  host->Counter->SysParams = {{"SYS009", "颜色"}};
  LoadParams();
  EXPECT_EQ(form->SysParam("SYS007"), "商品分类方式一");
  EXPECT_EQ(form->SysParam("SYS008"), "商品分类方式二");
  EXPECT_EQ(form->SysParam("sys010"), "商品分类方式四");
  EXPECT_EQ(form->SysParam("SYS009"), "颜色");  // a value of its own stays
  MakeForm("437");
  LoadParams();
  EXPECT_EQ(form->SysParam("SYS007"), "Inv.Cate.1");
  EXPECT_EQ(form->SysParam("Sys008"), "Inv.Cate.2");
  EXPECT_EQ(form->SysParam("SYS010"), "Inv.Cate.4");
}

// On a traditional interface over a simplified database, parameter values
// are shown converted once the form's texts are; the default labels are the
// program's own and stay as they are.
TEST_F(SessionFormTest, ConvertedFormShowsParametersConvertedButDefaultLabelsAsTheyAre) {
  MakeForm("950");
  host->Counter->SysParams = {{"SYS007", "颜色"}};
  LoadParams();
  form->ConvertFormTexts();
  ASSERT_TRUE(form->TextsConverted());
  EXPECT_EQ(form->SysParam("SYS007"), "顏色");
  EXPECT_EQ(form->SysParam("SYS008"), "商品分类方式二");
}

TEST_F(SessionFormTest, WithoutCounterParametersReadAsEmpty) {
  form->Counter = Variant();
  EXPECT_NO_THROW(LoadParams());
  EXPECT_EQ(form->SysParam("Sys001"), "");
  EXPECT_EQ(form->DateType(), 1);
  EXPECT_EQ(form->DateSeparator(), "/");
}

class ServicesTest : public SessionFormTest {
 protected:
  void SetUp() override {
    SessionFormTest::SetUp();
    form->Counter = form->Validator = Variant();
    host->Counter->SysParams = {{"QVX002", "分公司"}};
  }
};

// Outside a library the form asks for the host object by name.
TEST_F(ServicesTest, StandAloneProgramCreatesTheHostObject) {
  RegisterAutomationFactory("FerrowWorkCenter.Manager", [shared = host] { return shared; });
  form->HostObject = Variant();
  form->GetServices();
  UnregisterAutomationFactory("FerrowWorkCenter.Manager");
  ASSERT_FALSE(form->HostObject.IsEmpty());
  EXPECT_EQ(form->HostObject.ToObject().get(), host.get());
  EXPECT_EQ(form->Counter.ToObject().get(), host->Counter.get());
  EXPECT_EQ(form->Validator.ToObject().get(), host->Validator.get());
  EXPECT_EQ(form->CompanyTag, "分公司");
  EXPECT_EQ(form->SysParam("QVX002"), "分公司");
}

TEST_F(ServicesTest, MissingServicesAreLeftUnassignedWithoutRaising) {
  host->Missing = {"com_counter"};
  RegisterAutomationFactory("FerrowWorkCenter.Manager", [shared = host] { return shared; });
  EXPECT_NO_THROW(form->GetServices());
  UnregisterAutomationFactory("FerrowWorkCenter.Manager");
  EXPECT_TRUE(form->Counter.IsEmpty());
  EXPECT_FALSE(form->Validator.IsEmpty());

  // No host object at all (none registered): no service, nothing raised.
  EXPECT_NO_THROW(form->GetServices());
  EXPECT_TRUE(form->HostObject.IsEmpty());
  EXPECT_TRUE(form->Counter.IsEmpty());
  EXPECT_TRUE(form->Validator.IsEmpty());
}

TEST_F(ServicesTest, LookupWindowOnlyWhenTheFlagsAskForIt) {
  form->Flags = 0;
  form->GetLookupWindowService();
  EXPECT_TRUE(form->LookupWindow.IsEmpty());
  EXPECT_TRUE(host->CallsOf("Com_F2Window").empty());
  form->Flags = 4;
  form->GetLookupWindowService();
  EXPECT_EQ(form->LookupWindow.ToObject().get(), host->LookupWindow.get());
  host->Missing = {"com_f2window"};
  form->GetLookupWindowService();
  EXPECT_TRUE(form->LookupWindow.IsEmpty());
}

}  // namespace
}  // namespace qv::test

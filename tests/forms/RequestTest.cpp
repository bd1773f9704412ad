// The job request the condition form builds from its hooks.
#include <gtest/gtest.h>

#include <functional>

#include "controls/DBLabel.h"
#include "forms/ConditionFormFixture.h"
#include "platform/core/Clock.h"
#include "platform/ui/controls/MaskEdit.h"

namespace qv {
namespace {

using test::ConditionFormFixture;
using test::TestConditionForm;

// A report form with three options of its own before the print date; each
// hook's array can be spoilt after the form filled it.
class ThreeOptionForm : public TestConditionForm {
 public:
  using TestConditionForm::TestConditionForm;

  void DefineProgram() override {
    TestConditionForm::DefineProgram();
    SetOptionCount(3);
  }
  bool FillOptionCaptions(Variant& captions, int start) override {
    if (!TestConditionForm::FillOptionCaptions(captions, start)) return false;
    for (int i = start - 2; i <= start; ++i) captions[i] = Variant::ArrayOf({"条件" + std::to_string(i), "ed"});
    if (spoilCaptions) spoilCaptions(captions);
    return true;
  }
  bool FillOptionValues(Variant& values, int start) override {
    if (!TestConditionForm::FillOptionValues(values, start)) return false;
    for (int i = start - 2; i <= start; ++i) values[i] = "值" + std::to_string(i);
    if (spoilValues) spoilValues(values);
    return valuesAnswer;
  }
  bool FillEnvironment(Variant& env, int count) override {
    if (!TestConditionForm::FillEnvironment(env, count)) return false;
    if (spoilEnv) spoilEnv(env);
    return true;
  }

  std::function<void(Variant&)> spoilCaptions, spoilValues, spoilEnv;
  bool valuesAnswer = true;
};

using BaseRequestTest = ConditionFormFixture<>;
using RequestTest = ConditionFormFixture<ThreeOptionForm>;

TEST_F(BaseRequestTest, RequestOfTheBaseForm) {
  const TDateTime now = EncodeDate(2024, 3, 15) + EncodeTime(10, 30, 0, 0);
  ScopedClock clock(now);
  TestConditionForm& form = Ready();
  form.edPrintDate->SetText("2024/03/15");
  ASSERT_TRUE(form.BuildRequest());
  const Variant& request = form.JobRequest;
  ASSERT_EQ(request.LowBound(), 0);
  ASSERT_EQ(request.HighBound(), 2);
  const Variant& env = request[0];
  ASSERT_EQ(env.LowBound(), 1);
  ASSERT_EQ(env.HighBound(), 9);
  const Variant expected[] = {"PQLR52", 9, 1, "C01", "U001", "DemoDB", Variant::FromDate(now), "PQLR52S.Class1", "R"};
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(env[i], expected[i - 1]) << i;
  EXPECT_EQ(request[1][1], Variant::ArrayOf({"制表日期", "edPrintDate"}));
  EXPECT_EQ(request[2][1], Variant("20240315"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(BaseRequestTest, IncompletePrintDateIsSentEmpty) {
  const struct {
    const char* text;
    const char* value;
  } cases[] = {{"", ""}, {"  ", ""}, {"2024/03/", ""}, {"/03/15", ""}, {"2024/3/5", "20240305"}};
  TestConditionForm& form = Ready();
  for (const auto& c : cases) {
    form.edPrintDate->SetText(c.text);
    ASSERT_TRUE(form.BuildRequest()) << c.text;
    EXPECT_EQ(form.JobRequest[2][1], Variant(c.value)) << c.text;
  }
}

TEST_F(BaseRequestTest, NothingToRequestIsReported) {
  const struct {
    int envCount, optionCount;
  } cases[] = {{0, 1}, {9, 0}};
  TestConditionForm& form = Ready();
  for (const auto& c : cases) {
    form.EnvCount = c.envCount;
    form.OptionCount = c.optionCount;
    EXPECT_FALSE(form.BuildRequest());
  }
  EXPECT_EQ(Messages(), (std::vector<std::string>{"无选项", "无选项"}));
  EXPECT_TRUE(form.JobRequest.IsEmpty());
}

TEST_F(RequestTest, PrintDateTakesTheLastOptionIndex) {
  ThreeOptionForm& form = Ready();
  ASSERT_EQ(form.OptionCount, 4);
  form.edPrintDate->SetText("2024/03/15");
  ASSERT_TRUE(form.BuildRequest());
  EXPECT_EQ(form.JobRequest[0][3], Variant(4));
  EXPECT_EQ(form.JobRequest[1].HighBound(), 4);
  EXPECT_EQ(form.JobRequest[1][1], Variant::ArrayOf({"条件1", "ed"}));
  EXPECT_EQ(form.JobRequest[1][4], Variant::ArrayOf({"制表日期", "edPrintDate"}));
  EXPECT_EQ(form.JobRequest[2][3], Variant("值3"));
  EXPECT_EQ(form.JobRequest[2][4], Variant("20240315"));
}

TEST_F(RequestTest, FaultyArrayIsNamedAndStopsTheBuild) {
  const auto shorten = [](Variant& array) { array = Variant::Array(1, array.HighBound() - 1); };
  const auto lengthen = [](Variant& array) {
    Variant longer = Variant::Array(1, array.HighBound() + 1);
    for (int i = 1; i <= longer.HighBound(); ++i) longer[i] = "x";
    array = longer;
  };
  const auto unset = [](int index) { return [index](Variant& array) { array[index] = Variant::Null(); }; };
  const struct {
    const char* name;
    std::function<void(ThreeOptionForm&)> spoil;
    const char* message;
  } cases[] = {
      {"captions short", [&](ThreeOptionForm& f) { f.spoilCaptions = shorten; }, "选择条件文字:4/3"},
      {"caption unset", [&](ThreeOptionForm& f) { f.spoilCaptions = unset(2); }, "选择条件文字:4/2"},
      {"values long", [&](ThreeOptionForm& f) { f.spoilValues = lengthen; }, "选择条件信息:4/5"},
      {"value empty", [&](ThreeOptionForm& f) { f.spoilValues = [](Variant& a) { a[1] = Variant(); }; },
       "选择条件信息:4/1"},
      {"environment unset", [&](ThreeOptionForm& f) { f.spoilEnv = unset(5); }, "环境设置:9/5"},
  };
  for (const auto& c : cases) {
    dialogs.shown.clear();
    ThreeOptionForm& form = Ready();
    c.spoil(form);
    EXPECT_FALSE(form.BuildRequest()) << c.name;
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.name;
    EXPECT_TRUE(form.JobRequest.IsEmpty()) << c.name;
  }
}

TEST_F(RequestTest, FailingHookEndsTheBuildWithoutAFurtherMessage) {
  ThreeOptionForm& form = Ready();
  form.valuesAnswer = false;
  EXPECT_FALSE(form.BuildRequest());
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(form.JobRequest.IsEmpty());
}

}  // namespace
}  // namespace qv

// The condition intake: condition data handed over by the controller.
#include <gtest/gtest.h>

#include "forms/ConditionFormFixture.h"

namespace qv {
namespace {

using test::ConditionFormFixture;
using test::TestConditionForm;

using ConditionIntakeTest = ConditionFormFixture<>;

// The pair the controller hands over: [by name, [mode, [by name, values]]].
Variant Pair(int mode, bool byName, const Variant& values) {
  return Variant::ArrayOf({byName, Variant::ArrayOf({mode, Variant::ArrayOf({byName, values})})});
}

// Values by name: [Items, Data], element 1 of each item the component's name.
Variant ByNameValues(const std::vector<const char*>& names) {
  std::vector<Variant> items;
  for (const char* name : names) items.push_back(Variant::ArrayOf({"caption", name}));
  return Variant::ArrayOf({Variant::ArrayOf(items), Variant::ArrayOf({"data"})});
}

TEST_F(ConditionIntakeTest, ModeDecidesWhatFollowsALoad) {
  const struct {
    int mode;
    bool loads;
    int okClicks;
    std::vector<int> runModes;
    bool autoRun, interactive;
  } cases[] = {
      {0, true, 0, {}, false, true},   {1, true, 1, {}, true, true},    {2, true, 1, {}, true, false},
      {3, true, 0, {3}, true, false},  {7, true, 0, {7}, true, false},  {1, false, 0, {}, false, true},
      {2, false, 0, {}, false, false}, {3, false, 0, {}, false, false},
  };
  for (const auto& c : cases) {
    TestConditionForm& form = Ready();
    form.loadAnswer = c.loads;
    const Variant values = Variant::ArrayOf({"v1", "v2"});
    form.ReceiveCondition(Pair(c.mode, false, values));
    ASSERT_EQ(form.loadedValues.size(), 1u) << c.mode;
    EXPECT_EQ(form.loadedValues[0], values);
    EXPECT_EQ(form.okClicks, c.okClicks) << c.mode << " " << c.loads;
    EXPECT_EQ(form.runModes, c.runModes) << c.mode << " " << c.loads;
    EXPECT_EQ(form.AutoRun, c.autoRun) << c.mode << " " << c.loads;
    EXPECT_EQ(form.Interactive, c.interactive) << c.mode;
    EXPECT_FALSE(form.ByName);
  }
}

TEST_F(ConditionIntakeTest, ByNameChecksThatEveryNamedComponentCanTakeAValue) {
  const struct {
    std::vector<const char*> names;
    bool accepted;
  } cases[] = {
      {{"edPrintDate"}, true},
      {{"edPrintDate", "lblToday"}, false},  // a label holds no condition value
      {{"edMissing"}, false},
      {{"pgOption"}, false},
  };
  for (const auto& c : cases) {
    dialogs.shown.clear();
    TestConditionForm& form = Ready();
    form.ErrorCodes = "E;-1; ";
    form.ReceiveCondition(Pair(1, true, ByNameValues(c.names)));
    EXPECT_TRUE(form.ByName);
    EXPECT_TRUE(form.loadedValues.empty());
    EXPECT_EQ(form.okClicks, c.accepted ? 1 : 0);
    if (c.accepted) {
      EXPECT_EQ(form.ErrorCodes, "");
      EXPECT_TRUE(Messages().empty());
    } else {
      EXPECT_EQ(form.ErrorCodes, "E;-1; W;000014; ");
      EXPECT_EQ(Messages(), std::vector<std::string>{"条件名称错误"});
    }
  }
}

TEST_F(ConditionIntakeTest, DataWithoutValuesIsKeptAndNothingRuns) {
  const Variant cases[] = {
      Variant(),
      Variant::Null(),
      Variant("text"),
      Variant::ArrayOf({1}),                                        // a mode and nothing else
      Variant::ArrayOf({1, Variant::ArrayOf({false, Variant::ArrayOf(std::vector<Variant>{})})}),  // no values
  };
  for (const Variant& data : cases) {
    TestConditionForm& form = Ready();
    form.ReceiveCondition(Variant::ArrayOf({true, data}));
    EXPECT_EQ(form.ConditionData, data);
    EXPECT_EQ(form.okClicks, 0);
    EXPECT_TRUE(form.runModes.empty());
    EXPECT_FALSE(form.AutoRun);
  }
}

TEST_F(ConditionIntakeTest, IntakeConvertsTheFormTextsOnce) {
  TestConditionForm& form = Ready();
  ASSERT_FALSE(form.TextsConverted());
  form.ReceiveCondition(Pair(0, false, Variant::ArrayOf({"v"})));
  EXPECT_TRUE(form.TextsConverted());
}

}  // namespace
}  // namespace qv

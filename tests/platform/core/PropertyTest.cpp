// Published properties read and written by name, for every kind, and method
// pointers saved and restored through them.
#include <gtest/gtest.h>

#include "platform/core/Component.h"
#include "platform/core/Exception.h"
#include "platform/core/TypInfo.h"

namespace qv {
namespace {

enum TPanelStyle { sp_Range, sp_List, sp_UserChoice };
const TEnumType kPanelStyle("TPanelStyle", {"sp_Range", "sp_List", "sp_UserChoice"});
const TEnumType kAnchorKind("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});

class TSampleFont : public TPersistent {
  QV_OBJECT(TSampleFont, TPersistent)
  std::string Name = "宋体";
  int Height = -12;
};

const TClass& TSampleFont::StaticClass() {
  static const TClass cls = ClassBuilder<TSampleFont>("TSampleFont", &TPersistent::StaticClass())
                                .String("Name", &TSampleFont::Name, &TSampleFont::Name)
                                .Integer("Height", &TSampleFont::Height, &TSampleFont::Height);
  return cls;
}

class TSample : public TComponent {
  QV_OBJECT(TSample, TComponent)
  using TComponent::TComponent;

  int Width() const { return width_; }
  void SetWidth(int width) { width_ = width < 0 ? 0 : width; }  // a setter with a rule of its own

  char PasswordChar = '\0';
  bool UserChoice = false;
  TPanelStyle Style = sp_Range;
  std::uint32_t Anchors = 0b0011;
  double Ratio = 0.5;
  std::string Caption;
  TSampleFont Font;
  TComponent* Buddy = nullptr;
  TNotifyEvent OnExit;
  Event<void(TObject*, int&)> OnKey;

  void HandleExit(TObject* sender) { lastSender = sender; ++exits; }
  void OtherExit(TObject*) { ++otherExits; }
  void HandleKey(TObject*, int& key) { key = 0; }

  TObject* lastSender = nullptr;
  int exits = 0, otherExits = 0;

 private:
  int width_ = 10;
};

const TClass& TSample::StaticClass() {
  static const TClass cls =
      ClassBuilder<TSample>("TSample", &TComponent::StaticClass())
          .Integer("Width", &TSample::Width, &TSample::SetWidth)
          .Char("PasswordChar", &TSample::PasswordChar, &TSample::PasswordChar)
          .Boolean("UserChoice", &TSample::UserChoice, &TSample::UserChoice)
          .Enumeration("Style", kPanelStyle, &TSample::Style, &TSample::Style)
          .Set("Anchors", kAnchorKind, &TSample::Anchors, &TSample::Anchors)
          .Float("Ratio", &TSample::Ratio, &TSample::Ratio)
          .String("Caption", &TSample::Caption, &TSample::Caption)
          .Object("Font", TSampleFont::StaticClass(), [](const TSample& s) { return &s.Font; })
          .Object("Buddy", TComponent::StaticClass(), &TSample::Buddy, &TSample::Buddy)
          .Integer("ReadOnlyTag", [](const TSample& s) { return s.Tag() * 2; })
          .Event("OnExit", &TSample::OnExit)
          .Event("OnKey", &TSample::OnKey)
          .Method<&TSample::HandleExit>("HandleExit")
          .Method<&TSample::OtherExit>("OtherExit");
  return cls;
}

class TDerivedSample : public TSample {
  QV_OBJECT(TDerivedSample, TSample)
  using TSample::TSample;
  std::string Hint;
};

const TClass& TDerivedSample::StaticClass() {
  static const TClass cls = ClassBuilder<TDerivedSample>("TDerivedSample", &TSample::StaticClass())
                                .String("Hint", &TDerivedSample::Hint, &TDerivedSample::Hint);
  return cls;
}

TEST(ClassInfo, ChainAndInheritedProperties) {
  TDerivedSample sample(nullptr);
  EXPECT_EQ(sample.ClassName(), "TDerivedSample");
  EXPECT_TRUE(sample.InheritsFrom("tsample"));
  EXPECT_TRUE(sample.InheritsFrom("TComponent"));
  EXPECT_FALSE(sample.InheritsFrom("TSampleFont"));
  EXPECT_TRUE(sample.Is<TSample>());
  EXPECT_EQ(ObjectAs<TSampleFont>(&sample), nullptr);

  ASSERT_NE(GetPropInfo(&sample, "NAME"), nullptr);  // from TComponent, any case
  ASSERT_NE(GetPropInfo(&sample, "Hint"), nullptr);
  EXPECT_EQ(GetPropInfo(&sample, ""), nullptr);
  EXPECT_EQ(GetPropInfo(&sample, "Nope"), nullptr);
  EXPECT_EQ(GetPropInfo(nullptr, "Name"), nullptr);

  const auto all = sample.ClassType().Properties();
  ASSERT_GE(all.size(), 3u);
  EXPECT_EQ(all[0]->Name, "Name");  // ancestors' properties come first
  EXPECT_EQ(all.back()->Name, "Hint");
}

struct TextCase {
  const char* property;
  const char* text;
  const char* readBack;
};

class PropertyText : public ::testing::TestWithParam<TextCase> {};

TEST_P(PropertyText, RoundTripsThroughText) {
  TSample sample(nullptr);
  const TPropInfo* info = GetPropInfo(&sample, GetParam().property);
  ASSERT_NE(info, nullptr);
  SetPropText(sample, *info, GetParam().text);
  EXPECT_EQ(GetPropText(sample, *info), GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, PropertyText,
    ::testing::Values(TextCase{"Width", "120", "120"}, TextCase{"Width", "-5", "0"},  // setter rule applies
                      TextCase{"Width", "$10", "16"}, TextCase{"PasswordChar", "*", "*"},
                      TextCase{"UserChoice", "True", "True"}, TextCase{"UserChoice", "false", "False"},
                      TextCase{"UserChoice", "1", "True"}, TextCase{"Style", "sp_UserChoice", "sp_UserChoice"},
                      TextCase{"Style", "SP_LIST", "sp_List"}, TextCase{"Style", "2", "sp_UserChoice"},
                      TextCase{"Anchors", "[akRight, akBottom]", "[akRight,akBottom]"},
                      TextCase{"Anchors", "[]", "[]"}, TextCase{"Anchors", "5", "[akLeft,akRight]"},
                      TextCase{"Ratio", "2.25", "2.25"}, TextCase{"Caption", "制表日期", "制表日期"}));

TEST(PropertyText, RefusesTextsThatDoNotFit) {
  TSample sample(nullptr);
  const struct {
    const char* property;
    const char* text;
  } cases[] = {{"Width", "12px"}, {"Width", ""},     {"PasswordChar", "ab"}, {"Style", "sp_Other"},
               {"Style", "3"},    {"Anchors", "akLeft"}, {"Anchors", "[akMiddle]"}, {"Ratio", "1,5"}};
  for (const auto& c : cases) {
    const TPropInfo* info = GetPropInfo(&sample, c.property);
    const std::string before = GetPropText(sample, *info);
    EXPECT_THROW(SetPropText(sample, *info, c.text), EConvertError) << c.property << " " << c.text;
    EXPECT_EQ(GetPropText(sample, *info), before) << c.property;
  }
}

TEST(TypedAccess, KindMismatchAndReadOnlyRaise) {
  TSample sample(nullptr);
  sample.SetTag(21);
  const TPropInfo& readOnly = *GetPropInfo(&sample, "ReadOnlyTag");
  EXPECT_EQ(GetOrdProp(sample, readOnly), 42);
  EXPECT_THROW(SetOrdProp(sample, readOnly, 1), EPropertyError);
  EXPECT_THROW(GetStrProp(sample, *GetPropInfo(&sample, "Width")), EPropertyError);
  EXPECT_THROW(GetOrdProp(sample, *GetPropInfo(&sample, "Caption")), EPropertyError);
  EXPECT_THROW(GetPropText(sample, *GetPropInfo(&sample, "OnExit")), EPropertyError);
}

TEST(ObjectProperties, PathsWalkIntoObjects) {
  TSample sample(nullptr);
  TObject* target = nullptr;
  const TPropInfo* info = ResolvePropPath(&sample, "Font.Name", target);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(target, &sample.Font);
  SetPropText(*target, *info, "黑体");
  EXPECT_EQ(sample.Font.Name, "黑体");

  EXPECT_EQ(ResolvePropPath(&sample, "Font.Colour", target), nullptr);
  EXPECT_EQ(ResolvePropPath(&sample, "Caption.Name", target), nullptr);  // not an object
  EXPECT_EQ(ResolvePropPath(&sample, "Buddy.Name", target), nullptr);    // object is absent
}

TEST(ObjectProperties, SetterChecksTheClass) {
  TSample sample(nullptr);
  TComponent other(nullptr);
  const TPropInfo& buddy = *GetPropInfo(&sample, "Buddy");
  SetObjectProp(sample, buddy, &other);
  EXPECT_EQ(sample.Buddy, &other);
  EXPECT_THROW(SetObjectProp(sample, buddy, &sample.Font), EPropertyError);
  EXPECT_EQ(sample.Buddy, &other);
  SetObjectProp(sample, buddy, nullptr);
  EXPECT_EQ(sample.Buddy, nullptr);
}

TEST(MethodPointers, SavedComparedAndRestoredByName) {
  TSample a(nullptr), b(nullptr);
  const TPropInfo& onExit = *GetPropInfo(&a, "OnExit");

  EXPECT_FALSE(GetMethodProp(a, onExit));  // empty handler: both parts absent
  EXPECT_EQ(GetMethodProp(a, onExit).Data, nullptr);

  const MethodCode* code = a.MethodAddress("handleexit");
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code, MethodCodeOf<&TSample::HandleExit>());
  EXPECT_EQ(a.ClassType().MethodName(code), "HandleExit");
  EXPECT_EQ(a.MethodAddress("Missing"), nullptr);

  SetMethodProp(a, onExit, TMethod{code, &b});  // the handler of another object
  const TMethod saved = GetMethodProp(a, onExit);
  EXPECT_EQ(saved, (TMethod{code, &b}));
  a.OnExit(&a);
  EXPECT_EQ(b.exits, 1);
  EXPECT_EQ(b.lastSender, &a);
  EXPECT_EQ(a.exits, 0);

  a.OnExit = MethodOf<&TSample::OtherExit>(&a);  // replace, then restore the saved one
  EXPECT_NE(GetMethodProp(a, onExit), saved);
  SetMethodProp(a, onExit, saved);
  a.OnExit(&a);
  EXPECT_EQ(b.exits, 2);
  EXPECT_EQ(a.otherExits, 0);
}

TEST(MethodPointers, SignatureIsChecked) {
  TSample sample(nullptr);
  const TPropInfo& onKey = *GetPropInfo(&sample, "OnKey");
  EXPECT_THROW(SetMethodProp(sample, onKey, MethodOf<&TSample::HandleExit>(&sample)), EPropertyError);
  EXPECT_FALSE(sample.OnKey.Assigned());

  sample.OnKey = MethodOf<&TSample::HandleKey>(&sample);
  int key = 13;
  sample.OnKey(&sample, key);  // arguments by reference reach the handler
  EXPECT_EQ(key, 0);
  EXPECT_THROW(sample.OnExit = MethodOf<&TSample::HandleKey>(&sample), EPropertyError);
}

}  // namespace
}  // namespace qv

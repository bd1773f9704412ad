// Reaching the published properties of a component whose class is not
// known at build time; no call raises.
#include <gtest/gtest.h>

#include "platform/core/Component.h"
#include "services/LibStrs.h"

namespace qv {
namespace {

class TProbe : public TComponent {
  QV_OBJECT(TProbe, TComponent)
  using TComponent::TComponent;
  std::string Caption;
  bool UserChoice = false;
  TNotifyEvent OnExit;
  Event<void(TObject*, int&)> OnKeyPress;
  int readOnlyWidth = 75;
  void ExitHandler(TObject*) { ++exits; }
  int exits = 0;
};

const TClass& TProbe::StaticClass() {
  static const TClass cls = ClassBuilder<TProbe>("TProbe", &TComponent::StaticClass())
                                .String("Caption", &TProbe::Caption, &TProbe::Caption)
                                .Boolean("UserChoice", &TProbe::UserChoice, &TProbe::UserChoice)
                                .Integer("Width", &TProbe::readOnlyWidth)
                                .Event("OnExit", &TProbe::OnExit)
                                .Event("OnKeyPress", &TProbe::OnKeyPress);
  return cls;
}

TEST(PropertyByName, ReadsAndWritesWhatIsPublished) {
  TProbe probe(nullptr);
  SetStringProperty(&probe, "caption", "条件");
  EXPECT_EQ(GetStringProperty(&probe, "Caption"), "条件");
  SetOrdinalProperty(&probe, "UserChoice", 1);
  EXPECT_TRUE(probe.UserChoice);
  EXPECT_EQ(GetOrdinalProperty(&probe, "UserChoice"), 1);
  SetOrdinalProperty(&probe, "Tag", 9);
  EXPECT_EQ(GetOrdinalProperty(&probe, "Tag"), 9);
  EXPECT_TRUE(HasProperty(&probe, "OnExit"));
}

TEST(PropertyByName, MissingOrMismatchedGivesTheEmptyResult) {
  TProbe probe(nullptr);
  probe.Caption = "kept";
  EXPECT_FALSE(HasProperty(nullptr, "Caption"));
  EXPECT_FALSE(HasProperty(&probe, ""));
  EXPECT_FALSE(HasProperty(&probe, "Color"));
  EXPECT_EQ(GetStringProperty(nullptr, "Caption"), "");
  EXPECT_EQ(GetStringProperty(&probe, "UserChoice"), "");  // not a text property
  EXPECT_EQ(GetOrdinalProperty(&probe, "Caption"), 0);
  EXPECT_EQ(GetOrdinalProperty(nullptr, "Tag"), 0);
  SetStringProperty(nullptr, "Caption", "x");
  SetStringProperty(&probe, "Missing", "x");
  SetOrdinalProperty(&probe, "Caption", 5);
  SetOrdinalProperty(&probe, "Width", 5);  // read-only
  EXPECT_EQ(probe.Caption, "kept");
  EXPECT_EQ(probe.readOnlyWidth, 75);
}

TEST(PropertyByName, EventHandlersSavedAndRestored) {
  TProbe probe(nullptr);
  const TMethod none = GetMethodProperty(probe, "OnExit");
  EXPECT_EQ(none.Code, nullptr);
  EXPECT_EQ(none.Data, nullptr);
  EXPECT_EQ(GetMethodProperty(probe, "Caption"), TMethod{});

  const TMethod handler = MethodOf<&TProbe::ExitHandler>(&probe);
  SetMethodProperty(probe, "OnExit", handler);
  EXPECT_EQ(GetMethodProperty(probe, "onexit"), handler);
  probe.OnExit(&probe);
  EXPECT_EQ(probe.exits, 1);

  SetMethodProperty(probe, "OnKeyPress", handler);  // another signature: refused
  EXPECT_FALSE(probe.OnKeyPress.Assigned());
  SetMethodProperty(probe, "OnExit", TMethod{});
  EXPECT_FALSE(probe.OnExit.Assigned());
}

}  // namespace
}  // namespace qv

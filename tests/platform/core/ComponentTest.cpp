// Ownership, names, removal notices and the loading bracket of components.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Exception.h"

namespace qv {
namespace {

std::vector<std::string> journal;

class TWatcher : public TComponent {
  QV_OBJECT(TWatcher, TComponent)
  using TComponent::TComponent;
  ~TWatcher() override { journal.push_back("destroy " + Name()); }
  TComponent* watched = nullptr;
  bool loadingSeenInLoaded = false;

 protected:
  void Loaded() override {
    loadingSeenInLoaded = HasState(ComponentStateFlag::Loading);
    TComponent::Loaded();
    journal.push_back("loaded " + Name());
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == watched) {
      watched = nullptr;
      journal.push_back(Name() + " lost " + component->Name());
    }
  }
};

const TClass& TWatcher::StaticClass() {
  static const TClass cls = ClassBuilder<TWatcher>("TWatcher", &TComponent::StaticClass());
  return cls;
}

// A component named by the first name that makes a part of its own, as a
// control makes its label, named by the rest of the names in turn.
class TAssembly : public TWatcher {
  QV_OBJECT(TAssembly, TWatcher)
  TAssembly(TComponent* owner, std::vector<std::string> names) : TWatcher(owner) {
    SetName(names.front());
    names.erase(names.begin());
    if (!names.empty()) part = new TAssembly(this, names);
  }
  TAssembly* part = nullptr;
};

const TClass& TAssembly::StaticClass() {
  static const TClass cls = ClassBuilder<TAssembly>("TAssembly", &TWatcher::StaticClass());
  return cls;
}

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { journal.clear(); }
};

TEST_F(ComponentTest, OwnerFreesItsComponentsLastFirst) {
  auto* form = new TWatcher(nullptr);
  form->SetName("frm");
  for (const char* name : {"a", "b", "c"}) (new TWatcher(form))->SetName(name);
  EXPECT_EQ(form->ComponentCount(), 3);
  EXPECT_EQ(form->Components(1)->Name(), "b");
  EXPECT_EQ(form->Components(2)->ComponentIndex(), 2);
  EXPECT_EQ(form->FindComponent("B"), form->Components(1));
  delete form;
  EXPECT_EQ(journal, (std::vector<std::string>{"destroy frm", "destroy c", "destroy b", "destroy a"}));
}

TEST_F(ComponentTest, RemovalIsAnnouncedToTheOwnersComponents) {
  TWatcher form(nullptr);
  auto* edit = new TWatcher(&form);
  edit->SetName("edDate");
  auto* label = new TWatcher(&form);
  label->SetName("lblDate");
  label->watched = edit;
  delete edit;
  EXPECT_EQ(label->watched, nullptr);
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(journal.back(), "lblDate lost edDate");
}

TEST_F(ComponentTest, FreeNotificationAcrossOwners) {
  TWatcher left(nullptr), right(nullptr);
  auto* target = new TWatcher(&left);
  target->SetName("target");
  right.watched = target;
  right.FreeNotification(target);
  delete target;
  EXPECT_EQ(right.watched, nullptr);
}

TEST_F(ComponentTest, NamesAreIdentifiersAndUniquePerOwner) {
  TComponent form(nullptr);
  auto* first = new TComponent(&form);
  first->SetName("btnOk");
  auto* second = new TComponent(&form);
  EXPECT_THROW(second->SetName("BTNOK"), EComponentError);
  EXPECT_THROW(second->SetName("1st"), EComponentError);
  EXPECT_THROW(second->SetName("has space"), EComponentError);
  EXPECT_EQ(second->Name(), "");
  second->SetName("btnCancel");
  EXPECT_EQ(form.FindComponent("btncancel"), second);
  EXPECT_EQ(form.FindComponent(""), nullptr);
}

TEST_F(ComponentTest, ChangingOwners) {
  TComponent a(nullptr), b(nullptr);
  auto* child = new TComponent(&a);
  b.InsertComponent(child);
  EXPECT_EQ(child->Owner(), &b);
  EXPECT_EQ(a.ComponentCount(), 0);
  EXPECT_EQ(b.ComponentCount(), 1);
}

TEST_F(ComponentTest, LoadingBracketEndsWithLoaded) {
  TWatcher form(nullptr);
  form.SetName("frm");
  TWatcher* panel;
  {
    LoadingScope loading(form);
    panel = new TWatcher(&form);
    panel->SetName("pnl");
    EXPECT_TRUE(form.HasState(ComponentStateFlag::Loading));
    EXPECT_TRUE(panel->HasState(ComponentStateFlag::Loading));
    EXPECT_TRUE(journal.empty());
  }
  EXPECT_EQ(journal, (std::vector<std::string>{"loaded frm", "loaded pnl"}));
  EXPECT_TRUE(panel->loadingSeenInLoaded);
  EXPECT_FALSE(panel->HasState(ComponentStateFlag::Loading));
  EXPECT_FALSE(form.HasState(ComponentStateFlag::Loading));
}

// The parts a component makes while loading start out loading with it; no
// bracket names them, so they finish with it, just before it.
TEST_F(ComponentTest, PartsFinishLoadingJustBeforeTheirMaker) {
  TWatcher form(nullptr);
  form.SetName("frm");
  TAssembly* panel;
  {
    LoadingScope loading(form);
    panel = new TAssembly(&form, {"pnl", "lbl", "inner"});
    (new TWatcher(&form))->SetName("last");
    EXPECT_TRUE(panel->part->part->HasState(ComponentStateFlag::Loading));
  }
  EXPECT_EQ(journal, (std::vector<std::string>{"loaded frm", "loaded inner", "loaded lbl", "loaded pnl", "loaded last"}));
  for (TAssembly* part : {panel->part, panel->part->part}) {
    EXPECT_FALSE(part->HasState(ComponentStateFlag::Loading)) << part->Name();
    EXPECT_TRUE(part->loadingSeenInLoaded) << part->Name();
  }
}

TEST_F(ComponentTest, DesigningSpreadsToOwnedComponents) {
  TComponent form(nullptr);
  auto* early = new TComponent(&form);
  form.SetDesigning(true);
  auto* late = new TComponent(&form);
  EXPECT_TRUE(early->HasState(ComponentStateFlag::Designing));
  EXPECT_TRUE(late->HasState(ComponentStateFlag::Designing));
}

}  // namespace
}  // namespace qv

#include "platform/core/Component.h"

#include <algorithm>
#include <cctype>

#include "platform/core/AsciiText.h"
#include "platform/core/Exception.h"

namespace qv {

namespace {

bool IsIdentifier(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

void Erase(std::vector<TComponent*>& list, TComponent* component) {
  list.erase(std::remove(list.begin(), list.end(), component), list.end());
}

}  // namespace

const TClass& TComponent::StaticClass() {
  static const TClass cls = ClassBuilder<TComponent>("TComponent", &TPersistent::StaticClass())
                                .String("Name", &TComponent::Name, &TComponent::SetName)
                                .Integer("Tag", &TComponent::Tag, &TComponent::SetTag);
  return cls;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  SetState(ComponentStateFlag::Destroying, true);
  RemoveFreeNotifications();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsIdentifier(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this) throw EComponentError("A component named " + name + " already exists");
  }
  name_ = name;
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& siblings = owner_->components_;
  const auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameTextAscii(c->name_, name))
      return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (!component->name_.empty() && FindComponent(component->name_))
    throw EComponentError("A component named " + component->name_ + " already exists");
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  if (HasState(ComponentStateFlag::Loading)) component->SetState(ComponentStateFlag::Loading, true);
  if (HasState(ComponentStateFlag::Designing)) component->SetDesigning(true);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, TOperation::opRemove);
  Erase(components_, component);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    RemoveComponent(last);
    Free(last);
  }
}

void TComponent::SetState(ComponentStateFlag flag, bool on) {
  if (on)
    state_ |= static_cast<std::uint8_t>(flag);
  else
    state_ &= static_cast<std::uint8_t>(~static_cast<std::uint8_t>(flag));
}

void TComponent::SetDesigning(bool designing) {
  SetState(ComponentStateFlag::Designing, designing);
  for (TComponent* c : components_) c->SetDesigning(designing);
}

void TComponent::SetAncestor(bool ancestor) {
  SetState(ComponentStateFlag::Ancestor, ancestor);
  for (TComponent* c : components_) c->SetAncestor(ancestor);
}

void TComponent::Loaded() { SetState(ComponentStateFlag::Loading, false); }

void TComponent::FinishLoading() {
  const std::vector<TComponent*> parts = components_;
  for (TComponent* part : parts)
    if (part->HasState(ComponentStateFlag::Loading)) part->FinishLoading();
  Loaded();
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component) {
    Erase(freeNotifies_, component);
  }
  // Copy: a handler may free components of its own.
  const std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (c != component) c->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  Erase(freeNotifies_, component);
  Erase(component->freeNotifies_, this);
}

void TComponent::RemoveFreeNotifications() {
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    Erase(other->freeNotifies_, this);
    other->Notification(this, TOperation::opRemove);
  }
}

LoadingScope::LoadingScope(TComponent& root) : root_(root) {
  root_.SetState(ComponentStateFlag::Loading, true);
  root_.SetState(ComponentStateFlag::Reading, true);
  for (TComponent* c : root_.ComponentList()) c->SetState(ComponentStateFlag::Loading, true);
}

LoadingScope::~LoadingScope() {
  root_.SetState(ComponentStateFlag::Reading, false);
  root_.Loaded();
  const std::vector<TComponent*> owned = root_.ComponentList();
  for (TComponent* c : owned)
    if (c->HasState(ComponentStateFlag::Loading)) c->FinishLoading();
}

}  // namespace qv

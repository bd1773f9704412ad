#pragma once
// TComponent: a named object owned by another component. The owner keeps its
// components in ownership order and frees them when it goes; components
// removed from an owner are announced to the owner's other components.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Object.h"

namespace qv {

enum class ComponentStateFlag : std::uint8_t {
  Loading = 1 << 0,
  Reading = 1 << 1,
  Writing = 1 << 2,
  Designing = 1 << 3,
  Ancestor = 1 << 4,
  Destroying = 1 << 5,
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  QV_OBJECT(TComponent, TPersistent)

  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  const std::string& Name() const { return name_; }
  // Raises EComponentError for a name that is not an identifier or that
  // another component of the same owner already has.
  virtual void SetName(const std::string& name);
  std::int64_t Tag() const { return tag_; }
  void SetTag(std::int64_t tag) { tag_ = tag; }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  int ComponentIndex() const;
  // An owned component by name (without regard to case), or nullptr.
  TComponent* FindComponent(std::string_view name) const;

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees the owned components, last first. Classes whose components refer
  // back to members of the class call this in their own destructor, so the
  // components go while those members still exist.
  void DestroyComponents();

  bool HasState(ComponentStateFlag flag) const { return (state_ & static_cast<std::uint8_t>(flag)) != 0; }
  void SetDesigning(bool designing);
  void SetAncestor(bool ancestor);

  // Asks to be told (through Notification) when the other component goes.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

 protected:
  friend class LoadingScope;

  // Runs when the component has been built and its properties set.
  virtual void Loaded();
  virtual void Notification(TComponent* component, TOperation operation);
  void SetState(ComponentStateFlag flag, bool on);

 private:
  void RemoveFreeNotifications();
  // Ends the loading of the parts this component made while it was loading
  // (they start out loading with it, and no bracket names them), then its
  // own, so that its Loaded finds its parts loaded.
  void FinishLoading();

  std::string name_;
  std::int64_t tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::uint8_t state_ = 0;
};

// The loading bracket of a component built in code: while it lives the root
// and every component it comes to own are loading; at its end Loaded runs on
// the root and then on each owned component in ownership order, so the
// load-time rules of components hold as for components read from a resource.
// The parts a component makes for itself while loading finish just before it.
class LoadingScope {
 public:
  explicit LoadingScope(TComponent& root);
  ~LoadingScope();
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  TComponent& root_;
};

}  // namespace qv

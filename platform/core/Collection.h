#pragma once
// A collection: an ordered list of items of one class that publish their
// properties like any object (the panels of a status bar, the columns of a
// grid). The collection makes its items through the factory it is given, so
// code that only knows the collection can add items of the right class.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Method.h"
#include "platform/core/Object.h"

namespace qv {

class TCollection;

class TCollectionItem : public TPersistent {
  QV_OBJECT(TCollectionItem, TPersistent)

  TCollectionItem() = default;

  // The collection the item is in, or nullptr before it is added.
  TCollection* Collection() const { return collection_; }
  // The position in the collection, or -1 outside one.
  int Index() const;

 protected:
  // Item classes call this when a published value changes.
  void Changed();

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
  QV_OBJECT(TCollection, TPersistent)

  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;

  explicit TCollection(ItemFactory factory);
  // A collection of items of class T.
  template <class T>
  static std::unique_ptr<TCollection> Of() {
    return std::make_unique<TCollection>([] { return std::make_unique<T>(); });
  }
  ~TCollection() override;

  int Count() const { return static_cast<int>(items_.size()); }
  // Raises ERangeError for an index outside 0 … Count − 1.
  TCollectionItem* Items(int index) const;
  TCollectionItem* operator[](int index) const { return Items(index); }
  // Appends a new item made by the factory.
  TCollectionItem* Add();
  // Raises ERangeError for an index outside 0 … Count − 1.
  void Delete(int index);
  void Clear();
  int IndexOf(const TCollectionItem* item) const;

  // Raised after items are added, deleted or changed.
  TNotifyEvent OnChange;

 private:
  friend class TCollectionItem;
  void CheckIndex(int index) const;
  void Changed() { OnChange(this); }

  ItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
};

}  // namespace qv

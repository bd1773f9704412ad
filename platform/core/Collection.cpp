#include "platform/core/Collection.h"

#include <string>

#include "platform/core/Exception.h"

namespace qv {

const TClass& TCollectionItem::StaticClass() {
  static const TClass cls = ClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClass())
                                .Integer("Index", &TCollectionItem::Index);
  return cls;
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::Changed() {
  if (collection_) collection_->Changed();
}

const TClass& TCollection::StaticClass() {
  static const TClass cls = ClassBuilder<TCollection>("TCollection", &TPersistent::StaticClass())
                                .Integer("Count", &TCollection::Count);
  return cls;
}

TCollection::TCollection(ItemFactory factory) : factory_(std::move(factory)) {}

TCollection::~TCollection() = default;

void TCollection::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
}

TCollectionItem* TCollection::Items(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].get();
}

TCollectionItem* TCollection::Add() {
  std::unique_ptr<TCollectionItem> item = factory_();
  item->collection_ = this;
  items_.push_back(std::move(item));
  Changed();
  return items_.back().get();
}

void TCollection::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

}  // namespace qv

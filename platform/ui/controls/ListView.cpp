#include "platform/ui/controls/ListView.h"

#include <cstdlib>
#include <mutex>
#include <new>

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/LocaleText.h"

namespace qv {

namespace {

constexpr int kCellMargin = 6;      // space each side of a column's text
constexpr int kHeaderLeading = 4;   // space above and below a header caption
constexpr int kRowLeading = 2;      // space above and below a row's text
constexpr int kIconCellWidth = 75;  // an icon with its caption below
constexpr int kIconSize = 32;

const std::string kNoText;

// By caption in the user's locale without regard to case first, then exactly.
int CompareCaptions(const std::string& a, const std::string& b) {
  if (const int order = LocaleCompareText(a, b)) return order;
  const int exact = a.compare(b);
  return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

std::string RangeMessage(int index) { return "List index out of bounds (" + std::to_string(index) + ")"; }

}  // namespace

const TEnumType& ViewStyleType() {
  static const TEnumType type("TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"});
  return type;
}

const TEnumType& SortTypeType() {
  static const TEnumType type("TSortType", {"stNone", "stData", "stText", "stBoth"});
  return type;
}

// ---- TListColumn ----

const TClass& TListColumn::StaticClass() {
  static const TClass cls =
      ClassBuilder<TListColumn>("TListColumn", &TPersistent::StaticClass())
          .String("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
          .Integer("Width", &TListColumn::WidthType, &TListColumn::SetWidth)
          .Enumeration("Alignment", AlignmentType(), &TListColumn::Alignment, &TListColumn::SetAlignment)
          .Boolean("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize);
  return cls;
}

void TListColumn::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  view_.ContentChanged(false);
}

int TListColumn::Width() const { return view_.ColumnWidths()[static_cast<std::size_t>(Index())]; }

void TListColumn::SetWidth(int width) {
  width = std::max(width, ColumnHeaderWidth);
  if (width == width_) return;
  width_ = width;
  view_.ContentChanged(false);
}

void TListColumn::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  view_.ContentChanged(false);
}

void TListColumn::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  view_.ContentChanged(false);
}

int TListColumn::Index() const { return view_.Columns().IndexOf(this); }

// ---- TListColumns ----

const TClass& TListColumns::StaticClass() {
  static const TClass cls = ClassBuilder<TListColumns>("TListColumns", &TPersistent::StaticClass())
                                .Integer("Count", &TListColumns::Count);
  return cls;
}

TListColumn* TListColumns::operator[](int index) const {
  if (index < 0 || index >= Count()) throw ERangeError(RangeMessage(index));
  return columns_[static_cast<std::size_t>(index)].get();
}

TListColumn* TListColumns::Add() {
  columns_.push_back(std::unique_ptr<TListColumn>(new TListColumn(view_)));
  view_.ContentChanged(true);
  return columns_.back().get();
}

void TListColumns::Delete(int index) {
  (*this)[index];
  columns_.erase(columns_.begin() + index);
  view_.ContentChanged(true);
}

void TListColumns::Clear() {
  if (columns_.empty()) return;
  columns_.clear();
  view_.ContentChanged(true);
}

int TListColumns::IndexOf(const TListColumn* column) const {
  for (std::size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].get() == column) return static_cast<int>(i);
  return -1;
}

// ---- TListItem ----

const TClass& TListItem::StaticClass() {
  static const TClass cls =
      ClassBuilder<TListItem>("TListItem", &TPersistent::StaticClass())
          .String("Caption", &TListItem::Caption, &TListItem::SetCaption)
          .Integer("ImageIndex", &TListItem::ImageIndex, &TListItem::SetImageIndex)
          .Boolean("Selected", &TListItem::Selected, &TListItem::SetSelected)
          .Object("SubItems", TStrings::StaticClass(), [](const TListItem& item) { return &item.SubItems(); });
  return cls;
}

namespace {

// Fixed-size, cache-line aligned cells carved from large blocks and reused
// through a free list. Blocks are kept for the life of the process.
class CellPool {
 public:
  void* Take(std::size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (size > kCellSize) throw std::bad_alloc();
    if (freeCells_) {
      Cell* cell = freeCells_;
      freeCells_ = cell->next;
      return cell;
    }
    if (next_ == end_) NewBlock();
    void* cell = next_;
    next_ += kCellSize;
    return cell;
  }
  void Give(void* cell) {
    if (!cell) return;
    std::lock_guard<std::mutex> lock(mutex_);
    auto* free = static_cast<Cell*>(cell);
    free->next = freeCells_;
    freeCells_ = free;
  }

 private:
  struct Cell {
    Cell* next;
  };
  static constexpr std::size_t kCellSize = (sizeof(TListItem) + 63) / 64 * 64;
  static constexpr std::size_t kBlockSize = kCellSize * 1024;

  void NewBlock() {
    void* block = std::aligned_alloc(64, kBlockSize);
    if (!block) throw std::bad_alloc();
    next_ = static_cast<char*>(block);
    end_ = next_ + kBlockSize;
  }

  std::mutex mutex_;
  Cell* freeCells_ = nullptr;
  char* next_ = nullptr;
  char* end_ = nullptr;
};

CellPool& ItemCells() {
  static CellPool* pool = new CellPool;  // never destroyed: items may outlive static objects
  return *pool;
}

}  // namespace

void* TListItem::operator new(std::size_t size) { return ItemCells().Take(size); }
void* TListItem::operator new(std::size_t size, std::align_val_t) { return ItemCells().Take(size); }
void TListItem::operator delete(void* cell) noexcept { ItemCells().Give(cell); }
void TListItem::operator delete(void* cell, std::align_val_t) noexcept { ItemCells().Give(cell); }

TListItem::TListItem(TListItems& owner) : priority_(owner.NextPriority()), owner_(owner) {
  subItems_.OnChange = MethodOf<&TListItem::SubItemsChanged>(this);
}

TListView& TListItem::ListView() const { return owner_.Owner(); }

const std::string& TListItem::ColumnText(int column) const {
  if (column == 0) return caption_;
  return column > 0 && column <= subItems_.Count() ? subItems_[column - 1] : kNoText;
}

void TListItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  TListView& view = ListView();
  if (!view.CanChange(this, ctText)) return;
  caption_ = caption;
  view.ContentChanged(true);
  view.Change(this, ctText);
  view.ItemSortKeyChanged(this, true);
}

void TListItem::SetData(void* data) {
  if (data == data_) return;
  data_ = data;
  ListView().ItemSortKeyChanged(this, false);
}

void TListItem::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  TListView& view = ListView();
  if (!view.CanChange(this, ctImage)) return;
  imageIndex_ = index;
  view.ContentChanged(false);
  view.Change(this, ctImage);
}

void TListItem::SetSelected(bool selected) { ListView().ItemSelecting(this, selected); }

bool TListItem::Focused() const { return ListView().ItemFocused() == this; }

void TListItem::SetFocused(bool focused) {
  if (focused) ListView().SetItemFocused(this);
  else if (Focused()) ListView().SetItemFocused(nullptr);
}

int TListItem::Index() const {
  int index = TListItems::SizeOf(left_);
  for (const TListItem* node = this; node->up_; node = node->up_)
    if (node == node->up_->right_) index += TListItems::SizeOf(node->up_->left_) + 1;
  return index;
}

void TListItem::Delete() { owner_.Remove(this); }

bool TListItem::EditCaption() { return ListView().EditCaption(this); }

void TListItem::SubItemsChanged(TObject*) { ListView().ContentChanged(true); }

// ---- TListItems ----

const TClass& TListItems::StaticClass() {
  static const TClass cls = ClassBuilder<TListItems>("TListItems", &TPersistent::StaticClass())
                                .Integer("Count", &TListItems::Count);
  return cls;
}

TListItems::~TListItems() {
  for (TListItem* item : InOrder()) delete item;
}

void TListItems::Assign(const TPersistent& source) {
  const auto* items = dynamic_cast<const TListItems*>(&source);
  if (!items) return TPersistent::Assign(source);
  if (items == this) return;
  Clear();
  for (const TListItem* from : *items) {
    TListItem* item = AddItem(from->Caption(), from->SubItems().ToVector());
    item->SetImageIndex(from->ImageIndex());
    item->SetData(from->Data());
  }
}

TListItem* TListItems::operator[](int index) const {
  if (index < 0 || index >= Count()) throw ERangeError(RangeMessage(index));
  return NodeAt(index);
}

TListItem* TListItems::Add() { return Place(std::unique_ptr<TListItem>(new TListItem(*this)), Count()); }

TListItem* TListItems::AddItem(const std::string& caption, const std::vector<std::string>& subItems) {
  auto item = std::unique_ptr<TListItem>(new TListItem(*this));
  item->caption_ = caption;
  item->subItems_.BeginUpdate();
  for (const std::string& text : subItems) item->subItems_.Add(text);
  item->subItems_.EndUpdate();
  TListItem* placed = Place(std::move(item), Count());
  view_.Change(placed, ctText);
  return placed;
}

TListItem* TListItems::Insert(int index) {
  if (index < 0 || index > Count()) throw ERangeError(RangeMessage(index));
  return Place(std::unique_ptr<TListItem>(new TListItem(*this)), index);
}

TListItem* TListItems::Place(std::unique_ptr<TListItem> item, int index) {
  TListItem* node = item.release();
  if (view_.KeepsSortedBy(true) || view_.KeepsSortedBy(false))
    LinkSorted(node);
  else
    Link(node, index);
  view_.ContentChanged(true);
  return node;
}

void TListItems::Delete(int index) { Remove((*this)[index]); }

void TListItems::Remove(TListItem* item) {
  view_.ItemGoing(item);
  Unlink(item);
  delete item;
  view_.ContentChanged(true);
}

void TListItems::Clear() {
  if (!root_) return;
  const std::vector<TListItem*> items = InOrder();
  for (TListItem* item : items) view_.ItemGoing(item);
  root_ = nullptr;
  for (TListItem* item : items) delete item;
  view_.ContentChanged(true);
}

int TListItems::IndexOf(const TListItem* item) const { return item && &item->owner_ == this ? item->Index() : -1; }

void TListItems::BeginUpdate() { ++view_.updating_; }

void TListItems::EndUpdate() {
  if (view_.updating_ == 0 || --view_.updating_ > 0 || !view_.changedWhileUpdating_) return;
  view_.changedWhileUpdating_ = false;
  view_.ContentChanged(false);
}

TListItem* TListItems::First() const {
  TListItem* node = root_;
  while (node && node->left_) node = node->left_;
  return node;
}

TListItem* TListItems::Prev(const TListItem* item) {
  if (item->left_) {
    TListItem* node = item->left_;
    while (node->right_) node = node->right_;
    return node;
  }
  while (item->up_ && item == item->up_->left_) item = item->up_;
  return item->up_;
}

TListItem* TListItems::Next(const TListItem* item) {
  if (item->right_) {
    TListItem* node = item->right_;
    while (node->left_) node = node->left_;
    return node;
  }
  while (item->up_ && item == item->up_->right_) item = item->up_;
  return item->up_;
}

std::vector<TListItem*> TListItems::InOrder() const {
  std::vector<TListItem*> order;
  order.reserve(static_cast<std::size_t>(Count()));
  for (TListItem* item : *this) order.push_back(item);
  return order;
}

std::uint32_t TListItems::NextPriority() {
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  return seed_;
}

void TListItems::Update(TListItem* node) {
  node->size_ = 1 + SizeOf(node->left_) + SizeOf(node->right_);
  if (node->left_) node->left_->up_ = node;
  if (node->right_) node->right_->up_ = node;
}

TListItem* TListItems::Merge(TListItem* a, TListItem* b) {
  if (!a) return b;
  if (!b) return a;
  if (a->priority_ > b->priority_) {
    a->right_ = Merge(a->right_, b);
    Update(a);
    return a;
  }
  b->left_ = Merge(a, b->left_);
  Update(b);
  return b;
}

void TListItems::Split(TListItem* node, int count, TListItem*& first, TListItem*& rest) {
  if (!node) {
    first = rest = nullptr;
    return;
  }
  if (SizeOf(node->left_) < count) {
    Split(node->right_, count - SizeOf(node->left_) - 1, node->right_, rest);
    Update(node);
    first = node;
  } else {
    Split(node->left_, count, first, node->left_);
    Update(node);
    rest = node;
  }
}

TListItem* TListItems::NodeAt(int index) const {
  TListItem* node = root_;
  while (node) {
    const int left = SizeOf(node->left_);
    if (index == left) return node;
    if (index < left) {
      node = node->left_;
    } else {
      index -= left + 1;
      node = node->right_;
    }
  }
  return nullptr;
}

void TListItems::Link(TListItem* item, int index) {
  // Down from the root while the nodes outrank the new item, counting it in
  // on the way; where it outranks the subtree, that subtree is split around
  // it. One walk instead of a split and two merges of the whole tree.
  item->left_ = item->right_ = item->up_ = nullptr;
  TListItem** slot = &root_;
  TListItem* parent = nullptr;
  while (*slot && (*slot)->priority_ >= item->priority_) {
    TListItem* node = *slot;
    ++node->size_;
    parent = node;
    const int left = SizeOf(node->left_);
    if (index <= left) {
      slot = &node->left_;
    } else {
      index -= left + 1;
      slot = &node->right_;
    }
  }
  Split(*slot, index, item->left_, item->right_);
  Update(item);
  item->up_ = parent;
  *slot = item;
}

void TListItems::LinkSorted(TListItem* item) {
  // As Link, but finding the place by comparing instead of counting, so the
  // walk reads no subtree sizes of nodes it does not visit.
  item->left_ = item->right_ = item->up_ = nullptr;
  TListItem** slot = &root_;
  TListItem* parent = nullptr;
  while (*slot && (*slot)->priority_ >= item->priority_) {
    TListItem* node = *slot;
    // Both children start loading while this node is compared: the walk
    // then waits for memory about once per level instead of twice.
    __builtin_prefetch(node->left_);
    __builtin_prefetch(node->right_);
    ++node->size_;
    parent = node;
    slot = view_.CompareItems(item, node, 0) < 0 ? &node->left_ : &node->right_;
  }
  SplitSorted(*slot, item, item->left_, item->right_);
  Update(item);
  item->up_ = parent;
  *slot = item;
}

void TListItems::SplitSorted(TListItem* node, TListItem* item, TListItem*& first, TListItem*& rest) {
  if (!node) {
    first = rest = nullptr;
    return;
  }
  if (view_.CompareItems(item, node, 0) < 0) {
    SplitSorted(node->left_, item, first, node->left_);
    Update(node);
    rest = node;
  } else {
    SplitSorted(node->right_, item, node->right_, rest);
    Update(node);
    first = node;
  }
}

void TListItems::Unlink(TListItem* item) {
  TListItem* parent = item->up_;
  TListItem* merged = Merge(item->left_, item->right_);
  if (merged) merged->up_ = parent;
  if (!parent) {
    root_ = merged;
  } else {
    (parent->left_ == item ? parent->left_ : parent->right_) = merged;
    for (TListItem* node = parent; node; node = node->up_) node->size_ = 1 + SizeOf(node->left_) + SizeOf(node->right_);
  }
  item->left_ = item->right_ = item->up_ = nullptr;
  item->size_ = 1;
}

void TListItems::Rebuild(const std::vector<TListItem*>& order) {
  // A Cartesian tree on the priorities, built with a stack of the right spine.
  std::vector<TListItem*> spine;
  for (TListItem* item : order) {
    item->left_ = item->right_ = item->up_ = nullptr;
    TListItem* last = nullptr;
    while (!spine.empty() && spine.back()->priority_ < item->priority_) {
      last = spine.back();
      spine.pop_back();
    }
    item->left_ = last;
    if (!spine.empty()) spine.back()->right_ = item;
    spine.push_back(item);
  }
  root_ = spine.empty() ? nullptr : spine.front();
  // Post-order without recursion: children before their parent.
  std::vector<TListItem*> stack, post;
  if (root_) stack.push_back(root_);
  while (!stack.empty()) {
    TListItem* node = stack.back();
    stack.pop_back();
    post.push_back(node);
    if (node->left_) stack.push_back(node->left_);
    if (node->right_) stack.push_back(node->right_);
  }
  for (auto it = post.rbegin(); it != post.rend(); ++it) Update(*it);
  if (root_) root_->up_ = nullptr;
}

// ---- TListView ----

const TClass& TListView::StaticClass() {
  static const TClass cls =
      ClassBuilder<TListView>("TListView", &TWinControl::StaticClass())
          .Enumeration("ViewStyle", ViewStyleType(), &TListView::ViewStyle, &TListView::SetViewStyle)
          .Enumeration("SortType", SortTypeType(), &TListView::SortType, &TListView::SetSortType)
          .Boolean("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect)
          .Boolean("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect)
          .Boolean("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly)
          .Boolean("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection)
          .Boolean("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders)
          .Boolean("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick)
          .Object("Items", TListItems::StaticClass(), [](const TListView& v) { return &v.Items(); })
          .Object("Columns", TListColumns::StaticClass(), [](const TListView& v) { return &v.Columns(); })
          .Object("SmallImages", TObject::StaticClass(), &TListView::SmallImages, &TListView::SetSmallImages)
          .Object("LargeImages", TObject::StaticClass(), &TListView::LargeImages, &TListView::SetLargeImages)
          .Event("OnChange", &TListView::OnChange)
          .Event("OnChanging", &TListView::OnChanging)
          .Event("OnSelectItem", &TListView::OnSelectItem)
          .Event("OnColumnClick", &TListView::OnColumnClick)
          .Event("OnEditing", &TListView::OnEditing)
          .Event("OnEdited", &TListView::OnEdited)
          .Event("OnCompare", &TListView::OnCompare)
          .Event("OnDeletion", &TListView::OnDeletion);
  return cls;
}

TListView::TListView(TComponent* owner)
    : TWinControl(owner),
      items_(std::make_unique<TListItems>(*this)),
      columns_(std::make_unique<TListColumns>(*this)) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

TListView::~TListView() = default;

void TListView::ContentChanged(bool texts) {
  if (texts) {
    contentWidthsValid_ = false;
    TextsChanged();
  }
  if (updating_ > 0) changedWhileUpdating_ = true;
  else Changed(ControlChange::Content);
}

void TListView::SetViewStyle(TViewStyle style) {
  if (style == viewStyle_) return;
  viewStyle_ = style;
  ContentChanged(false);
}

void TListView::SetMultiSelect(bool multiSelect) {
  if (multiSelect == multiSelect_) return;
  multiSelect_ = multiSelect;
  if (!multiSelect_ && selected_.size() > 1) DeselectAllBut(Selected());
}

void TListView::SetRowSelect(bool rowSelect) {
  if (rowSelect == rowSelect_) return;
  rowSelect_ = rowSelect;
  ContentChanged(false);
}

void TListView::SetHideSelection(bool hide) {
  if (hide == hideSelection_) return;
  hideSelection_ = hide;
  ContentChanged(false);
}

void TListView::SetShowColumnHeaders(bool show) {
  if (show == showColumnHeaders_) return;
  showColumnHeaders_ = show;
  ContentChanged(false);
}

void TListView::SetSmallImages(TObject* images) {
  if (images == smallImages_) return;
  smallImages_ = images;
  ContentChanged(false);
}

void TListView::SetLargeImages(TObject* images) {
  if (images == largeImages_) return;
  largeImages_ = images;
  ContentChanged(false);
}

void TListView::FontChanged() {
  TWinControl::FontChanged();
  contentWidthsValid_ = false;
}

// ---- change notifications ----

bool TListView::CanChange(TListItem* item, TItemChange change) {
  bool allow = true;
  OnChanging(this, item, change, allow);
  return allow;
}

void TListView::Change(TListItem* item, TItemChange change) { OnChange(this, item, change); }

void TListView::ItemGoing(TListItem* item) {
  Delete(item);
  selected_.erase(item);
  if (itemFocused_ == item) itemFocused_ = nullptr;
  if (editing_ == item) editing_ = nullptr;
}

// ---- sorting ----

void TListView::SetSortType(TSortType type) {
  if (type == sortType_) return;
  sortType_ = type;
  sortedByType_ = false;
  if (sortType_ != stNone) AlphaSort();
}

int TListView::CompareItems(TListItem* item1, TListItem* item2, std::intptr_t data) {
  if (!OnCompare) return CompareCaptions(item1->Caption(), item2->Caption());
  int compare = 0;
  OnCompare(this, item1, item2, data, compare);
  return compare;
}

bool TListView::CustomSort(const TLVCompare& compare, std::intptr_t data) {
  std::vector<TListItem*> order = items_->InOrder();
  if (compare)
    std::stable_sort(order.begin(), order.end(), [&](TListItem* a, TListItem* b) { return compare(a, b, data) < 0; });
  else
    std::stable_sort(order.begin(), order.end(),
                     [&](TListItem* a, TListItem* b) { return CompareItems(a, b, data) < 0; });
  items_->Rebuild(order);
  sortedByType_ = !compare && sortType_ != stNone;
  ContentChanged(false);
  return true;
}

bool TListView::KeepsSortedBy(bool textKey) const {
  if (!sortedByType_) return false;
  return sortType_ == stBoth || sortType_ == (textKey ? stText : stData);
}

void TListView::ItemSortKeyChanged(TListItem* item, bool textKey) {
  if (sortType_ != stBoth && sortType_ != (textKey ? stText : stData)) return;
  if (!sortedByType_) {
    AlphaSort();
    return;
  }
  items_->Unlink(item);
  items_->LinkSorted(item);
  ContentChanged(false);
}

// ---- selection and focus ----

void TListView::ItemSelecting(TListItem* item, bool selected) {
  if (item->selected_ == selected) return;
  if (selected && !multiSelect_) DeselectAllBut(item);
  if (!CanChange(item, ctState)) return;
  item->selected_ = selected;
  if (selected) selected_.insert(item);
  else selected_.erase(item);
  ContentChanged(false);
  Change(item, ctState);
  OnSelectItem(this, item, selected);
}

TListItem* TListView::Selected() const {
  TListItem* first = nullptr;
  int firstIndex = 0;
  for (TListItem* item : selected_) {
    const int index = item->Index();
    if (!first || index < firstIndex) first = item, firstIndex = index;
  }
  return first;
}

void TListView::SetSelected(TListItem* item) {
  ClearSelection();
  if (item) item->SetSelected(true);
}

void TListView::ClearSelection() { DeselectAllBut(nullptr); }

void TListView::DeselectAllBut(TListItem* keep) {
  // In position order, so that the events come in the order the user sees the items.
  std::vector<TListItem*> items(selected_.begin(), selected_.end());
  std::sort(items.begin(), items.end(), [](TListItem* a, TListItem* b) { return a->Index() < b->Index(); });
  for (TListItem* item : items)
    if (item != keep) ItemSelecting(item, false);
}

int TListView::ItemIndex() const {
  const TListItem* item = Selected();
  return item ? item->Index() : -1;
}

void TListView::SetItemIndex(int index) {
  SetSelected(index >= 0 && index < items_->Count() ? items_->NodeAt(index) : nullptr);
}

void TListView::SetItemFocused(TListItem* item) {
  if (item == itemFocused_) return;
  itemFocused_ = item;
  ContentChanged(false);
}

void TListView::SelectRange(TListItem* from, TListItem* to) {
  const int a = from->Index(), b = to->Index();
  const int low = std::min(a, b), high = std::max(a, b);
  std::vector<TListItem*> outside;
  for (TListItem* item : selected_)
    if (const int index = item->Index(); index < low || index > high) outside.push_back(item);
  std::sort(outside.begin(), outside.end(), [](TListItem* x, TListItem* y) { return x->Index() < y->Index(); });
  for (TListItem* item : outside) ItemSelecting(item, false);
  TListItem* item = items_->NodeAt(low);
  for (int index = low; index <= high; ++index, item = TListItems::Next(item)) ItemSelecting(item, true);
}

// ---- in-place edit ----

bool TListView::EditCaption(TListItem* item) {
  if (!item || &item->ListView() != this || readOnly_) return false;
  bool allow = true;
  OnEditing(this, item, allow);
  if (!allow) return false;
  editing_ = item;
  return true;
}

void TListView::EndEdit(const std::string& text) {
  TListItem* item = editing_;
  if (!item) return;
  editing_ = nullptr;
  std::string result = text;
  OnEdited(this, item, result);
  item->SetCaption(result);
}

// ---- layout ----

int TListView::HeaderHeight() const {
  return viewStyle_ == vsReport && showColumnHeaders_ ? TextHeightOf(Font()) + 2 * kHeaderLeading : 0;
}

int TListView::RowHeight() const {
  const int text = TextHeightOf(Font()) + 2 * kRowLeading;
  return viewStyle_ == vsIcon ? kIconSize + text + 2 * kRowLeading : text;
}

TRect TListView::ItemRect(int index) const {
  if (index < 0 || index >= items_->Count()) return {};
  if (viewStyle_ == vsIcon) {
    const int perRow = std::max(1, ClientWidth() / kIconCellWidth);
    const int left = index % perRow * kIconCellWidth, top = index / perRow * RowHeight();
    return {left, top, left + kIconCellWidth, top + RowHeight()};
  }
  const int top = HeaderHeight() + index * RowHeight();
  return {0, top, ClientWidth(), top + RowHeight()};
}

TListItem* TListView::GetItemAt(int x, int y) const {
  if (x < 0 || x >= ClientWidth() || y < HeaderHeight()) return nullptr;
  int index = -1;
  if (viewStyle_ == vsIcon) {
    const int perRow = std::max(1, ClientWidth() / kIconCellWidth);
    if (x / kIconCellWidth < perRow) index = y / RowHeight() * perRow + x / kIconCellWidth;
  } else {
    index = (y - HeaderHeight()) / RowHeight();
  }
  return index >= 0 && index < items_->Count() ? items_->NodeAt(index) : nullptr;
}

TListColumn* TListView::ColumnAt(int x, int y) const {
  if (y < 0 || y >= HeaderHeight() || x < 0) return nullptr;
  const std::vector<int> widths = ColumnWidths();
  int right = 0;
  for (std::size_t i = 0; i < widths.size(); ++i)
    if (x < (right += widths[i])) return (*columns_)[static_cast<int>(i)];
  return nullptr;
}

const std::vector<int>& TListView::ContentWidths() const {
  if (contentWidthsValid_) return contentWidths_;
  const int count = columns_->Count();
  contentWidths_.assign(static_cast<std::size_t>(count), 0);
  for (const TListItem* item : *items_)
    for (int column = 0; column < count; ++column) {
      int& widest = contentWidths_[static_cast<std::size_t>(column)];
      widest = std::max(widest, TextWidthOf(Font(), item->ColumnText(column)));
    }
  contentWidthsValid_ = true;
  return contentWidths_;
}

std::vector<int> TListView::ColumnWidths() const {
  const int count = columns_->Count();
  std::vector<int> widths(static_cast<std::size_t>(count), 0);
  int fixed = 0, autoSized = 0;
  for (int i = 0; i < count; ++i) {
    const TListColumn& column = *(*columns_)[i];
    int& width = widths[static_cast<std::size_t>(i)];
    if (column.AutoSize()) {
      ++autoSized;
      continue;
    }
    if (column.WidthType() >= 0) width = column.WidthType();
    else if (column.WidthType() == ColumnTextWidth) width = ContentWidths()[static_cast<std::size_t>(i)] + 2 * kCellMargin;
    else width = TextWidthOf(Font(), column.Caption()) + 2 * kCellMargin;
    fixed += width;
  }
  const int free = std::max(0, ClientWidth() - fixed);
  if (autoSized > 0) {
    for (int i = 0; i < count; ++i)
      if ((*columns_)[i]->AutoSize()) widths[static_cast<std::size_t>(i)] = free / autoSized;
  } else if (count > 0 && (*columns_)[count - 1]->WidthType() == ColumnHeaderWidth) {
    widths.back() += free;  // the last header-fitted column takes the rest of the row
  }
  return widths;
}

// ---- input ----

void TListView::ClickItem(TListItem* item, TShiftState shift) {
  if (!item) {
    if (!(shift & ssCtrl)) ClearSelection();
    return;
  }
  if (multiSelect_ && (shift & ssCtrl)) {
    item->SetSelected(!item->Selected());
  } else if (multiSelect_ && (shift & ssShift) && itemFocused_) {
    SelectRange(itemFocused_, item);
  } else {
    DeselectAllBut(item);
    item->SetSelected(true);
  }
  SetItemFocused(item);
}

void TListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (TListColumn* column = ColumnAt(x, y)) {
      if (columnClick_) ColumnClicked(column);
    } else if (y >= HeaderHeight()) {
      ClickItem(GetItemAt(x, y), shift);
    }
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TListView::MoveFocusBy(int step) {
  const int count = items_->Count();
  if (count == 0) return;
  const int from = itemFocused_ ? itemFocused_->Index() : -1;
  ClickItem(items_->NodeAt(std::clamp(from + step, 0, count - 1)), 0);
}

void TListView::KeyDown(Word& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  const int count = items_->Count();
  switch (key) {
    case VK_UP: MoveFocusBy(-1); break;
    case VK_DOWN: MoveFocusBy(1); break;
    case VK_HOME: MoveFocusBy(-count); break;
    case VK_END: MoveFocusBy(count); break;
    case VK_F2: EditCaption(itemFocused_); break;
    default: break;
  }
}

}  // namespace qv

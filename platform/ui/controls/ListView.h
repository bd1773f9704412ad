#pragma once
// A list view: items with a caption, sub-items (the further columns of the
// detail view), an image, selection and focus, shown as icons, small icons,
// a list or a report with columns.
//
// Items live in a balanced position tree (a treap ordered by position,
// each node knowing its subtree size), so that adding, inserting and
// deleting an item cost O(log n) and an item finds its index in O(log n);
// a list kept sorted places a new or changed item by binary descent.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/core/Strings.h"
#include "platform/ui/WinControl.h"

namespace qv {

class TListView;
class TListItems;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stData, stText, stBoth };
enum TItemChange { ctText, ctImage, ctState };
const TEnumType& ViewStyleType();
const TEnumType& SortTypeType();

// A column width that fits the widest text of the column, or the header text.
constexpr int ColumnTextWidth = -1;
constexpr int ColumnHeaderWidth = -2;

class TListColumn : public TPersistent {
  QV_OBJECT(TListColumn, TPersistent)

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The width the column is shown with; fitting widths and AutoSize resolved.
  int Width() const;
  // A width in pixels, or ColumnTextWidth (-1) or ColumnHeaderWidth (-2).
  void SetWidth(int width);
  // The width as set: pixels or one of the fitting values.
  int WidthType() const { return width_; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // The column shares the width left by the other columns.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  int Index() const;

 private:
  friend class TListColumns;
  explicit TListColumn(TListView& view) : view_(view) {}

  TListView& view_;
  std::string caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = false;
};

class TListColumns : public TPersistent {
  QV_OBJECT(TListColumns, TPersistent)

  explicit TListColumns(TListView& view) : view_(view) {}

  int Count() const { return static_cast<int>(columns_.size()); }
  // Raises ERangeError for an index outside 0 … Count − 1.
  TListColumn* operator[](int index) const;
  TListColumn* Items(int index) const { return (*this)[index]; }
  TListColumn* Add();
  void Delete(int index);
  void Clear();
  int IndexOf(const TListColumn* column) const;
  TListView& Owner() const { return view_; }

 private:
  TListView& view_;
  std::vector<std::unique_ptr<TListColumn>> columns_;
};

class alignas(64) TListItem : public TPersistent {
  QV_OBJECT(TListItem, TPersistent)

  // Items come from a pool of cache-line aligned cells: long lists make and
  // drop them by the hundred thousand.
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, std::align_val_t);
  static void operator delete(void* cell) noexcept;
  static void operator delete(void* cell, std::align_val_t) noexcept;

  const std::string& Caption() const { return caption_; }
  // OnChanging may refuse; a list sorted by text moves the item to its place.
  void SetCaption(const std::string& caption);
  // The texts of the further columns.
  TStrings& SubItems() { return subItems_; }
  const TStrings& SubItems() const { return subItems_; }
  // The caption for column 0, the sub-item for column i > 0 ("" when missing).
  const std::string& ColumnText(int column) const;
  void* Data() const { return data_; }
  // A list sorted by data moves the item to its place.
  void SetData(void* data);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  bool Selected() const { return selected_; }
  void SetSelected(bool selected);
  bool Focused() const;
  void SetFocused(bool focused);
  // O(log n).
  int Index() const;
  TListView& ListView() const;
  TListItems& Owner() const { return owner_; }
  void Delete();
  // Starts the in-place edit of the caption; false when refused.
  bool EditCaption();

 private:
  friend class TListItems;
  friend class TListView;
  explicit TListItem(TListItems& owner);
  void SubItemsChanged(TObject* sender);

  // The caption and the downward links of the position tree fill the first
  // cache line of the (line-aligned) item: a search through a long sorted
  // list touches one line per level.
  std::string caption_;
  TListItem* left_ = nullptr;
  TListItem* right_ = nullptr;
  int size_ = 1;
  std::uint32_t priority_ = 0;
  TListItem* up_ = nullptr;

  TListItems& owner_;
  TStringList subItems_;
  void* data_ = nullptr;
  int imageIndex_ = -1;
  bool selected_ = false;
};

class TListItems : public TPersistent {
  QV_OBJECT(TListItems, TPersistent)

  explicit TListItems(TListView& view) : view_(view) {}
  ~TListItems() override;

  // Replaces the items with copies of another list's: captions, sub-items,
  // images and data (not selection or focus). A list kept sorted sorts them.
  void Assign(const TPersistent& source) override;

  int Count() const { return root_ ? root_->size_ : 0; }
  // O(log n); raises ERangeError for an index outside 0 … Count − 1.
  TListItem* operator[](int index) const;
  TListItem* Item(int index) const { return (*this)[index]; }
  // Appends an item; in a list kept sorted the item goes to its sorted place.
  TListItem* Add();
  // Inserts before index (0 … Count); in a list kept sorted the item goes to its sorted place.
  TListItem* Insert(int index);
  // A new item whose texts are set before it takes its place, so a sorted
  // list places it once; raises the text change of its caption afterwards.
  TListItem* AddItem(const std::string& caption, const std::vector<std::string>& subItems);
  void Delete(int index);
  void Clear();
  int IndexOf(const TListItem* item) const;
  void BeginUpdate();
  void EndUpdate();
  TListView& Owner() const { return view_; }

  // In-order traversal in amortised O(1) per step.
  class Iterator {
   public:
    explicit Iterator(TListItem* item) : item_(item) {}
    TListItem* operator*() const { return item_; }
    Iterator& operator++() {
      item_ = TListItems::Next(item_);
      return *this;
    }
    friend bool operator==(const Iterator&, const Iterator&) = default;

   private:
    TListItem* item_;
  };
  Iterator begin() const { return Iterator(First()); }
  Iterator end() const { return Iterator(nullptr); }
  TListItem* First() const;
  // The neighbours of an item in list order, or nullptr at the ends.
  static TListItem* Next(const TListItem* item);
  static TListItem* Prev(const TListItem* item);

 private:
  friend class TListItem;
  friend class TListView;

  TListItem* Place(std::unique_ptr<TListItem> item, int index);
  // Links an item after every item that does not sort after it.
  void LinkSorted(TListItem* item);
  void SplitSorted(TListItem* node, TListItem* item, TListItem*& first, TListItem*& rest);
  void Remove(TListItem* item);
  // Position tree.
  static int SizeOf(const TListItem* node) { return node ? node->size_ : 0; }
  static void Update(TListItem* node);
  static TListItem* Merge(TListItem* a, TListItem* b);
  static void Split(TListItem* node, int count, TListItem*& first, TListItem*& rest);
  TListItem* NodeAt(int index) const;
  void Link(TListItem* item, int index);
  void Unlink(TListItem* item);
  // Re-forms the tree in the given order, in O(n).
  void Rebuild(const std::vector<TListItem*>& order);
  std::vector<TListItem*> InOrder() const;
  std::uint32_t NextPriority();

  TListView& view_;
  TListItem* root_ = nullptr;
  std::uint32_t seed_ = 0x9E3779B9u;
};

using TLVChangeEvent = Event<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent = Event<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVSelectItemEvent = Event<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = Event<void(TObject* Sender, TListColumn* Column)>;
using TLVEditingEvent = Event<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = Event<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVCompareEvent =
    Event<void(TObject* Sender, TListItem* Item1, TListItem* Item2, std::intptr_t Data, int& Compare)>;
using TLVDeletedEvent = Event<void(TObject* Sender, TListItem* Item)>;
// A sort order for CustomSort: negative, zero or positive as for OnCompare.
using TLVCompare = std::function<int(TListItem* item1, TListItem* item2, std::intptr_t data)>;

class TListView : public TWinControl {
  QV_OBJECT(TListView, TWinControl)

  explicit TListView(TComponent* owner);
  ~TListView() override;

  TListItems& Items() { return *items_; }
  const TListItems& Items() const { return *items_; }
  TListColumns& Columns() { return *columns_; }
  const TListColumns& Columns() const { return *columns_; }

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle style);
  bool MultiSelect() const { return multiSelect_; }
  // Turning it off keeps only the first selected item.
  void SetMultiSelect(bool multiSelect);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool rowSelect);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool hide);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool show);
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool columnClick) { columnClick_ = columnClick; }
  TObject* SmallImages() const { return smallImages_; }
  void SetSmallImages(TObject* images);
  TObject* LargeImages() const { return largeImages_; }
  void SetLargeImages(TObject* images);

  // ---- sorting ----
  TSortType SortType() const { return sortType_; }
  // Any type but stNone sorts at once and keeps the list sorted.
  void SetSortType(TSortType type);
  // Sorts with OnCompare, or by caption when it is not assigned.
  bool AlphaSort() { return CustomSort(nullptr, 0); }
  // Sorts with the function (nullptr: as AlphaSort, data passed to OnCompare); stable, O(n log n).
  bool CustomSort(const TLVCompare& compare, std::intptr_t data);

  // ---- selection and focus ----
  // The first selected item, or nullptr.
  TListItem* Selected() const;
  void SetSelected(TListItem* item);
  int SelCount() const { return static_cast<int>(selected_.size()); }
  int ItemIndex() const;
  void SetItemIndex(int index);
  TListItem* ItemFocused() const { return itemFocused_; }
  void SetItemFocused(TListItem* item);
  void ClearSelection();

  // ---- in-place caption edit ----
  // Starts editing the caption (not when ReadOnly or OnEditing refuses).
  bool EditCaption(TListItem* item);
  bool IsEditing() const { return editing_ != nullptr; }
  TListItem* EditingItem() const { return editing_; }
  // Ends the edit with the text typed: OnEdited may change it, the caption takes the result.
  void EndEdit(const std::string& text);
  void CancelEdit() { editing_ = nullptr; }

  // ---- layout, headless ----
  int HeaderHeight() const;
  int RowHeight() const;
  TRect ItemRect(int index) const;
  TListItem* GetItemAt(int x, int y) const;
  // The column whose header is under the point, or nullptr.
  TListColumn* ColumnAt(int x, int y) const;

  // ---- input ----
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(Word& key, TShiftState shift) override;

  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVSelectItemEvent OnSelectItem;
  TLVColumnClickEvent OnColumnClick;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVCompareEvent OnCompare;
  TLVDeletedEvent OnDeletion;

 protected:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;

  virtual bool CanChange(TListItem* item, TItemChange change);
  virtual void Change(TListItem* item, TItemChange change);
  virtual void ColumnClicked(TListColumn* column) { OnColumnClick(this, column); }
  virtual void Delete(TListItem* item) { OnDeletion(this, item); }
  // Any caption, sub-item or column text changed.
  virtual void TextsChanged() {}
  // Negative, zero or positive: the order of two items for AlphaSort.
  int CompareItems(TListItem* item1, TListItem* item2, std::intptr_t data);
  void FontChanged() override;

 private:
  // State changes that items and columns report.
  void ContentChanged(bool texts);
  void ItemSelecting(TListItem* item, bool selected);
  void ItemGoing(TListItem* item);
  void ItemSortKeyChanged(TListItem* item, bool textKey);
  bool KeepsSortedBy(bool textKey) const;
  // Where an item belongs among the others in a sorted list.
  std::vector<int> ColumnWidths() const;
  const std::vector<int>& ContentWidths() const;
  void DeselectAllBut(TListItem* keep);
  void SelectRange(TListItem* from, TListItem* to);
  void ClickItem(TListItem* item, TShiftState shift);
  void MoveFocusBy(int step);

  std::unique_ptr<TListItems> items_;
  std::unique_ptr<TListColumns> columns_;
  TViewStyle viewStyle_ = vsIcon;
  TSortType sortType_ = stNone;
  bool sortedByType_ = false;
  bool multiSelect_ = false;
  bool rowSelect_ = false;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  bool showColumnHeaders_ = true;
  bool columnClick_ = true;
  TObject* smallImages_ = nullptr;
  TObject* largeImages_ = nullptr;
  std::unordered_set<TListItem*> selected_;
  TListItem* itemFocused_ = nullptr;
  TListItem* editing_ = nullptr;
  int updating_ = 0;
  bool changedWhileUpdating_ = false;
  mutable std::vector<int> contentWidths_;
  mutable bool contentWidthsValid_ = false;
};

}  // namespace qv

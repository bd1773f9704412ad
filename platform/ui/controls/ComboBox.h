#pragma once
// TComboBox: a list of items with an edit (csDropDown, csSimple) or without
// one (the list styles csDropDownList, csOwnerDrawFixed,
// csOwnerDrawVariable, whose Text is always the selected item's).
//
// ItemIndex runs from -1 (nothing selected) to Count - 1. An index outside
// that range selects nothing: ItemIndex becomes -1 and the text is emptied,
// as the list control does; nothing is raised. Setting the index or the text
// from the program raises no event; a user's selection raises OnClick, then
// OnSelect (or OnChange when OnSelect is not assigned); a user's edit raises
// OnChange.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/Strings.h"
#include "platform/ui/Control.h"
#include "platform/ui/WinControl.h"

namespace qv {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
const TEnumType& ComboBoxStyleType();

// The state of an owner-drawn item: a bit mask of TOwnerDrawStateFlag.
enum TOwnerDrawStateFlag : std::uint32_t {
  odSelected = 1 << 0,
  odGrayed = 1 << 1,
  odDisabled = 1 << 2,
  odChecked = 1 << 3,
  odFocused = 1 << 4,
  odDefault = 1 << 5,
  odComboBoxEdit = 1 << 12,
};
using TOwnerDrawState = std::uint32_t;

using TDrawItemEvent = Event<void(TObject* Sender, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = Event<void(TObject* Sender, int Index, int& Height)>;

class TCustomComboBox : public TWinControl {
  QV_OBJECT(TCustomComboBox, TWinControl)

  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TStrings& Items() { return *items_; }
  const TStrings& Items() const { return *items_; }
  // Copies the items; nullptr is ignored.
  void SetItems(TStrings* items);

  int ItemIndex() const { return itemIndex_; }
  // While loading, the index waits for the items and is applied by Loaded.
  void SetItemIndex(int index);
  std::string Text() const { return GetText(); }
  // List styles select the item with that text (without regard to case in
  // the user's locale) or nothing; edit styles keep the text and select the
  // item that has exactly that text, if any.
  void SetText(const std::string& text) override;
  TComboBoxStyle Style() const { return style_; }
  // Keeps the selection.
  void SetStyle(TComboBoxStyle style);
  bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }
  bool IsOwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }

  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count) { dropDownCount_ = count; }
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool sorted) { items_->SetSorted(sorted); }
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);
  bool DroppedDown() const { return droppedDown_; }
  // Opening raises OnDropDown, closing OnCloseUp.
  void SetDroppedDown(bool droppedDown);

  // Asks an owner-drawn combo box to draw an item (a window backend calls
  // this when it paints); raises OnDrawItem for the owner-draw styles only.
  void DrawItem(int index, TRect rect, TOwnerDrawState state);
  // The height of an item: OnMeasureItem decides for csOwnerDrawVariable.
  int MeasureItem(int index);

  // Down and Up select the next and previous item; F4 and Alt+Down open or
  // close the list.
  void KeyDown(Word& key, TShiftState shift) override;
  // List styles select the next item that begins with the character; edit
  // styles append it to the text ("\b" deletes the last character).
  void KeyPress(std::string& key) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void Loaded() override;
  virtual void Change();
  virtual void Select();

 private:
  void ItemsChanged(TObject* sender);
  // Sets index and text without events.
  void ApplySelection(int index);
  // A user's choice of an item.
  void SelectByUser(int index);
  void TypeInEdit(const std::string& character);
  void SelectByFirstCharacter(const std::string& character);
  bool EventsAllowed() const { return !HasState(ComponentStateFlag::Designing); }

  std::unique_ptr<TStringList> items_;
  int itemIndex_ = -1;
  std::optional<int> pendingIndex_;
  TComboBoxStyle style_ = csDropDown;
  int dropDownCount_ = 8;
  int itemHeight_ = 16;
  bool droppedDown_ = false;
};

class TComboBox : public TCustomComboBox {
  QV_OBJECT(TComboBox, TCustomComboBox)
  using TCustomComboBox::TCustomComboBox;
};

}  // namespace qv

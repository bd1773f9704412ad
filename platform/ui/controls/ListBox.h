#pragma once
// TListBox: a list of items, one of which may be selected, drawn by the
// control (lbStandard) or by the program (the owner-draw styles).
//
// ItemIndex runs from -1 (nothing selected) to Count - 1; an index outside
// that range selects nothing, and a selection that the items no longer hold
// is dropped.

#include <memory>

#include "platform/core/Strings.h"
#include "platform/ui/WinControl.h"

namespace qv {

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
const TEnumType& ListBoxStyleType();

class TListBox : public TWinControl {
  QV_OBJECT(TListBox, TWinControl)

  explicit TListBox(TComponent* owner);
  ~TListBox() override;

  TStrings& Items() { return *items_; }
  const TStrings& Items() const { return *items_; }
  // Copies the items; nullptr is ignored.
  void SetItems(TStrings* items);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style);

 private:
  void ItemsChanged(TObject* sender);

  std::unique_ptr<TStringList> items_;
  int itemIndex_ = -1;
  TListBoxStyle style_ = lbStandard;
};

}  // namespace qv

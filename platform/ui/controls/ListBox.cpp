#include "platform/ui/controls/ListBox.h"

namespace qv {

const TEnumType& ListBoxStyleType() {
  static const TEnumType type("TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"});
  return type;
}

const TClass& TListBox::StaticClass() {
  static const TClass cls =
      ClassBuilder<TListBox>("TListBox", &TWinControl::StaticClass())
          .Object("Items", TStrings::StaticClass(), [](const TListBox& b) { return &b.Items(); }, &TListBox::SetItems)
          .Integer("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex)
          .Enumeration("Style", ListBoxStyleType(), &TListBox::Style, &TListBox::SetStyle);
  return cls;
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = MethodOf<&TListBox::ItemsChanged>(this);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() { items_->OnChange.Clear(); }

void TListBox::SetItems(TStrings* items) {
  if (items) items_->Assign(*items);
}

void TListBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(ControlChange::Content);
}

void TListBox::SetStyle(TListBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed(ControlChange::Content);
}

void TListBox::ItemsChanged(TObject*) {
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  Changed(ControlChange::Content);
}

}  // namespace qv

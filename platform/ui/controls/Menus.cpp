#include "platform/ui/controls/Menus.h"

#include <algorithm>
#include <string>

#include "platform/core/Exception.h"

namespace qv {

TShortCut ShortCut(Word key, TShiftState shift) {
  TShortCut result = key & 0xFF;
  if (shift & ssShift) result |= scShift;
  if (shift & ssCtrl) result |= scCtrl;
  if (shift & ssAlt) result |= scAlt;
  return result;
}

// ---- TMenuItem ----

const TClass& TMenuItem::StaticClass() {
  static const TClass cls =
      ClassBuilder<TMenuItem>("TMenuItem", &TComponent::StaticClass())
          .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
          .Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
          .Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
          .Integer("ShortCut", [](const TMenuItem& item) { return item.ShortCut(); }, &TMenuItem::SetShortCut)
          .Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
          .Boolean("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
          .Boolean("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck)
          .Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
          .String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
          .Event("OnClick", &TMenuItem::OnClick);
  return cls;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) {
    TMenuItem* last = items_.back();
    Detach(last);
    Free(last);
  }
  if (parent_) parent_->Detach(this);
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu()) menu->OnChange(menu, this);
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (checked_ && radioItem_) UncheckGroupSiblings();
  Changed();
}

void TMenuItem::UncheckGroupSiblings() {
  if (!parent_) return;
  for (TMenuItem* sibling : parent_->items_)
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->SetChecked(false);
}

void TMenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TMenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  if (shortCut == shortCut_) return;
  shortCut_ = shortCut;
  Changed();
}

void TMenuItem::SetGroupIndex(int index) {
  if (index == groupIndex_) return;
  groupIndex_ = index;
  if (checked_ && radioItem_) UncheckGroupSiblings();
}

void TMenuItem::SetRadioItem(bool radio) {
  if (radio == radioItem_) return;
  radioItem_ = radio;
  if (checked_ && radioItem_) UncheckGroupSiblings();
  Changed();
}

void TMenuItem::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  Changed();
}

TMenuItem* TMenuItem::operator[](int index) const {
  if (index < 0 || index >= Count()) throw ERangeError("Menu index out of range (" + std::to_string(index) + ")");
  return items_[static_cast<std::size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (index < 0 || index > Count()) throw ERangeError("Menu index out of range (" + std::to_string(index) + ")");
  for (const TMenuItem* above = this; above; above = above->parent_)
    if (above == item) throw EInvalidOperation("A menu item cannot hold itself");
  if (item->parent_) item->parent_->Detach(item);
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (item->checked_ && item->radioItem_) item->UncheckGroupSiblings();
  Changed();
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = (*this)[index];
  Detach(item);
  Free(item);
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  if (IndexOf(item) < 0) return;
  Detach(item);
  Changed();
}

void TMenuItem::Detach(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) const {
  for (TMenuItem* item : items_) {
    if (!item->visible_ || !item->enabled_) continue;
    if (item->shortCut_ == shortCut) return item;
    if (TMenuItem* inner = item->FindShortCut(shortCut)) return inner;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (auto* popup = ObjectAs<TPopupMenu>(GetParentMenu())) popup->CloseMenu();
  if (autoCheck_) SetChecked(radioItem_ ? true : !checked_);
  OnClick(this);
}

// ---- TMenu ----

const TClass& TMenu::StaticClass() {
  static const TClass cls = ClassBuilder<TMenu>("TMenu", &TComponent::StaticClass())
                                .Object("Items", TMenuItem::StaticClass(), [](const TMenu& m) { return &m.Items(); })
                                .Object("Images", TObject::StaticClass(), &TMenu::Images, &TMenu::SetImages)
                                .Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                .Event("OnChange", &TMenu::OnChange);
  return cls;
}

const TClass& TMainMenu::StaticClass() {
  static const TClass cls = ClassBuilder<TMainMenu>("TMainMenu", &TMenu::StaticClass());
  return cls;
}

const TClass& TPopupMenu::StaticClass() {
  static const TClass cls = ClassBuilder<TPopupMenu>("TPopupMenu", &TMenu::StaticClass())
                                .Boolean("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
                                .Event("OnPopup", &TPopupMenu::OnPopup);
  return cls;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  // The tree goes while the menu is whole, so its items do not report to a half-gone menu.
  OnChange.Clear();
  items_.reset();
}

bool TMenu::IsShortCut(Word key, TShiftState shift) {
  TMenuItem* item = items_->FindShortCut(qv::ShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}

// ---- TPopupMenu ----

void TPopupMenu::Popup(int x, int y) {
  popupPoint_ = {x, y};
  OnPopup(this);
  poppedUp_ = true;
}

}  // namespace qv

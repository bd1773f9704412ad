#include "platform/ui/controls/ToolBar.h"

#include <algorithm>
#include <string>

#include "platform/core/Exception.h"

namespace qv {

namespace {

constexpr int kDropDownArrowWidth = 14;  // the arrow part of a drop-down button
constexpr int kCaptionMargin = 4;        // space each side of a shown caption

}  // namespace

const TEnumType& ToolButtonStyleType() {
  static const TEnumType type("TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"});
  return type;
}

// ---- TToolButton ----

const TClass& TToolButton::StaticClass() {
  static const TClass cls =
      ClassBuilder<TToolButton>("TToolButton", &TGraphicControl::StaticClass())
          .String("Caption", &TToolButton::Caption, &TToolButton::SetCaption)
          .Enumeration("Style", ToolButtonStyleType(), &TToolButton::Style, &TToolButton::SetStyle)
          .Boolean("Down", &TToolButton::Down, &TToolButton::SetDown)
          .Boolean("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
          .Boolean("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp)
          .Integer("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
          .Object("DropdownMenu", TPopupMenu::StaticClass(), &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu)
          .Object("MenuItem", TMenuItem::StaticClass(), &TToolButton::MenuItem, &TToolButton::SetMenuItem);
  return cls;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

TToolButton::~TToolButton() { SetParent(nullptr); }

void TToolButton::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  if (TToolBar* old = toolBar_) {
    toolBar_ = nullptr;
    old->RemoveButton(this);
  }
  TGraphicControl::SetParent(parent);
  if (auto* toolBar = ObjectAs<TToolBar>(parent)) {
    toolBar_ = toolBar;
    toolBar->InsertButton(this);
  }
}

int TToolButton::Index() const {
  if (!toolBar_) return -1;
  const auto& buttons = toolBar_->buttons_;
  return static_cast<int>(std::find(buttons.begin(), buttons.end(), this) - buttons.begin());
}

void TToolButton::LayoutChanged() {
  if (toolBar_) toolBar_->ArrangeButtons();
  Changed(ControlChange::Content);
}

void TToolButton::SetStyle(TToolButtonStyle style) {
  if (style == style_) return;
  style_ = style;
  LayoutChanged();
}

void TToolButton::SetDown(bool down) {
  if (down == down_) return;
  down_ = down;
  if (down_) RaiseGroupSiblings();
  Changed(ControlChange::Content);
}

void TToolButton::RaiseGroupSiblings() {
  if (!toolBar_ || !grouped_ || style_ != tbsCheck) return;
  // The group is the run of adjacent grouped check buttons around this one.
  const auto& buttons = toolBar_->buttons_;
  const auto inGroup = [](const TToolButton* b) { return b->grouped_ && b->style_ == tbsCheck; };
  const int self = Index();
  int first = self, last = self;
  while (first > 0 && inGroup(buttons[static_cast<std::size_t>(first - 1)])) --first;
  while (last + 1 < static_cast<int>(buttons.size()) && inGroup(buttons[static_cast<std::size_t>(last + 1)])) ++last;
  for (int i = first; i <= last; ++i)
    if (i != self) buttons[static_cast<std::size_t>(i)]->SetDown(false);
}

void TToolButton::SetGrouped(bool grouped) {
  if (grouped == grouped_) return;
  grouped_ = grouped;
  if (down_) RaiseGroupSiblings();
}

void TToolButton::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  Changed(ControlChange::Content);
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
  if (menu == dropdownMenu_) return;
  if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
  dropdownMenu_ = menu;
  if (menu) menu->FreeNotification(this);
  LayoutChanged();
}

void TToolButton::SetMenuItem(TMenuItem* item) {
  if (item == menuItem_) return;
  if (menuItem_) menuItem_->RemoveFreeNotification(this);
  menuItem_ = item;
  if (!item) return;
  item->FreeNotification(this);
  SetCaption(item->Caption());
  SetImageIndex(item->ImageIndex());
  SetEnabled(item->Enabled());
  SetVisible(item->Visible());
}

void TToolButton::SetSeparatorWidth(int width) {
  width = std::max(width, 0);
  if (width == separatorWidth_) return;
  separatorWidth_ = width;
  LayoutChanged();
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == dropdownMenu_) dropdownMenu_ = nullptr;
  if (component == menuItem_) menuItem_ = nullptr;
}

void TToolButton::VisibleChanged() {
  if (toolBar_) toolBar_->ArrangeButtons();
}

void TToolButton::TextChanged() {
  if (toolBar_ && toolBar_->ShowCaptions()) toolBar_->ArrangeButtons();
}

bool TToolButton::IsOnArrow(int x) const { return style_ == tbsDropDown && x >= Width() - kDropDownArrowWidth; }

bool TToolButton::CheckMenuDropdown() {
  if (!dropdownMenu_) return false;
  const TPoint below = ClientToScreen({0, Height()});
  dropdownMenu_->SetPopupComponent(this);
  dropdownMenu_->Popup(below.X, below.Y);
  return true;
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && IsOnArrow(x)) CheckMenuDropdown();
}

void TToolButton::Click() {
  if (style_ == tbsSeparator || style_ == tbsDivider) return;
  if (style_ == tbsCheck) {
    const bool keepDown = down_ && grouped_ && !allowAllUp_;
    if (!keepDown) SetDown(!down_);
  }
  TGraphicControl::Click();
  if (menuItem_) menuItem_->Click();
}

// ---- TToolBar ----

const TClass& TToolBar::StaticClass() {
  static const TClass cls =
      ClassBuilder<TToolBar>("TToolBar", &TWinControl::StaticClass())
          .Integer("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
          .Integer("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
          .Boolean("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
          .Boolean("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
          .Object("Images", TObject::StaticClass(), &TToolBar::Images, &TToolBar::SetImages);
  return cls;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  // The window frees the buttons after this part of the object is gone.
  for (TToolButton* button : buttons_) button->toolBar_ = nullptr;
  buttons_.clear();
}

TToolButton* TToolBar::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount()) throw ERangeError("Button index out of range (" + std::to_string(index) + ")");
  return buttons_[static_cast<std::size_t>(index)];
}

void TToolBar::InsertButton(TToolButton* button) {
  buttons_.push_back(button);
  ArrangeButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
  ArrangeButtons();
}

int TToolBar::WidthOf(const TToolButton& button) const {
  if (button.Style() == tbsSeparator || button.Style() == tbsDivider) return button.SeparatorWidth();
  int width = buttonWidth_;
  if (showCaptions_) width = std::max(width, TextWidthOf(Font(), button.Caption()) + 2 * kCaptionMargin);
  return button.Style() == tbsDropDown ? width + kDropDownArrowWidth : width;
}

void TToolBar::ArrangeButtons() {
  int left = 0;
  for (TToolButton* button : buttons_) {
    if (!button->Visible()) continue;
    const int width = WidthOf(*button);
    button->SetBounds(left, 0, width, buttonHeight_);
    left += width;
  }
  Changed(ControlChange::Content);
}

void TToolBar::SetButtonWidth(int width) {
  width = std::max(width, 0);
  if (width == buttonWidth_) return;
  buttonWidth_ = width;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(int height) {
  height = std::max(height, 0);
  if (height == buttonHeight_) return;
  buttonHeight_ = height;
  ArrangeButtons();
}

void TToolBar::SetShowCaptions(bool show) {
  if (show == showCaptions_) return;
  showCaptions_ = show;
  ArrangeButtons();
}

void TToolBar::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  Changed(ControlChange::Content);
}

void TToolBar::SetImages(TObject* images) {
  if (images == images_) return;
  images_ = images;
  Changed(ControlChange::Content);
}

}  // namespace qv

#include "platform/ui/Control.h"

#include <algorithm>

#include "platform/ui/Form.h"
#include "platform/ui/WinControl.h"

namespace qv {

const TEnumType& AlignType() {
  static const TEnumType type("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
  return type;
}

const TEnumType& AlignmentType() {
  static const TEnumType type("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return type;
}

const TClass& TControl::StaticClass() {
  static const TClass cls =
      ClassBuilder<TControl>("TControl", &TComponent::StaticClass())
          .Integer("Left", &TControl::Left, &TControl::SetLeft)
          .Integer("Top", &TControl::Top, &TControl::SetTop)
          .Integer("Width", &TControl::Width, &TControl::SetWidth)
          .Integer("Height", &TControl::Height, &TControl::SetHeight)
          .Enumeration("Align", AlignType(), &TControl::Align, &TControl::SetAlign)
          .Boolean("Visible", &TControl::Visible, &TControl::SetVisible)
          .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Integer("Color", &TControl::Color, &TControl::SetColor)
          .Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .Object("Font", TFont::StaticClass(), [](const TControl& c) { return &c.Font(); },
                  [](TControl& c, TFont* font) { c.SetFont(font); })
          .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .String("Hint", &TControl::Hint, &TControl::SetHint)
          .Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Integer("Cursor", &TControl::Cursor, &TControl::SetCursor)
          .Integer("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext)
          .Event("OnClick", &TControl::OnClick)
          .Event("OnDblClick", &TControl::OnDblClick)
          .Event("OnResize", &TControl::OnResize)
          .Event("OnMouseDown", &TControl::OnMouseDown)
          .Event("OnMouseMove", &TControl::OnMouseMove)
          .Event("OnMouseUp", &TControl::OnMouseUp)
          .Event("OnDragDrop", &TControl::OnDragDrop)
          .Event("OnDragOver", &TControl::OnDragOver)
          .Event("OnStartDrag", &TControl::OnStartDrag)
          .Event("OnEndDrag", &TControl::OnEndDrag)
          .Event("OnStartDock", &TControl::OnStartDock)
          .Event("OnEndDock", &TControl::OnEndDock);
  return cls;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  font_->OnChange = MethodOf<&TControl::FontChangeHandler>(this);
  Changed(ControlChange::Created);
}

TControl::~TControl() {
  Changed(ControlChange::Destroying);
  for (TControl* followed : followed_) std::erase(followed->followers_, this);
  for (TControl* follower : followers_) std::erase(follower->followed_, this);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::Changed(ControlChange change) {
  if (ControlObserver* observer = ControlObserver::Current()) observer->ControlChanged(*this, change);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (parentFont_) ParentFontChanged(parent_->Font());
    if (parentColor_) ParentColorChanged(parent_->Color());
  }
  Changed(ControlChange::Parent);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const TRect bounds{left, top, left + width, top + height};
  if (bounds == bounds_) return;
  const bool resized = bounds.Width() != bounds_.Width() || bounds.Height() != bounds_.Height();
  const bool moved = left != bounds_.Left || top != bounds_.Top;
  bounds_ = bounds;
  Changed(ControlChange::Bounds);
  if (moved) Moved();
  if (resized) Resize();
  if (parent_ && align_ != alNone) parent_->Realign();
  // Copy: a follower may stop following here.
  const std::vector<TControl*> followers = followers_;
  for (TControl* follower : followers) follower->FollowedBoundsChanged(*this);
}

void TControl::AddBoundsFollower(TControl* follower) {
  if (!follower || follower == this || std::find(followers_.begin(), followers_.end(), follower) != followers_.end())
    return;
  followers_.push_back(follower);
  follower->followed_.push_back(this);
}

void TControl::RemoveBoundsFollower(TControl* follower) {
  if (!follower) return;
  std::erase(followers_, follower);
  std::erase(follower->followed_, this);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {bounds_.Left, bounds_.Top};
  const TPoint origin = parent_->ClientOrigin();
  return {origin.X + bounds_.Left, origin.Y + bounds_.Top};
}

TPoint TControl::ClientToScreen(TPoint point) const {
  const TPoint origin = ClientOrigin();
  return {point.X + origin.X, point.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint point) const {
  const TPoint origin = ClientOrigin();
  return {point.X - origin.X, point.Y - origin.Y};
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& siblings = parent_->controls_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  siblings.push_back(this);
  Changed(ControlChange::ZOrder);
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& siblings = parent_->controls_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  siblings.insert(siblings.begin(), this);
  Changed(ControlChange::ZOrder);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(ControlChange::Visible);
  VisibleChanged();
  if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::IsShowing() const {
  if (!visible_) return false;
  if (parent_) return parent_->IsShowing();
  return Is<TCustomForm>();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(ControlChange::Enabled);
  EnabledChanged();
}

bool TControl::IsEnabledInTree() const { return enabled_ && (!parent_ || parent_->IsEnabledInTree()); }

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  Changed(ControlChange::Color);
  if (auto* container = ObjectAs<TWinControl>(this)) container->ColorChangedForChildren();
}

void TControl::SetParentColor(bool parentColor) {
  parentColor_ = parentColor;
  if (parentColor_ && parent_) ParentColorChanged(parent_->Color());
}

void TControl::ParentColorChanged(TColor parentColor) {
  if (!parentColor_ || parentColor == color_) return;
  color_ = parentColor;
  Changed(ControlChange::Color);
  if (auto* container = ObjectAs<TWinControl>(this)) container->ColorChangedForChildren();
}

void TControl::SetFont(TFont* font) {
  if (font) font_->Assign(*font);
}

void TControl::SetParentFont(bool parentFont) {
  parentFont_ = parentFont;
  if (parentFont_ && parent_) ParentFontChanged(parent_->Font());
}

void TControl::ParentFontChanged(const TFont& parentFont) {
  if (!parentFont_) return;
  applyingParentFont_ = true;
  font_->Assign(parentFont);
  applyingParentFont_ = false;
}

void TControl::FontChangeHandler(TObject*) {
  if (!applyingParentFont_) parentFont_ = false;
  FontChanged();
}

void TControl::FontChanged() { Changed(ControlChange::Font); }

void TControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  Changed(ControlChange::Text);
  TextChanged();
}

void TControl::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  Changed(ControlChange::Hint);
}

void TControl::Resize() { OnResize(this); }

void TControl::Loaded() { TComponent::Loaded(); }

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }

LPARAM TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage&) {}

TCustomForm* TControl::ParentForm() const {
  const TControl* top = this;
  while (top->parent_) top = top->parent_;
  return top->Is<TCustomForm>() ? static_cast<TCustomForm*>(const_cast<TControl*>(top)) : nullptr;
}

}  // namespace qv

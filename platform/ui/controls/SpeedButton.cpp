#include "platform/ui/controls/SpeedButton.h"

#include <algorithm>
#include <vector>

#include "platform/ui/WinControl.h"

namespace qv {

const TClass& TSpeedButton::StaticClass() {
  static const TClass cls =
      ClassBuilder<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClass())
          .String("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption)
          .Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
          .Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
          .Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
          .Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
          .Object("Glyph", TPersistent::StaticClass(), &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
          .Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
          .Enumeration("Layout", ButtonLayoutType(), &TSpeedButton::Layout, &TSpeedButton::SetLayout)
          .Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
          .Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing);
  return cls;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

std::vector<TSpeedButton*> TSpeedButton::GroupMates() const {
  std::vector<TSpeedButton*> mates;
  if (!Parent() || groupIndex_ == 0) return mates;
  for (TControl* sibling : Parent()->ControlList())
    if (auto* button = ObjectAs<TSpeedButton>(sibling); button && button != this && button->groupIndex_ == groupIndex_)
      mates.push_back(button);
  return mates;
}

void TSpeedButton::SetDown(bool down) {
  if (groupIndex_ == 0) down = false;
  if (down == down_ || (down_ && !allowAllUp_)) return;
  down_ = down;
  ContentChanged();
  if (!down_) return;
  for (TSpeedButton* mate : GroupMates()) {
    if (!mate->down_) continue;
    mate->down_ = false;
    mate->ContentChanged();
  }
}

void TSpeedButton::SetGroupIndex(int groupIndex) {
  if (groupIndex == groupIndex_) return;
  groupIndex_ = groupIndex;
  if (groupIndex_ == 0 && down_) {
    down_ = false;
    ContentChanged();
  }
  // Joining a group: its AllowAllUp, and no second down button.
  for (TSpeedButton* mate : GroupMates()) {
    allowAllUp_ = mate->allowAllUp_;
    if (down_ && mate->down_) {
      mate->down_ = false;
      mate->ContentChanged();
    }
  }
}

void TSpeedButton::SetAllowAllUp(bool allowAllUp) {
  allowAllUp_ = allowAllUp;
  for (TSpeedButton* mate : GroupMates()) mate->allowAllUp_ = allowAllUp;
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) pressed_ = true;
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool released = pressed_ && button == mbLeft;
  if (button == mbLeft) pressed_ = false;
  TGraphicControl::MouseUp(button, shift, x, y);
  if (released && groupIndex_ != 0) SetDown(!down_);
}

void TSpeedButton::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  ContentChanged();
}

void TSpeedButton::SetGlyph(TPersistent* glyph) {
  if (glyph == glyph_) return;
  glyph_ = glyph;
  ContentChanged();
}

void TSpeedButton::SetNumGlyphs(int numGlyphs) {
  numGlyphs = ClampNumGlyphs(numGlyphs);
  if (numGlyphs == numGlyphs_) return;
  numGlyphs_ = numGlyphs;
  ContentChanged();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  ContentChanged();
}

void TSpeedButton::SetMargin(int margin) {
  margin = std::max(margin, -1);
  if (margin == margin_) return;
  margin_ = margin;
  ContentChanged();
}

void TSpeedButton::SetSpacing(int spacing) {
  if (spacing == spacing_) return;
  spacing_ = spacing;
  ContentChanged();
}

}  // namespace qv

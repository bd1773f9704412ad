#include "platform/ui/controls/Panel.h"

#include <algorithm>

namespace qv {

const TEnumType& PanelBevelType() {
  static const TEnumType type("TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
  return type;
}

const TClass& TCustomPanel::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClass());
  return cls;
}

const TClass& TPanel::StaticClass() {
  static const TClass cls =
      ClassBuilder<TPanel>("TPanel", &TCustomPanel::StaticClass())
          .String("Caption", &TPanel::Caption, &TPanel::SetCaption)
          .Enumeration("BevelInner", PanelBevelType(), &TPanel::BevelInner, &TPanel::SetBevelInner)
          .Enumeration("BevelOuter", PanelBevelType(), &TPanel::BevelOuter, &TPanel::SetBevelOuter)
          .Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
          .Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth)
          .Enumeration("Alignment", AlignmentType(), &TPanel::Alignment, &TPanel::SetAlignment);
  return cls;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

int TCustomPanel::FrameWidth() const {
  return borderWidth_ + (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  const int frame = FrameWidth();
  rect = {rect.Left + frame, rect.Top + frame, rect.Right - frame, rect.Bottom - frame};
}

void TCustomPanel::FrameChanged() {
  Changed(ControlChange::Content);
  Realign();
}

void TCustomPanel::SetBevelInner(TPanelBevel bevel) {
  if (bevel == bevelInner_) return;
  bevelInner_ = bevel;
  FrameChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel bevel) {
  if (bevel == bevelOuter_) return;
  bevelOuter_ = bevel;
  FrameChanged();
}

void TCustomPanel::SetBevelWidth(int width) {
  width = std::max(width, 1);
  if (width == bevelWidth_) return;
  bevelWidth_ = width;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(int width) {
  width = std::max(width, 0);
  if (width == borderWidth_) return;
  borderWidth_ = width;
  FrameChanged();
}

void TCustomPanel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(ControlChange::Content);
}

}  // namespace qv

#include "platform/ui/controls/GroupBox.h"

namespace qv {

namespace {
constexpr int kFrameWidth = 2;  // the etched frame: a dark and a light line
}

const TClass& TCustomGroupBox::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomGroupBox>("TCustomGroupBox", &TCustomControl::StaticClass());
  return cls;
}

const TClass& TGroupBox::StaticClass() {
  static const TClass cls = ClassBuilder<TGroupBox>("TGroupBox", &TCustomGroupBox::StaticClass())
                                .String("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
  return cls;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 105); }

TRect TCustomGroupBox::ContentRect() const {
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  return rect;
}

// The caption line is there even when the caption is empty, as the frame
// is drawn below where it would stand.
void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
  rect.Top += TextHeightOf(Font());
  rect.Left += kFrameWidth;
  rect.Top += kFrameWidth;
  rect.Right -= kFrameWidth;
  rect.Bottom -= kFrameWidth;
}

void TCustomGroupBox::FontChanged() {
  TCustomControl::FontChanged();
  Realign();
}

}  // namespace qv

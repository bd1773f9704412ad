#include "platform/ui/controls/Splitter.h"

#include <algorithm>

#include "platform/ui/WinControl.h"

namespace qv {

namespace {

constexpr int crHSplit = -14;

}  // namespace

const TEnumType& ResizeStyleType() {
  static const TEnumType type("TResizeStyle", {"rsNone", "rsLine", "rsUpdate", "rsPattern"});
  return type;
}

const TClass& TSplitter::StaticClass() {
  static const TClass cls =
      ClassBuilder<TSplitter>("TSplitter", &TGraphicControl::StaticClass())
          .Integer("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
          .Boolean("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled)
          .Enumeration("ResizeStyle", ResizeStyleType(), &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle)
          .Event("OnCanResize", &TSplitter::OnCanResize)
          .Event("OnMoved", &TSplitter::OnMoved);
  return cls;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
  SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool beveled) {
  if (beveled == beveled_) return;
  beveled_ = beveled;
  Changed(ControlChange::Content);
}

TControl* TSplitter::FindNeighbour() const {
  if (!Parent()) return nullptr;
  const TRect self = BoundsRect();
  for (TControl* control : Parent()->ControlList()) {
    if (control == this || !control->Visible() || control->Align() != Align()) continue;
    const TRect r = control->BoundsRect();
    const bool touches = (Align() == alLeft && r.Right == self.Left) || (Align() == alRight && r.Left == self.Right) ||
                         (Align() == alTop && r.Bottom == self.Top) || (Align() == alBottom && r.Top == self.Bottom);
    if (touches) return control;
  }
  return nullptr;
}

int TSplitter::MaxNeighbourSize() const {
  int room = Horizontal() ? Parent()->ClientWidth() : Parent()->ClientHeight();
  for (const TControl* control : Parent()->ControlList()) {
    if (!control->Visible()) continue;
    const TAlign align = control->Align();
    const bool sameAxis = Horizontal() ? align == alLeft || align == alRight : align == alTop || align == alBottom;
    if (sameAxis && control != neighbour_) room -= SizeOf(*control);
  }
  return room - minSize_;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || Align() == alNone || Align() == alClient) return;
  neighbour_ = FindNeighbour();
  if (!neighbour_) return;
  downPoint_ = ClientToScreen({x, y});
  startSize_ = SizeOf(*neighbour_);
  maxSize_ = MaxNeighbourSize();
}

int TSplitter::SizeForPoint(int x, int y) const {
  const TPoint point = ClientToScreen({x, y});
  const int delta = Horizontal() ? point.X - downPoint_.X : point.Y - downPoint_.Y;
  const int size = startSize_ + (Align() == alLeft || Align() == alTop ? delta : -delta);
  if (maxSize_ < minSize_) return startSize_;  // no room to move at all
  return std::clamp(size, minSize_, maxSize_);
}

void TSplitter::ApplySize(int size) {
  bool accept = true;
  OnCanResize(this, size, accept);
  if (!accept || size == SizeOf(*neighbour_)) return;
  if (Horizontal()) neighbour_->SetWidth(size);
  else neighbour_->SetHeight(size);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (neighbour_ && resizeStyle_ == rsUpdate) ApplySize(SizeForPoint(x, y));
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!neighbour_ || button != mbLeft) return;
  ApplySize(SizeForPoint(x, y));
  neighbour_ = nullptr;
  OnMoved(this);
}

}  // namespace qv

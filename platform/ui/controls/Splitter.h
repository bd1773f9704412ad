#pragma once
// A splitter: a thin bar aligned against a neighbour control; dragging it
// resizes that neighbour, never below MinSize and never so far that the
// room left beside it falls below MinSize.

#include "platform/ui/Control.h"

namespace qv {

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
const TEnumType& ResizeStyleType();

using TCanResizeEvent = Event<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TSplitter : public TGraphicControl {
  QV_OBJECT(TSplitter, TGraphicControl)

  explicit TSplitter(TComponent* owner);

  int MinSize() const { return minSize_; }
  void SetMinSize(int size) { minSize_ = size < 1 ? 1 : size; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool beveled);
  // rsUpdate resizes the neighbour while dragging; the others when the drag ends.
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle style) { resizeStyle_ = style; }

  // The control the splitter resizes: the visible sibling of the same
  // alignment whose edge touches the splitter; nullptr when none.
  TControl* FindNeighbour() const;
  bool Dragging() const { return neighbour_ != nullptr; }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  // May change or refuse the size a drag is about to give the neighbour.
  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;

 private:
  bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
  int SizeOf(const TControl& control) const { return Horizontal() ? control.Width() : control.Height(); }
  // The largest size the neighbour may take: the room the other aligned controls leave.
  int MaxNeighbourSize() const;
  int SizeForPoint(int x, int y) const;
  void ApplySize(int size);

  int minSize_ = 30;
  bool beveled_ = false;
  TResizeStyle resizeStyle_ = rsPattern;
  TControl* neighbour_ = nullptr;
  TPoint downPoint_;  // screen coordinates
  int startSize_ = 0;
  int maxSize_ = 0;
  int newSize_ = 0;
};

}  // namespace qv

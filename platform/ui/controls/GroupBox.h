#pragma once
// TGroupBox: a framed container with a caption in its top edge. Children are
// placed in the box's own coordinates (as the platform does: the window's
// client area is the whole box), while aligned children share only the
// content area below the caption and inside the frame.

#include "platform/ui/WinControl.h"

namespace qv {

class TCustomGroupBox : public TCustomControl {
  QV_OBJECT(TCustomGroupBox, TCustomControl)

  explicit TCustomGroupBox(TComponent* owner);

  // The area below the caption (one text line of the box's font) and inside
  // the frame, in the box's coordinates.
  TRect ContentRect() const;

 protected:
  void AdjustClientRect(TRect& rect) const override;
  void FontChanged() override;
};

class TGroupBox : public TCustomGroupBox {
  QV_OBJECT(TGroupBox, TCustomGroupBox)
  using TCustomGroupBox::TCustomGroupBox;
};

}  // namespace qv

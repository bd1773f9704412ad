#pragma once
// TExtPageControl: a page control whose tabs the program draws. OnDrawTab
// draws a tab when assigned; otherwise the active tab shows its page's
// caption in bold caption-text colour on the active-caption colour and the
// other tabs in the inactive caption colours, on the control's own canvas.

#include <memory>

#include "platform/ui/controls/PageControl.h"
#include "platform/ui/graphics/Canvas.h"

namespace qv {

class TExtPageControl : public TPageControl {
  QV_OBJECT(TExtPageControl, TPageControl)

  explicit TExtPageControl(TComponent* owner);
  ~TExtPageControl() override;

  // The canvas the tabs are drawn on; it records what was drawn.
  TCanvas& Canvas() { return *canvas_; }

 protected:
  void DrawTab(int tabIndex, const TRect& rect, bool active) override;

 private:
  void DrawDefaultTab(int tabIndex, const TRect& rect, bool active);

  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace qv

#include "controls/ExtPage.h"

namespace qv {

const TClass& TExtPageControl::StaticClass() {
  static const TClass cls = ClassBuilder<TExtPageControl>("TExtPageControl", &TPageControl::StaticClass())
                                .Event("OnDrawTab", &TExtPageControl::OnDrawTab);
  return cls;
}

TExtPageControl::TExtPageControl(TComponent* owner)
    : TPageControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetOwnerDraw(true);
}

TExtPageControl::~TExtPageControl() = default;

void TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  if (OnDrawTab)
    OnDrawTab(this, tabIndex, rect, active);
  else
    DrawDefaultTab(tabIndex, rect, active);
}

// The active tab is filled 2 pixels inside its rectangle; an inactive tab's
// text sits 2 pixels lower, as the tab itself does.
void TExtPageControl::DrawDefaultTab(int tabIndex, const TRect& rect, bool active) {
  TCanvas& canvas = *canvas_;
  canvas.Font().Assign(Font());
  TRect area = rect;
  if (active) {
    area = {rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
    canvas.Font().SetColor(clCaptionText);
    canvas.Font().SetStyle(Font().Style() | (1u << fsBold));
    canvas.Brush().SetColor(clActiveCaption);
  } else {
    canvas.Font().SetColor(clInactiveCaptionText);
    canvas.Font().SetStyle(Font().Style() & ~(1u << fsBold));
    canvas.Brush().SetColor(clInactiveCaption);
  }
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(area);
  if (!active) area.Top += 2;
  const TTabSheet* page = PageForTab(tabIndex);
  const std::string caption = page ? page->Caption() : std::string();
  const TSize extent = canvas.TextExtent(caption);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextRect(area, area.Left + (area.Width() - extent.cx) / 2, area.Top + (area.Height() - extent.cy) / 2, caption);
  canvas.Brush().SetStyle(bsSolid);
}

}  // namespace qv

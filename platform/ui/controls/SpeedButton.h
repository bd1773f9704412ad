#pragma once
// TSpeedButton: a flat tool button drawn on its parent. Buttons with the
// same non-zero GroupIndex and the same parent form a group in which one
// button at a time is down; with AllowAllUp (shared by the group) the down
// button may also be released. A user's press on a grouped button toggles
// Down, then OnClick runs.

#include <vector>

#include "platform/ui/Control.h"
#include "platform/ui/controls/BitBtn.h"

namespace qv {

class TSpeedButton : public TGraphicControl {
  QV_OBJECT(TSpeedButton, TGraphicControl)

  explicit TSpeedButton(TComponent* owner);

  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  bool Down() const { return down_; }
  // Only a grouped button goes down; a down button of a group without
  // AllowAllUp stays down until another button of the group goes down.
  void SetDown(bool down);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int groupIndex);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool allowAllUp);
  // The picture, held and not owned (see TBitBtn).
  TPersistent* Glyph() const { return glyph_; }
  void SetGlyph(TPersistent* glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int numGlyphs);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  // The other buttons of this one's group.
  std::vector<TSpeedButton*> GroupMates() const;
  void ContentChanged() { Changed(ControlChange::Content); }

  bool flat_ = false;
  bool down_ = false;
  bool pressed_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  TPersistent* glyph_ = nullptr;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

}  // namespace qv

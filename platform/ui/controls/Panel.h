#pragma once
// TPanel: a container with an outer and an inner bevel and a border between
// them. The frame (border plus each bevel that is not bvNone) is left out of
// the area aligned children share, and FrameWidth tells the controls that
// lay out their children by hand how wide it is.

#include "platform/ui/WinControl.h"

namespace qv {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
const TEnumType& PanelBevelType();

class TCustomPanel : public TCustomControl {
  QV_OBJECT(TCustomPanel, TCustomControl)

  explicit TCustomPanel(TComponent* owner);

  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel bevel);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel);
  // At least 1.
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width);
  // At least 0.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // Border width plus the width of each bevel that is shown.
  int FrameWidth() const;

 protected:
  void AdjustClientRect(TRect& rect) const override;

 private:
  void FrameChanged();

  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
  QV_OBJECT(TPanel, TCustomPanel)
  using TCustomPanel::TCustomPanel;
};

}  // namespace qv

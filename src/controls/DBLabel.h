#pragma once
// TDBLabel: a caption label bound to a control. It places itself above,
// left of, right of or below the control at a fixed gap, and for a
// data-aware control it can take its caption from the bound field's
// display label.
//
// At run time the label aligns when one of its properties is set; while
// designing it also follows moves and resizes of its control.

#include <cstdint>

#include "platform/ui/controls/Label.h"

namespace qv {

enum TPos { psTop, psLeft, psRight, psBottom };
const TEnumType& PosType();

class TDBLabel : public TLabel {
  QV_OBJECT(TDBLabel, TLabel)

  explicit TDBLabel(TComponent* owner);

  // The control the label describes. Refused with an error dialog when
  // another such label owned by this label's parent already describes it.
  void SetFocusControl(TWinControl* control);
  TPos Pos() const { return pos_; }
  void SetPos(TPos pos);
  // Pixels between label and control.
  std::uint8_t Gap() const { return gap_; }
  void SetGap(std::uint8_t gap);
  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool autoAlign);
  bool AutoCaption() const { return autoCaption_; }
  void SetAutoCaption(bool autoCaption);

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void FollowedBoundsChanged(TControl& followed) override;

 private:
  // The parent's label describing the control (possibly this one), or nullptr.
  TDBLabel* DescribedElsewhere(const TWinControl* control) const;
  // Takes the caption from the control's data field, when it has one.
  void RefreshCaption();
  void AlignToControl();
  void RefreshAndAlign();

  TPos pos_ = psLeft;
  std::uint8_t gap_ = 4;
  bool autoAlign_ = true;
  bool autoCaption_ = true;
};

}  // namespace qv

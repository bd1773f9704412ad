#pragma once
// TRadioButton: checking one unchecks the other radio buttons of the same
// parent. A user's click checks it; checking it from the program raises
// OnClick as well, except while loading or designing. The checked button
// is the one of its group that Tab stops at.

#include "platform/ui/controls/Button.h"

namespace qv {

class TRadioButton : public TButtonControl {
  QV_OBJECT(TRadioButton, TButtonControl)

  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // taRightJustify puts the caption right of the button.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

 protected:
  void ButtonPressed() override { SetChecked(true); }

 private:
  void UncheckSiblings();

  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

}  // namespace qv

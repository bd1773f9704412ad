#pragma once
// TCheckBox: unchecked, checked or (with AllowGrayed) grayed. A user's click
// toggles the state; setting Checked or State from the program raises
// OnClick as well, except while loading or designing.

#include "platform/ui/controls/Button.h"

namespace qv {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
const TEnumType& CheckBoxStateType();
// The sides a check box's caption can take: taLeftJustify or taRightJustify.
const TEnumType& LeftRightType();

class TCustomCheckBox : public TButtonControl {
  QV_OBJECT(TCustomCheckBox, TButtonControl)

  explicit TCustomCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool allowGrayed) { allowGrayed_ = allowGrayed; }
  // taRightJustify puts the caption right of the box.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // unchecked → grayed (when allowed) or checked; grayed → checked; checked → unchecked.
  void Toggle();

 protected:
  void ButtonPressed() override { Toggle(); }

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  QV_OBJECT(TCheckBox, TCustomCheckBox)
  using TCustomCheckBox::TCustomCheckBox;
};

}  // namespace qv

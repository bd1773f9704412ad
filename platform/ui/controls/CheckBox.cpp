#include "platform/ui/controls/CheckBox.h"

namespace qv {

const TEnumType& CheckBoxStateType() {
  static const TEnumType type("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
  return type;
}

const TEnumType& LeftRightType() {
  static const TEnumType type("TLeftRight", {"taLeftJustify", "taRightJustify"});
  return type;
}

const TClass& TCustomCheckBox::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomCheckBox>("TCustomCheckBox", &TButtonControl::StaticClass());
  return cls;
}

const TClass& TCheckBox::StaticClass() {
  static const TClass cls =
      ClassBuilder<TCheckBox>("TCheckBox", &TCustomCheckBox::StaticClass())
          .String("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption)
          .Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
          .Enumeration("State", CheckBoxStateType(), &TCheckBox::State, &TCheckBox::SetState)
          .Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
          .Enumeration("Alignment", LeftRightType(), &TCheckBox::Alignment, &TCheckBox::SetAlignment);
  return cls;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  Changed(ControlChange::Content);
  if (StateChangeClicks()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::SetAlignment(TAlignment alignment) {
  if (alignment == taCenter || alignment == alignment_) return;
  alignment_ = alignment;
  Changed(ControlChange::Content);
}

}  // namespace qv

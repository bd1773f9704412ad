#include "platform/ui/controls/RadioButton.h"

#include <vector>

#include "platform/ui/controls/CheckBox.h"

namespace qv {

const TClass& TRadioButton::StaticClass() {
  static const TClass cls =
      ClassBuilder<TRadioButton>("TRadioButton", &TButtonControl::StaticClass())
          .String("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption)
          .Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
          .Enumeration("Alignment", LeftRightType(), &TRadioButton::Alignment, &TRadioButton::SetAlignment);
  return cls;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetTabStop(false);
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  SetTabStop(checked);
  Changed(ControlChange::Content);
  if (!checked) return;
  UncheckSiblings();
  if (StateChangeClicks()) Click();
}

void TRadioButton::UncheckSiblings() {
  if (!Parent()) return;
  const std::vector<TControl*> siblings = Parent()->ControlList();
  for (TControl* sibling : siblings)
    if (auto* radio = ObjectAs<TRadioButton>(sibling); radio && radio != this) radio->SetChecked(false);
}

void TRadioButton::SetAlignment(TAlignment alignment) {
  if (alignment == taCenter || alignment == alignment_) return;
  alignment_ = alignment;
  Changed(ControlChange::Content);
}

}  // namespace qv

#include "platform/ui/controls/Button.h"

namespace qv {

const TClass& TButtonControl::StaticClass() {
  static const TClass cls = ClassBuilder<TButtonControl>("TButtonControl", &TWinControl::StaticClass());
  return cls;
}

const TClass& TButton::StaticClass() {
  static const TClass cls = ClassBuilder<TButton>("TButton", &TButtonControl::StaticClass())
                                .String("Caption", &TButton::Caption, &TButton::SetCaption)
                                .Boolean("Default", &TButton::Default, &TButton::SetDefault)
                                .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel)
                                .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
  return cls;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) pressed_ = true;
  TWinControl::MouseDown(button, shift, x, y);
}

void TButtonControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool released = pressed_ && button == mbLeft;
  if (button == mbLeft) pressed_ = false;
  TWinControl::MouseUp(button, shift, x, y);
  if (released) PressQuietly();
}

void TButtonControl::KeyUp(Word& key, TShiftState shift) {
  TWinControl::KeyUp(key, shift);
  if (key != VK_SPACE || (shift & (ssCtrl | ssAlt))) return;
  PressQuietly();
  Click();
}

bool TButtonControl::StateChangeClicks() const {
  return !clicksDisabled_ && !HasState(ComponentStateFlag::Designing) && !HasState(ComponentStateFlag::Loading);
}

void TButtonControl::PressQuietly() {
  clicksDisabled_ = true;
  try {
    ButtonPressed();
  } catch (...) {
    clicksDisabled_ = false;
    throw;
  }
  clicksDisabled_ = false;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::Click() {
  if (TCustomForm* form = ParentForm(); form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

}  // namespace qv

#pragma once
// Push buttons and the base of the check box and radio button.
//
// A user's press (mouse down then up on the control, or the space key)
// first does what the press means for the control (ButtonPressed: a check
// box toggles, a radio button checks itself) without raising OnClick, and
// then the click runs once.

#include <string>

#include "platform/ui/Form.h"
#include "platform/ui/WinControl.h"

namespace qv {

class TButtonControl : public TWinControl {
  QV_OBJECT(TButtonControl, TWinControl)

  explicit TButtonControl(TComponent* owner);

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyUp(Word& key, TShiftState shift) override;

 protected:
  // What a user's press changes before the click.
  virtual void ButtonPressed() {}
  // While set, state changes made by the control itself raise no OnClick.
  bool ClicksDisabled() const { return clicksDisabled_; }
  // Whether a state change may raise OnClick: not while designing or loading,
  // when the platform would not raise it either.
  bool StateChangeClicks() const;
  // Runs ButtonPressed with state-change clicks disabled.
  void PressQuietly();

 private:
  bool pressed_ = false;
  bool clicksDisabled_ = false;
};

class TButton : public TButtonControl {
  QV_OBJECT(TButton, TButtonControl)

  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool isDefault) { default_ = isDefault; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }

  // A button with a modal result gives it to its form, then raises OnClick.
  void Click() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

}  // namespace qv

#include "controls/F2Button.h"

#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

namespace qv {

const TClass& TF2Button::StaticClass() {
  static const TClass cls =
      ClassBuilder<TF2Button>("TF2Button", &TGSpeedButton::StaticClass())
          .Object("F2Control", TWinControl::StaticClass(), &TF2Button::F2Control, &TF2Button::SetF2Control)
          .Boolean("AutoAlign", &TF2Button::AutoAlign, &TF2Button::SetAutoAlign)
          .Integer("Gap", &TF2Button::Gap, &TF2Button::SetGap);
  return cls;
}

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
  SetGlyphIndex(8);
  SetFlat(true);
}

TF2Button* TF2Button::BoundElsewhere(const TWinControl* control) const {
  if (!Parent()) return nullptr;
  for (TComponent* component : Parent()->ComponentList())
    if (auto* button = ObjectAs<TF2Button>(component); button && button->f2Control_ == control) return button;
  return nullptr;
}

void TF2Button::SetF2Control(TWinControl* control) {
  if (control) {
    if (const TF2Button* bound = BoundElsewhere(control)) {
      if (bound != this) MessageDlg("不能同时有两个 F2Button 指到同一个 Edit.", mtError, MsgDlgButtons(mbOK), 0);
      return;
    }
  }
  Bind(control);
  AlignToControl();
}

void TF2Button::Bind(TWinControl* control) {
  // A control being destroyed has dropped its links itself.
  if (f2Control_ && !f2Control_->HasState(ComponentStateFlag::Destroying)) {
    RemoveFreeNotification(f2Control_);
    f2Control_->RemoveBoundsFollower(this);
  }
  f2Control_ = control;
  if (f2Control_) {
    FreeNotification(f2Control_);
    f2Control_->AddBoundsFollower(this);
  }
}

void TF2Button::SetAutoAlign(bool autoAlign) {
  autoAlign_ = autoAlign;
  AlignToControl();
}

void TF2Button::SetGap(std::uint8_t gap) {
  gap_ = gap;
  AlignToControl();
}

void TF2Button::AlignToControl() {
  // While loading the control may not be placed yet: Loaded aligns.
  if (!f2Control_ || !autoAlign_ || HasState(ComponentStateFlag::Loading)) return;
  const int side = f2Control_->Height();
  SetBounds(f2Control_->Left() + f2Control_->Width() + gap_, f2Control_->Top(), side, side);
}

void TF2Button::Loaded() {
  TGSpeedButton::Loaded();
  AlignToControl();
}

void TF2Button::Notification(TComponent* component, TOperation operation) {
  TGSpeedButton::Notification(component, operation);
  if (operation == TOperation::opRemove && component == f2Control_) Bind(nullptr);
}

void TF2Button::FollowedBoundsChanged(TControl& followed) {
  if (&followed == f2Control_ && HasState(ComponentStateFlag::Designing)) AlignToControl();
}

void TF2Button::Click() {
  TGSpeedButton::Click();
  RequestLookup();
}

void TF2Button::RequestLookup() {
  // Read after OnClick: the handler may have rebound or freed the control.
  TWinControl* control = f2Control_;
  if (!control || !control->Enabled()) return;
  if (control->CanFocus()) control->SetFocus();
  if (!control->Focused()) return;
  if (auto* form = ObjectAs<TWinControl>(control->Owner()))
    Application().SendMessage(form->Handle(), WM_LOOKUPREQUEST, 0, reinterpret_cast<LPARAM>(control));
}

}  // namespace qv

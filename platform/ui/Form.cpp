#include "platform/ui/Form.h"

#include <deque>
#include <vector>

#include "platform/ui/Application.h"

namespace qv {

const TEnumType& PositionType() {
  static const TEnumType type("TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                            "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                            "poOwnerFormCenter"});
  return type;
}

const TClass& TCustomForm::StaticClass() {
  static const TClass cls =
      ClassBuilder<TCustomForm>("TCustomForm", &TWinControl::StaticClass())
          .String("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
          .Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
          .Enumeration("Position", PositionType(), &TCustomForm::Position, &TCustomForm::SetPosition)
          .Object("ActiveControl", TWinControl::StaticClass(), &TCustomForm::ActiveControl,
                  &TCustomForm::SetActiveControl)
          .Event("OnCreate", &TCustomForm::OnCreate)
          .Event("OnShow", &TCustomForm::OnShow)
          .Event("OnHide", &TCustomForm::OnHide)
          .Event("OnClose", &TCustomForm::OnClose)
          .Event("OnCloseQuery", &TCustomForm::OnCloseQuery)
          .Event("OnDestroy", &TCustomForm::OnDestroy)
          .Event("OnActivate", &TCustomForm::OnActivate)
          .Event("OnDeactivate", &TCustomForm::OnDeactivate);
  return cls;
}

const TClass& TForm::StaticClass() {
  static const TClass cls = ClassBuilder<TForm>("TForm", &TCustomForm::StaticClass());
  return cls;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  TControl::SetVisible(false);  // forms are made hidden
  Application().AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Application().ActiveForm() == this) Application().SetActiveForm(nullptr);
  if (Application().FocusedControl() && ContainsControl(Application().FocusedControl()))
    Application().SetFocusedControl(nullptr);
  Application().RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
  if (created_) return;
  created_ = true;
  OnCreate(this);
}

void TCustomForm::BeforeDestruction() { OnDestroy(this); }

void TCustomForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  // The show and hide handlers see the form as it is becoming.
  if (visible) {
    TControl::SetVisible(true);
    DoShow();
    Application().SetActiveForm(this);
    TWinControl* first = activeControl_ && activeControl_->CanFocus() ? activeControl_
                                                                       : FindNextControl(nullptr, true, true, false);
    if (first) FocusControl(first);
  } else {
    TControl::SetVisible(false);
    DoHide();
    if (Application().ActiveForm() == this) Application().SetActiveForm(nullptr);
    if (Application().FocusedControl() && ContainsControl(Application().FocusedControl()))
      Application().SetFocusedControl(nullptr);
    focusedControl_ = nullptr;
    entered_ = nullptr;  // hiding leaves the focus without exit events
  }
}

void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  OnClose(this, action);
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
  }
}

void TCustomForm::Release() {
  closing_ = true;
  Application().PostMessage(Handle(), CM_RELEASE);
}

TModalResult TCustomForm::ShowModal() {
  if (closing_) return mrCancel;
  if (Visible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  const TApplication::ModalRun run;
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  Application().Presenter().Run(*this);
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    OnClose(this, action);
  }
  Hide();
  modal_ = false;
  const TModalResult result = modalResult_;
  if (action == caFree) Release();
  return result;
}

void TCustomForm::SetWindowState(TWindowState state) {
  if (state == windowState_) return;
  windowState_ = state;
  Changed(ControlChange::Bounds);
}

bool TCustomForm::Active() const { return Application().ActiveForm() == this; }

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control && IsShowing() && control->CanFocus())
    FocusControl(control);
  else
    activeControl_ = control;
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (control == focusedControl_ && control == entered_) return;
  const unsigned serial = ++focusChanges_;
  focusedControl_ = control;
  activeControl_ = control;
  Application().SetFocusedControl(control);
  FocusChanged(control);
  Changed(ControlChange::Focus);

  // The entered chain walks up, one exit at a time, until it holds the new
  // control, then down, one enter at a time, to it. A handler that moves the
  // focus again takes over from where the chain stands.
  while (entered_ && !(control && entered_->ContainsControl(control))) {
    TWinControl* leaving = entered_;
    entered_ = leaving->Parent() == this ? nullptr : leaving->Parent();
    leaving->DoExit();
    if (serial != focusChanges_) return;
  }
  while (control && entered_ != control) {
    TWinControl* entering = control;
    while (entering->Parent() != entered_ && entering->Parent() != this) entering = entering->Parent();
    entered_ = entering;
    entering->DoEnter();
    if (serial != focusChanges_) return;
  }
}

void TCustomForm::FocusChanged(TWinControl*) {}

void TCustomForm::ControlGoing(TWinControl* control) {
  if (activeControl_ && control->ContainsControl(activeControl_)) activeControl_ = nullptr;
  if (entered_ && control->ContainsControl(entered_)) entered_ = control->Parent() == this ? nullptr : control->Parent();
  if (focusedControl_ && control->ContainsControl(focusedControl_)) {
    focusedControl_ = nullptr;
    if (Application().FocusedControl() && control->ContainsControl(Application().FocusedControl()))
      Application().SetFocusedControl(nullptr);
  }
}

void TCustomForm::WndProc(TMessage& message) {
  if (message.Msg == CM_RELEASE) {
    if (Application().InModalRun()) return Application().HoldUntilModalRunsEnd(Handle(), message);
    Free(this);  // nothing of the form may be touched after this
    return;
  }
  if (message.Msg == WM_CLOSE) {
    Close();
    return;
  }
  TWinControl::WndProc(message);
}

}  // namespace qv

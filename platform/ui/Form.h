#pragma once
// Forms: top-level window controls with an active control, key preview,
// showing and hiding, closing with a close action, release by a posted
// message, and modal showing through the application's modal presenter.
//
// Forms are made with CreateForm<T>(owner), which runs OnCreate once the
// whole object exists, and end with TObject::Free, which runs OnDestroy first.

#include <string>

#include "platform/ui/WinControl.h"

namespace qv {

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
const TEnumType& PositionType();

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = Event<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = Event<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  QV_OBJECT(TCustomForm, TWinControl)

  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Runs OnCreate; CreateForm calls it once construction is complete.
  virtual void AfterConstruction();
  // Runs OnDestroy; Free calls it before the object goes.
  void BeforeDestruction() override;

  // ---- showing ----
  void SetVisible(bool visible) override;
  void Close();
  // Frees the form on a later turn of the message loop (a posted request).
  // The form is closing from then on. The request waits while any modal run
  // is in progress, so a form is never freed under the code of a modal run
  // or of a message dialog it opened.
  void Release();
  bool Closing() const { return closing_; }
  // Shows the form modally and answers its modal result; a closing form
  // answers mrCancel at once.
  virtual TModalResult ShowModal();
  bool IsModal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState state);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  bool Active() const;

  // ---- focus ----
  TWinControl* ActiveControl() const { return activeControl_; }
  // Focuses the control when the form is showing; remembered otherwise.
  void SetActiveControl(TWinControl* control);
  // Moves the focus, raising exit events on every control left (innermost
  // first) and enter events on every control entered (outermost first).
  void FocusControl(TWinControl* control);
  bool CanFocus() const override;
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool preview) { keyPreview_ = preview; }

  void WndProc(TMessage& message) override;

  // A window control inside the form is going away: forget it as the
  // active or focused control.
  void ControlGoing(TWinControl* control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 protected:
  virtual void DoShow();
  virtual void DoHide();
  virtual bool CloseQuery();
  // Called when the focus has moved inside the form (the focus-changed notification).
  virtual void FocusChanged(TWinControl* control);

 private:
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TWinControl* entered_ = nullptr;  // how far enter events have reached
  unsigned focusChanges_ = 0;  // tells a focus move that a handler moved the focus again
  bool keyPreview_ = false;
  bool modal_ = false;
  bool closing_ = false;
  bool created_ = false;
  TModalResult modalResult_ = mrNone;
  TWindowState windowState_ = wsNormal;
  TPosition position_ = poDesigned;
};

class TForm : public TCustomForm {
  QV_OBJECT(TForm, TCustomForm)
  using TCustomForm::TCustomForm;
};

// Makes a form of class T and runs its OnCreate.
template <class T, class... Args>
T* CreateForm(TComponent* owner, Args&&... args) {
  T* form = new T(owner, std::forward<Args>(args)...);
  form->AfterConstruction();
  return form;
}

}  // namespace qv

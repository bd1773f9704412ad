#pragma once
// TWinControl: a control that can hold other controls, take the focus and
// receive keys. It has a window handle, a small integer the application
// hands out on first use.

#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace qv {

using TKeyEvent = Event<void(TObject* Sender, Word& Key, TShiftState Shift)>;
// Key presses carry one character of text (UTF-8); setting it to "" consumes the key.
using TKeyPressEvent = Event<void(TObject* Sender, std::string& Key)>;

class TWinControl : public TControl {
  QV_OBJECT(TWinControl, TControl)

  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // ---- children, in z-order (first is at the back) ----
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
  const std::vector<TControl*>& ControlList() const { return controls_; }
  // True for this control and everything inside it, at any depth.
  bool ContainsControl(const TControl* control) const;

  // ---- window handle ----
  HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }

  // ---- focus and tab order ----
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
  // Visible and enabled up to and including the form, which must be showing.
  virtual bool CanFocus() const;
  bool Focused() const;
  // Raises EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();
  // Window children in tab order.
  std::vector<TWinControl*> TabOrderList() const;
  // The next (or previous) control after current among the focusable
  // controls inside this one, wrapping around; nullptr when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  void SetEnabled(bool enabled) override;

  // ---- keys, called by the input API with the form's preview done ----
  virtual void KeyDown(Word& key, TShiftState shift);
  virtual void KeyPress(std::string& key);
  virtual void KeyUp(Word& key, TShiftState shift);

  // Lays out aligned children again.
  void Realign();

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

 protected:
  friend class TControl;
  friend class TCustomForm;

  virtual void DoEnter();
  virtual void DoExit();
  void FontChanged() override;
  void ColorChangedForChildren();
  void Resize() override;
  // A window is told of its new position with WM_MOVE (lParam: left in the
  // low word, top in the high word).
  void Moved() override;
  // The part of the client area that aligned children share; containers
  // with a caption or a frame leave that out.
  virtual void AdjustClientRect(TRect& rect) const { (void)rect; }

 private:
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void MoveInTabOrder(TWinControl* child, int order);

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  HWND handle_ = 0;
  bool tabStop_ = false;
};

// A window control with its own canvas (program-drawn controls).
class TCustomControl : public TWinControl {
  QV_OBJECT(TCustomControl, TWinControl)
  using TWinControl::TWinControl;
};

}  // namespace qv

#pragma once
// TControl: the headless model of a visible control and the single source of
// truth for its state (bounds, visibility, enabled state, colour, font, text,
// hint). Every change passes Changed(), the notification point a native
// backend mirrors.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/ui/ControlObserver.h"
#include "platform/ui/Messages.h"
#include "platform/ui/graphics/Graphics.h"

namespace qv {

class TWinControl;
class TCustomForm;

struct TPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
const TEnumType& AlignType();

// How a text sits in its box (labels, edits, list columns).
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
const TEnumType& AlignmentType();

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TMouseEvent = Event<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = Event<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TDragDropEvent = Event<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent = Event<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TStartDragEvent = Event<void(TObject* Sender, TObject*& DragObject)>;
using TEndDragEvent = Event<void(TObject* Sender, TObject* Target, int X, int Y)>;

class TControl : public TComponent {
  QV_OBJECT(TControl, TComponent)

  explicit TControl(TComponent* owner);
  ~TControl() override;

  // ---- parent and place ----
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
  void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return bounds_; }
  virtual int ClientWidth() const { return Width(); }
  virtual int ClientHeight() const { return Height(); }
  TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  // Client coordinates of this control to those of the screen and back.
  TPoint ClientToScreen(TPoint point) const;
  TPoint ScreenToClient(TPoint point) const;
  // The top-left of the client area in screen coordinates.
  virtual TPoint ClientOrigin() const;
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  void BringToFront();
  void SendToBack();

  // ---- state ----
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible.
  bool IsShowing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // Enabled and every parent enabled: a disabled container disables its children.
  bool IsEnabledInTree() const;
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);
  TFont& Font() { return *font_; }
  const TFont& Font() const { return *font_; }
  void SetFont(TFont* font);  // copies; nullptr ignored
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);
  // The text of the control; Caption and Text name the same state.
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& text);
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& caption) { SetText(caption); }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool showHint) { showHint_ = showHint; }
  int Cursor() const { return cursor_; }
  void SetCursor(int cursor) { cursor_ = cursor; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }

  // ---- input, called by the input API and by backends ----
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

  // ---- messages ----
  LPARAM Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& message);

  // The form that holds the control (itself, for a form); nullptr when none.
  TCustomForm* ParentForm() const;

  // ---- followers: controls placed against this one ----
  // A follower's FollowedBoundsChanged runs after each change of this
  // control's bounds. The link goes when either control goes.
  void AddBoundsFollower(TControl* follower);
  void RemoveBoundsFollower(TControl* follower);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDock;
  TEndDragEvent OnEndDock;

 protected:
  // Tells the observer, if any, that this state changed.
  void Changed(ControlChange change);
  virtual void Resize();
  // The control's position changed.
  virtual void Moved() {}
  virtual void FontChanged();
  virtual void ParentFontChanged(const TFont& parentFont);
  virtual void ParentColorChanged(TColor parentColor);
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void TextChanged() {}
  // The bounds of a control this one follows have changed.
  virtual void FollowedBoundsChanged(TControl& followed) { (void)followed; }

  void Loaded() override;

 private:
  friend class TWinControl;
  void FontChangeHandler(TObject* sender);

  TWinControl* parent_ = nullptr;
  TRect bounds_;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool applyingParentFont_ = false;
  std::string text_;
  std::string hint_;
  bool showHint_ = false;
  int cursor_ = 0;
  int helpContext_ = 0;
  std::vector<TControl*> followers_;
  std::vector<TControl*> followed_;
};

// A control without a window of its own that draws on its parent (labels,
// speed buttons); the canvas comes with the drawing support.
class TGraphicControl : public TControl {
  QV_OBJECT(TGraphicControl, TControl)
  using TControl::TControl;
};

}  // namespace qv

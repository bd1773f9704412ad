#include "platform/ui/WinControl.h"

#include <algorithm>
#include <cstdint>

#include "platform/core/Exception.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

namespace qv {

const TClass& TWinControl::StaticClass() {
  static const TClass cls = ClassBuilder<TWinControl>("TWinControl", &TControl::StaticClass())
                                .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
                                .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
                                .Event("OnEnter", &TWinControl::OnEnter)
                                .Event("OnExit", &TWinControl::OnExit)
                                .Event("OnKeyDown", &TWinControl::OnKeyDown)
                                .Event("OnKeyPress", &TWinControl::OnKeyPress)
                                .Event("OnKeyUp", &TWinControl::OnKeyUp);
  return cls;
}

const TClass& TCustomControl::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomControl>("TCustomControl", &TWinControl::StaticClass());
  return cls;
}

const TClass& TGraphicControl::StaticClass() {
  static const TClass cls = ClassBuilder<TGraphicControl>("TGraphicControl", &TControl::StaticClass());
  return cls;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  if (TCustomForm* form = ParentForm(); form && form != this) form->ControlGoing(this);
  if (Application().FocusedControl() && ContainsControl(Application().FocusedControl()))
    Application().SetFocusedControl(nullptr);
  // The platform frees the controls a window holds together with it.
  while (!controls_.empty()) {
    TControl* last = controls_.back();
    RemoveControl(last);
    Free(last);
  }
  if (handle_) Application().ReleaseHandle(handle_);
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

HWND TWinControl::Handle() {
  if (!handle_) handle_ = Application().AllocateHandle(this);
  return handle_;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  if (auto* window = ObjectAs<TWinControl>(control)) tabList_.push_back(window);
  if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  if (TCustomForm* form = ParentForm())
    if (auto* window = ObjectAs<TWinControl>(control)) form->ControlGoing(window);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
  if (control->Align() != alNone) Realign();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (Parent()) Parent()->MoveInTabOrder(this, order);
}

void TWinControl::MoveInTabOrder(TWinControl* child, int order) {
  auto it = std::find(tabList_.begin(), tabList_.end(), child);
  if (it == tabList_.end()) return;
  tabList_.erase(it);
  order = std::clamp(order, 0, static_cast<int>(tabList_.size()));
  tabList_.insert(tabList_.begin() + order, child);
}

bool TWinControl::CanFocus() const {
  const TCustomForm* form = ParentForm();
  if (!form) return false;
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return Application().FocusedControl() == this; }

void TWinControl::SetFocus() {
  TCustomForm* form = ParentForm();
  if (!form || !CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  form->FocusControl(this);
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
  std::vector<TWinControl*> list;
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    const std::vector<TWinControl*> inner = child->TabOrderList();
    list.insert(list.end(), inner.begin(), inner.end());
  }
  return list;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  const std::vector<TWinControl*> list = TabOrderList();
  if (list.empty()) return nullptr;
  const auto found = std::find(list.begin(), list.end(), current);
  const int count = static_cast<int>(list.size());
  // Without a current control the search starts before the first (or after the last).
  int index = found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
  for (int step = 0; step < count; ++step) {
    index = (index + (goForward ? 1 : count - 1)) % count;
    TWinControl* candidate = list[static_cast<std::size_t>(index)];
    if (candidate == current) break;
    if ((!checkTabStop || candidate->TabStop()) && (!checkParent || candidate->Parent() == this) &&
        candidate->CanFocus())
      return candidate;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

void TWinControl::SetEnabled(bool enabled) { TControl::SetEnabled(enabled); }

void TWinControl::KeyDown(Word& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyPress(std::string& key) { OnKeyPress(this, key); }
void TWinControl::KeyUp(Word& key, TShiftState shift) { OnKeyUp(this, key, shift); }

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::FontChanged() {
  TControl::FontChanged();
  const std::vector<TControl*> children = controls_;
  for (TControl* child : children) child->ParentFontChanged(Font());
}

void TWinControl::ColorChangedForChildren() {
  const std::vector<TControl*> children = controls_;
  for (TControl* child : children) child->ParentColorChanged(Color());
}

void TWinControl::Resize() {
  TControl::Resize();
  Realign();
}

void TWinControl::Moved() {
  const auto word = [](int value) { return static_cast<LPARAM>(static_cast<std::uint16_t>(value)); };
  Perform(WM_MOVE, 0, word(Left()) | word(Top()) << 16);
}

void TWinControl::Realign() {
  static thread_local int depth = 0;
  if (depth > 8) return;  // aligned children resizing their parent in turn
  ++depth;
  TRect free = ClientRect();
  AdjustClientRect(free);
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
      if (c->Align() != pass || !c->Visible()) continue;
      switch (pass) {
        case alTop:
          c->SetBounds(free.Left, free.Top, free.Width(), c->Height());
          free.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(free.Left, free.Bottom - c->Height(), free.Width(), c->Height());
          free.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(free.Left, free.Top, c->Width(), free.Height());
          free.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(free.Right - c->Width(), free.Top, c->Width(), free.Height());
          free.Right -= c->Width();
          break;
        default: c->SetBounds(free.Left, free.Top, free.Width(), free.Height()); break;
      }
    }
  }
  --depth;
}

}  // namespace qv

#pragma once
// The one notification point of the control model: every change of a
// control's state passes here, so a native window backend can mirror the
// headless model. Nothing in the system depends on an observer being set.

namespace qv {

class TControl;

enum class ControlChange {
  Created,
  Destroying,
  Parent,
  Bounds,
  Visible,
  Enabled,
  Color,
  Font,
  Text,
  Hint,
  Focus,
  ZOrder,
  Content,  // items, rows, pages, pictures: anything else the control shows
};

class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void ControlChanged(TControl& control, ControlChange change) = 0;

  // The observer in force, or nullptr.
  static ControlObserver* Current();
  static void Install(ControlObserver* observer);
};

}  // namespace qv

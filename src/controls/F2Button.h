#pragma once
// TF2Button: a lookup button bound to an edit. It sits just right of the
// edit, square and as high as the edit; a click asks the edit's form to run
// its F2 lookup for the edit (WM_LOOKUPREQUEST), as the F2 key does.
//
// At run time the button aligns when one of its properties is set; while
// designing it also follows moves and resizes of its control.

#include <cstdint>

#include "controls/GSpdBtn.h"
#include "platform/ui/WinControl.h"

namespace qv {

class TF2Button : public TGSpeedButton {
  QV_OBJECT(TF2Button, TGSpeedButton)

  explicit TF2Button(TComponent* owner);

  TWinControl* F2Control() const { return f2Control_; }
  // Refused with an error dialog when another lookup button owned by this
  // button's parent already serves the control.
  void SetF2Control(TWinControl* control);
  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool autoAlign);
  // Pixels between the control's right edge and the button.
  std::uint8_t Gap() const { return gap_; }
  void SetGap(std::uint8_t gap);

  // Runs OnClick, then asks for the lookup.
  void Click() override;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void FollowedBoundsChanged(TControl& followed) override;

 private:
  // The parent's other lookup button serving the control; this button
  // itself when it is the one; nullptr when none.
  TF2Button* BoundElsewhere(const TWinControl* control) const;
  // Stores the control and keeps the links that tell of its moves and its end.
  void Bind(TWinControl* control);
  void AlignToControl();
  void RequestLookup();

  TWinControl* f2Control_ = nullptr;
  bool autoAlign_ = true;
  std::uint8_t gap_ = 2;
};

}  // namespace qv

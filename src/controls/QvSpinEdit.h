#pragma once
// TQvSpinEdit: a spin edit that drops a stray sign typed after the first
// character ("12+" becomes "12") and raises OnChange only for text that is
// not blank.

#include "platform/ui/controls/SpinEdit.h"

namespace qv {

class TQvSpinEdit : public TSpinEdit {
  QV_OBJECT(TQvSpinEdit, TSpinEdit)

  explicit TQvSpinEdit(TComponent* owner);

 protected:
  void Change() override;

 private:
  bool filtering_ = false;  // the filtered text is being put back
};

}  // namespace qv

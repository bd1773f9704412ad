#pragma once
// TLabel: a caption drawn on its parent. With AutoSize the label takes the
// size of its text in its font; an "&" in the caption marks the accelerator
// character and is neither drawn nor measured ("&&" is a literal "&").

#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/WinControl.h"

namespace qv {

enum TTextLayout { tlTop, tlCenter, tlBottom };
const TEnumType& TextLayoutType();

class TCustomLabel : public TGraphicControl {
  QV_OBJECT(TCustomLabel, TGraphicControl)

  explicit TCustomLabel(TComponent* owner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // With AutoSize, a wrapping label keeps its width and grows in height.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wordWrap);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool show);
  // The control the accelerator focuses; cleared when that control goes.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);

  // The caption as drawn: accelerator marks removed.
  std::string DisplayCaption() const;

 protected:
  void TextChanged() override;
  void FontChanged() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Fits the bounds to the text when AutoSize is on.
  void AdjustBounds();

 private:
  void ContentChanged();

  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool transparent_ = false;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
  QV_OBJECT(TLabel, TCustomLabel)
  using TCustomLabel::TCustomLabel;
};

}  // namespace qv

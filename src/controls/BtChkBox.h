#pragma once
// TBitCheckBox: a check box drawn entirely by the program, with a picture
// per state and the caption in the control's own font (so the code-page
// converter's character set applies to it).
//
// Setting Checked or State repaints without OnClick; a click (mouse or the
// space key) toggles, raises OnClick and then takes the focus. The caption's
// accelerator is not seen by the form on its own: the form's key handling
// asks IsAccelerator and calls AcceleratorPressed, which focuses and toggles
// without OnClick.
//
// The default pictures "CHECKED", "UNCHECKED" and "GRAYED" (19 × 14, one
// cell) are drawn in code on first use; a picture may hold a second cell,
// drawn while the control is disabled.

#include <array>
#include <memory>
#include <string>

#include "platform/ui/WinControl.h"
#include "platform/ui/controls/CheckBox.h"
#include "platform/ui/graphics/Bitmap.h"

namespace qv {

// The default picture of a state ("CHECKED", "UNCHECKED", "GRAYED").
const TBitmap& DefaultCheckGlyph(TCheckBoxState state);

class TBitCheckBox : public TCustomControl {
  QV_OBJECT(TBitCheckBox, TCustomControl)

  explicit TBitCheckBox(TComponent* owner);
  ~TBitCheckBox() override;

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool allowGrayed) { allowGrayed_ = allowGrayed; }
  // taRightJustify: picture left, caption right of it; taLeftJustify: caption
  // left, picture at the right edge.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // The 3-D look of the disabled caption. Parents have no 3-D setting of
  // their own on this platform, so it starts on, as theirs would be.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool ctl3D);

  // Pictures are copied in; nullptr restores the default picture. A picture
  // whose width is a whole multiple of its height sets its cell count.
  TBitmap* CheckedGlyph() const { return Glyph(cbChecked); }
  void SetCheckedGlyph(TBitmap* glyph) { SetGlyph(cbChecked, glyph); }
  TBitmap* UncheckedGlyph() const { return Glyph(cbUnchecked); }
  void SetUncheckedGlyph(TBitmap* glyph) { SetGlyph(cbUnchecked, glyph); }
  TBitmap* GrayedGlyph() const { return Glyph(cbGrayed); }
  void SetGrayedGlyph(TBitmap* glyph) { SetGlyph(cbGrayed, glyph); }
  // Cells in a picture, 1 or 2 (values outside are brought inside).
  int CheckedNumGlyphs() const { return NumGlyphs(cbChecked); }
  void SetCheckedNumGlyphs(int count) { SetNumGlyphs(cbChecked, count); }
  int UncheckedNumGlyphs() const { return NumGlyphs(cbUnchecked); }
  void SetUncheckedNumGlyphs(int count) { SetNumGlyphs(cbUnchecked, count); }
  int GrayedNumGlyphs() const { return NumGlyphs(cbGrayed); }
  void SetGrayedNumGlyphs(int count) { SetNumGlyphs(cbGrayed, count); }

  TBitmap* Glyph(TCheckBoxState state) const { return glyphs_[state].Picture.get(); }
  void SetGlyph(TCheckBoxState state, TBitmap* glyph);
  int NumGlyphs(TCheckBoxState state) const { return glyphs_[state].NumGlyphs; }
  void SetNumGlyphs(TCheckBoxState state, int count);

  // unchecked → grayed (with AllowGrayed) or checked; checked → unchecked;
  // grayed → checked. No OnClick.
  void Toggle();
  // Toggles, raises OnClick, then takes the focus when it can.
  void Click() override;
  void KeyPress(std::string& key) override;

  // Whether Alt + key is the caption's accelerator ("&x" marks x).
  bool IsAccelerator(Word key, TShiftState shift) const;
  // The accelerator was pressed: focus the control and toggle, without OnClick.
  void AcceleratorPressed();

  // The canvas the control paints on; it records what was drawn.
  TCanvas& Canvas() { return *canvas_; }
  // Paints the control afresh onto its canvas (the record starts anew).
  void Paint();
  // Paints the control onto any canvas (a bitmap's, for a picture of it).
  void PaintTo(TCanvas& canvas) const;

  // The caption's box: beside the picture, one text line high.
  TRect TextRect() const;

 protected:
  void TextChanged() override { Repaint(); }
  void FontChanged() override;
  void EnabledChanged() override { Repaint(); }
  void DoEnter() override;
  void DoExit() override;

 private:
  struct GlyphSlot {
    std::unique_ptr<TBitmap> Picture;
    int NumGlyphs = 1;
  };

  // Tells the backend the control needs painting.
  void Repaint() { Changed(ControlChange::Content); }
  int CellWidth() const;
  void PaintCaption(TCanvas& canvas, const TRect& textRect) const;
  void PaintGlyph(TCanvas& canvas) const;

  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
  bool ctl3D_ = true;
  std::array<GlyphSlot, 3> glyphs_;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace qv

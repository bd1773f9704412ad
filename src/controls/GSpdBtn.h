#pragma once
// TGSpeedButton: a flat tool button whose picture is chosen by number from
// the glyph library instead of being stored with the form.

#include "controls/GlyphLibrary.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/graphics/Bitmap.h"

namespace qv {

class TGSpeedButton : public TSpeedButton {
  QV_OBJECT(TGSpeedButton, TSpeedButton)

  explicit TGSpeedButton(TComponent* owner);
  ~TGSpeedButton() override;

  // Number of the picture in the glyph library; 0 for none. Setting it
  // shows the number as the caption until the picture is loaded; a
  // library that cannot be read is reported in an error dialog.
  int GlyphIndex() const { return glyphIndex_; }
  void SetGlyphIndex(int glyphIndex);
  // Stored only.
  int HintIndex() const { return hintIndex_; }
  void SetHintIndex(int hintIndex) { hintIndex_ = hintIndex; }

 private:
  // Shows no picture, or picture `number` when the library holds it.
  void LoadPicture(int number);
  void ShowPicture(const GlyphImage& image);

  TBitmap picture_;  // the button's own; the inherited Glyph slot points here
  int glyphIndex_ = 0;
  int hintIndex_ = 0;
};

}  // namespace qv

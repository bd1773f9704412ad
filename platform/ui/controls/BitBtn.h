#pragma once
// TBitBtn: a push button with a picture and a kind that gives it a caption
// and a modal result at once. The picture (the glyph) is a bitmap of the
// drawing classes; the button keeps it in a slot and does not own it — its
// owner keeps it alive for as long as the button shows it. A glyph holds
// NumGlyphs cells side by side (normal, disabled, pressed, down).

#include "platform/ui/controls/Button.h"

namespace qv {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
const TEnumType& ButtonLayoutType();

// Cells in a glyph: 1 to 4.
int ClampNumGlyphs(int numGlyphs);

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
const TEnumType& BitBtnKindType();

class TBitBtn : public TButton {
  QV_OBJECT(TBitBtn, TButton)

  explicit TBitBtn(TComponent* owner);

  TBitBtnKind Kind() const { return kind_; }
  // A kind other than bkCustom sets Caption, ModalResult, Default and Cancel.
  void SetKind(TBitBtnKind kind);
  TPersistent* Glyph() const { return glyph_; }
  void SetGlyph(TPersistent* glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int numGlyphs);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);
  // -1 centres the picture and caption; otherwise pixels from the edge.
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  // Pixels between picture and caption.
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

  // A close button closes its form instead of clicking.
  void Click() override;

 private:
  TBitBtnKind kind_ = bkCustom;
  TPersistent* glyph_ = nullptr;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

}  // namespace qv

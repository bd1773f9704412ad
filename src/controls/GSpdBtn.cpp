#include "controls/GSpdBtn.h"

#include <string>

#include "controls/GlyphLibrary.h"
#include "platform/core/Exception.h"
#include "platform/ui/Dialogs.h"

namespace qv {

const TClass& TGSpeedButton::StaticClass() {
  static const TClass cls =
      ClassBuilder<TGSpeedButton>("TGSpeedButton", &TSpeedButton::StaticClass())
          .Integer("GlyphIndex", &TGSpeedButton::GlyphIndex, &TGSpeedButton::SetGlyphIndex)
          .Integer("HintIndex", &TGSpeedButton::HintIndex, &TGSpeedButton::SetHintIndex);
  return cls;
}

TGSpeedButton::TGSpeedButton(TComponent* owner) : TSpeedButton(owner) { SetGlyph(&picture_); }

// The slot must not outlive the picture it points to.
TGSpeedButton::~TGSpeedButton() { SetGlyph(nullptr); }

void TGSpeedButton::SetGlyphIndex(int glyphIndex) {
  if (glyphIndex == glyphIndex_) return;
  glyphIndex_ = glyphIndex;
  SetCaption(std::to_string(glyphIndex));
  try {
    LoadPicture(glyphIndex);
  } catch (const Exception&) {
    MessageDlg("读取 BMP 发生错误", mtError, MsgDlgButtons(mbOK), 0);
  }
}

void TGSpeedButton::LoadPicture(int number) {
  // A library that cannot be loaded reports 0 pictures; the load below then
  // raises its error rather than leaving the button silently blank.
  const int highest = GlyphMaxId();
  GlyphImage image;  // stays empty without a picture of that number: the picture is released
  const bool loaded = number != 0 && (highest == 0 || number <= highest) && LoadGlyph(number, image);
  ShowPicture(image);
  if (!loaded) return;
  SetCaption("");
  SetNumGlyphs(image.Width / image.Height);
}

void TGSpeedButton::ShowPicture(const GlyphImage& image) {
  picture_.SetSize(image.Width, image.Height);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) picture_.Canvas().SetPixels(x, y, static_cast<TColor>(image.Pixel(x, y)));
  SetGlyph(&picture_);
  Changed(ControlChange::Content);
}

}  // namespace qv

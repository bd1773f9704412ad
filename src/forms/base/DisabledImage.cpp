#include "forms/base/DisabledImage.h"

#include "platform/ui/graphics/Bitmap.h"
#include "platform/ui/graphics/Canvas.h"

namespace qv {

namespace {

// Pixels whose red + green + blue lies below this are dark.
constexpr int kDarkSum = 384;

int ChannelSum(TColor rgb) { return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF); }

// A neighbour outside the picture is the pixel itself.
TColor NeighbourOrSelf(const TBitmap& picture, int x, int y, TColor self) {
  const TColor pixel = picture.PixelAt(x, y);
  return pixel == clNone ? self : pixel;
}

bool TouchesTransparent(const TBitmap& picture, int x, int y, TColor self, TColor transparent) {
  return NeighbourOrSelf(picture, x, y - 1, self) == transparent ||
         NeighbourOrSelf(picture, x, y + 1, self) == transparent ||
         NeighbourOrSelf(picture, x - 1, y, self) == transparent ||
         NeighbourOrSelf(picture, x + 1, y, self) == transparent;
}

// Dark pixels and pixels on the edge of the transparent area are outlined.
bool IsOutlined(const TBitmap& picture, int x, int y, TColor transparent) {
  const TColor pixel = picture.PixelAt(x, y);
  if (pixel == transparent) return false;
  return ChannelSum(pixel) < kDarkSum || TouchesTransparent(picture, x, y, pixel, transparent);
}

void Fill(TBitmap& bitmap, TColor color) {
  bitmap.Canvas().Brush().SetColor(color);
  bitmap.Canvas().FillRect({0, 0, bitmap.Width(), bitmap.Height()});
}

// The outlined pixels black on the transparent colour.
void MarkOutline(const TBitmap& picture, TColor transparent, TBitmap& marks) {
  marks.SetPixelFormat(pf24bit);
  marks.SetSize(picture.Width(), picture.Height());
  Fill(marks, transparent);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (IsOutlined(picture, x, y, transparent)) marks.Canvas().SetPixels(x, y, clBlack);
}

// The monochrome copy of the marks: black pixels turn white, all others black.
void MakeMonochrome(const TBitmap& marks, TBitmap& mask) {
  mask.Assign(marks);
  mask.SetHandleType(bmDDB);
  mask.Canvas().Brush().SetColor(clBlack);
  mask.SetWidth(marks.Width());
  if (mask.Monochrome()) {
    mask.Canvas().Font().SetColor(clWhite);
    mask.SetMonochrome(false);
    mask.Canvas().Brush().SetColor(clWhite);
  }
  mask.SetMonochrome(true);
}

}  // namespace

void BuildDisabledImage(const TBitmap& picture, TColor transparent, TBitmap& disabled) {
  MarkOutline(picture, transparent, disabled);
  TBitmap mask;
  MakeMonochrome(disabled, mask);

  Fill(disabled, clBtnFace);
  DrawEmbossed(disabled.Canvas(), 0, 0, mask);
}

void AddDisabledImage(TBitmap& glyph) {
  if (glyph.Empty()) return;
  const TColor transparent = ColorToRGB(glyph.TransparentColor());
  glyph.SetPixelFormat(pf24bit);
  TBitmap picture;
  picture.Assign(glyph);
  TBitmap disabled;
  BuildDisabledImage(picture, transparent, disabled);

  const int width = glyph.Width();
  glyph.SetWidth(2 * width);
  Fill(glyph, transparent);
  TCanvas& canvas = glyph.Canvas();
  const TCopyMode mode = canvas.CopyMode();
  canvas.SetCopyMode(cmSrcCopy);
  canvas.Draw(0, 0, picture);
  canvas.Draw(width, 0, disabled);
  canvas.SetCopyMode(mode);
}

}  // namespace qv

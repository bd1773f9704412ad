#pragma once
// TBitmap: a picture of RGB pixels (0x00BBGGRR) with its own canvas,
// transparency settings and PNG files.
//
// Monochrome: turning it on makes every pixel of the canvas's brush colour
// white and every other pixel black, as the platform's copy through a
// monochrome device does (the brush colour is the copy's background
// colour); turning it off makes white pixels the brush colour and black
// ones the font colour. Colours drawn on a monochrome bitmap become black or
// white by luminance: (299 R + 587 G + 114 B) / 1000 of at least 128 is white.
// Only the 1-bit format changes pixels; the model keeps the other formats
// at full RGB and only reports them.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/graphics/Canvas.h"

namespace qv {

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };
const TEnumType& PixelFormatType();
const TEnumType& BitmapHandleTypeType();
const TEnumType& TransparentModeType();

// The luminance the monochrome reduction compares with its threshold.
constexpr int kMonochromeThreshold = 128;
int LuminanceOf(TColor rgb);

class TBitmap : public TPersistent, private TCanvasSurface {
  QV_OBJECT(TBitmap, TPersistent)

  TBitmap();
  ~TBitmap() override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  // Keeps the pixels that stay inside; new pixels are white.
  void SetSize(int width, int height);
  bool Empty() const { return width_ == 0 || height_ == 0; }

  TPixelFormat PixelFormat() const { return monochrome_ ? pf1bit : pixelFormat_; }
  // pf1bit turns Monochrome on; any other format turns it off.
  void SetPixelFormat(TPixelFormat format);
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool monochrome);
  TBitmapHandleType HandleType() const { return handleType_; }
  void SetHandleType(TBitmapHandleType type);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // tmAuto: the bottom-left pixel (clDefault for an empty bitmap); tmFixed: the colour set.
  TColor TransparentColor() const;
  // Sets the colour and the mode tmFixed.
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);

  TCanvas& Canvas() { return *canvas_; }
  const TCanvas& Canvas() const { return *canvas_; }
  // The RGB value of a pixel; clNone outside the bitmap.
  TColor PixelAt(int x, int y) const;

  void Assign(const TPersistent& source) override;
  // The pixels live in memory only: there is no device handle to release.
  void Dormant() {}
  void FreeImage() {}

  // PNG files. Raise EInOutError when the file cannot be opened or written,
  // EInvalidGraphic when it is no readable PNG or the bitmap is empty.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  TNotifyEvent OnChange;

 private:
  int SurfaceWidth() const override { return width_; }
  int SurfaceHeight() const override { return height_; }
  TColor SurfacePixel(int x, int y) const override { return pixels_[Index(x, y)]; }
  void StoreSurfacePixel(int x, int y, TColor rgb) override;
  void SurfaceChanged() override { Changed(); }

  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x); }
  void Changed() { OnChange(this); }
  void Replace(int width, int height, std::vector<TColor> pixels);

  int width_ = 0;
  int height_ = 0;
  std::vector<TColor> pixels_;
  TPixelFormat pixelFormat_ = pfDevice;
  bool monochrome_ = false;
  TBitmapHandleType handleType_ = bmDIB;
  bool transparent_ = false;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  std::unique_ptr<TCanvas> canvas_;
};

// Draws the white pixels of a monochrome mask as an embossed outline, as
// disabled pictures are drawn: in the button-highlight colour one pixel down
// and right of (x, y), then in the button-shadow colour at (x, y). Elsewhere
// the canvas keeps what it had; its brush and copy mode are left as they were.
void DrawEmbossed(TCanvas& canvas, int x, int y, const TBitmap& mask);

}  // namespace qv

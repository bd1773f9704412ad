#include "platform/ui/graphics/Bitmap.h"

#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/core/Exception.h"

namespace qv {

namespace {

// Larger pictures are refused rather than allocated.
constexpr png_uint_32 kMaxPngSide = 16384;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void RaiseInOut(const std::string& what, const std::string& fileName, int error) {
  throw EInOutError(what + " \"" + fileName + "\": " + std::strerror(error), error);
}

FilePtr OpenForReading(const std::string& fileName) {
  struct stat info {};
  if (::stat(fileName.c_str(), &info) != 0) RaiseInOut("Cannot open", fileName, errno);
  if (S_ISDIR(info.st_mode)) RaiseInOut("Cannot open", fileName, EISDIR);
  FilePtr file(std::fopen(fileName.c_str(), "rb"));
  if (!file) RaiseInOut("Cannot open", fileName, errno);
  return file;
}

TColor RgbOf(const png_byte* p) { return static_cast<TColor>(p[0] | (p[1] << 8) | (p[2] << 16)); }

}  // namespace

const TEnumType& PixelFormatType() {
  static const TEnumType type("TPixelFormat", {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit",
                                               "pf24bit", "pf32bit", "pfCustom"});
  return type;
}

const TEnumType& BitmapHandleTypeType() {
  static const TEnumType type("TBitmapHandleType", {"bmDIB", "bmDDB"});
  return type;
}

const TEnumType& TransparentModeType() {
  static const TEnumType type("TTransparentMode", {"tmAuto", "tmFixed"});
  return type;
}

int LuminanceOf(TColor rgb) {
  const int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  return (299 * r + 587 * g + 114 * b) / 1000;
}

const TClass& TBitmap::StaticClass() {
  static const TClass cls =
      ClassBuilder<TBitmap>("TBitmap", &TPersistent::StaticClass())
          .Integer("Width", &TBitmap::Width, &TBitmap::SetWidth)
          .Integer("Height", &TBitmap::Height, &TBitmap::SetHeight)
          .Enumeration("PixelFormat", PixelFormatType(), &TBitmap::PixelFormat, &TBitmap::SetPixelFormat)
          .Boolean("Monochrome", &TBitmap::Monochrome, &TBitmap::SetMonochrome)
          .Enumeration("HandleType", BitmapHandleTypeType(), &TBitmap::HandleType, &TBitmap::SetHandleType)
          .Boolean("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent)
          .Integer("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor)
          .Enumeration("TransparentMode", TransparentModeType(), &TBitmap::TransparentMode,
                       &TBitmap::SetTransparentMode)
          .Event("OnChange", &TBitmap::OnChange);
  return cls;
}

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(static_cast<TCanvasSurface*>(this))) {}

TBitmap::~TBitmap() = default;

void TBitmap::Replace(int width, int height, std::vector<TColor> pixels) {
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
  Changed();
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<TColor> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), clWhite);
  for (int y = 0; y < std::min(height, height_); ++y)
    for (int x = 0; x < std::min(width, width_); ++x)
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          pixels_[Index(x, y)];
  Replace(width, height, std::move(pixels));
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == PixelFormat()) return;
  if (format == pf1bit) return SetMonochrome(true);
  pixelFormat_ = format;
  if (monochrome_) return SetMonochrome(false);
  Changed();
}

void TBitmap::SetMonochrome(bool monochrome) {
  if (monochrome == monochrome_) return;
  const TColor background = ColorToRGB(canvas_->Brush().Color());
  const TColor foreground = ColorToRGB(canvas_->Font().Color());
  for (TColor& pixel : pixels_)
    if (monochrome)
      pixel = pixel == background ? clWhite : clBlack;
    else
      pixel = pixel == clWhite ? background : foreground;
  monochrome_ = monochrome;
  if (!monochrome && pixelFormat_ == pf1bit) pixelFormat_ = pfDevice;
  Changed();
}

void TBitmap::SetHandleType(TBitmapHandleType type) {
  if (type == handleType_) return;
  handleType_ = type;
  Changed();
}

void TBitmap::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  return Empty() ? clDefault : PixelAt(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  transparentMode_ = mode;
  if (mode == tmAuto) transparentColor_ = clDefault;
  Changed();
}

TColor TBitmap::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  return pixels_[Index(x, y)];
}

void TBitmap::StoreSurfacePixel(int x, int y, TColor rgb) {
  if (monochrome_) rgb = LuminanceOf(rgb) >= kMonochromeThreshold ? clWhite : clBlack;
  pixels_[Index(x, y)] = rgb;
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* bitmap = dynamic_cast<const TBitmap*>(&source);
  if (!bitmap) return TPersistent::Assign(source);
  if (bitmap == this) return;
  pixelFormat_ = bitmap->pixelFormat_;
  monochrome_ = bitmap->monochrome_;
  handleType_ = bitmap->handleType_;
  transparent_ = bitmap->transparent_;
  transparentColor_ = bitmap->transparentColor_;
  transparentMode_ = bitmap->transparentMode_;
  Replace(bitmap->width_, bitmap->height_, bitmap->pixels_);
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  FilePtr file = OpenForReading(fileName);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_stdio(&image, file.get()))
    throw EInvalidGraphic("Not a readable PNG image \"" + fileName + "\": " + image.message);
  if (image.width > kMaxPngSide || image.height > kMaxPngSide) {
    png_image_free(&image);
    throw EInvalidGraphic("PNG image too large \"" + fileName + "\"");
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> buffer(PNG_IMAGE_SIZE(image));
  const png_color white{255, 255, 255};  // what transparent pixels are composed on
  if (!png_image_finish_read(&image, &white, buffer.data(), 0, nullptr))
    throw EInvalidGraphic("Broken PNG image \"" + fileName + "\": " + image.message);

  const int width = static_cast<int>(image.width), height = static_cast<int>(image.height);
  std::vector<TColor> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = RgbOf(&buffer[i * 3]);
  monochrome_ = false;
  pixelFormat_ = pf24bit;
  handleType_ = bmDIB;
  Replace(width, height, std::move(pixels));
}

void TBitmap::SaveToFile(const std::string& fileName) const {
  if (Empty()) throw EInvalidGraphic("Cannot save an empty bitmap to \"" + fileName + "\"");
  std::vector<png_byte> buffer(pixels_.size() * 3);
  for (std::size_t i = 0; i < pixels_.size(); ++i) {
    buffer[i * 3] = static_cast<png_byte>(pixels_[i] & 0xFF);
    buffer[i * 3 + 1] = static_cast<png_byte>((pixels_[i] >> 8) & 0xFF);
    buffer[i * 3 + 2] = static_cast<png_byte>((pixels_[i] >> 16) & 0xFF);
  }
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) RaiseInOut("Cannot create", fileName, errno);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width_);
  image.height = static_cast<png_uint_32>(height_);
  image.format = PNG_FORMAT_RGB;
  const bool written = png_image_write_to_stdio(&image, file, 0, buffer.data(), 0, nullptr) != 0;
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  const int error = written ? errno : writeError;
  if (!written || !closed) RaiseInOut("Cannot write", fileName, error ? error : EIO);
}

void DrawEmbossed(TCanvas& canvas, int x, int y, const TBitmap& mask) {
  // Where the source is white the brush is painted; elsewhere the destination stays.
  constexpr TCopyMode kPaintWhiteWithBrush = 0x00E20746;
  const int width = mask.Width(), height = mask.Height();
  const TRect source{0, 0, width, height};
  const TColor brush = canvas.Brush().Color();
  const TCopyMode mode = canvas.CopyMode();
  canvas.SetCopyMode(kPaintWhiteWithBrush);
  canvas.Brush().SetColor(clBtnHighlight);
  canvas.CopyRect({x + 1, y + 1, x + 1 + width, y + 1 + height}, mask.Canvas(), source);
  canvas.Brush().SetColor(clBtnShadow);
  canvas.CopyRect({x, y, x + width, y + height}, mask.Canvas(), source);
  canvas.Brush().SetColor(brush);
  canvas.SetCopyMode(mode);
}

}  // namespace qv

#include "platform/ui/graphics/ImageList.h"

#include <algorithm>
#include <string>

#include "platform/core/Exception.h"

namespace qv {

namespace {

std::unique_ptr<TBitmap> MakeBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(width, height);
  return bitmap;
}

}  // namespace

const TClass& TImageList::StaticClass() {
  static const TClass cls = ClassBuilder<TImageList>("TImageList", &TComponent::StaticClass())
                                .Integer("Width", &TImageList::Width, &TImageList::SetWidth)
                                .Integer("Height", &TImageList::Height, &TImageList::SetHeight)
                                .Integer("Count", &TImageList::Count)
                                .Event("OnChange", &TImageList::OnChange);
  return cls;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() = default;

void TImageList::SetSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  images_.clear();
  Changed();
}

template <class IsTransparent>
int TImageList::AddCut(const TBitmap& bitmap, IsTransparent isTransparent) {
  if (bitmap.Width() < width_)
    throw EInvalidOperation("A bitmap " + std::to_string(bitmap.Width()) + " wide holds no image " +
                            std::to_string(width_) + " wide");
  const int first = Count();
  for (int cell = 0; cell < bitmap.Width() / width_; ++cell) {
    Image image{MakeBitmap(width_, height_), MakeBitmap(width_, height_)};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const int sx = cell * width_ + x;
        const bool inside = y < bitmap.Height();
        image.Picture->Canvas().SetPixels(x, y, inside ? bitmap.PixelAt(sx, y) : clWhite);
        image.Mask->Canvas().SetPixels(x, y, !inside || isTransparent(sx, y) ? clWhite : clBlack);
      }
    image.Mask->SetMonochrome(true);
    images_.push_back(std::move(image));
  }
  Changed();
  return first;
}

int TImageList::Add(const TBitmap& bitmap, const TBitmap* mask) {
  return AddCut(bitmap, [mask](int x, int y) {
    return mask && LuminanceOf(mask->PixelAt(x, y)) >= kMonochromeThreshold;
  });
}

int TImageList::AddMasked(const TBitmap& bitmap, TColor maskColor) {
  const TColor key = ColorToRGB(maskColor == clDefault ? bitmap.TransparentColor() : maskColor);
  return AddCut(bitmap, [&bitmap, key](int x, int y) { return bitmap.PixelAt(x, y) == key; });
}

const TImageList::Image& TImageList::At(int index) const {
  if (index < 0 || index >= Count())
    throw EInvalidOperation("Image index " + std::to_string(index) + " out of range");
  return images_[static_cast<std::size_t>(index)];
}

void TImageList::Delete(int index) {
  At(index);
  images_.erase(images_.begin() + index);
  Changed();
}

void TImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Changed();
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const {
  const Image& image = At(index);
  bitmap.SetSize(width_, height_);
  bitmap.Canvas().FillRect({0, 0, width_, height_});
  bitmap.Canvas().DrawMasked(0, 0, *image.Picture, *image.Mask);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const Image& image = images_[static_cast<std::size_t>(index)];
  if (enabled)
    canvas.DrawMasked(x, y, *image.Picture, *image.Mask);
  else
    DrawDisabled(canvas, x, y, image);
}

void TImageList::DrawDisabled(TCanvas& canvas, int x, int y, const Image& image) const {
  TBitmap marks;  // white where a pixel is drawn
  marks.SetSize(width_, height_);
  for (int py = 0; py < height_; ++py)
    for (int px = 0; px < width_; ++px) {
      const bool opaque = image.Mask->PixelAt(px, py) == clBlack;
      const bool dark = LuminanceOf(image.Picture->PixelAt(px, py)) < kMonochromeThreshold;
      marks.Canvas().SetPixels(px, py, opaque && dark ? clWhite : clBlack);
    }

  DrawEmbossed(canvas, x, y, marks);
}

}  // namespace qv

#pragma once
// TImageList: a list of equally sized images, each with a mask that says
// which of its pixels are transparent. Tool bars, list views and buttons
// draw their pictures from it by index.
//
// A disabled image is drawn embossed, the way the platform draws disabled
// pictures: every opaque pixel darker than the monochrome threshold (see
// Bitmap.h) is marked; marked pixels are painted in the button-highlight
// colour one pixel down and right, then in the button-shadow colour in place.

#include <memory>
#include <vector>

#include "platform/core/Component.h"
#include "platform/ui/graphics/Bitmap.h"

namespace qv {

class TImageList : public TComponent {
  QV_OBJECT(TImageList, TComponent)

  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  // Changing the size of the images empties the list.
  int Width() const { return width_; }
  void SetWidth(int width) { SetSize(width, height_); }
  int Height() const { return height_; }
  void SetHeight(int height) { SetSize(width_, height); }
  void SetSize(int width, int height);
  int Count() const { return static_cast<int>(images_.size()); }

  // Cuts the bitmap into images Width wide, left to right, and adds them;
  // returns the index of the first. Where mask (same layout) is white the
  // images are transparent; without a mask they are opaque. Rows beyond the
  // bitmap are transparent. Raises EInvalidOperation for a bitmap narrower
  // than one image.
  int Add(const TBitmap& bitmap, const TBitmap* mask);
  // As Add, with the pixels of maskColor transparent (clDefault: the
  // bitmap's transparent colour).
  int AddMasked(const TBitmap& bitmap, TColor maskColor);
  // Raise EInvalidOperation for an index out of range.
  void Delete(int index);
  void Clear();
  // Makes the bitmap one image large with the image on it; transparent
  // pixels keep the colour of the bitmap's brush.
  void GetBitmap(int index, TBitmap& bitmap) const;
  // Draws the opaque pixels of an image; an index out of range draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

  TNotifyEvent OnChange;

 private:
  struct Image {
    std::unique_ptr<TBitmap> Picture;
    std::unique_ptr<TBitmap> Mask;  // monochrome: white where transparent
  };

  template <class IsTransparent>
  int AddCut(const TBitmap& bitmap, IsTransparent isTransparent);
  const Image& At(int index) const;
  void DrawDisabled(TCanvas& canvas, int x, int y, const Image& image) const;
  void Changed() { OnChange(this); }

  int width_ = 16;
  int height_ = 16;
  std::vector<Image> images_;
};

}  // namespace qv

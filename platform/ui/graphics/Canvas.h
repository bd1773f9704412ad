#pragma once
// TCanvas: drawing with a font, a brush and a pen. A canvas that belongs to
// a bitmap draws on the bitmap's pixels; a canvas without pixels (the canvas
// of a program-drawn control) records each drawing operation instead, so a
// test or a window backend can see what the control painted.
//
// Pixel rules: rectangles include their left and top edges and exclude their
// right and bottom edges; everything is clipped to the surface. Text is not
// rasterised: on pixels, the extent of the text (TextExtent at the origin) is
// filled with the font colour, which keeps drawing deterministic.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Control.h"
#include "platform/ui/graphics/Graphics.h"

namespace qv {

class TBitmap;

struct TSize {
  int cx = 0, cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

enum TBrushStyle { bsSolid, bsClear };
const TEnumType& BrushStyleType();

// How the pen combines with the pixels under it (binary raster operations).
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
const TEnumType& PenModeType();

// A ternary raster operation: bits 16–23 hold the truth table over the
// pattern (the brush), the source and the destination.
using TCopyMode = std::int32_t;
constexpr TCopyMode cmBlackness = 0x00000042, cmDstInvert = 0x00550009, cmMergeCopy = 0x00C000CA,
                    cmMergePaint = 0x00BB0226, cmNotSrcCopy = 0x00330008, cmNotSrcErase = 0x001100A6,
                    cmPatCopy = 0x00F00021, cmPatInvert = 0x005A0049, cmPatPaint = 0x00FB0A09,
                    cmSrcAnd = 0x008800C6, cmSrcCopy = 0x00CC0020, cmSrcErase = 0x00440328,
                    cmSrcInvert = 0x00660046, cmSrcPaint = 0x00EE0086, cmWhiteness = 0x00FF0062;

class TBrush : public TPersistent {
  QV_OBJECT(TBrush, TPersistent)

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  void Assign(const TPersistent& source) override;

  TNotifyEvent OnChange;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

class TPen : public TPersistent {
  QV_OBJECT(TPen, TPersistent)

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // At least 1.
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  void Assign(const TPersistent& source) override;

  TNotifyEvent OnChange;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenMode mode_ = pmCopy;
};

// The pixels a canvas draws on. Colours are RGB values (0x00BBGGRR).
class TCanvasSurface {
 public:
  virtual ~TCanvasSurface() = default;
  virtual int SurfaceWidth() const = 0;
  virtual int SurfaceHeight() const = 0;
  virtual TColor SurfacePixel(int x, int y) const = 0;
  virtual void StoreSurfacePixel(int x, int y, TColor rgb) = 0;
  // Runs once after each drawing operation.
  virtual void SurfaceChanged() = 0;
};

enum class DrawKind { FillRect, Rectangle, FrameRect, FocusRect, TextOut, TextRect, Draw, StretchDraw, CopyRect, Pixel };

// The font a recorded operation was drawn with.
struct TFontSnapshot {
  std::string Name;
  int Height = 0;
  TColor Color = clBlack;
  std::uint32_t Style = 0;
  int Charset = 0;
  friend bool operator==(const TFontSnapshot&, const TFontSnapshot&) = default;
};

// One operation of a canvas without pixels. Color is the brush colour of
// fills, frames and copies, the font colour of text, the pen colour of a
// rectangle's outline (its fill is FillColor, clNone with a clear brush),
// the transparent colour of a transparent Draw (clNone otherwise) and the
// colour of a pixel.
struct DrawOperation {
  DrawKind Kind = DrawKind::FillRect;
  TRect Rect;
  TPoint Origin;  // where text starts
  std::string Text;
  TColor Color = clNone;
  TColor FillColor = clNone;
  TFontSnapshot Font;
};

class TCanvas : public TPersistent {
  QV_OBJECT(TCanvas, TPersistent)

  // A canvas without pixels: it records what is drawn on it.
  TCanvas();
  // A canvas drawing on the pixels of surface, which outlives it.
  explicit TCanvas(TCanvasSurface* surface);
  ~TCanvas() override;

  TFont& Font() { return *font_; }
  const TFont& Font() const { return *font_; }
  TBrush& Brush() { return *brush_; }
  const TBrush& Brush() const { return *brush_; }
  TPen& Pen() { return *pen_; }
  const TPen& Pen() const { return *pen_; }
  // Copies; nullptr ignored.
  void SetFont(TFont* font);
  void SetBrush(TBrush* brush);
  void SetPen(TPen* pen);
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

  bool HasSurface() const { return surface_ != nullptr; }

  // ---- measuring, with the font's deterministic metrics ----
  int TextWidth(std::string_view text) const;
  int TextHeight(std::string_view text) const;
  TSize TextExtent(std::string_view text) const;

  // ---- drawing ----
  // Fills with the brush; a clear brush draws nothing.
  void FillRect(const TRect& rect);
  // An outline with the pen (Width pixels inside the rectangle, combined by
  // the pen's mode) around a fill with the brush.
  void Rectangle(const TRect& rect);
  void Rectangle(int left, int top, int right, int bottom) { Rectangle(TRect{left, top, right, bottom}); }
  // A one-pixel border in the brush colour.
  void FrameRect(const TRect& rect);
  // Inverts every other pixel of the border, so drawing it twice removes it.
  void DrawFocusRect(const TRect& rect);
  void TextOut(int x, int y, const std::string& text);
  // Fills rect with the brush (unless clear), then the text at (x, y) clipped to rect.
  void TextRect(const TRect& rect, int x, int y, const std::string& text);
  // Draws the bitmap with the copy mode; pixels of its transparent colour
  // are left out when it is transparent.
  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const TRect& rect, const TBitmap& bitmap);
  // Draws the pixels of image where mask is black, leaving all others.
  void DrawMasked(int x, int y, const TBitmap& image, const TBitmap& mask);
  // Combines the source rectangle (stretched to dest) with this canvas by
  // the copy mode, the brush as pattern. Raises EInvalidOperation when this
  // canvas has pixels and the source has none.
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

  // clNone outside the surface or without one.
  TColor Pixels(int x, int y) const;
  void SetPixels(int x, int y, TColor color);

  // What a canvas without pixels recorded, oldest first.
  const std::vector<DrawOperation>& Operations() const { return operations_; }
  void ClearOperations() { operations_.clear(); }

  TNotifyEvent OnChange;

 private:
  TRect SurfaceRect() const;
  void Store(int x, int y, TColor rgb);
  void FillArea(const TRect& rect, TColor rgb);
  void FramePixels(const TRect& rect, int thickness, TColor rgb, TPenMode mode);
  // The bitmap stretched onto dest with the copy mode, transparency honoured.
  void Blit(const TRect& dest, const TBitmap& bitmap);
  TColor Combine(TColor source, TColor destination) const;
  void Record(DrawKind kind, const TRect& rect, TColor color, std::string text = {}, TPoint origin = {});
  void Finish();

  TCanvasSurface* surface_ = nullptr;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TBrush> brush_;
  std::unique_ptr<TPen> pen_;
  TCopyMode copyMode_ = cmSrcCopy;
  std::vector<DrawOperation> operations_;
};

}  // namespace qv

#include "platform/ui/graphics/Canvas.h"

#include <algorithm>
#include <cstdint>

#include "platform/core/Exception.h"
#include "platform/ui/graphics/Bitmap.h"

namespace qv {

namespace {

// Evaluates a truth table bit by bit over three 24-bit inputs: bit i of the
// table is the result for pattern = bit 2 of i, source = bit 1, destination = bit 0.
TColor Ternary(std::uint8_t table, std::uint32_t pattern, std::uint32_t source, std::uint32_t destination) {
  std::uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((table >> i) & 1)) continue;
    result |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) &
              ((i & 1) ? destination : ~destination);
  }
  return static_cast<TColor>(result & 0xFFFFFF);
}

// The binary raster operation of a pen mode, its truth table over pen and
// destination (bit i: pen = bit 1 of i, destination = bit 0).
std::uint8_t PenTable(TPenMode mode) {
  // The operation codes of the modes in TPenMode order, each its table plus one.
  static const std::uint8_t kCodes[] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
  return static_cast<std::uint8_t>(kCodes[mode] - 1);
}

TColor CombinePen(TPenMode mode, TColor pen, TColor destination) {
  const std::uint8_t table = PenTable(mode);
  std::uint8_t ternary = 0;  // the same table with the source ignored
  for (int i = 0; i < 8; ++i)
    if ((table >> (((i >> 2) << 1) | (i & 1))) & 1) ternary |= static_cast<std::uint8_t>(1 << i);
  return Ternary(ternary, static_cast<std::uint32_t>(pen), 0, static_cast<std::uint32_t>(destination));
}

TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

bool IsEmpty(const TRect& r) { return r.Width() <= 0 || r.Height() <= 0; }

TFontSnapshot SnapshotOf(const TFont& font) {
  return {font.Name(), font.Height(), font.Color(), font.Style(), font.Charset()};
}

}  // namespace

// ---- brush and pen ----

const TEnumType& BrushStyleType() {
  static const TEnumType type("TBrushStyle", {"bsSolid", "bsClear"});
  return type;
}

const TEnumType& PenModeType() {
  static const TEnumType type("TPenMode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                           "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                           "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"});
  return type;
}

const TClass& TBrush::StaticClass() {
  static const TClass cls = ClassBuilder<TBrush>("TBrush", &TPersistent::StaticClass())
                                .Integer("Color", &TBrush::Color, &TBrush::SetColor)
                                .Enumeration("Style", BrushStyleType(), &TBrush::Style, &TBrush::SetStyle)
                                .Event("OnChange", &TBrush::OnChange);
  return cls;
}

void TBrush::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  OnChange(this);
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  OnChange(this);
}

void TBrush::Assign(const TPersistent& source) {
  const auto* brush = dynamic_cast<const TBrush*>(&source);
  if (!brush) return TPersistent::Assign(source);
  color_ = brush->color_;
  style_ = brush->style_;
  OnChange(this);
}

const TClass& TPen::StaticClass() {
  static const TClass cls = ClassBuilder<TPen>("TPen", &TPersistent::StaticClass())
                                .Integer("Color", &TPen::Color, &TPen::SetColor)
                                .Integer("Width", &TPen::Width, &TPen::SetWidth)
                                .Enumeration("Mode", PenModeType(), &TPen::Mode, &TPen::SetMode)
                                .Event("OnChange", &TPen::OnChange);
  return cls;
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  OnChange(this);
}

void TPen::SetWidth(int width) {
  width = std::max(width, 1);
  if (width == width_) return;
  width_ = width;
  OnChange(this);
}

void TPen::SetMode(TPenMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  OnChange(this);
}

void TPen::Assign(const TPersistent& source) {
  const auto* pen = dynamic_cast<const TPen*>(&source);
  if (!pen) return TPersistent::Assign(source);
  color_ = pen->color_;
  width_ = pen->width_;
  mode_ = pen->mode_;
  OnChange(this);
}

// ---- canvas ----

const TClass& TCanvas::StaticClass() {
  static const TClass cls =
      ClassBuilder<TCanvas>("TCanvas", &TPersistent::StaticClass())
          .Object("Font", TFont::StaticClass(), [](const TCanvas& c) { return &c.Font(); },
                  [](TCanvas& c, TFont* font) { c.SetFont(font); })
          .Object("Brush", TBrush::StaticClass(), [](const TCanvas& c) { return &c.Brush(); },
                  [](TCanvas& c, TBrush* brush) { c.SetBrush(brush); })
          .Object("Pen", TPen::StaticClass(), [](const TCanvas& c) { return &c.Pen(); },
                  [](TCanvas& c, TPen* pen) { c.SetPen(pen); })
          .Integer("CopyMode", &TCanvas::CopyMode, &TCanvas::SetCopyMode)
          .Event("OnChange", &TCanvas::OnChange);
  return cls;
}

TCanvas::TCanvas() : TCanvas(nullptr) {}

TCanvas::TCanvas(TCanvasSurface* surface)
    : surface_(surface),
      font_(std::make_unique<TFont>()),
      brush_(std::make_unique<TBrush>()),
      pen_(std::make_unique<TPen>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::SetFont(TFont* font) {
  if (font) font_->Assign(*font);
}

void TCanvas::SetBrush(TBrush* brush) {
  if (brush) brush_->Assign(*brush);
}

void TCanvas::SetPen(TPen* pen) {
  if (pen) pen_->Assign(*pen);
}

int TCanvas::TextWidth(std::string_view text) const { return TextWidthOf(*font_, text); }

int TCanvas::TextHeight(std::string_view) const { return TextHeightOf(*font_); }

TSize TCanvas::TextExtent(std::string_view text) const { return {TextWidth(text), TextHeight(text)}; }

TRect TCanvas::SurfaceRect() const {
  return surface_ ? TRect{0, 0, surface_->SurfaceWidth(), surface_->SurfaceHeight()} : TRect{};
}

void TCanvas::Store(int x, int y, TColor rgb) {
  if (SurfaceRect().Contains({x, y})) surface_->StoreSurfacePixel(x, y, rgb);
}

void TCanvas::FillArea(const TRect& rect, TColor rgb) {
  const TRect area = Intersect(rect, SurfaceRect());
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) surface_->StoreSurfacePixel(x, y, rgb);
}

void TCanvas::FramePixels(const TRect& rect, int thickness, TColor rgb, TPenMode mode) {
  const TRect area = Intersect(rect, SurfaceRect());
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const bool onBorder = x < rect.Left + thickness || x >= rect.Right - thickness || y < rect.Top + thickness ||
                            y >= rect.Bottom - thickness;
      if (onBorder) surface_->StoreSurfacePixel(x, y, CombinePen(mode, rgb, surface_->SurfacePixel(x, y)));
    }
}

void TCanvas::Record(DrawKind kind, const TRect& rect, TColor color, std::string text, TPoint origin) {
  DrawOperation& op = operations_.emplace_back();
  op.Kind = kind;
  op.Rect = rect;
  op.Origin = origin;
  op.Text = std::move(text);
  op.Color = color;
  op.Font = SnapshotOf(*font_);
}

void TCanvas::Finish() {
  if (surface_) surface_->SurfaceChanged();
  OnChange(this);
}

TColor TCanvas::Combine(TColor source, TColor destination) const {
  const auto table = static_cast<std::uint8_t>((static_cast<std::uint32_t>(copyMode_) >> 16) & 0xFF);
  return Ternary(table, static_cast<std::uint32_t>(ColorToRGB(brush_->Color())), static_cast<std::uint32_t>(source),
                 static_cast<std::uint32_t>(destination));
}

void TCanvas::FillRect(const TRect& rect) {
  if (brush_->Style() == bsClear || IsEmpty(rect)) return;
  if (surface_)
    FillArea(rect, ColorToRGB(brush_->Color()));
  else
    Record(DrawKind::FillRect, rect, brush_->Color());
  Finish();
}

void TCanvas::Rectangle(const TRect& rect) {
  if (IsEmpty(rect)) return;
  const bool filled = brush_->Style() != bsClear;
  if (!surface_) {
    Record(DrawKind::Rectangle, rect, pen_->Color());
    operations_.back().FillColor = filled ? brush_->Color() : clNone;
    return Finish();
  }
  const int thickness = pen_->Width();
  if (filled)
    FillArea({rect.Left + thickness, rect.Top + thickness, rect.Right - thickness, rect.Bottom - thickness},
             ColorToRGB(brush_->Color()));
  FramePixels(rect, thickness, ColorToRGB(pen_->Color()), pen_->Mode());
  Finish();
}

void TCanvas::FrameRect(const TRect& rect) {
  if (brush_->Style() == bsClear || IsEmpty(rect)) return;
  if (surface_)
    FramePixels(rect, 1, ColorToRGB(brush_->Color()), pmCopy);
  else
    Record(DrawKind::FrameRect, rect, brush_->Color());
  Finish();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  if (IsEmpty(rect)) return;
  if (!surface_) {
    Record(DrawKind::FocusRect, rect, clNone);
    return Finish();
  }
  const TRect area = Intersect(rect, SurfaceRect());
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const bool onBorder = x == rect.Left || x == rect.Right - 1 || y == rect.Top || y == rect.Bottom - 1;
      if (onBorder && (x + y) % 2 == 0) surface_->StoreSurfacePixel(x, y, surface_->SurfacePixel(x, y) ^ 0xFFFFFF);
    }
  Finish();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const TSize extent = TextExtent(text);
  const TRect rect{x, y, x + extent.cx, y + extent.cy};
  if (surface_)
    FillArea(rect, ColorToRGB(font_->Color()));
  else
    Record(DrawKind::TextOut, rect, font_->Color(), text, {x, y});
  Finish();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
  const TSize extent = TextExtent(text);
  const TRect textArea = Intersect({x, y, x + extent.cx, y + extent.cy}, rect);
  if (!surface_) {
    Record(DrawKind::TextRect, rect, font_->Color(), text, {x, y});
    operations_.back().FillColor = brush_->Style() == bsClear ? clNone : brush_->Color();
    return Finish();
  }
  if (brush_->Style() != bsClear) FillArea(rect, ColorToRGB(brush_->Color()));
  FillArea(textArea, ColorToRGB(font_->Color()));
  Finish();
}

void TCanvas::Blit(const TRect& dest, const TBitmap& bitmap) {
  const bool transparent = bitmap.Transparent();
  const TColor key = ColorToRGB(bitmap.TransparentColor());
  const TRect area = Intersect(dest, SurfaceRect());
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const int sx = (x - dest.Left) * bitmap.Width() / dest.Width();
      const int sy = (y - dest.Top) * bitmap.Height() / dest.Height();
      const TColor pixel = bitmap.PixelAt(sx, sy);
      if (transparent && pixel == key) continue;
      surface_->StoreSurfacePixel(x, y, Combine(pixel, surface_->SurfacePixel(x, y)));
    }
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const TRect dest{x, y, x + bitmap.Width(), y + bitmap.Height()};
  if (surface_)
    Blit(dest, bitmap);
  else
    Record(DrawKind::Draw, dest, bitmap.Transparent() ? bitmap.TransparentColor() : clNone);
  Finish();
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
  if (bitmap.Empty() || IsEmpty(rect)) return;
  if (surface_)
    Blit(rect, bitmap);
  else
    Record(DrawKind::StretchDraw, rect, bitmap.Transparent() ? bitmap.TransparentColor() : clNone);
  Finish();
}

void TCanvas::DrawMasked(int x, int y, const TBitmap& image, const TBitmap& mask) {
  if (image.Empty()) return;
  const TRect dest{x, y, x + image.Width(), y + image.Height()};
  if (!surface_) {
    Record(DrawKind::Draw, dest, clNone);
    return Finish();
  }
  const TRect area = Intersect(dest, SurfaceRect());
  for (int dy = area.Top; dy < area.Bottom; ++dy)
    for (int dx = area.Left; dx < area.Right; ++dx) {
      const int sx = dx - x, sy = dy - y;
      if (mask.PixelAt(sx, sy) != clBlack) continue;
      surface_->StoreSurfacePixel(dx, dy, image.PixelAt(sx, sy));
    }
  Finish();
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  if (IsEmpty(dest) || IsEmpty(sourceRect)) return;
  if (!surface_) {
    Record(DrawKind::CopyRect, dest, brush_->Color());
    return Finish();
  }
  if (!source.surface_) throw EInvalidOperation("Cannot copy from a canvas without pixels");
  // Read the source first: it may be this very canvas, overlapping dest.
  const int width = dest.Width(), height = dest.Height();
  std::vector<TColor> copied(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      copied[static_cast<std::size_t>(y * width + x)] =
          source.Pixels(sourceRect.Left + x * sourceRect.Width() / width, sourceRect.Top + y * sourceRect.Height() / height);
  const TRect area = Intersect(dest, SurfaceRect());
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const TColor pixel = copied[static_cast<std::size_t>((y - dest.Top) * width + (x - dest.Left))];
      if (pixel == clNone) continue;  // outside the source
      surface_->StoreSurfacePixel(x, y, Combine(pixel, surface_->SurfacePixel(x, y)));
    }
  Finish();
}

TColor TCanvas::Pixels(int x, int y) const {
  return SurfaceRect().Contains({x, y}) ? surface_->SurfacePixel(x, y) : clNone;
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  if (surface_)
    Store(x, y, ColorToRGB(color));
  else
    Record(DrawKind::Pixel, {x, y, x + 1, y + 1}, color);
  Finish();
}

}  // namespace qv

// Drawing on a bitmap's pixels, raster operations, and the operations a
// canvas without pixels records.
#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "platform/ui/graphics/Bitmap.h"
#include "platform/ui/graphics/Canvas.h"
#include "platform/ui/graphics/PixelRows.h"

namespace qv {
namespace {

using test::Legend;
using test::PaintRows;
using test::RowsOf;
using Rows = std::vector<std::string>;

const Legend kLegend = {{'.', clWhite}, {'R', clRed}, {'B', clBlue}, {'G', clLime}, {'k', clBlack}};

class CanvasOnBitmap : public ::testing::Test {
 protected:
  void Start(const Rows& rows) { PaintRows(bitmap, rows, kLegend); }
  Rows Picture() const { return RowsOf(bitmap, kLegend); }
  TCanvas& canvas() { return bitmap.Canvas(); }

  TBitmap bitmap;
};

TEST_F(CanvasOnBitmap, FillRectCoversLeftTopEdgesAndClipsToTheSurface) {
  Start({"....", "....", "...."});
  canvas().Brush().SetColor(clRed);
  canvas().FillRect({1, 0, 3, 2});
  canvas().Brush().SetColor(clBlue);
  canvas().FillRect({-5, 2, 2, 9});
  EXPECT_EQ(Picture(), (Rows{".RR.", ".RR.", "BB.."}));
}

TEST_F(CanvasOnBitmap, ClearBrushFillsNothing) {
  Start({"...", "..."});
  canvas().Brush().SetColor(clRed);
  canvas().Brush().SetStyle(bsClear);
  canvas().FillRect({0, 0, 3, 2});
  canvas().FrameRect({0, 0, 3, 2});
  EXPECT_EQ(Picture(), (Rows{"...", "..."}));
}

TEST_F(CanvasOnBitmap, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  Start({".....", ".....", ".....", "....."});
  canvas().Pen().SetColor(clBlack);
  canvas().Brush().SetColor(clLime);
  canvas().Rectangle(0, 0, 4, 4);
  EXPECT_EQ(Picture(), (Rows{"kkkk.", "kGGk.", "kGGk.", "kkkk."}));

  canvas().Pen().SetWidth(2);
  canvas().Brush().SetStyle(bsClear);
  canvas().Pen().SetColor(clBlue);
  canvas().Rectangle(0, 0, 5, 4);
  EXPECT_EQ(Picture(), (Rows{"BBBBB", "BBBBB", "BBBBB", "BBBBB"}));
}

TEST_F(CanvasOnBitmap, FrameRectDrawsOnePixelBorderInTheBrushColour) {
  Start({"....", "....", "...."});
  canvas().Brush().SetColor(clRed);
  canvas().FrameRect({0, 0, 4, 3});
  EXPECT_EQ(Picture(), (Rows{"RRRR", "R..R", "RRRR"}));
}

TEST_F(CanvasOnBitmap, FocusRectInvertsAlternatePixelsAndSecondDrawRemovesIt) {
  Start({"....", "....", "...."});
  canvas().DrawFocusRect({0, 0, 4, 3});
  EXPECT_EQ(Picture(), (Rows{"k.k.", "...k", "k.k."}));
  canvas().DrawFocusRect({0, 0, 4, 3});
  EXPECT_EQ(Picture(), (Rows{"....", "....", "...."}));
}

TEST_F(CanvasOnBitmap, TextFillsItsExtentWithTheFontColour) {
  Start({"......", "......", "......", "......", "......"});
  canvas().Font().SetHeight(-4);  // narrow characters 2 wide, 4 high
  canvas().Font().SetColor(clRed);
  EXPECT_EQ(canvas().TextExtent("ab"), (TSize{4, 4}));
  canvas().TextOut(1, 0, "ab");
  EXPECT_EQ(Picture(), (Rows{".RRRR.", ".RRRR.", ".RRRR.", ".RRRR.", "......"}));
}

TEST_F(CanvasOnBitmap, TextRectFillsTheRectangleAndClipsTheText) {
  Start({"......", "......", "......"});
  canvas().Font().SetHeight(-2);  // "abc" is 3 × 2
  canvas().Font().SetColor(clRed);
  canvas().Brush().SetColor(clBlue);
  canvas().TextRect({0, 1, 4, 3}, 2, 1, "abc");
  EXPECT_EQ(Picture(), (Rows{"......", "BBRR..", "BBRR.."}));
}

TEST_F(CanvasOnBitmap, PixelsOutsideTheSurfaceReadNoneAndIgnoreWrites) {
  Start({"..", ".."});
  canvas().SetPixels(1, 0, clRed);
  canvas().SetPixels(2, 0, clRed);
  canvas().SetPixels(-1, 1, clRed);
  EXPECT_EQ(canvas().Pixels(1, 0), clRed);
  EXPECT_EQ(canvas().Pixels(2, 0), clNone);
  EXPECT_EQ(Picture(), (Rows{".R", ".."}));
}

TEST_F(CanvasOnBitmap, SystemColoursAreStoredAsTheirRgbValues) {
  Start({"."});
  canvas().SetPixels(0, 0, clBtnFace);
  EXPECT_EQ(canvas().Pixels(0, 0), ColorToRGB(clBtnFace));
}

TEST_F(CanvasOnBitmap, DrawingRaisesTheBitmapsOnChange) {
  Start({"..", ".."});
  struct Counter : TObject {
    int changes = 0;
    void Count(TObject*) { ++changes; }
  } counter;
  bitmap.OnChange = MethodOf<&Counter::Count>(&counter);
  canvas().FillRect({0, 0, 2, 2});
  canvas().TextOut(0, 0, "x");
  EXPECT_EQ(counter.changes, 2);
}

// ---- copies ----

struct CopyModeCase {
  const char* name;
  TCopyMode mode;
  TColor expected;
};

class CopyModes : public ::testing::TestWithParam<CopyModeCase> {};

// Source 0x0F0F33, destination 0x33F00F, brush 0x00FF00, worked out bit by bit.
TEST_P(CopyModes, CombineSourceDestinationAndBrush) {
  TBitmap source, dest;
  source.SetSize(1, 1);
  source.Canvas().SetPixels(0, 0, 0x0F0F33);
  dest.SetSize(1, 1);
  dest.Canvas().SetPixels(0, 0, 0x33F00F);
  dest.Canvas().Brush().SetColor(0x00FF00);
  dest.Canvas().SetCopyMode(GetParam().mode);
  dest.Canvas().CopyRect({0, 0, 1, 1}, source.Canvas(), {0, 0, 1, 1});
  EXPECT_EQ(dest.PixelAt(0, 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Canvas, CopyModes,
                         ::testing::Values(CopyModeCase{"SrcCopy", cmSrcCopy, 0x0F0F33},
                                           CopyModeCase{"SrcAnd", cmSrcAnd, 0x030003},
                                           CopyModeCase{"SrcPaint", cmSrcPaint, 0x3FFF3F},
                                           CopyModeCase{"SrcInvert", cmSrcInvert, 0x3CFF3C},
                                           CopyModeCase{"NotSrcCopy", cmNotSrcCopy, 0xF0F0CC},
                                           CopyModeCase{"DstInvert", cmDstInvert, 0xCC0FF0},
                                           CopyModeCase{"PatCopy", cmPatCopy, 0x00FF00},
                                           CopyModeCase{"Blackness", cmBlackness, 0x000000},
                                           CopyModeCase{"Whiteness", cmWhiteness, 0xFFFFFF},
                                           // (S and P) or (not S and D)
                                           CopyModeCase{"BrushWhereSourceSet", 0x00E20746, 0x30FF0C}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CanvasCopy, BrushWhereSourceIsWhiteKeepsDestinationWhereBlack) {
  // Per pixel: white source takes the brush, black keeps the destination,
  // anything else mixes bit by bit.
  TBitmap source, dest;
  source.SetSize(3, 1);
  source.Canvas().SetPixels(0, 0, clWhite);
  source.Canvas().SetPixels(1, 0, clBlack);
  source.Canvas().SetPixels(2, 0, 0x0F0F0F);
  dest.SetSize(3, 1);
  dest.Canvas().SetPixels(0, 0, 0x123456);
  dest.Canvas().SetPixels(1, 0, 0xABCDEF);
  dest.Canvas().SetPixels(2, 0, 0x00FF00);
  dest.Canvas().Brush().SetColor(0xF0F0F0);
  dest.Canvas().SetCopyMode(0x00E20746);
  dest.Canvas().CopyRect({0, 0, 3, 1}, source.Canvas(), {0, 0, 3, 1});
  EXPECT_EQ(dest.PixelAt(0, 0), 0xF0F0F0);
  EXPECT_EQ(dest.PixelAt(1, 0), 0xABCDEF);
  EXPECT_EQ(dest.PixelAt(2, 0), 0x00F000);
}

TEST_F(CanvasOnBitmap, CopyWithinOneCanvasReadsTheSourceBeforeWriting) {
  Start({"RBG"});
  canvas().CopyRect({1, 0, 3, 1}, canvas(), {0, 0, 2, 1});
  EXPECT_EQ(Picture(), (Rows{"RRB"}));
}

TEST_F(CanvasOnBitmap, CopyStretchesTheSourceAndClipsAtTheEdges) {
  TBitmap source;
  PaintRows(source, {"RB"}, kLegend);
  Start({"......", "......"});
  canvas().CopyRect({2, 0, 6, 2}, source.Canvas(), {0, 0, 2, 1});
  canvas().CopyRect({-1, 0, 1, 1}, source.Canvas(), {0, 0, 2, 1});
  EXPECT_EQ(Picture(), (Rows{"B.RRBB", "..RRBB"}));
}

TEST(CanvasCopy, FromACanvasWithoutPixelsIsRefused) {
  TCanvas recording;
  TBitmap dest;
  dest.SetSize(2, 2);
  EXPECT_THROW(dest.Canvas().CopyRect({0, 0, 2, 2}, recording, {0, 0, 2, 2}), EInvalidOperation);
}

// ---- bitmaps drawn on a canvas ----

TEST_F(CanvasOnBitmap, TransparentDrawLeavesOutTheBottomLeftColour) {
  TBitmap picture;
  PaintRows(picture, {"RG", "GB"}, kLegend);  // bottom-left green
  Start({"...", "...", "..."});

  canvas().Draw(1, 1, picture);
  EXPECT_EQ(Picture(), (Rows{"...", ".RG", ".GB"}));

  Start({"...", "...", "..."});
  picture.SetTransparent(true);
  canvas().Draw(1, 1, picture);
  EXPECT_EQ(Picture(), (Rows{"...", ".R.", "..B"}));

  Start({"...", "...", "..."});
  picture.SetTransparentColor(clRed);  // fixed: green is drawn again
  canvas().Draw(0, 0, picture);
  EXPECT_EQ(Picture(), (Rows{".G.", "GB.", "..."}));
}

TEST_F(CanvasOnBitmap, StretchDrawScalesByNearestPixel) {
  TBitmap picture;
  PaintRows(picture, {"RB"}, kLegend);
  Start({"....", "....", "...."});
  canvas().StretchDraw({0, 1, 4, 3}, picture);
  EXPECT_EQ(Picture(), (Rows{"....", "RRBB", "RRBB"}));
}

TEST_F(CanvasOnBitmap, DrawMaskedDrawsOnlyWhereTheMaskIsBlack) {
  TBitmap picture, mask;
  PaintRows(picture, {"RB"}, kLegend);
  PaintRows(mask, {".k"}, kLegend);
  Start({"...."});
  canvas().DrawMasked(1, 0, picture, mask);
  EXPECT_EQ(Picture(), (Rows{"..B."}));
}

// ---- pen modes ----

struct PenModeCase {
  const char* name;
  TPenMode mode;
  TColor expected;
};

class PenModes : public ::testing::TestWithParam<PenModeCase> {};

// Destination 0x0F0F33, pen 0x33F00F.
TEST_P(PenModes, CombinePenAndDestination) {
  TBitmap bitmap;
  bitmap.SetSize(1, 1);
  bitmap.Canvas().SetPixels(0, 0, 0x0F0F33);
  bitmap.Canvas().Brush().SetStyle(bsClear);
  bitmap.Canvas().Pen().SetColor(0x33F00F);
  bitmap.Canvas().Pen().SetMode(GetParam().mode);
  bitmap.Canvas().Rectangle(0, 0, 1, 1);
  EXPECT_EQ(bitmap.PixelAt(0, 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Canvas, PenModes,
                         ::testing::Values(PenModeCase{"Copy", pmCopy, 0x33F00F},
                                           PenModeCase{"Xor", pmXor, 0x3CFF3C},
                                           PenModeCase{"Not", pmNot, 0xF0F0CC},
                                           PenModeCase{"Mask", pmMask, 0x030003},
                                           PenModeCase{"Merge", pmMerge, 0x3FFF3F},
                                           PenModeCase{"NotCopy", pmNotCopy, 0xCC0FF0},
                                           PenModeCase{"Nop", pmNop, 0x0F0F33},
                                           PenModeCase{"Black", pmBlack, 0x000000},
                                           PenModeCase{"White", pmWhite, 0xFFFFFF}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- a canvas without pixels ----

TEST(RecordingCanvas, RecordsWhatIsDrawnWithRectangleTextColourAndFont) {
  TCanvas canvas;
  canvas.Font().SetName("Tahoma");
  canvas.Font().SetHeight(-12);
  canvas.Font().SetColor(clGrayText);
  canvas.Brush().SetColor(clBtnFace);

  canvas.FillRect({0, 0, 97, 17});
  canvas.TextOut(23, 2, "制表");
  canvas.Brush().SetStyle(bsClear);
  canvas.FillRect({0, 0, 5, 5});  // paints nothing, so nothing is recorded
  canvas.DrawFocusRect({22, 1, 48, 16});

  const auto& ops = canvas.Operations();
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].Kind, DrawKind::FillRect);
  EXPECT_EQ(ops[0].Rect, (TRect{0, 0, 97, 17}));
  EXPECT_EQ(ops[0].Color, clBtnFace);
  EXPECT_EQ(ops[1].Kind, DrawKind::TextOut);
  EXPECT_EQ(ops[1].Text, "制表");
  EXPECT_EQ(ops[1].Rect, (TRect{23, 2, 47, 14}));
  EXPECT_EQ(ops[1].Color, clGrayText);
  EXPECT_EQ(ops[1].Font.Name, "Tahoma");
  EXPECT_EQ(ops[1].Font.Height, -12);
  EXPECT_EQ(ops[2].Kind, DrawKind::FocusRect);
  EXPECT_EQ(canvas.Pixels(0, 0), clNone);

  canvas.ClearOperations();
  EXPECT_TRUE(canvas.Operations().empty());
}

TEST(RecordingCanvas, RecordsBitmapsByDestinationAndTransparentColour) {
  TCanvas canvas;
  TBitmap picture;
  picture.SetSize(19, 14);
  picture.SetTransparent(true);
  picture.SetTransparentColor(clOlive);
  canvas.Draw(3, 1, picture);
  ASSERT_EQ(canvas.Operations().size(), 1u);
  EXPECT_EQ(canvas.Operations()[0].Kind, DrawKind::Draw);
  EXPECT_EQ(canvas.Operations()[0].Rect, (TRect{3, 1, 22, 15}));
  EXPECT_EQ(canvas.Operations()[0].Color, clOlive);
}

}  // namespace
}  // namespace qv

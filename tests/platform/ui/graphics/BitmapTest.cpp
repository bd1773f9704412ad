// Bitmap size, monochrome reduction, transparency, copies and PNG files.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/core/Exception.h"
#include "platform/ui/graphics/Bitmap.h"
#include "platform/ui/graphics/PixelRows.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

using test::Legend;
using test::PaintRows;
using test::RowsOf;
using Rows = std::vector<std::string>;

const Legend kLegend = {{'.', clWhite}, {'k', clBlack}, {'R', clRed}, {'Y', clYellow}, {'O', clOlive}, {'g', clGray}};

TEST(Bitmap, ResizingKeepsThePixelsInsideAndWhitensTheNewOnes) {
  TBitmap bitmap;
  PaintRows(bitmap, {"RR", "kk"}, kLegend);
  bitmap.SetSize(3, 1);
  EXPECT_EQ(RowsOf(bitmap, kLegend), (Rows{"RR."}));
  bitmap.SetHeight(0);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.PixelAt(0, 0), clNone);
}

TEST(Bitmap, MonochromeMakesTheBrushColourWhiteAndEverythingElseBlack) {
  TBitmap bitmap;
  PaintRows(bitmap, {".RY", "kgO"}, kLegend);
  bitmap.SetMonochrome(true);  // the brush is white
  EXPECT_EQ(RowsOf(bitmap, kLegend), (Rows{".kk", "kkk"}));
  EXPECT_EQ(bitmap.PixelFormat(), pf1bit);

  bitmap.SetMonochrome(false);
  PaintRows(bitmap, {".RY", "kgO"}, kLegend);
  bitmap.Canvas().Brush().SetColor(clBlack);
  bitmap.SetMonochrome(true);
  EXPECT_EQ(RowsOf(bitmap, kLegend), (Rows{"kkk", ".kk"}));
}

TEST(Bitmap, MonochromeOffGivesWhiteTheBrushColourAndBlackTheFontColour) {
  TBitmap bitmap;
  PaintRows(bitmap, {".k"}, kLegend);
  bitmap.SetMonochrome(true);
  bitmap.Canvas().Brush().SetColor(clYellow);
  bitmap.Canvas().Font().SetColor(clRed);
  bitmap.SetMonochrome(false);
  EXPECT_EQ(RowsOf(bitmap, kLegend), (Rows{"YR"}));
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
}

TEST(Bitmap, ColoursDrawnOnAMonochromeBitmapTurnBlackOrWhiteByLuminance) {
  TBitmap bitmap;
  bitmap.SetSize(4, 1);
  bitmap.SetPixelFormat(pf1bit);
  EXPECT_TRUE(bitmap.Monochrome());
  bitmap.Canvas().SetPixels(0, 0, 0x808080);  // luminance 128: the threshold
  bitmap.Canvas().SetPixels(1, 0, 0x7F7F7F);
  bitmap.Canvas().SetPixels(2, 0, clYellow);  // 225
  bitmap.Canvas().SetPixels(3, 0, clBlue);    // 29
  EXPECT_EQ(RowsOf(bitmap, kLegend), (Rows{".k.k"}));
}

// The disabled image of a button: a monochrome copy made with a black
// brush marks the black pixels, and two copies with "brush where the
// source is white" paint them as an embossed outline.
TEST(Bitmap, MonochromeCopyAndBrushCopiesEmbossTheMarkedPixels) {
  TBitmap work;
  PaintRows(work, {"OOO", "OkO", "OOO"}, kLegend);

  TBitmap marks;
  marks.Assign(work);
  marks.SetHandleType(bmDDB);
  marks.Canvas().Brush().SetColor(clBlack);
  marks.SetWidth(work.Width());
  marks.SetMonochrome(true);
  EXPECT_EQ(RowsOf(marks, kLegend), (Rows{"kkk", "k.k", "kkk"}));

  TCanvas& canvas = work.Canvas();
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect({0, 0, 3, 3});
  canvas.SetCopyMode(0x00E20746);
  canvas.Brush().SetColor(clBtnHighlight);
  canvas.CopyRect({1, 1, 4, 4}, marks.Canvas(), {0, 0, 3, 3});
  canvas.Brush().SetColor(clBtnShadow);
  canvas.CopyRect({0, 0, 3, 3}, marks.Canvas(), {0, 0, 3, 3});
  EXPECT_EQ(RowsOf(work, {{'f', clBtnFace}, {'h', clBtnHighlight}, {'s', clBtnShadow}}),
            (Rows{"fff", "fsf", "ffh"}));
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.TransparentColor(), clDefault);
  PaintRows(bitmap, {"RY", "Ok"}, kLegend);
  EXPECT_EQ(bitmap.TransparentMode(), tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clOlive);

  bitmap.SetTransparentColor(clYellow);
  EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
  bitmap.Canvas().SetPixels(0, 1, clRed);
  EXPECT_EQ(bitmap.TransparentColor(), clYellow);

  bitmap.SetTransparentMode(tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
}

TEST(Bitmap, AssignCopiesPixelsAndSettingsIntoAnIndependentBitmap) {
  TBitmap source;
  PaintRows(source, {"RY", "Ok"}, kLegend);
  source.SetTransparent(true);
  source.SetTransparentColor(clYellow);
  source.SetHandleType(bmDDB);
  source.SetPixelFormat(pf24bit);

  TBitmap copy;
  copy.Assign(source);
  source.Canvas().SetPixels(0, 0, clBlack);
  EXPECT_EQ(RowsOf(copy, kLegend), (Rows{"RY", "Ok"}));
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), clYellow);
  EXPECT_EQ(copy.HandleType(), bmDDB);
  EXPECT_EQ(copy.PixelFormat(), pf24bit);

  TFont font;
  EXPECT_THROW(copy.Assign(font), EConvertError);
}

// ---- PNG files ----

TEST(BitmapFile, PngRoundTripKeepsEveryPixel) {
  test::TempDir dir;
  TBitmap saved;
  saved.SetSize(3, 2);
  const TColor colours[] = {0x123456, 0xABCDEF, 0x000000, 0xFFFFFF, 0x00FF80, 0x7F0001};
  for (int i = 0; i < 6; ++i) saved.Canvas().SetPixels(i % 3, i / 3, colours[i]);
  saved.SaveToFile(dir / "picture.png");

  TBitmap loaded;
  loaded.SetMonochrome(true);
  loaded.LoadFromFile(dir / "picture.png");
  ASSERT_EQ(loaded.Width(), 3);
  ASSERT_EQ(loaded.Height(), 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(loaded.PixelAt(i % 3, i / 3), colours[i]) << "pixel " << i;
  EXPECT_FALSE(loaded.Monochrome());
  EXPECT_EQ(loaded.PixelFormat(), pf24bit);
}

class UnreadableFile : public ::testing::Test {
 protected:
  // A valid PNG cut short after its header.
  std::string TruncatedPng() {
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    bitmap.SaveToFile(dir / "whole.png");
    return test::ReadFile(dir / "whole.png").substr(0, 40);
  }

  test::TempDir dir;
  TBitmap bitmap;
};

TEST_F(UnreadableFile, MissingFileOrFolderIsAnInOutError) {
  try {
    bitmap.LoadFromFile(dir / "missing.png");
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), ENOENT);
  }
  EXPECT_THROW(bitmap.LoadFromFile(dir.Path()), EInOutError);
}

TEST_F(UnreadableFile, ContentThatIsNoWholePngIsAnInvalidGraphic) {
  for (const std::string& content : {std::string("not a picture"), std::string(), TruncatedPng()}) {
    test::WriteFile(dir / "bad.png", content);
    EXPECT_THROW(bitmap.LoadFromFile(dir / "bad.png"), EInvalidGraphic) << content.size() << " bytes";
  }
}

TEST_F(UnreadableFile, FailedLoadLeavesTheBitmapAsItWas) {
  PaintRows(bitmap, {"RY"}, kLegend);
  test::WriteFile(dir / "bad.png", "not a picture");
  EXPECT_THROW(bitmap.LoadFromFile(dir / "bad.png"), EInvalidGraphic);
  EXPECT_EQ(RowsOf(bitmap, kLegend), (Rows{"RY"}));
}

TEST_F(UnreadableFile, SavingFailsForAnEmptyBitmapOrAMissingFolder) {
  EXPECT_THROW(bitmap.SaveToFile(dir / "empty.png"), EInvalidGraphic);
  bitmap.SetSize(1, 1);
  EXPECT_THROW(bitmap.SaveToFile(dir / "no/such/folder.png"), EInOutError);
}

}  // namespace
}  // namespace qv

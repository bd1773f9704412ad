// Image lists: cutting bitmaps into images, masks, deleting, and drawing
// images enabled and disabled.
#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "platform/ui/graphics/ImageList.h"
#include "platform/ui/graphics/PixelRows.h"

namespace qv {
namespace {

using test::Legend;
using test::PaintRows;
using test::RowsOf;
using Rows = std::vector<std::string>;

const Legend kLegend = {{'.', clWhite}, {'k', clBlack}, {'R', clRed}, {'B', clBlue}, {'O', clOlive}};

struct ChangeCounter : TObject {
  int changes = 0;
  void Count(TObject*) { ++changes; }
};

// A list of 2 × 2 images and a blue 4 × 3 target to draw them on.
class ImageListTest : public ::testing::Test {
 protected:
  ImageListTest() : list(nullptr) {
    list.SetSize(2, 2);
    list.OnChange = MethodOf<&ChangeCounter::Count>(&counter);
    PaintRows(target, {"BBBB", "BBBB", "BBBB"}, kLegend);
  }

  int Add(const Rows& rows) {
    TBitmap bitmap;
    PaintRows(bitmap, rows, kLegend);
    return list.Add(bitmap, nullptr);
  }
  Rows Target() const { return RowsOf(target, kLegend); }

  ChangeCounter counter;
  TImageList list;
  TBitmap target;
};

TEST_F(ImageListTest, AddCutsTheBitmapIntoImagesAndReturnsTheFirstIndex) {
  EXPECT_EQ(Add({"RRkk.", "RRkk."}), 0);  // the fifth column holds no whole image
  EXPECT_EQ(Add({"..", ".."}), 2);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(counter.changes, 2);

  list.Draw(target.Canvas(), 0, 0, 0);
  list.Draw(target.Canvas(), 2, 1, 1);
  EXPECT_EQ(Target(), (Rows{"RRBB", "RRkk", "BBkk"}));
}

TEST_F(ImageListTest, BitmapNarrowerThanAnImageIsRefused) {
  EXPECT_THROW(Add({"R", "R"}), EInvalidOperation);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(ImageListTest, RowsBeyondTheBitmapAreTransparent) {
  Add({"Rk"});
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(Target(), (Rows{"RkBB", "BBBB", "BBBB"}));
}

TEST_F(ImageListTest, WhiteMaskPixelsAreTransparent) {
  TBitmap bitmap, mask;
  PaintRows(bitmap, {"Rk", "kR"}, kLegend);
  PaintRows(mask, {".k", "k."}, kLegend);
  list.Add(bitmap, &mask);
  list.Draw(target.Canvas(), 1, 1, 0);
  EXPECT_EQ(Target(), (Rows{"BBBB", "BBkB", "BkBB"}));
}

TEST_F(ImageListTest, AddMaskedLeavesOutTheMaskColourOrTheTransparentColour) {
  TBitmap bitmap;
  PaintRows(bitmap, {"RkRk", "OROR"}, kLegend);  // bottom-left olive
  list.AddMasked(bitmap, clRed);
  list.AddMasked(bitmap, clDefault);
  ASSERT_EQ(list.Count(), 4);
  list.Draw(target.Canvas(), 0, 0, 0);
  list.Draw(target.Canvas(), 2, 1, 2);
  EXPECT_EQ(Target(), (Rows{"BkBB", "OBRk", "BBBR"}));
}

TEST_F(ImageListTest, DeleteShiftsTheLaterImagesAndChecksTheIndex) {
  Add({"RRkk..", "RRkk.."});
  list.Delete(1);
  ASSERT_EQ(list.Count(), 2);
  list.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(Target(), (Rows{"..BB", "..BB", "BBBB"}));
  EXPECT_THROW(list.Delete(2), EInvalidOperation);
  EXPECT_THROW(list.Delete(-1), EInvalidOperation);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(ImageListTest, DrawingAnIndexOutOfRangeDrawsNothing) {
  Add({"RR", "RR"});
  list.Draw(target.Canvas(), 0, 0, 1);
  list.Draw(target.Canvas(), 0, 0, -1);
  EXPECT_EQ(Target(), (Rows{"BBBB", "BBBB", "BBBB"}));
}

TEST_F(ImageListTest, ChangingTheImageSizeEmptiesTheList) {
  Add({"RR", "RR"});
  list.SetWidth(3);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Width(), 3);
  EXPECT_EQ(list.Height(), 2);
}

TEST_F(ImageListTest, GetBitmapFillsTransparentPixelsWithTheBrush) {
  TBitmap bitmap, mask;
  PaintRows(bitmap, {"Rk", "kR"}, kLegend);
  PaintRows(mask, {".k", "k."}, kLegend);
  list.Add(bitmap, &mask);

  TBitmap out;
  out.Canvas().Brush().SetColor(clOlive);
  list.GetBitmap(0, out);
  EXPECT_EQ(RowsOf(out, kLegend), (Rows{"Ok", "kO"}));
  EXPECT_THROW(list.GetBitmap(1, out), EInvalidOperation);
}

TEST_F(ImageListTest, DisabledImagesAreEmbossedFromTheirDarkOpaquePixels) {
  TBitmap bitmap, mask;
  PaintRows(bitmap, {"k.", "kk"}, kLegend);
  PaintRows(mask, {"..", ".k"}, kLegend);  // only the bottom-right pixel is opaque
  list.Add(bitmap, &mask);
  PaintRows(target, {"....", "....", "...."}, kLegend);
  target.Canvas().Brush().SetColor(clBtnFace);
  target.Canvas().FillRect({0, 0, 4, 3});

  list.Draw(target.Canvas(), 0, 0, 0, false);
  const Legend colours = {{'f', clBtnFace}, {'s', clBtnShadow}, {'h', clBtnHighlight}};
  EXPECT_EQ(RowsOf(target, colours), (Rows{"ffff", "fsff", "ffhf"}));
  EXPECT_EQ(target.Canvas().Brush().Color(), clBtnFace);
  EXPECT_EQ(target.Canvas().CopyMode(), cmSrcCopy);
}

TEST_F(ImageListTest, ImagesDrawnOnACanvasWithoutPixelsAreRecorded) {
  Add({"RR", "RR"});
  TCanvas canvas;
  list.Draw(canvas, 5, 6, 0);
  ASSERT_EQ(canvas.Operations().size(), 1u);
  EXPECT_EQ(canvas.Operations()[0].Kind, DrawKind::Draw);
  EXPECT_EQ(canvas.Operations()[0].Rect, (TRect{5, 6, 7, 8}));
}

TEST(ImageList, ImagesAreSixteenSquareByDefault) {
  TImageList list(nullptr);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Height(), 16);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace qv

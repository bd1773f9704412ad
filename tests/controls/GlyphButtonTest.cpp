// Speed buttons whose picture is taken by number from the glyph library.
#include "controls/GSpdBtn.h"

#include <gtest/gtest.h>

#include <string>

#include "controls/GlyphLibrary.h"
#include "DialogRecorder.h"
#include "platform/core/TypInfo.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

class GlyphButtonTest : public testing::Test {
 protected:
  void TearDown() override { SetGlyphLibraryPath("FrResD5.so"); }

  const TBitmap& Picture() const {
    const auto* bitmap = ObjectAs<TBitmap>(button.Glyph());
    EXPECT_NE(bitmap, nullptr) << "the Glyph slot holds no bitmap";
    static const TBitmap none;
    return bitmap ? *bitmap : none;
  }

  TGSpeedButton button{nullptr};
};

struct IndexCase {
  const char* what;
  int index;  // -1: one above the library's highest number
  int shownBefore;
  int width, height, cells;  // width 0: no picture
};

TEST_F(GlyphButtonTest, IndexChoosesPictureCaptionAndCells) {
  const IndexCase cases[] = {
      {"zero", 0, 4, 0, 0, 0},
      {"above the highest", -1, 4, 0, 0, 0},
      {"no picture of that number", 5, 4, 0, 0, 0},
      {"two cells", 4, 47, 46, 23, 2},
      {"one cell", 8, 4, 23, 23, 1},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(c.what);
    const int index = c.index < 0 ? GlyphMaxId() + 1 : c.index;
    button.SetGlyphIndex(c.shownBefore);  // a picture of another size is shown first
    ASSERT_FALSE(Picture().Empty());
    button.SetGlyphIndex(index);
    EXPECT_EQ(button.GlyphIndex(), index);
    EXPECT_EQ(Picture().Width(), c.width);
    EXPECT_EQ(Picture().Height(), c.height);
    if (c.width == 0) {
      EXPECT_EQ(button.Caption(), std::to_string(index));
    } else {
      EXPECT_EQ(button.Caption(), "");
      EXPECT_EQ(button.NumGlyphs(), c.cells);
    }
  }
}

TEST_F(GlyphButtonTest, PictureHoldsTheLibrarysPixels) {
  GlyphImage expected;
  ASSERT_TRUE(LoadGlyph(4, expected));
  button.SetGlyphIndex(4);
  const TBitmap& picture = Picture();
  ASSERT_EQ(picture.Width(), expected.Width);
  for (int y = 0; y < expected.Height; ++y)
    for (int x = 0; x < expected.Width; ++x)
      ASSERT_EQ(picture.PixelAt(x, y), static_cast<TColor>(expected.Pixel(x, y))) << x << "," << y;
}

TEST_F(GlyphButtonTest, SettingTheSameNumberAgainChangesNothing) {
  button.SetGlyphIndex(8);
  button.SetCaption("kept");
  button.SetGlyphIndex(8);
  EXPECT_EQ(button.Caption(), "kept");
}

TEST_F(GlyphButtonTest, IndicesArePublished) {
  SetOrdProp(button, *GetPropInfo(&button, "GlyphIndex"), 47);
  EXPECT_EQ(Picture().Width(), 23);
  SetOrdProp(button, *GetPropInfo(&button, "HintIndex"), 12);
  EXPECT_EQ(button.HintIndex(), 12);
  EXPECT_EQ(GetOrdProp(button, *GetPropInfo(&button, "HintIndex")), 12);
}

// The button stays usable when the library cannot be read: it reports the
// error, keeps what it showed and takes pictures again once the library is back.
TEST_F(GlyphButtonTest, UnreadableLibraryIsReportedAndTheButtonGoesOn) {
  button.SetGlyphIndex(4);
  test::TempDir dir;
  SetGlyphLibraryPath(dir / "FrResD5.so");
  {
    test::DialogRecorder dialogs;
    button.SetGlyphIndex(47);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].message, "读取 BMP 发生错误");
    EXPECT_EQ(dialogs.shown[0].kind, "mtError");
    EXPECT_TRUE(dialogs.shown[0].hasOnlyOK);
  }
  EXPECT_EQ(button.GlyphIndex(), 47);
  EXPECT_EQ(button.Caption(), "47");
  EXPECT_EQ(Picture().Width(), 46) << "the picture shown before stays";
  EXPECT_EQ(button.NumGlyphs(), 2);

  SetGlyphLibraryPath("FrResD5.so");
  button.SetGlyphIndex(8);
  EXPECT_EQ(Picture().Width(), 23);
  EXPECT_EQ(button.Caption(), "");
}

// A library that reports a picture loaded without a proper size is an
// unreadable picture to the button: reported, never divided by.
TEST_F(GlyphButtonTest, PicturesWithoutAProperSizeAreReported) {
  button.SetGlyphIndex(8);
  SetGlyphLibraryPath(PQLR_MISBEHAVING_GLYPHS);
  for (int index : {1, 2, 3, 4}) {
    SCOPED_TRACE(index);
    test::DialogRecorder dialogs;
    button.SetGlyphIndex(index);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].message, "读取 BMP 发生错误");
    EXPECT_EQ(button.Caption(), std::to_string(index));
    EXPECT_EQ(Picture().Width(), 23) << "the picture shown before stays";
    EXPECT_EQ(button.NumGlyphs(), 1);
  }
  button.SetGlyphIndex(5);
  EXPECT_EQ(Picture().Width(), 46);
  EXPECT_EQ(button.NumGlyphs(), 2);
}

}  // namespace
}  // namespace qv

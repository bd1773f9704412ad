#include "controls/GlyphLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/core/Exception.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/graphics/Graphics.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// FrResD5.so and its pictures are built beside the test program.
const std::string kBuiltLibrary = ExecutableFolder() + "FrResD5.so";
const std::string kBuiltGlyphs = ExecutableFolder() + "FrResD5.glyphs";

class GlyphLibraryTest : public testing::Test {
 protected:
  void TearDown() override { SetGlyphLibraryPath("FrResD5.so"); }
};

// The distinct colours of one cell.
std::set<std::uint32_t> CellColors(const GlyphImage& image, int cell) {
  std::set<std::uint32_t> colors;
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Height; ++x) colors.insert(image.Pixel(cell * image.Height + x, y));
  return colors;
}

TEST_F(GlyphLibraryTest, PicturesOfTheFormsLoadWithTheirCells) {
  const struct {
    int number;
    int cells;  // 0: the forms do not depend on the count
  } cases[] = {{4, 2}, {8, 1}, {9, 0}, {39, 0}, {47, 1}, {68, 0}, {81, 0}};
  ASSERT_GE(GlyphMaxId(), 81);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    GlyphImage image;
    ASSERT_TRUE(LoadGlyph(c.number, image));
    EXPECT_EQ(image.Height, 23);
    ASSERT_GT(image.Width, 0);
    EXPECT_EQ(image.Width % image.Height, 0);
    if (c.cells) {
      EXPECT_EQ(image.Width, 23 * c.cells);
    }
    ASSERT_EQ(image.Pixels.size(), static_cast<std::size_t>(image.Width * image.Height));
    // A drawn picture: the transparent bottom-left pixel is not what the middle shows.
    EXPECT_EQ(image.Pixel(0, 22), static_cast<std::uint32_t>(clOlive));
    EXPECT_NE(image.Pixel(0, 22), image.Pixel(11, 11));
    EXPECT_GE(CellColors(image, 0).size(), 3u);
  }
}

TEST_F(GlyphLibraryTest, ColoursArriveAsBlueGreenRed) {
  GlyphImage cross;
  ASSERT_TRUE(LoadGlyph(47, cross));
  EXPECT_EQ(cross.Pixel(11, 11), static_cast<std::uint32_t>(clRed));
}

TEST_F(GlyphLibraryTest, DisabledCellIsDrawnApartFromTheNormalOne) {
  GlyphImage image;
  ASSERT_TRUE(LoadGlyph(4, image));
  ASSERT_EQ(image.Width, 2 * image.Height);
  const std::uint32_t transparent = image.Pixel(0, 22);
  EXPECT_EQ(image.Pixel(23, 22), transparent);
  EXPECT_NE(CellColors(image, 0), CellColors(image, 1));
  EXPECT_GE(CellColors(image, 1).size(), 2u);
}

TEST_F(GlyphLibraryTest, NumbersWithoutAPictureAreRefused) {
  const int highest = GlyphMaxId();
  for (int number : {0, -1, 1, 5, 46, highest + 1, 1000}) {
    SCOPED_TRACE(number);
    GlyphImage image{7, 7, std::vector<std::uint32_t>(49, 1)};
    EXPECT_FALSE(LoadGlyph(number, image));
    EXPECT_EQ(image.Width, 0);
    EXPECT_TRUE(image.Pixels.empty());
  }
  GlyphImage highestPicture;
  EXPECT_TRUE(LoadGlyph(highest, highestPicture));
}

TEST_F(GlyphLibraryTest, MissingLibraryRaisesAndHasNoPictures) {
  test::TempDir dir;
  SetGlyphLibraryPath(dir / "FrResD5.so");
  EXPECT_EQ(GlyphMaxId(), 0);
  GlyphImage image;
  try {
    LoadGlyph(8, image);
    FAIL() << "no error raised";
  } catch (const EOSError& error) {
    EXPECT_NE(error.Message().find("FrResD5.so"), std::string::npos) << error.Message();
    EXPECT_NE(error.ErrorCode(), 0);
  }
  // Back to the real library: the failed load is not remembered.
  SetGlyphLibraryPath("FrResD5.so");
  EXPECT_TRUE(LoadGlyph(8, image));
}

// What a glyph library hands back is checked: a picture reported loaded
// without a size of whole cells is refused, and the image keeps what it held.
TEST_F(GlyphLibraryTest, PicturesReportedWithoutAProperSizeAreRefused) {
  SetGlyphLibraryPath(PQLR_MISBEHAVING_GLYPHS);
  const struct {
    const char* what;
    int number;
  } refused[] = {{"no size", 1}, {"a size the caller refused", 2}, {"part of a cell left over", 3},
                 {"narrower than a cell", 4}};
  for (const auto& c : refused) {
    SCOPED_TRACE(c.what);
    GlyphImage image{7, 7, std::vector<std::uint32_t>(49, 1)};
    EXPECT_THROW(LoadGlyph(c.number, image), EInvalidGraphic);
    EXPECT_EQ(image.Width, 7);
  }
  GlyphImage image;
  ASSERT_TRUE(LoadGlyph(5, image));
  EXPECT_EQ(image.Width, 46);
  EXPECT_EQ(image.Height, 23);
  EXPECT_FALSE(LoadGlyph(6, image));
}

// A copy of the library in its own folder reads the pictures beside that
// copy, not those of the current directory; a damaged or missing picture
// there is refused.
TEST_F(GlyphLibraryTest, PicturesComeFromBesideTheLoadedLibrary) {
  test::TempDir dir;
  fs::copy_file(kBuiltLibrary, dir / "FrResD5.so");
  fs::copy(kBuiltGlyphs, dir / "FrResD5.glyphs");
  test::WriteFile(dir / "FrResD5.glyphs/09.png", "not a picture");
  fs::copy_file(kBuiltGlyphs + "/04.png", dir / "FrResD5.glyphs/47.png", fs::copy_options::overwrite_existing);
  fs::remove(dir / "FrResD5.glyphs/39.png");

  const fs::path previous = fs::current_path();
  fs::current_path(ExecutableFolder());  // intact pictures in ./FrResD5.glyphs
  SetGlyphLibraryPath(dir / "FrResD5.so");
  GlyphImage image;
  EXPECT_TRUE(LoadGlyph(8, image));
  EXPECT_FALSE(LoadGlyph(9, image)) << "unreadable file";
  EXPECT_FALSE(LoadGlyph(47, image)) << "two cells where one belongs";
  EXPECT_FALSE(LoadGlyph(39, image)) << "missing file";
  fs::current_path(previous);
}

}  // namespace
}  // namespace qv

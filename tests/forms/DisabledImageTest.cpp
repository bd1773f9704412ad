// The disabled image of a button picture, on small pixel fixtures: which
// pixels are outlined, the two offsets and the three colours.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "forms/base/DisabledImage.h"
#include "platform/ui/graphics/Bitmap.h"

namespace qv {
namespace {

// Picture pixels by letter: '.' the transparent colour, 'L' light, 'D'
// dark, 'g' just dark (R + G + B = 383), 'G' just light (384).
constexpr TColor kTransparent = clFuchsia;
constexpr TColor kLight = 0xE0E0E0, kDark = 0x202020, kJustDark = 0x80807F, kJustLight = clGray;

TColor PixelOf(char letter) {
  switch (letter) {
    case 'L': return kLight;
    case 'D': return kDark;
    case 'g': return kJustDark;
    case 'G': return kJustLight;
    default: return kTransparent;
  }
}

void Paint(TBitmap& picture, const std::vector<std::string>& rows) {
  picture.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.Canvas().SetPixels(x, y, PixelOf(rows[y][x]));
}

// The embossed image of the outlined pixels ('X'): shadow on them,
// highlight one pixel down and right, the button face elsewhere.
std::vector<TColor> Embossed(const std::vector<std::string>& outlined) {
  const auto marked = [&](int x, int y) { return x >= 0 && y >= 0 && outlined[y][x] == 'X'; };
  std::vector<TColor> pixels;
  for (int y = 0; y < static_cast<int>(outlined.size()); ++y)
    for (int x = 0; x < static_cast<int>(outlined[y].size()); ++x)
      pixels.push_back(ColorToRGB(marked(x, y) ? clBtnShadow : marked(x - 1, y - 1) ? clBtnHighlight : clBtnFace));
  return pixels;
}

std::vector<TColor> PixelsOf(const TBitmap& bitmap, int left, int width) {
  std::vector<TColor> pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = left; x < left + width; ++x) pixels.push_back(bitmap.PixelAt(x, y));
  return pixels;
}

struct OutlineCase {
  const char* name;
  std::vector<std::string> picture;
  std::vector<std::string> outlined;
};

void PrintTo(const OutlineCase& c, std::ostream* os) { *os << c.name; }

class DisabledImageOutline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(DisabledImageOutline, EmbossesTheOutlinedPixels) {
  const OutlineCase& c = GetParam();
  TBitmap picture;
  Paint(picture, c.picture);
  TBitmap disabled;
  BuildDisabledImage(picture, kTransparent, disabled);
  EXPECT_EQ(disabled.Width(), picture.Width());
  EXPECT_EQ(disabled.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelsOf(disabled, 0, disabled.Width()), Embossed(c.outlined));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, DisabledImageOutline,
    ::testing::Values(
        OutlineCase{"LightPixelsOnTheTransparentEdge",
                    {".....", ".LLL.", ".LLL.", ".LLL.", "....."},
                    {".....", ".XXX.", ".X.X.", ".XXX.", "....."}},
        OutlineCase{"DarkPixelsInside", {".....", ".LLL.", ".LDL.", ".LLL.", "....."},
                    {".....", ".XXX.", ".XXX.", ".XXX.", "....."}},
        // Outside the picture the pixel itself stands in: the border is no edge.
        OutlineCase{"PictureBorderIsNoEdge", {"LLL", "LDL", "LLL"}, {"...", ".X.", "..."}},
        OutlineCase{"DiagonalNeighbourIsNoEdge", {".LL", "LLL", "LLL"}, {".X.", "X..", "..."}},
        OutlineCase{"DarkLimit", {"GgG", "GGG"}, {".X.", "..."}},
        OutlineCase{"DarkPixelsOnTheEdge", {"DD", ".."}, {"XX", ".."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DisabledImage, AddsTheDisabledCellRightOfThePicture) {
  // The transparent colour is the bottom-left pixel.
  const std::vector<std::string> rows = {"LLLD", "LD..", "...."};
  TBitmap glyph;
  Paint(glyph, rows);
  TBitmap original;
  original.Assign(glyph);

  AddDisabledImage(glyph);

  ASSERT_EQ(glyph.Width(), 8);
  ASSERT_EQ(glyph.Height(), 3);
  EXPECT_EQ(glyph.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelsOf(glyph, 0, 4), PixelsOf(original, 0, 4));
  EXPECT_EQ(PixelsOf(glyph, 4, 4), Embossed({"..XX", "XX..", "...."}));
}

TEST(DisabledImage, FixedTransparentColourDecidesTheEdge) {
  TBitmap glyph;
  Paint(glyph, {"..", "LL"});  // bottom-left light, but the transparent colour is fixed
  glyph.SetTransparentColor(kTransparent);
  AddDisabledImage(glyph);
  EXPECT_EQ(PixelsOf(glyph, 2, 2), Embossed({"..", "XX"}));
}

TEST(DisabledImage, EmptyPictureStaysEmpty) {
  TBitmap glyph;
  AddDisabledImage(glyph);
  EXPECT_TRUE(glyph.Empty());
}

}  // namespace
}  // namespace qv

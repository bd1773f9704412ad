#pragma once
// The button pictures of the condition controls come from the glyph library
// FrResD5.so, chosen by number. The library is loaded by file name on first
// use and stays loaded for the rest of the process.

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// A picture: cells of Height × Height side by side (normal, disabled, …),
// pixels row-major as 0x00BBGGRR; the bottom-left pixel is the transparent
// colour.
struct GlyphImage {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;

  std::uint32_t Pixel(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// The highest picture number the library holds; 0 when the library or its
// entry cannot be found.
int GlyphMaxId();

// Fills the image with picture `number`. False for a picture the library
// does not have (the image is then left empty); raises EOSError when the
// library cannot be loaded or lacks its entry, and EInvalidGraphic when it
// reports a picture loaded that has no size or no whole number of cells.
bool LoadGlyph(int number, GlyphImage& image);

// The library's file name: the bare "FrResD5.so" by default, found beside
// the executable, then beside the plug-in. Setting it unloads the library
// loaded before, so the next call loads the new one.
void SetGlyphLibraryPath(std::string fileName);

}  // namespace qv

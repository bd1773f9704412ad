#pragma once
// Bitmaps written and read as rows of letters, one letter per pixel, so a
// pixel-exact expectation reads like the picture it describes.

#include <map>
#include <string>
#include <vector>

#include "platform/ui/graphics/Bitmap.h"

namespace qv::test {

using Legend = std::map<char, TColor>;

inline void PaintRows(TBitmap& bitmap, const std::vector<std::string>& rows, const Legend& legend) {
  bitmap.SetSize(rows.empty() ? 0 : static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) bitmap.Canvas().SetPixels(x, y, legend.at(rows[y][x]));
}

// A pixel whose colour the legend lacks reads '?'.
inline std::vector<std::string> RowsOf(const TBitmap& bitmap, const Legend& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      char letter = '?';
      for (const auto& [key, color] : legend)
        if (ColorToRGB(color) == bitmap.PixelAt(x, y)) letter = key;
      row += letter;
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace qv::test

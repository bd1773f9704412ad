// FrResD5.so: the button pictures of the condition controls. Each picture
// is a PNG file "NN.png" in the folder "FrResD5.glyphs" beside this library,
// decoded with libpng when it is asked for.

#include "FrResD5.h"

#include <dlfcn.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#define FRRES_EXPORT __attribute__((visibility("default")))

namespace {

constexpr int kCellSize = 23;

struct Picture {
  int number;
  int cells;  // button states side by side: normal, disabled
};

// The pictures this library holds; any other number does not exist.
constexpr std::array<Picture, 7> kPictures{{
    {4, 2},   // clear list: a broom
    {8, 1},   // lookup: a magnifier
    {9, 1},   // date lookup: a calendar
    {39, 2},  // choose users: two people
    {47, 1},  // delete rows: a red cross
    {68, 2},  // open: a folder
    {81, 2},  // save: a disk
}};

const Picture* FindPicture(int number) {
  auto found = std::find_if(kPictures.begin(), kPictures.end(),
                            [number](const Picture& picture) { return picture.number == number; });
  return found == kPictures.end() ? nullptr : &*found;
}

// The pictures' folder, found from where this library was loaded (not from
// the current directory, which belongs to the host).
std::string GlyphFolder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&GetMaxBmpID), &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  const auto slash = path.rfind('/');
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "FrResD5.glyphs/";
}

std::string PictureFile(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "%02d.png", number);
  return GlyphFolder() + name;
}

struct Rgb {
  int width = 0;
  int height = 0;
  std::vector<png_byte> bytes;  // 3 per pixel, row-major
};

// Decodes a PNG file of any colour type to 8-bit RGB; false when unreadable.
bool ReadRgb(const std::string& file, Rgb& rgb) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  rgb.width = static_cast<int>(image.width);
  rgb.height = static_cast<int>(image.height);
  rgb.bytes.resize(PNG_IMAGE_SIZE(image));
  // A picture with an alpha channel is laid over black; the shipped ones have none.
  if (!png_image_finish_read(&image, nullptr, rgb.bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}

bool HasCellLayout(const Rgb& rgb, const Picture& picture) {
  return rgb.height == kCellSize && rgb.width == kCellSize * picture.cells;
}

void CopyPixels(const Rgb& rgb, const FrResBitmap& bitmap) {
  for (int y = 0; y < rgb.height; ++y) {
    for (int x = 0; x < rgb.width; ++x) {
      const png_byte* p = &rgb.bytes[(static_cast<std::size_t>(y) * rgb.width + x) * 3];
      bitmap.set_pixel(bitmap.context, x, y, p[0] | (p[1] << 8) | (static_cast<unsigned>(p[2]) << 16));
    }
  }
}

}  // namespace

extern "C" {

FRRES_EXPORT int GetMaxBmpID(void) {
  int highest = 0;
  for (const Picture& picture : kPictures) highest = std::max(highest, picture.number);
  return highest;
}

FRRES_EXPORT int LoadBmp(FrResBitmap* bitmap, int number) {
  const Picture* picture = FindPicture(number);
  if (!picture || !bitmap || !bitmap->set_size || !bitmap->set_pixel) return 0;
  Rgb rgb;
  // A file whose size does not match its cells is not this picture.
  if (!ReadRgb(PictureFile(number), rgb) || !HasCellLayout(rgb, *picture)) return 0;
  if (!bitmap->set_size(bitmap->context, rgb.width, rgb.height)) return 0;
  CopyPixels(rgb, *bitmap);
  return 1;
}

}  // extern "C"

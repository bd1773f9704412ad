#include "controls/GlyphLibrary.h"

#include <mutex>
#include <string>
#include <utility>

#include "FrResD5/FrResD5.h"
#include "platform/core/Exception.h"
#include "platform/system/DynamicLibrary.h"

namespace qv {

namespace {

// The entries as the library's own header declares them: the library fills
// the caller's bitmap through its callbacks (colours 0x00BBGGRR).
using GetMaxBmpIDFunction = decltype(GetMaxBmpID);
using LoadBmpFunction = decltype(LoadBmp);  // nonzero on success

// The system's error numbers for a library that cannot be loaded and for a
// library without the entry asked for.
constexpr int kModuleNotFound = 126;
constexpr int kProcedureNotFound = 127;

// Larger than any button picture; guards the allocation against a bad size.
constexpr int kMaxSide = 4096;

struct GlyphLibraryState {
  std::mutex lock;
  std::string fileName = "FrResD5.so";
  DynamicLibrary library;
};

GlyphLibraryState& State() {
  static GlyphLibraryState state;
  return state;
}

// Loads the library on first use; the caller holds the lock.
void EnsureLoaded(GlyphLibraryState& state) {
  if (state.library.IsLoaded()) return;
  if (!state.library.Load(state.fileName))
    throw EOSError("Cannot load " + state.fileName + ": " + state.library.LastError(), kModuleNotFound);
}

int SetSize(void* context, int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return 0;
  auto& image = *static_cast<GlyphImage*>(context);
  image.Width = width;
  image.Height = height;
  image.Pixels.assign(static_cast<std::size_t>(width) * height, 0);
  return 1;
}

void SetPixel(void* context, int x, int y, unsigned color) {
  auto& image = *static_cast<GlyphImage*>(context);
  if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) return;
  image.Pixels[static_cast<std::size_t>(y) * image.Width + x] = color & 0x00FFFFFFu;
}

}  // namespace

int GlyphMaxId() {
  GlyphLibraryState& state = State();
  std::lock_guard guard(state.lock);
  try {
    EnsureLoaded(state);
  } catch (const EOSError&) {
    return 0;
  }
  auto* getMaxBmpId = state.library.Function<GetMaxBmpIDFunction>("GetMaxBmpID");
  return getMaxBmpId ? getMaxBmpId() : 0;
}

bool LoadGlyph(int number, GlyphImage& image) {
  GlyphLibraryState& state = State();
  std::lock_guard guard(state.lock);
  EnsureLoaded(state);
  auto* loadBmp = state.library.Function<LoadBmpFunction>("LoadBmp");
  if (!loadBmp) throw EOSError("LoadBmp is missing from " + state.library.FileName(), kProcedureNotFound);
  GlyphImage loaded;
  FrResBitmap bitmap{&loaded, &SetSize, &SetPixel};
  if (!loadBmp(&bitmap, number)) {
    image = GlyphImage();
    return false;
  }
  // The library's word alone is not a picture: without a size taken, or in
  // no whole number of cells, there is nothing a button could show.
  if (loaded.Height == 0 || loaded.Width % loaded.Height != 0)
    throw EInvalidGraphic(state.library.FileName() + " reported picture " + std::to_string(number) +
                          " loaded without a size of whole cells");
  image = std::move(loaded);
  return true;
}

void SetGlyphLibraryPath(std::string fileName) {
  GlyphLibraryState& state = State();
  std::lock_guard guard(state.lock);
  state.library.Unload();
  state.fileName = std::move(fileName);
}

}  // namespace qv

#include "platform/system/DynamicLibrary.h"

#include <dlfcn.h>
#include <link.h>

#include <utility>

#include "platform/core/AsciiText.h"
#include "platform/system/SystemInfo.h"

namespace qv {

namespace {

// The file to open for a name: a name with "/" as it is; a bare name from
// the executable's folder or the platform module's folder when it is there,
// else the bare name for the system's search.
std::string ResolveLibrary(const std::string& fileName) {
  if (fileName.find('/') != std::string::npos) return fileName;
  for (const std::string& folder : {ExecutableFolder(), ExtractFilePath(ThisModuleFileName())}) {
    if (folder.empty()) continue;
    std::string candidate = folder + fileName;
    if (FileExists(candidate)) return candidate;
  }
  return fileName;
}

}  // namespace

bool IsLibraryModule(std::string_view fileName) { return EndsWithTextAscii(fileName, ".so"); }

DynamicLibrary::~DynamicLibrary() { Unload(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      fileName_(std::move(other.fileName_)),
      lastError_(std::move(other.lastError_)) {
  other.fileName_.clear();
  other.lastError_.clear();
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = std::exchange(other.handle_, nullptr);
    fileName_ = std::move(other.fileName_);
    lastError_ = std::move(other.lastError_);
    other.fileName_.clear();
    other.lastError_.clear();
  }
  return *this;
}

bool DynamicLibrary::Load(const std::string& fileName) {
  Unload();
  lastError_.clear();
  if (fileName.empty()) {
    // dlopen(nullptr) would hand out the executable itself.
    lastError_ = "no library file name given";
    return false;
  }
  const std::string path = ResolveLibrary(fileName);
  dlerror();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* reason = dlerror();
    lastError_ = reason ? reason : "cannot load " + path;
    return false;
  }
  // The loader's name for it: the full path the system search found.
  link_map* map = nullptr;
  fileName_ = dlinfo(handle_, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name
                  ? std::string(map->l_name)
                  : path;
  return true;
}

void DynamicLibrary::Unload() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
  fileName_.clear();
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (!handle_ || !name) return nullptr;
  return dlsym(handle_, name);
}

}  // namespace qv

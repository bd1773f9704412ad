#include "platform/system/SystemInfo.h"

#include <dlfcn.h>
#include <link.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/core/AsciiText.h"

namespace qv {

namespace {

// The text cut to at most count characters, never inside a UTF-8 sequence.
std::string CutCharacters(std::string text, std::size_t count) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    if (!continuation && ++characters > count) {
      text.resize(i);
      break;
    }
  }
  return text;
}

// The canonical path, or "" when it cannot be resolved.
std::string CanonicalPath(const char* path) {
  std::unique_ptr<char, decltype(&std::free)> real(realpath(path, nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

// Something in the module of the platform code, for ThisModuleFileName.
const char kModuleAnchor = 0;

}  // namespace

std::string GetTempFolder(std::size_t maxLength) {
  std::string folder = "/tmp";
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir && *tmpdir && DirectoryExists(tmpdir)) folder = tmpdir;
  if (std::string real = CanonicalPath(folder.c_str()); !real.empty()) folder = std::move(real);
  folder = IncludeTrailingPathDelimiter(std::move(folder));
  return folder.size() > maxLength ? std::string() : folder;
}

std::string GetComputerNameText() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::string();
  return CutCharacters(name, 15);
}

std::string GetUserNameText() {
  std::string user;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
    user = found->pw_name;
  if (user.empty())
    if (const char* fromEnv = std::getenv("USER")) user = fromEnv;
  return CutCharacters(std::move(user), 31);
}

std::string ExecutableFileName() {
  std::error_code error;
  const std::filesystem::path target = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : target.string();
}

std::string ExecutableFolder() { return ExtractFilePath(ExecutableFileName()); }

std::string ModuleFileName(const void* addressInModule) {
  if (!addressInModule) return std::string();
  Dl_info info{};
  link_map* map = nullptr;
  if (dladdr1(addressInModule, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0)
    return std::string();
  // The executable's own entry has an empty name; dladdr then reports the
  // name it was started by, which need not be a usable path.
  if (map && map->l_name && map->l_name[0] == '\0') return ExecutableFileName();
  if (!info.dli_fname || !*info.dli_fname) return std::string();
  return CanonicalPath(info.dli_fname);
}

std::string ThisModuleFileName() { return ModuleFileName(&kModuleAnchor); }

int SystemCodePage() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return CodePageOfLocaleName(value);
  }
  return CodePageOfLocaleName("");
}

int CodePageOfLocaleName(std::string_view localeName) {
  const std::size_t end = localeName.find_first_of(".@");
  std::string tag(localeName.substr(0, end));
  for (char& c : tag) c = c == '-' ? '_' : AsciiLower(c);
  if (tag == "zh_cn" || tag == "zh_sg") return 936;
  if (tag == "zh_tw" || tag == "zh_hk" || tag == "zh_mo") return 950;
  return 437;
}

std::string IncludeTrailingPathDelimiter(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  try {
    std::error_code error;
    std::filesystem::create_directories(path, error);
  } catch (...) {
    return false;
  }
  return DirectoryExists(path);
}

std::string ExtractFilePath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace qv

#include "platform/system/TextFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "platform/system/CodePages.h"

namespace qv {

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr int kGbkCodePage = 936;
}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return false;
  struct stat info {};
  if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  return !std::ferror(file.get());
}

std::string DecodeTextFile(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) return DecodeLenient(bytes.substr(kUtf8Bom.size()), CP_UTF8);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return DecodeLenient(bytes, kGbkCodePage);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = next;
  }
  return lines;
}

}  // namespace qv

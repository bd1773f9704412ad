#include "platform/system/Registry.h"

#include <cstdlib>

#include "platform/core/AsciiText.h"
#include "platform/system/TextFile.h"

namespace qv {

namespace {

constexpr const char* kDefaultRegistryFile = "/etc/qvx/registry";

std::string_view StripBackslashes(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return path;
}

// The full section name of a key below a root: "HKEY_LOCAL_MACHINE\Software\...".
std::string FullKeyPath(RootKey root, std::string_view key) {
  std::string full(RootKeyName(root));
  key = StripBackslashes(TrimBlanks(key));
  if (!key.empty()) {
    full += '\\';
    full += key;
  }
  return full;
}

// The key path of a section line ("[...]"), or false when the line is not
// one. A "[" without a closing "]" names the key up to the end of the line.
bool SectionName(std::string_view line, std::string_view& name) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return false;
  line.remove_prefix(1);
  const std::size_t close = line.rfind(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  name = StripBackslashes(TrimBlanks(line));
  return true;
}

bool IsIgnoredLine(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  return trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#';
}

// True when section equals key or names a key below it.
bool IsKeyOrBelow(std::string_view section, std::string_view key) {
  if (SameTextAscii(section, key)) return true;
  return section.size() > key.size() && section[key.size()] == '\\' &&
         SameTextAscii(section.substr(0, key.size()), key);
}

}  // namespace

std::string_view RootKeyName(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RootKey::CurrentUser: return "HKEY_CURRENT_USER";
    case RootKey::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RootKey::Users: return "HKEY_USERS";
  }
  return "HKEY_LOCAL_MACHINE";
}

TRegistry::TRegistry(RootKey root) : root_(root) {}

void TRegistry::SetRoot(RootKey root) {
  CloseKey();
  root_ = root;
}

std::string TRegistry::FilePath() {
  const char* path = std::getenv("QVX_REGISTRY_FILE");
  return path && *path ? std::string(path) : std::string(kDefaultRegistryFile);
}

bool TRegistry::OpenKeyReadOnly(std::string_view key) {
  std::string bytes;
  if (!ReadFileBytes(FilePath(), bytes)) return false;
  const std::string text = DecodeTextFile(bytes);
  const std::string full = FullKeyPath(root_, key);

  bool found = false;
  bool inKey = false;
  std::vector<Value> values;
  for (std::string_view line : SplitLines(text)) {
    std::string_view section;
    if (SectionName(line, section)) {
      inKey = SameTextAscii(section, full);
      found = found || IsKeyOrBelow(section, full);
      continue;
    }
    if (!inKey || IsIgnoredLine(line)) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = TrimBlanks(line.substr(0, equals));
    bool known = false;
    for (const Value& value : values) known = known || SameTextAscii(value.name, name);
    if (!known) values.push_back(Value{std::string(name), std::string(TrimBlanks(line.substr(equals + 1)))});
  }
  if (!found) return false;

  open_ = true;
  currentPath_ = std::string(StripBackslashes(TrimBlanks(key)));
  values_ = std::move(values);
  return true;
}

void TRegistry::CloseKey() {
  open_ = false;
  currentPath_.clear();
  values_.clear();
}

bool TRegistry::KeyExists(std::string_view key) const {
  std::string bytes;
  if (!ReadFileBytes(FilePath(), bytes)) return false;
  const std::string text = DecodeTextFile(bytes);
  const std::string full = FullKeyPath(root_, key);
  for (std::string_view line : SplitLines(text)) {
    std::string_view section;
    if (SectionName(line, section) && IsKeyOrBelow(section, full)) return true;
  }
  return false;
}

const TRegistry::Value* TRegistry::Find(std::string_view name) const {
  const std::string_view wanted = TrimBlanks(name);
  for (const Value& value : values_)
    if (SameTextAscii(value.name, wanted)) return &value;
  return nullptr;
}

bool TRegistry::ValueExists(std::string_view name) const { return Find(name) != nullptr; }

std::string TRegistry::ReadString(std::string_view name) const {
  const Value* value = Find(name);
  return value ? value->text : std::string();
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  names.reserve(values_.size());
  for (const Value& value : values_) names.push_back(value.name);
  return names;
}

}  // namespace qv

#include "platform/system/IniFile.h"

#include <cstdint>
#include <limits>

#include "platform/core/AsciiText.h"
#include "platform/core/NumberText.h"
#include "platform/system/TextFile.h"

namespace qv {

namespace {

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Parses the whole text as described at ReadInteger.
bool ParseInteger(std::string_view text, int& value) {
  IntegerText parts;
  if (!ParseIntegerText(text, parts)) return false;
  const std::uint64_t limit = parts.Base == 16 ? 0xFFFFFFFFULL : (parts.Negative ? 2147483648ULL : 2147483647ULL);
  if (parts.Magnitude > limit) return false;
  // Hexadecimal digits are a 32-bit pattern; the sign applies afterwards.
  std::uint32_t bits = static_cast<std::uint32_t>(parts.Magnitude);
  if (parts.Negative) bits = 0U - bits;
  value = static_cast<std::int32_t>(bits);
  return true;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
  std::string bytes;
  if (!ReadFileBytes(fileName_, bytes)) return;
  const std::string text = DecodeTextFile(bytes);
  Section* current = nullptr;
  for (std::string_view line : SplitLines(text)) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      line.remove_prefix(1);
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos) line = line.substr(0, close);
      current = &sections_.emplace_back(Section{std::string(TrimBlanks(line)), {}});
      continue;
    }
    if (!current) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    if (key.empty()) continue;
    current->entries.push_back(Entry{std::string(key), std::string(Unquote(TrimBlanks(line.substr(equals + 1))))});
  }
}

const TIniFile::Entry* TIniFile::Find(std::string_view section, std::string_view key) const {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  for (const Section& part : sections_) {
    if (!SameTextAscii(part.name, section)) continue;
    for (const Entry& entry : part.entries)
      if (SameTextAscii(entry.key, key)) return &entry;
  }
  return nullptr;
}

std::vector<const TIniFile::Entry*> TIniFile::Entries(std::string_view section) const {
  section = TrimBlanks(section);
  std::vector<const Entry*> entries;
  for (const Section& part : sections_) {
    if (!SameTextAscii(part.name, section)) continue;
    for (const Entry& entry : part.entries) {
      bool seen = false;
      for (const Entry* earlier : entries) seen = seen || SameTextAscii(earlier->key, entry.key);
      if (!seen) entries.push_back(&entry);
    }
  }
  return entries;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  const Entry* entry = Find(section, key);
  return std::string(entry ? std::string_view(entry->value) : defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const Entry* entry = Find(section, key);
  int value;
  return entry && ParseInteger(entry->value, value) ? value : defaultValue;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(std::string_view section) const {
  section = TrimBlanks(section);
  for (const Section& part : sections_)
    if (!part.entries.empty() && SameTextAscii(part.name, section)) return true;
  return false;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return Find(section, key) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Section& part : sections_) {
    bool seen = false;
    for (const std::string& name : names) seen = seen || SameTextAscii(name, part.name);
    if (!seen) names.push_back(part.name);
  }
  return names;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  for (const Entry* entry : Entries(section)) keys.push_back(entry->key);
  return keys;
}

std::vector<std::string> TIniFile::ReadSectionValues(std::string_view section) const {
  std::vector<std::string> lines;
  for (const Entry* entry : Entries(section)) lines.push_back(entry->key + "=" + entry->value);
  return lines;
}

}  // namespace qv

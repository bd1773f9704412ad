#include "platform/IniFile.h"

#include <cstdint>
#include <limits>

#include "platform/AsciiText.h"
#include "platform/TextFile.h"

namespace qv {

namespace {

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Parses the whole text as described at ReadInteger.
bool ParseInteger(std::string_view text, int& value) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFULL
                                         : (negative ? 2147483648ULL : 2147483647ULL);
  std::uint64_t magnitude = 0;
  for (char c : text) {
    const int digit = DigitValue(c);
    if (digit < 0 || digit >= base) return false;
    magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (magnitude > limit) return false;
  }
  // Hexadecimal digits are a 32-bit pattern; the sign applies afterwards.
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0U - bits;
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

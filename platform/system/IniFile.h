#pragma once
// INI files with the platform's profile semantics, read once when the object
// is created (each use creates, reads and drops one, so it sees the current
// file).
//
// - The file is read as UTF-8 (a BOM is tolerated); a file that is not valid
//   UTF-8 is decoded as GBK (code page 936). LF and CRLF lines both work. A
//   missing or unreadable file behaves as an empty file; nothing throws.
// - Section and key names are trimmed and compare without regard to ASCII
//   case. Values are trimmed of surrounding blanks and tabs, then one pair of
//   matching surrounding quotes (" or ') is removed.
// - A line whose first non-blank character is "[" starts a section named up
//   to the last "]" of the line. A "[" line without any "]" names the section
//   up to the end of the line (the choice made here: such a line still
//   starts a section rather than being dropped or read as a key).
// - Lines whose first non-blank character is ";" are comments. Lines without
//   "=", lines with an empty key name and lines before the first section are
//   ignored.
// - The first occurrence of a key in a section wins. A section name that
//   occurs twice is one section: both parts are searched in file order.

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class TIniFile {
 public:
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  // The value, or defaultValue when the key is missing (a key with an empty
  // value gives "").
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The value as a decimal number with optional sign, or a hexadecimal one
  // with a "$" or "0x" prefix (optionally signed; up to 8 hexadecimal
  // digits, taken as a 32-bit pattern, so "$FFFFFFFF" is -1). The default
  // when the key is missing or its value is not such a number in full or
  // does not fit in an int.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // ReadInteger(section, key, defaultValue ? 1 : 0) != 0, as the platform does.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // True when the section has at least one key. As on the platform, a
  // section without keys does not count as existing.
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  // The names of all sections, each once, in file order.
  std::vector<std::string> ReadSections() const;
  // The keys of the section, each once as first written, in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // "key=value" for each key of ReadSection, with the value that ReadString
  // gives, in file order.
  std::vector<std::string> ReadSectionValues(std::string_view section) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  // The entry of the key's first occurrence, or nullptr.
  const Entry* Find(std::string_view section, std::string_view key) const;
  // Each distinct key of the section once (first occurrence), in file order.
  std::vector<const Entry*> Entries(std::string_view section) const;

  std::string fileName_;
  std::vector<Section> sections_;
};

}  // namespace qv

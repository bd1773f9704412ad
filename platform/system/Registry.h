#pragma once
// The registry stand-in: a text file of sections named by full key path,
//
//   [HKEY_LOCAL_MACHINE\Software\QVX\Orvane]
//   ClientPath=/opt/qvx/client/
//   ProfileType=0
//
// read at each OpenKeyReadOnly and KeyExists, so a changed file (or a changed
// QVX_REGISTRY_FILE) is seen by the next open. A missing or unreadable file is
// a key that cannot be opened.
//
// File format: UTF-8 (a BOM is tolerated; a file that is not valid UTF-8 is
// read as GBK, as INI files are), LF or CRLF lines. A line whose first
// non-blank character is "[" starts a section; the key path runs to the last
// "]" of the line (to the end of the line when there is none) and is trimmed.
// "Name=Text" lines give values: the name is what comes before the first "=",
// the text everything after it; spaces and tabs around both are ignored, as
// someone editing the file expects ("ClientPath = /x" is the folder "/x").
// Blank lines, lines that start with ";" or "#" and other lines without "="
// are ignored. When a key's section occurs more than once, its parts are read
// in file order and the first occurrence of a value name wins.
//
// Key paths and value names compare without regard to ASCII case. An opened
// path is always taken from the root: leading and trailing "\" are ignored.
// A key exists when a section names it or a key below it (as parent keys
// exist in the real registry); such a parent opens with no values.

#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users };

// The section prefix of a root: "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
// "HKEY_LOCAL_MACHINE" or "HKEY_USERS".
std::string_view RootKeyName(RootKey root);

class TRegistry {
 public:
  explicit TRegistry(RootKey root = RootKey::LocalMachine);

  RootKey Root() const { return root_; }
  // Changes the root; closes the open key.
  void SetRoot(RootKey root);

  // Opens the key for reading and takes a snapshot of its values. False
  // when the file or the key is missing; the previously open key (if any)
  // then stays open.
  bool OpenKeyReadOnly(std::string_view key);
  void CloseKey();
  bool IsOpen() const { return open_; }
  // The path of the open key as it was given (without leading "\").
  const std::string& CurrentPath() const { return currentPath_; }

  // True when the key exists under this object's root (the open key is not
  // changed).
  bool KeyExists(std::string_view key) const;

  // The values of the open key; on a closed key false, "" and no names.
  bool ValueExists(std::string_view name) const;
  std::string ReadString(std::string_view name) const;  // "" when missing
  std::vector<std::string> GetValueNames() const;        // file order

  // QVX_REGISTRY_FILE when set and not empty, else "/etc/qvx/registry".
  static std::string FilePath();

 private:
  struct Value {
    std::string name;
    std::string text;
  };
  const Value* Find(std::string_view name) const;

  RootKey root_;
  bool open_ = false;
  std::string currentPath_;
  std::vector<Value> values_;
};

}  // namespace qv

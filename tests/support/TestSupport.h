#pragma once
// Small helpers shared by the tests: temporary folders, environment
// overrides and whole-file reads and writes.

#include <string>
#include <optional>

namespace qv::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away. Path() ends without a separator.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path of a file or folder inside, joined with "/".
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Sets (or with nullopt unsets) an environment variable for the lifetime of
// the object and restores the previous state afterwards.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool PathExists(const std::string& path);

}  // namespace qv::test

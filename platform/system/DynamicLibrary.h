#pragma once
// Libraries loaded by file name, with functions resolved by name, as the
// system loads its translator, download and server-module libraries. The
// platform's ".dll" names become ".so" names with the same base name
// ("Qvlanguage.so", "PQLR52S.so").
//
// A file name without "/" is searched as the platform searched it: first
// in the executable's folder, then in the folder of the module that holds
// the platform code (the plug-in), and only then by the system's dlopen
// search (LD_LIBRARY_PATH, run paths, the loader cache). The current
// directory is not searched unless the system search does so.

#include <string>
#include <string_view>

namespace qv {

// True when the file name ends with ".so", in any letter case.
bool IsLibraryModule(std::string_view fileName);

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

  // Loads the library (dlopen with RTLD_NOW | RTLD_LOCAL), unloading the one
  // loaded before. False on failure, with the reason in LastError().
  bool Load(const std::string& fileName);
  void Unload();
  bool IsLoaded() const { return handle_ != nullptr; }

  // The path the library was loaded from ("" when none is loaded).
  const std::string& FileName() const { return fileName_; }
  // Why the last Load failed ("" after a successful one).
  const std::string& LastError() const { return lastError_; }

  // The address of an exported symbol, nullptr when missing or not loaded.
  void* Symbol(const char* name) const;
  // An exported function of the given type, e.g. Function<int(int, int)>("Add").
  template <class F>
  F* Function(const char* name) const {
    return reinterpret_cast<F*>(Symbol(name));
  }

 private:
  void* handle_ = nullptr;
  std::string fileName_;
  std::string lastError_;
};

}  // namespace qv

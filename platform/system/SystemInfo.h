#pragma once
// What the system asks of the operating system: the temporary folder, the
// computer and user names, the files of the executable and of loaded
// modules, the system code page, and the path helpers used all over the
// system. Paths use "/"; folder names handed out end with "/".

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// $TMPDIR when it names an existing folder, else "/tmp", resolved to its
// canonical form (symbolic links, "." and ".." resolved), with a trailing
// "/". "" when that text is longer than maxLength bytes.
std::string GetTempFolder(std::size_t maxLength = 260);

// The host name, cut to at most 15 characters.
std::string GetComputerNameText();
// The login user's name (the account of the effective user id, else
// $USER), cut to at most 31 characters.
std::string GetUserNameText();

// The full canonical path of the running executable ("" when unknown).
std::string ExecutableFileName();
// Its folder, with a trailing "/".
std::string ExecutableFolder();

// The full canonical path of the shared object, or of the executable, that
// contains the address; "" when no loaded module contains it.
std::string ModuleFileName(const void* addressInModule);
// ModuleFileName of the module that holds the platform code itself: the
// plug-in library when the platform is linked into it, else the executable.
std::string ThisModuleFileName();

// The system code page from the locale environment: the first non-empty of
// LC_ALL, LC_CTYPE and LANG, mapped by CodePageOfLocaleName.
int SystemCodePage();
// The code page of a locale name such as "zh_CN.UTF-8" or "zh_TW.Big5":
// zh_CN and zh_SG give 936, zh_TW, zh_HK and zh_MO give 950, anything else
// (including "C", "POSIX" and "") gives 437. The language tag is the part
// before any "." or "@"; it compares without regard to ASCII case and may
// use "-" instead of "_".
int CodePageOfLocaleName(std::string_view localeName);

// The path with a "/" appended when it does not end with one ("" gives "/").
std::string IncludeTrailingPathDelimiter(std::string path);
// True when the path names an existing file that is not a folder (links
// followed).
bool FileExists(const std::string& path);
// True when the path names an existing folder (links followed).
bool DirectoryExists(const std::string& path);
// Creates the folder and any missing parents. True when the folder exists
// afterwards; false on failure or an empty path; never throws.
bool ForceDirectories(const std::string& path);
// The part of the path up to and including the last "/" ("" when none).
std::string ExtractFilePath(const std::string& path);
// The part of the path after the last "/" (all of it when none).
std::string ExtractFileName(const std::string& path);

}  // namespace qv

#pragma once
// Reading the platform's small text files (INI files, the registry file):
// whole-file reads, the encoding rule and line splitting.

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Reads the whole file. False when it is missing, not a regular file or
// cannot be read; never throws.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// The UTF-8 text of a configuration file's bytes: with a UTF-8 byte order
// mark, the rest as UTF-8 (ill-formed bytes become U+FFFD); without one, the
// bytes as they are when they are valid UTF-8, otherwise decoded as GBK
// (code page 936, ill-formed bytes become U+FFFD).
std::string DecodeTextFile(std::string_view bytes);

// The lines of a text, split at LF; a CR before the LF (and at the end of
// the last line) is removed. A final LF does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace qv

#include "Qvlanguage.h"

#include <errno.h>
#include <iconv.h>
#include <opencc.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

constexpr char kPlaceholder = '?';

// Raised inside the library when a conversion cannot run at all; the entries
// turn it into QVLANGUAGE_FAILED.
struct ConversionUnavailable {};

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw ConversionUnavailable{};
  }
  ~IconvHandle() { iconv_close(handle_); }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  iconv_t Get() const { return handle_; }

 private:
  iconv_t handle_;
};

// The length of the UTF-8 sequence that begins with this byte (1 for a byte
// that cannot begin one, so that a skip always moves forward).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

size_t SkipOneByte(std::string_view) { return 1; }
size_t SkipOneUtf8Character(std::string_view rest) {
  return std::min(Utf8SequenceLength(static_cast<unsigned char>(rest.front())), rest.size());
}

struct Converted {
  std::string text;
  size_t replaced = 0;  // how many places became '?'
};

// Converts the whole input between two charsets. Where iconv rejects the input
// (an invalid or unencodable character, or one cut off at the end), one '?'
// is written and skip(rest) bytes are passed over.
Converted ConvertLeniently(std::string_view input, const char* to, const char* from,
                           size_t (*skip)(std::string_view)) {
  IconvHandle cd(to, from);
  Converted output{std::string(input.size() * 2 + 16, '\0')};
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  size_t written = 0;
  while (inLeft > 0) {
    char* out = output.text.data() + written;
    size_t outLeft = output.text.size() - written;
    const size_t rc = iconv(cd.Get(), &in, &inLeft, &out, &outLeft);
    written = output.text.size() - outLeft;
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG || outLeft == 0) {
      output.text.resize(output.text.size() * 2);
      continue;
    }
    if (errno != EILSEQ && errno != EINVAL) throw ConversionUnavailable{};
    output.text[written++] = kPlaceholder;
    ++output.replaced;
    const size_t passed = skip(std::string_view(in, inLeft));
    in += passed;
    inLeft -= passed;
  }
  output.text.resize(written);
  return output;
}

Converted Decode(std::string_view bytes, const char* charset) {
  return ConvertLeniently(bytes, "UTF-8", charset, SkipOneByte);
}

Converted Encode(std::string_view utf8, const char* charset) {
  return ConvertLeniently(utf8, charset, "UTF-8", SkipOneUtf8Character);
}

// One OpenCC converter per configuration, opened on first use and kept.
class ScriptConverter {
 public:
  explicit ScriptConverter(const char* config) : handle_(opencc_open(config)) {}
  ~ScriptConverter() {
    if (Available()) opencc_close(handle_);
  }
  ScriptConverter(const ScriptConverter&) = delete;
  ScriptConverter& operator=(const ScriptConverter&) = delete;

  // OpenCC stops at a NUL byte, so the text is converted piece by piece
  // between NULs and the NULs are kept.
  std::string Convert(std::string_view utf8) const {
    if (!Available()) throw ConversionUnavailable{};
    std::string result;
    result.reserve(utf8.size() + utf8.size() / 4);
    for (size_t begin = 0; begin <= utf8.size();) {
      const size_t end = std::min(utf8.find('\0', begin), utf8.size());
      result += ConvertPiece(utf8.substr(begin, end - begin));
      if (end < utf8.size()) result += '\0';
      begin = end + 1;
    }
    return result;
  }

 private:
  bool Available() const { return handle_ != reinterpret_cast<opencc_t>(-1); }

  std::string ConvertPiece(std::string_view piece) const {
    if (piece.empty()) return {};
    char* converted = opencc_convert_utf8(handle_, piece.data(), piece.size());
    if (!converted) throw ConversionUnavailable{};
    std::string result(converted);
    opencc_convert_utf8_free(converted);
    return result;
  }

  opencc_t handle_;
};

// The Taiwan tables give traditional characters that Big5 holds, where the
// general traditional tables would often give forms it lacks.
const ScriptConverter& SimplifiedToTraditional() {
  static const ScriptConverter converter("s2tw.json");
  return converter;
}

const ScriptConverter& TraditionalToSimplified() {
  static const ScriptConverter converter("tw2s.json");
  return converter;
}

// Decides, once per distinct character of a text, whether the character is
// better kept as it is: the target code page holds it, but not the form the
// script conversion gives it.
class SourceFormKeeper {
 public:
  SourceFormKeeper(const ScriptConverter& script, const char* targetCharset)
      : script_(script), target_(targetCharset) {}

  bool Keep(std::string_view character) {
    auto [entry, added] = decisions_.try_emplace(std::string(character), false);
    if (added) entry->second = Fits(character) && !Fits(script_.Convert(character));
    return entry->second;
  }

 private:
  bool Fits(std::string_view utf8) const { return Encode(utf8, target_).replaced == 0; }

  const ScriptConverter& script_;
  const char* target_;
  std::unordered_map<std::string, bool> decisions_;
};

// Converts the script of the text, but leaves the characters the keeper picks
// in their source form; the runs between them are converted as usual, so
// phrases elsewhere are still recognised.
std::string ConvertKeepingSourceForms(std::string_view utf8, const ScriptConverter& script,
                                      const char* targetCharset) {
  SourceFormKeeper keeper(script, targetCharset);
  std::string result;
  size_t runStart = 0;
  for (size_t i = 0; i < utf8.size();) {
    const size_t length = SkipOneUtf8Character(utf8.substr(i));
    const std::string_view character = utf8.substr(i, length);
    if (length > 1 && keeper.Keep(character)) {
      result += script.Convert(utf8.substr(runStart, i - runStart));
      result += character;
      runStart = i + length;
    }
    i += length;
  }
  return result + script.Convert(utf8.substr(runStart));
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string Translate(std::string_view source, const char* sourceCharset, const char* targetCharset,
                      const ScriptConverter& script) {
  // ASCII is the same in both code pages and both scripts.
  if (IsAscii(source)) return std::string(source);
  const std::string utf8 = Decode(source, sourceCharset).text;
  Converted result = Encode(script.Convert(utf8), targetCharset);
  // The slower second pass only runs for text the target could not hold.
  if (result.replaced > 0) result = Encode(ConvertKeepingSourceForms(utf8, script, targetCharset), targetCharset);
  return std::move(result.text);
}

// The shared body of both entries: nothing may escape to a C caller.
template <class Convert>
size_t Entry(const char* source, size_t sourceLength, char* result, size_t resultCapacity,
             Convert convert) noexcept {
  if (sourceLength == 0) return 0;
  if (!source) return QVLANGUAGE_FAILED;
  try {
    const std::string converted = convert(std::string_view(source, sourceLength));
    if (result && converted.size() <= resultCapacity) std::memcpy(result, converted.data(), converted.size());
    return converted.size();
  } catch (...) {
    return QVLANGUAGE_FAILED;
  }
}

}  // namespace

extern "C" {

size_t GBtoBIG5(const char* source, size_t sourceLength, char* result, size_t resultCapacity) {
  return Entry(source, sourceLength, result, resultCapacity, [](std::string_view text) {
    return Translate(text, "CP936", "CP950", SimplifiedToTraditional());
  });
}

size_t BIG5toGB(const char* source, size_t sourceLength, char* result, size_t resultCapacity) {
  return Entry(source, sourceLength, result, resultCapacity, [](std::string_view text) {
    return Translate(text, "CP950", "CP936", TraditionalToSimplified());
  });
}

}  // extern "C"

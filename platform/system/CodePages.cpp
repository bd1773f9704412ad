#include "platform/system/CodePages.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/system/DoubleByteDecoder.h"

namespace qv {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// True when no byte has its high bit set; eight bytes at a time.
bool IsAscii(std::string_view text) {
  const char* p = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, sizeof word);
    if (word & 0x8080808080808080ULL) return false;
  }
  for (; i < n; ++i)
    if (static_cast<unsigned char>(p[i]) & 0x80) return false;
  return true;
}

// Looks at the UTF-8 sequence that starts at p (n > 0 bytes available).
// Returns its length when it is well-formed, otherwise minus the length of
// its maximal ill-formed subpart (at least 1), so that a lenient decoder can
// replace that subpart by one U+FFFD as Unicode recommends.
int Utf8Step(const unsigned char* p, std::size_t n) {
  const unsigned lead = p[0];
  if (lead < 0x80) return 1;
  int length;
  unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;        // no overlong forms
    else if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;        // no overlong forms
    else if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return -1;
  }
  for (int i = 1; i < length; ++i) {
    if (static_cast<std::size_t>(i) >= n) return -i;
    const unsigned byte = p[i];
    if (byte < low || byte > high) return -i;
    low = 0x80;
    high = 0xBF;
  }
  return length;
}

void AppendLenientUtf8(std::string_view bytes, std::string& out) {
  out.reserve(out.size() + bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    std::size_t start = i;
    int step;
    while (i < n && (step = Utf8Step(p + i, n - i)) > 0) i += static_cast<std::size_t>(step);
    out.append(bytes.data() + start, i - start);
    if (i < n) {
      out.append(kReplacementCharacter);
      i += static_cast<std::size_t>(-Utf8Step(p + i, n - i));
    }
  }
}

// The iconv descriptors of this thread, one per code page and direction.
// Descriptors of unknown code pages are remembered as kNoConverter, so a
// repeated failure costs no iconv_open.
class ConverterCache {
 public:
  ConverterCache() = default;
  ConverterCache(const ConverterCache&) = delete;
  ConverterCache& operator=(const ConverterCache&) = delete;
  ~ConverterCache() {
    for (std::size_t i = 0; i < count_; ++i) Close(entries_[i].cd);
  }

  // The descriptor converting from the code page to UTF-8 (toUtf8) or the
  // other way; kNoConverter when iconv does not know the code page.
  iconv_t Get(int codePage, bool toUtf8) {
    for (std::size_t i = 0; i < count_; ++i)
      if (entries_[i].codePage == codePage && entries_[i].toUtf8 == toUtf8) return entries_[i].cd;
    const std::string charset = CodePageCharsetName(codePage);
    iconv_t cd = toUtf8 ? iconv_open("UTF-8", charset.c_str()) : iconv_open(charset.c_str(), "UTF-8");
    Entry* slot;
    if (count_ < entries_.size()) {
      slot = &entries_[count_++];
    } else {
      slot = &entries_[nextVictim_];
      nextVictim_ = (nextVictim_ + 1) % entries_.size();
      Close(slot->cd);
    }
    *slot = Entry{codePage, toUtf8, cd};
    return cd;
  }

 private:
  struct Entry {
    int codePage = 0;
    bool toUtf8 = false;
    iconv_t cd = kNoConverter;
  };

  static void Close(iconv_t cd) {
    if (cd != kNoConverter) iconv_close(cd);
  }

  std::array<Entry, 8> entries_{};
  std::size_t count_ = 0;
  std::size_t nextVictim_ = 0;
};

iconv_t Converter(int codePage, bool toUtf8) {
  thread_local ConverterCache cache;
  return cache.Get(codePage, toUtf8);
}

// What to do with input that iconv stops at (EILSEQ or EINVAL): skip that
// many input bytes and write the replacement; skip 0 makes the call fail.
struct InvalidInput {
  std::size_t skip;
  std::string_view replacement;
};

// Converts all of input through cd into out (replacing its contents),
// starting with room for sizeGuess bytes and growing as needed. A stateful
// target gets its closing shift sequence written; stateless code pages
// (statefulTarget false) save that call.
template <class OnInvalid>
bool RunIconv(iconv_t cd, std::string_view input, std::string& out, std::size_t sizeGuess,
              bool statefulTarget, OnInvalid onInvalid) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  out.resize(sizeGuess);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  std::size_t used = 0;
  auto grow = [&](std::size_t atLeast) {
    out.resize(out.size() + std::max(atLeast, out.size() / 2) + 16);
  };
  bool flushing = false;
  for (;;) {
    char* outPtr = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t result = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                        : iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    used = static_cast<std::size_t>(outPtr - out.data());
    if (result != static_cast<std::size_t>(-1)) {
      if (flushing || !statefulTarget) {
        out.resize(used);
        return true;
      }
      flushing = true;  // write the closing shift sequence
      continue;
    }
    if (errno == E2BIG) {
      grow(inLeft * 4);
    } else if (!flushing && (errno == EILSEQ || errno == EINVAL) && inLeft > 0) {
      const InvalidInput what = onInvalid(std::string_view(in, inLeft));
      if (what.skip == 0 || what.skip > inLeft) break;
      in += what.skip;
      inLeft -= what.skip;
      if (out.size() - used < what.replacement.size()) grow(what.replacement.size() + inLeft * 4);
      std::memcpy(out.data() + used, what.replacement.data(), what.replacement.size());
      used += what.replacement.size();
    } else {
      break;
    }
  }
  out.resize(used);
  return false;
}

// Decoding needs at most 1.5 bytes of UTF-8 per byte of a double-byte code
// page; single-byte code pages with many high characters grow the buffer.
std::size_t DecodeGuess(std::size_t n) { return n + n / 2 + 16; }
std::size_t EncodeGuess(std::size_t n) { return n + 16; }

}  // namespace

int ProgramCodePage() { return CP_UTF8; }

std::string CodePageCharsetName(int codePage) {
  switch (codePage) {
    case CP_UTF8: return "UTF-8";
    case 54936: return "GB18030";
    case 20127: return "ASCII";
    default: break;
  }
  if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

bool IsAsciiCompatibleCodePage(int codePage) {
  switch (codePage) {
    case 936:
    case 950:
    case 437:
    case 1252:
    case CP_UTF8:
    case 54936:
    case 20127:
      return true;
    default:
      return codePage >= 28591 && codePage <= 28599;
  }
}

bool IsValidUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      // Skip ASCII runs a word at a time.
      while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & 0x8080808080808080ULL) break;
        i += 8;
      }
      while (i < n && p[i] < 0x80) ++i;
      continue;
    }
    const int step = Utf8Step(p + i, n - i);
    if (step < 0) return false;
    i += static_cast<std::size_t>(step);
  }
  return true;
}

namespace {

// The decoding table of a double-byte code page (936, 950), built on first
// use; nullptr for other code pages or when iconv does not know the page.
const DoubleByteDecoder* DoubleByteTable(int codePage) {
  static const auto make = [](int page) {
    auto decoder = std::make_unique<DoubleByteDecoder>(CodePageCharsetName(page).c_str());
    return decoder->IsUsable() ? std::move(decoder) : nullptr;
  };
  switch (codePage) {
    case 936: {
      static const std::unique_ptr<DoubleByteDecoder> gbk = make(936);
      return gbk.get();
    }
    case 950: {
      static const std::unique_ptr<DoubleByteDecoder> big5 = make(950);
      return big5.get();
    }
    default: return nullptr;
  }
}

}  // namespace

bool TryDecodeCodePage(std::string_view bytes, int codePage, std::string& utf8) {
  if (const DoubleByteDecoder* table = DoubleByteTable(codePage)) return table->Decode(bytes, utf8);
  if (IsAsciiCompatibleCodePage(codePage) && IsAscii(bytes)) {
    utf8.assign(bytes);
    return true;
  }
  if (codePage == CP_UTF8) {
    if (!IsValidUtf8(bytes)) return false;
    utf8.assign(bytes);
    return true;
  }
  iconv_t cd = Converter(codePage, true);
  if (cd == kNoConverter) return false;
  return RunIconv(cd, bytes, utf8, DecodeGuess(bytes.size()), false,
                  [](std::string_view) { return InvalidInput{0, {}}; });
}

bool TryEncodeCodePage(std::string_view utf8, int codePage, std::string& bytes) {
  const bool asciiCompatible = IsAsciiCompatibleCodePage(codePage);
  if (asciiCompatible && IsAscii(utf8)) {
    bytes.assign(utf8);
    return true;
  }
  if (codePage == CP_UTF8) {
    if (!IsValidUtf8(utf8)) return false;
    bytes.assign(utf8);
    return true;
  }
  iconv_t cd = Converter(codePage, false);
  if (cd == kNoConverter) return false;
  // iconv stops at ill-formed UTF-8 (glibc rejects overlong forms,
  // surrogates and values above U+10FFFF, as IsValidUtf8 does) and at a
  // well-formed character that the code page cannot hold: the first fails,
  // the second becomes '?'. So the input is checked only where iconv stops.
  return RunIconv(cd, utf8, bytes, EncodeGuess(utf8.size()), !asciiCompatible,
                  [](std::string_view rest) {
                    const int step =
                        Utf8Step(reinterpret_cast<const unsigned char*>(rest.data()), rest.size());
                    return InvalidInput{step > 0 ? static_cast<std::size_t>(step) : 0, "?"};
                  });
}

std::string DecodeLenient(std::string_view bytes, int codePage) {
  std::string utf8;
  if (IsAsciiCompatibleCodePage(codePage) && IsAscii(bytes)) {
    utf8.assign(bytes);
    return utf8;
  }
  iconv_t cd = codePage == CP_UTF8 ? kNoConverter : Converter(codePage, true);
  if (cd == kNoConverter) {
    AppendLenientUtf8(bytes, utf8);
    return utf8;
  }
  RunIconv(cd, bytes, utf8, DecodeGuess(bytes.size()), false, [](std::string_view) {
    return InvalidInput{1, kReplacementCharacter};
  });
  return utf8;
}

}  // namespace qv

#include "platform/system/DoubleByteDecoder.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace qv {

namespace {

enum class Outcome { Decoded, Incomplete, Invalid };

// Asks iconv for the character of one byte sequence.
Outcome DecodeOne(iconv_t cd, const char* input, std::size_t length, std::uint8_t& outLength, char* out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input);
  std::size_t inLeft = length;
  char buffer[16];
  char* o = buffer;
  std::size_t outLeft = sizeof buffer;
  if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1))
    return errno == EINVAL ? Outcome::Incomplete : Outcome::Invalid;
  const std::size_t written = sizeof buffer - outLeft;
  if (inLeft != 0 || written == 0 || written > 7) return Outcome::Invalid;
  outLength = static_cast<std::uint8_t>(written);
  for (std::size_t i = 0; i < written; ++i) out[i] = buffer[i];
  return Outcome::Decoded;
}

}  // namespace

DoubleByteDecoder::DoubleByteDecoder(const char* charset) {
  leadRow_.fill(-1);
  iconv_t cd = iconv_open("UTF-8", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char lead = static_cast<char>(b);
    Character& single = single_[static_cast<std::size_t>(b - 0x80)];
    if (DecodeOne(cd, &lead, 1, single.length, single.utf8) != Outcome::Incomplete) continue;
    leadRow_[static_cast<std::size_t>(b - 0x80)] = static_cast<std::int16_t>(pairs_.size());
    TrailTable& row = pairs_.emplace_back();
    for (int t = 0; t <= 0xFF; ++t) {
      const char pair[2] = {lead, static_cast<char>(t)};
      DecodeOne(cd, pair, 2, row[static_cast<std::size_t>(t)].length, row[static_cast<std::size_t>(t)].utf8);
    }
  }
  iconv_close(cd);
  usable_ = true;
}

bool DoubleByteDecoder::Decode(std::string_view bytes, std::string& utf8) const {
  // Written through a cursor. Two bytes of a pair give at most three of
  // UTF-8, so half as much again is nearly always room enough; the rare
  // single byte that widens more makes the buffer grow.
  const std::size_t n = bytes.size();
  utf8.resize(n + n / 2 + 2 * sizeof(Character));
  char* out = utf8.data();
  char* end = utf8.data() + utf8.size();
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i < n;) {
    if (end - out < static_cast<std::ptrdiff_t>(sizeof(Character))) {
      const std::size_t used = static_cast<std::size_t>(out - utf8.data());
      utf8.resize(utf8.size() + (n - i) * 3 + sizeof(Character));
      out = utf8.data() + used;
      end = utf8.data() + utf8.size();
    }
    if (in[i] < 0x80) {
      *out++ = static_cast<char>(in[i++]);
      continue;
    }
    const std::size_t high = in[i] - 0x80u;
    const Character* character = &single_[high];
    std::size_t used = 1;
    if (leadRow_[high] >= 0) {
      if (i + 1 == n) return false;
      character = &pairs_[static_cast<std::size_t>(leadRow_[high])][in[i + 1]];
      used = 2;
    }
    if (character->length == 0) return false;
    std::memcpy(out, character->utf8, sizeof character->utf8);
    out += character->length;
    i += used;
  }
  utf8.resize(static_cast<std::size_t>(out - utf8.data()));
  return true;
}

}  // namespace qv

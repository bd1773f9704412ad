#pragma once
// A decoding table for a double-byte code page (936, 950), built once from
// iconv, so iconv stays the authority on the mapping while each text is
// decoded by table lookups instead of iconv's two-step conversion. Requests
// carry thousands of short texts; this keeps their conversion cheap.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class DoubleByteDecoder {
 public:
  // Decodes into UTF-8; false at the first byte sequence the code page does
  // not define, exactly where iconv would stop.
  bool Decode(std::string_view bytes, std::string& utf8) const;

  // Builds the table of an iconv character set; not usable when iconv does
  // not know it.
  explicit DoubleByteDecoder(const char* charset);
  bool IsUsable() const { return usable_; }

 private:
  struct Character {
    std::uint8_t length = 0;  // 0: not defined by the code page
    char utf8[7] = {};
  };
  using TrailTable = std::array<Character, 256>;

  std::array<Character, 128> single_{};     // bytes 0x80..0xFF on their own
  std::array<std::int16_t, 128> leadRow_{};  // row in pairs_ of a lead byte, or -1
  std::vector<TrailTable> pairs_;
  bool usable_ = false;
};

}  // namespace qv

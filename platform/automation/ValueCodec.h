#pragma once
// A compact binary form of value trees, used by the middleware to carry
// requests and answers between processes. Its byte layout is part of the
// wire protocol described in Middleware.md.
//
// Decoding never trusts its input: nesting depth, element counts and text
// lengths are checked against the bytes that are actually there, and any
// malformed input raises EVariantError("Malformed value: ...").

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Variant.h"

namespace qv {

// Tag bytes of the encoding, one per value.
enum class ValueTag : std::uint8_t {
  Empty = 0x00,
  Null = 0x01,
  Integer = 0x02,   // int64, little-endian
  Real = 0x03,      // IEEE double, little-endian
  Date = 0x04,      // IEEE double (days since 1899-12-30), little-endian
  Boolean = 0x05,   // one byte, 0 or 1
  String = 0x06,    // narrow text: uint32 length, bytes
  UString = 0x07,   // Unicode text: uint32 length, UTF-8 bytes
  Array = 0x09,     // uint8 dims (1 or 2), int32 low/high per dim, elements
};

// Arrays nested deeper than this are refused both ways.
inline constexpr int kMaxValueDepth = 64;

// Appends the encoding of value to out. Raises EVariantError for automation
// objects (they cannot leave the process), for dates that are not valid
// (IsValidDateTime) and for nesting beyond the limit.
void EncodeValue(const Variant& value, std::string& out);

// Decodes exactly one value filling all of bytes.
Variant DecodeValue(std::string_view bytes);
// Decodes one value starting at position and advances position past it.
Variant DecodeValue(std::string_view bytes, std::size_t& position);

}  // namespace qv

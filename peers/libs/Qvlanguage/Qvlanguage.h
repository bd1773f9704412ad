#pragma once
// Qvlanguage.so converts text between simplified Chinese in code page 936
// (GBK) and traditional Chinese in code page 950 (Big5). Programs load it by
// file name and look the two entries up by name; both have C linkage.
//
// size_t GBtoBIG5(source, sourceLength, result, resultCapacity)
// size_t BIG5toGB(source, sourceLength, result, resultCapacity)
//
//   source          sourceLength bytes of 8-bit text: code page 936 for
//                   GBtoBIG5, code page 950 for BIG5toGB. It is not read past
//                   sourceLength; NUL bytes are ordinary characters. May be
//                   NULL when sourceLength is 0.
//   result          a buffer of resultCapacity bytes that the caller owns.
//                   The converted text (8-bit, in the other code page, not
//                   NUL-terminated) is written there only when it fits; the
//                   buffer is left untouched otherwise. May be NULL when
//                   resultCapacity is 0.
//   returns         the length the whole result needs. When it exceeds
//                   resultCapacity, call again with a buffer of that length.
//                   QVLANGUAGE_FAILED when nothing can be converted on this
//                   machine (the conversion tables or code pages are missing,
//                   or memory ran out); source NULL with a length is also
//                   QVLANGUAGE_FAILED.
//
// How the text is converted: the source is decoded from its code page, the
// script is converted with the Taiwan-standard tables (simplified to
// traditional for GBtoBIG5, traditional to simplified for BIG5toGB, character
// by character and for common phrases), and the result is encoded in the
// other code page. ASCII is passed through unchanged. An empty source gives
// an empty result (0).
//
// Text that cannot be carried over never stops the conversion; each such
// place becomes one '?' and the rest of the text is converted:
//   - a source byte that does not begin a valid character of the source code
//     page becomes '?' and the next byte is read as the start of a character
//     (so a lead byte followed by ASCII keeps the ASCII), and a character cut
//     off at the end of the source becomes '?';
//   - a character that the target code page cannot hold, even in the form the
//     script conversion gave it, becomes '?'.
// The result can therefore be shorter than the source, never cut off.
//
// Both entries may be called from several threads at once. The conversion
// tables are loaded on first use and kept until the library is unloaded.

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVLANGUAGE_FAILED ((size_t)-1)

#define QVLANGUAGE_EXPORT __attribute__((visibility("default")))

QVLANGUAGE_EXPORT size_t GBtoBIG5(const char* source, size_t sourceLength, char* result,
                                  size_t resultCapacity);
QVLANGUAGE_EXPORT size_t BIG5toGB(const char* source, size_t sourceLength, char* result,
                                  size_t resultCapacity);

#ifdef __cplusplus
}  // extern "C"
#endif

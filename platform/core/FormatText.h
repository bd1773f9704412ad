#pragma once
// Format: fills a pattern's directives with values, the platform's way. The
// pattern may come from outside (message templates of the host), so every
// directive is checked against its argument: a malformed directive, an
// argument of the wrong kind or a missing argument raises EConvertError,
// never reads past the arguments.
//
// A directive is "%" [index ":"] ["-"] [width] ["." precision] type, where
// index, width and precision are decimal numbers or "*" (taken from the next
// argument, an integer). The index (from 0) chooses the argument; following
// directives go on from there. Widths pad with blanks on the left, or on the
// right after "-"; widths and text precisions count characters (code points).
// Types, in either case:
//   s  text: any text, number, date or Boolean value, and the empty value
//      (""); the precision is the maximum length.
//   d  decimal integer; u  the integer's 64-bit pattern as unsigned;
//   x  upper-case hexadecimal of that pattern. The precision is the minimum
//      number of digits. Integers and texts holding a whole number qualify.
//   e  scientific, "-d.dddE+ddd", precision = significant digits (15);
//   f  fixed, precision = decimals (2);  g  general, shortest of the two,
//   precision = significant digits (15);  n  fixed with thousands
//   separators (2);  m  money: as n (the platform keeps no currency symbol).
//      Integers, reals and texts holding a number qualify; real precisions
//      are limited to 18 digits.
//   %  (as "%%") a percent sign.

#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace qv {

std::string Format(const std::string& pattern, const std::vector<Variant>& args);

}  // namespace qv

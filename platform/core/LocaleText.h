#pragma once
// Text the user reads and types (captions, list items, rows), compared and
// upper-cased in the user's locale. Names the program itself uses (controls,
// properties, members, keys of files) compare in ASCII instead (AsciiText.h).
//
// The locale's rules come from ICU, which qv_system owns; core may not depend
// on it, yet core's string lists sort and find by these rules. So core holds
// the interface with an ASCII stand-in, and qv_system puts its ICU rules in
// force when it is loaded: a seam of one pointer, no parameter threaded
// through every list. Only a program on core alone sees the stand-in.

#include <string>
#include <string_view>

namespace qv {

class TLocaleTextRules {
 public:
  virtual ~TLocaleTextRules() = default;
  // Negative, zero or positive in the collation order, letters that differ
  // only in case being equal.
  virtual int CompareText(std::string_view a, std::string_view b) const = 0;
  // The text with its letters in upper case.
  virtual std::string UpperCase(std::string_view text) const = 0;
};

// The rules in force: the installed ones, else the stand-in (ASCII letters
// folded, other bytes in code point order).
const TLocaleTextRules& LocaleTextRules();
// Puts the rules in force for the whole process; nullptr puts the stand-in
// back. The rules must stay alive while they are in force.
void InstallLocaleTextRules(const TLocaleTextRules* rules);

// The rules in force, applied.
int LocaleCompareText(std::string_view a, std::string_view b);
std::string LocaleUpperCase(std::string_view text);
// True when both texts are equal once upper-cased.
bool LocaleSameText(std::string_view a, std::string_view b);

}  // namespace qv

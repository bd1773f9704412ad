#pragma once
// The text engine behind the masked edit control: parses an edit mask and
// lays texts into and out of the display text the control shows.
//
// A mask reads "mask;save-literals;blank". The second field is "0" when the
// control's Text drops the literals (anything else, or nothing, keeps them);
// the first character of the third field is the blank shown in empty
// positions ("_" when missing). The mask characters:
//   !   blanks are trimmed from the left and texts are laid into the mask
//       from the right (a directive wherever it stands; "\!" for a literal)
//   >   following characters upper case, until "<"
//   <   following characters lower case, until ">"; "<>" ends any conversion
//   \   the next character is a literal ("\;", "\/", "\\")
//   L l letter, required / allowed
//   A a letter or digit, required / allowed
//   C c any character, required / allowed
//   0 9 digit, required / allowed
//   #   digit, "+" or "-", allowed
//   /   the date separator, :  the time separator (read from FormatSettings()
//       when the mask is built; escaped, they stand for themselves)
//   anything else is a literal; an unescaped ";" ends the mask part.
//
// Masks are ASCII-oriented, so the display text is treated per byte: one
// position holds one byte. Letters, digits and case rules are ASCII; other
// bytes are accepted only by "C"/"c", and a UTF-8 literal in the mask
// ("9999年99月") takes as many positions as it has bytes. The blank should be
// a character the mask does not accept, since blanks read as empty.

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class EditMask {
 public:
  explicit EditMask(std::string_view mask);

  // True when the mask has no positions: the control then edits freely.
  bool IsEmpty() const { return slots_.empty(); }
  bool SavesLiterals() const { return savesLiterals_; }
  char BlankChar() const { return blank_; }
  // True for masks with "!": texts are laid in from the right.
  bool FillsFromRight() const { return fillsFromRight_; }
  // Positions (bytes) in the display text.
  int Length() const { return static_cast<int>(slots_.size()); }

  // Positions outside 0..Length()-1 are neither literal nor required,
  // accept nothing and have the literal '\0'.
  bool IsLiteral(int position) const;
  char LiteralAt(int position) const;  // '\0' for an editable position
  bool IsRequired(int position) const;
  // Whether c belongs at the position: a literal position accepts only its
  // own literal.
  bool Accepts(int position, char c) const;
  // c after the case rule in force at an editable position.
  char Transform(int position, char c) const;

  // Literals in place, blanks elsewhere: what an empty control shows.
  std::string EmptyDisplayText() const;
  // Lays a text (as the control's Text gives it) into the mask, one byte per
  // editable position from the left, or from the right for "!" masks. When
  // literals are saved, a text byte equal to the literal at a literal
  // position is consumed there. Spaces become blanks; other bytes get the
  // case rule and are kept even when not accepted, so that Validate reports
  // them instead of losing them. Surplus bytes are dropped.
  std::string DisplayFromText(std::string_view text) const;
  // The control's Text: blanks read as spaces. With literals saved, every
  // position is kept; without, only editable positions, with trailing blanks
  // trimmed (leading ones for "!" masks).
  std::string TextFromDisplay(std::string_view display) const;
  // True when every required position holds an accepted character, every
  // optional one an accepted character, a blank or a space, and every
  // literal its literal. Otherwise false with errorPosition at the first
  // fault (Length() when the display is too long); -1 when valid. A display
  // shorter than the mask reads as blanks at the end.
  bool Validate(std::string_view display, int& errorPosition) const;

 private:
  enum class Kind : unsigned char { Literal, Letter, Alphanumeric, Any, Digit, DigitOrSign };
  enum class Case : unsigned char { Keep, Upper, Lower };
  struct Slot {
    Kind kind;
    bool required;
    Case caseRule;
    char literal;
  };

  void ParseMask(std::string_view mask);
  void ParseFields(std::string_view fields);
  void AddSlot(char maskChar, Case caseRule);
  const Slot* SlotAt(int position) const;
  bool Holds(int position, char c) const;
  void LayInto(std::string_view text, std::string& display) const;
  std::string EditableText(std::string_view display) const;

  std::vector<Slot> slots_;
  bool savesLiterals_ = true;
  bool fillsFromRight_ = false;
  char blank_ = '_';
};

}  // namespace qv

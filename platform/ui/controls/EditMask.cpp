#include "platform/ui/controls/EditMask.h"

#include "platform/core/FormatSettings.h"

namespace qv {

namespace {

// Only ASCII counts: the display text is per byte, and a locale-aware test
// would split UTF-8 sequences.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Index of the first ';' not escaped by '\', or npos.
std::size_t FieldSeparator(std::string_view mask) {
  for (std::size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '\\')
      ++i;
    else if (mask[i] == ';')
      return i;
  }
  return std::string_view::npos;
}

}  // namespace

EditMask::EditMask(std::string_view mask) {
  const std::size_t separator = FieldSeparator(mask);
  ParseMask(mask.substr(0, separator));
  if (separator != std::string_view::npos) ParseFields(mask.substr(separator + 1));
}

void EditMask::ParseMask(std::string_view mask) {
  Case caseRule = Case::Keep;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const char c = mask[i];
    if (c == '!') {
      fillsFromRight_ = true;
    } else if (c == '>') {
      caseRule = Case::Upper;
    } else if (c == '<') {
      const bool ends = i + 1 < mask.size() && mask[i + 1] == '>';
      caseRule = ends ? Case::Keep : Case::Lower;
      if (ends) ++i;
    } else if (c == '\\') {
      if (i + 1 < mask.size()) ++i;  // a trailing '\' stands for itself
      slots_.push_back({Kind::Literal, false, Case::Keep, mask[i]});
    } else {
      AddSlot(c, caseRule);
    }
  }
}

// "save-literals;blank": only "0" drops literals; the blank is one byte.
void EditMask::ParseFields(std::string_view fields) {
  const std::size_t separator = fields.find(';');
  const std::string_view save = fields.substr(0, separator);
  if (!save.empty()) savesLiterals_ = save.front() != '0';
  if (separator != std::string_view::npos && separator + 1 < fields.size())
    blank_ = fields[separator + 1];
}

void EditMask::AddSlot(char maskChar, Case caseRule) {
  switch (maskChar) {
    case 'L': slots_.push_back({Kind::Letter, true, caseRule, '\0'}); return;
    case 'l': slots_.push_back({Kind::Letter, false, caseRule, '\0'}); return;
    case 'A': slots_.push_back({Kind::Alphanumeric, true, caseRule, '\0'}); return;
    case 'a': slots_.push_back({Kind::Alphanumeric, false, caseRule, '\0'}); return;
    case 'C': slots_.push_back({Kind::Any, true, caseRule, '\0'}); return;
    case 'c': slots_.push_back({Kind::Any, false, caseRule, '\0'}); return;
    case '0': slots_.push_back({Kind::Digit, true, caseRule, '\0'}); return;
    case '9': slots_.push_back({Kind::Digit, false, caseRule, '\0'}); return;
    case '#': slots_.push_back({Kind::DigitOrSign, false, caseRule, '\0'}); return;
    case '/': maskChar = FormatSettings().DateSeparator; break;
    case ':': maskChar = FormatSettings().TimeSeparator; break;
    default: break;
  }
  slots_.push_back({Kind::Literal, false, Case::Keep, maskChar});
}

const EditMask::Slot* EditMask::SlotAt(int position) const {
  if (position < 0 || position >= Length()) return nullptr;
  return &slots_[static_cast<std::size_t>(position)];
}

bool EditMask::IsLiteral(int position) const {
  const Slot* slot = SlotAt(position);
  return slot && slot->kind == Kind::Literal;
}

char EditMask::LiteralAt(int position) const {
  const Slot* slot = SlotAt(position);
  return slot ? slot->literal : '\0';
}

bool EditMask::IsRequired(int position) const {
  const Slot* slot = SlotAt(position);
  return slot && slot->required;
}

bool EditMask::Accepts(int position, char c) const {
  const Slot* slot = SlotAt(position);
  if (!slot) return false;
  switch (slot->kind) {
    case Kind::Literal: return c == slot->literal;
    case Kind::Letter: return IsLetter(c);
    case Kind::Alphanumeric: return IsLetter(c) || IsDigit(c);
    case Kind::Any: return true;
    case Kind::Digit: return IsDigit(c);
    case Kind::DigitOrSign: return IsDigit(c) || c == '+' || c == '-';
  }
  return false;
}

char EditMask::Transform(int position, char c) const {
  const Slot* slot = SlotAt(position);
  if (!slot) return c;
  switch (slot->caseRule) {
    case Case::Upper: return Upper(c);
    case Case::Lower: return Lower(c);
    case Case::Keep: break;
  }
  return c;
}

std::string EditMask::EmptyDisplayText() const {
  std::string display;
  display.reserve(slots_.size());
  for (const Slot& slot : slots_) display += slot.kind == Kind::Literal ? slot.literal : blank_;
  return display;
}

std::string EditMask::DisplayFromText(std::string_view text) const {
  std::string display = EmptyDisplayText();
  LayInto(text, display);
  return display;
}

// Walks mask and text together from the left, or both from the right.
void EditMask::LayInto(std::string_view text, std::string& display) const {
  const int length = Length();
  const int textLength = static_cast<int>(text.size());
  int used = 0;
  for (int step = 0; step < length && used < textLength; ++step) {
    const int position = fillsFromRight_ ? length - 1 - step : step;
    const char c = text[static_cast<std::size_t>(fillsFromRight_ ? textLength - 1 - used : used)];
    if (IsLiteral(position)) {
      if (savesLiterals_ && c == LiteralAt(position)) ++used;
      continue;
    }
    display[static_cast<std::size_t>(position)] = c == ' ' ? blank_ : Transform(position, c);
    ++used;
  }
}

std::string EditMask::TextFromDisplay(std::string_view display) const {
  if (!savesLiterals_) return EditableText(display);
  std::string text;
  text.reserve(slots_.size());
  for (int position = 0; position < Length(); ++position) {
    const std::size_t at = static_cast<std::size_t>(position);
    const char c = at < display.size() ? display[at] : blank_;
    text += IsLiteral(position) ? LiteralAt(position) : (c == blank_ ? ' ' : c);
  }
  return text;
}

// The editable bytes with the outer blanks trimmed on the side text is laid
// from; blanks inside read as spaces, as typed spaces stay.
std::string EditMask::EditableText(std::string_view display) const {
  std::string text;
  for (int position = 0; position < Length(); ++position) {
    const std::size_t at = static_cast<std::size_t>(position);
    if (!IsLiteral(position)) text += at < display.size() ? display[at] : blank_;
  }
  if (fillsFromRight_)
    text.erase(0, text.find_first_not_of(blank_));
  else
    text.erase(text.find_last_not_of(blank_) + 1);
  for (char& c : text)
    if (c == blank_) c = ' ';
  return text;
}

bool EditMask::Holds(int position, char c) const {
  if (IsLiteral(position)) return c == LiteralAt(position);
  if (!IsRequired(position) && (c == blank_ || c == ' ')) return true;
  return c != blank_ && Accepts(position, c);
}

bool EditMask::Validate(std::string_view display, int& errorPosition) const {
  for (int position = 0; position < Length(); ++position) {
    const std::size_t at = static_cast<std::size_t>(position);
    if (!Holds(position, at < display.size() ? display[at] : blank_)) {
      errorPosition = position;
      return false;
    }
  }
  errorPosition = display.size() > slots_.size() ? Length() : -1;
  return errorPosition < 0;
}

}  // namespace qv

#include "platform/ui/controls/Edit.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool IsControlCharacter(const std::string& character) {
  return character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x20;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const TEnumType& EditCharCaseType() {
  static const TEnumType type("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
  return type;
}

const TClass& TCustomEdit::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomEdit>("TCustomEdit", &TWinControl::StaticClass());
  return cls;
}

const TClass& TEdit::StaticClass() {
  static const TClass cls =
      PublishEditProperties(ClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClass()))
          .String("Text", &TEdit::Text, &TEdit::SetText)
          .Char("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar)
          .Enumeration("CharCase", EditCharCaseType(), &TEdit::CharCase, &TEdit::SetCharCase)
          .Boolean("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect);
  return cls;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

// ---- UTF-8 ----

int TCustomEdit::CharCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

std::size_t TCustomEdit::ByteOffset(std::string_view text, int charIndex) {
  std::size_t at = 0;
  for (int seen = 0; at < text.size(); ++at) {
    if (!IsContinuationByte(text[at]) && seen++ == charIndex) return at;
  }
  return text.size();
}

int TCustomEdit::DoubleByteLength(std::string_view text) {
  int length = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!IsContinuationByte(text[i])) length += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : 2;
  return length;
}

// ---- text ----

std::string TCustomEdit::ApplyCharCase(const std::string& text) const {
  if (charCase_ == ecNormal) return text;
  std::string converted = text;
  for (char& c : converted) c = charCase_ == ecUpperCase ? UpperAscii(c) : LowerAscii(c);
  return converted;
}

void TCustomEdit::SetText(const std::string& text) {
  modified_ = false;
  SetBuffer(ApplyCharCase(text));
}

void TCustomEdit::SetBuffer(const std::string& text) {
  pendingCaret_.reset();
  TControl::SetText(text);
}

void TCustomEdit::ReplaceBuffer(const std::string& text, int caret) {
  modified_ = true;
  if (text == Buffer()) {
    SetSelection(caret, caret);
    return;
  }
  pendingCaret_ = caret;
  TControl::SetText(text);
  pendingCaret_.reset();
}

void TCustomEdit::TextChanged() {
  const int caret = std::clamp(pendingCaret_.value_or(0), 0, CharCount(Buffer()));
  anchor_ = caret_ = caret;
  Change();
}

void TCustomEdit::Change() {
  if (!HasState(ComponentStateFlag::Designing)) OnChange(this);
}

void TCustomEdit::SetPasswordChar(char passwordChar) {
  if (passwordChar == passwordChar_) return;
  passwordChar_ = passwordChar;
  Changed(ControlChange::Content);
}

void TCustomEdit::SetCharCase(TEditCharCase charCase) {
  if (charCase == charCase_) return;
  charCase_ = charCase;
  const std::string converted = ApplyCharCase(Buffer());
  if (converted != Buffer()) SetBuffer(converted);
}

std::string TCustomEdit::DisplayText() const {
  if (passwordChar_ == '\0') return Buffer();
  return std::string(static_cast<std::size_t>(CharCount(Buffer())), passwordChar_);
}

// ---- caret and selection ----

void TCustomEdit::SetSelection(int anchor, int caret) {
  const int length = CharCount(Buffer());
  anchor = std::clamp(anchor, 0, length);
  caret = std::clamp(caret, 0, length);
  if (anchor == anchor_ && caret == caret_) return;
  anchor_ = anchor;
  caret_ = caret;
  Changed(ControlChange::Content);
}

int TCustomEdit::SelStart() const { return std::min(anchor_, caret_); }
int TCustomEdit::SelLength() const { return std::abs(caret_ - anchor_); }

void TCustomEdit::SetSelStart(int start) { SetSelection(start, start); }

void TCustomEdit::SetSelLength(int length) {
  const int start = SelStart();
  SetSelection(start, start + std::max(length, 0));
}

void TCustomEdit::SelectAll() { SetSelection(0, CharCount(Buffer())); }

std::string TCustomEdit::SelText() const {
  const std::string text = Buffer();
  const std::size_t from = ByteOffset(text, SelStart());
  return text.substr(from, ByteOffset(text, SelStart() + SelLength()) - from);
}

void TCustomEdit::SetSelText(const std::string& text) {
  std::string buffer = Buffer();
  const std::size_t from = ByteOffset(buffer, SelStart());
  buffer.replace(from, ByteOffset(buffer, SelStart() + SelLength()) - from, text);
  ReplaceBuffer(buffer, SelStart() + CharCount(text));
}

void TCustomEdit::MoveCaret(int to, bool extend) { SetSelection(extend ? anchor_ : to, to); }

int TCustomEdit::CaretStop(int from, int direction) const {
  const std::string text = Buffer();
  const int length = CharCount(text);
  int to = std::clamp(from + direction, 0, length);
  // A "\r\n" pair is one line break: the caret never stands between its halves.
  const std::size_t at = ByteOffset(text, to);
  if (to > 0 && to < length && text[at] == '\n' && text[at - 1] == '\r') to += direction;
  return to;
}

// ---- typing ----

void TCustomEdit::KeyPress(std::string& key) {
  TWinControl::KeyPress(key);
  if (!key.empty()) TypeCharacter(key);
}

void TCustomEdit::TypeCharacter(const std::string& character) {
  if (character == "\b") {
    if (!readOnly_) DeleteBackward();
  } else if (!IsControlCharacter(character)) {
    InsertTyped(character);
  }
}

void TCustomEdit::InsertTyped(const std::string& text) {
  if (readOnly_) return;
  const std::string inserted = ApplyCharCase(text);
  if (maxLength_ > 0 &&
      DoubleByteLength(Buffer()) - DoubleByteLength(SelText()) + DoubleByteLength(inserted) > maxLength_)
    return;
  SetSelText(inserted);
}

void TCustomEdit::DeleteRange(int from, int to) {
  std::string buffer = Buffer();
  const std::size_t begin = ByteOffset(buffer, from);
  buffer.erase(begin, ByteOffset(buffer, to) - begin);
  ReplaceBuffer(buffer, from);
}

void TCustomEdit::DeleteBackward() {
  if (SelLength() > 0)
    DeleteRange(SelStart(), SelStart() + SelLength());
  else if (caret_ > 0)
    DeleteRange(CaretStop(caret_, -1), caret_);
}

void TCustomEdit::DeleteForward() {
  if (SelLength() > 0)
    DeleteRange(SelStart(), SelStart() + SelLength());
  else if (caret_ < CharCount(Buffer()))
    DeleteRange(caret_, CaretStop(caret_, +1));
}

void TCustomEdit::KeyDown(Word& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key) EditKeyDown(key, shift);
}

void TCustomEdit::EditKeyDown(Word& key, TShiftState shift) {
  const bool extend = (shift & ssShift) != 0;
  switch (key) {
    case VK_DELETE:
      if (!readOnly_) DeleteForward();
      break;
    case VK_LEFT:
      MoveCaret(SelLength() > 0 && !extend ? SelStart() : CaretStop(caret_, -1), extend);
      break;
    case VK_RIGHT:
      MoveCaret(SelLength() > 0 && !extend ? SelStart() + SelLength() : CaretStop(caret_, +1), extend);
      break;
    case VK_HOME: MoveCaret(0, extend); break;
    case VK_END: MoveCaret(CharCount(Buffer()), extend); break;
    default: break;
  }
}

// Entering by keyboard or by the program selects everything; a click then
// puts the caret where it landed.
void TCustomEdit::DoEnter() {
  if (autoSelect_) SelectAll();
  TWinControl::DoEnter();
}

// The caret goes to the character boundary nearest the click.
void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    const std::string shown = DisplayText();
    int caret = 0, left = 0;
    for (std::size_t i = 0; i < shown.size() && left < x; ++caret) {
      std::size_t next = i + 1;
      while (next < shown.size() && IsContinuationByte(shown[next])) ++next;
      const int width = TextWidthOf(Font(), std::string_view(shown).substr(i, next - i));
      if (left + width / 2 >= x) break;
      left += width;
      i = next;
    }
    SetSelection(caret, caret);
  }
  TWinControl::MouseDown(button, shift, x, y);
}

}  // namespace qv

#include "platform/ui/controls/MaskEdit.h"

#include <algorithm>

#include "platform/core/Exception.h"

namespace qv {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The characters at the editable positions of a display, blanks as spaces.
std::string EditableCharacters(const EditMask& mask, const std::string& display) {
  std::string characters;
  for (int p = 0; p < mask.Length() && p < static_cast<int>(display.size()); ++p) {
    if (mask.IsLiteral(p)) continue;
    const char c = display[static_cast<std::size_t>(p)];
    characters += c == mask.BlankChar() ? ' ' : c;
  }
  return characters;
}

// Lays characters into the editable positions of a mask, left to right.
std::string LayEditable(const EditMask& mask, const std::string& characters) {
  std::string display = mask.EmptyDisplayText();
  std::size_t next = 0;
  for (int p = 0; p < mask.Length() && next < characters.size(); ++p) {
    if (mask.IsLiteral(p)) continue;
    const char c = characters[next++];
    display[static_cast<std::size_t>(p)] = c == ' ' ? mask.BlankChar() : c;
  }
  return display;
}

}  // namespace

const TClass& TCustomMaskEdit::StaticClass() {
  static const TClass cls = ClassBuilder<TCustomMaskEdit>("TCustomMaskEdit", &TCustomEdit::StaticClass());
  return cls;
}

const TClass& TMaskEdit::StaticClass() {
  static const TClass cls =
      PublishEditProperties(ClassBuilder<TMaskEdit>("TMaskEdit", &TCustomMaskEdit::StaticClass()))
          .String("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask)
          .String("Text", &TMaskEdit::Text, &TMaskEdit::SetText)
          .Char("PasswordChar", &TMaskEdit::PasswordChar, &TMaskEdit::SetPasswordChar)
          .Enumeration("CharCase", EditCharCaseType(), &TMaskEdit::CharCase, &TMaskEdit::SetCharCase)
          .Boolean("AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect);
  return cls;
}

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
  if (mask == editMask_) return;
  const bool wasMasked = IsMasked();
  const std::string oldText = GetText();
  const std::string oldCharacters = wasMasked ? EditableCharacters(mask_, Buffer()) : "";
  editMask_ = mask;
  mask_ = qv::EditMask(mask);
  if (!IsMasked())
    SetBuffer(oldText);
  else
    SetBuffer(wasMasked ? LayEditable(mask_, oldCharacters) : mask_.DisplayFromText(oldText));
}

std::string TCustomMaskEdit::GetText() const {
  return IsMasked() ? mask_.TextFromDisplay(Buffer()) : Buffer();
}

void TCustomMaskEdit::SetText(const std::string& text) {
  if (!IsMasked()) return TCustomEdit::SetText(text);
  SetModified(false);
  SetBuffer(mask_.DisplayFromText(text));
}

void TCustomMaskEdit::SetEditText(const std::string& display) {
  if (!IsMasked()) return TCustomEdit::SetText(display);
  std::string laid = mask_.EmptyDisplayText();
  for (int p = 0; p < mask_.Length() && p < static_cast<int>(display.size()); ++p) {
    const char c = display[static_cast<std::size_t>(p)];
    if (!mask_.IsLiteral(p)) laid[static_cast<std::size_t>(p)] = c == ' ' ? mask_.BlankChar() : c;
  }
  SetModified(false);
  SetBuffer(laid);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  int errorPosition = -1;
  if (mask_.Validate(Buffer(), errorPosition)) return;
  // The user is taken back to the fault: focus first, then the caret.
  if (!HasState(ComponentStateFlag::Designing) && !Focused() && CanFocus()) SetFocus();
  const int caret = CaretOfPosition(std::min(errorPosition, mask_.Length()));
  SetSelection(caret, caret);
  throw EDBEditError("Invalid input value: the text does not fit the edit mask");
}

void TCustomMaskEdit::DoExit() {
  if (!HasState(ComponentStateFlag::Designing)) ValidateEdit();
  TCustomEdit::DoExit();
}

// ---- typing ----

int TCustomMaskEdit::EditableFrom(int position) const {
  while (position < mask_.Length() && mask_.IsLiteral(position)) ++position;
  return position;
}

void TCustomMaskEdit::BlankRange(std::string& display, int from, int to) const {
  for (int p = from; p < to && p < mask_.Length(); ++p)
    if (!mask_.IsLiteral(p)) display[static_cast<std::size_t>(p)] = mask_.BlankChar();
}

void TCustomMaskEdit::TypeCharacter(const std::string& character) {
  if (!IsMasked()) return TCustomEdit::TypeCharacter(character);
  if (ReadOnly()) return;
  if (character == "\b")
    DeleteBackward();
  else if (static_cast<unsigned char>(character[0]) >= 0x20)
    TypeMasked(character);
}

// Typing the literal the caret stands on steps over it.
bool TCustomMaskEdit::SkipsLiteral(const std::string& character, int caretPosition) {
  if (character.size() != 1 || !mask_.IsLiteral(caretPosition) || mask_.LiteralAt(caretPosition) != character[0])
    return false;
  SetSelStart(CaretOfPosition(EditableFrom(caretPosition + 1)));
  return true;
}

// A character goes to the first editable position at or after the caret,
// one position per byte; it is refused when those positions do not accept
// it. The caret then skips the literals that follow.
void TCustomMaskEdit::TypeMasked(const std::string& character) {
  const int start = PositionOfCaret(SelStart());
  const int end = PositionOfCaret(SelStart() + SelLength());
  if (SelLength() == 0 && SkipsLiteral(character, start)) return;
  const int at = EditableFrom(start);
  const int count = static_cast<int>(character.size());
  if (at + count > mask_.Length()) return;
  std::string bytes = character;
  for (int i = 0; i < count; ++i) {
    const char c = mask_.Transform(at + i, character[static_cast<std::size_t>(i)]);
    if (mask_.IsLiteral(at + i) || !mask_.Accepts(at + i, c)) return;
    bytes[static_cast<std::size_t>(i)] = c;
  }
  std::string display = Buffer();
  BlankRange(display, start, end);
  display.replace(static_cast<std::size_t>(at), bytes.size(), bytes);
  const int caretPosition = EditableFrom(at + count);
  ReplaceBuffer(display, CharCount(std::string_view(display).substr(0, static_cast<std::size_t>(caretPosition))));
}

void TCustomMaskEdit::DeleteBackward() {
  if (!IsMasked()) return TCustomEdit::DeleteBackward();
  std::string display = Buffer();
  if (SelLength() > 0) {
    BlankRange(display, PositionOfCaret(SelStart()), PositionOfCaret(SelStart() + SelLength()));
    return ReplaceBuffer(display, SelStart());
  }
  int last = PositionOfCaret(Caret()) - 1;
  while (last >= 0 && mask_.IsLiteral(last)) --last;
  if (last < 0) return;
  int first = last;
  while (first > 0 && IsContinuationByte(display[static_cast<std::size_t>(first)]) && !mask_.IsLiteral(first - 1))
    --first;
  BlankRange(display, first, last + 1);
  ReplaceBuffer(display, CharCount(std::string_view(display).substr(0, static_cast<std::size_t>(first))));
}

void TCustomMaskEdit::DeleteForward() {
  if (!IsMasked()) return TCustomEdit::DeleteForward();
  if (SelLength() > 0) return DeleteBackward();  // blanks the selection
  std::string display = Buffer();
  const int caretPosition = PositionOfCaret(Caret());
  const int first = EditableFrom(caretPosition);
  if (first >= mask_.Length()) return;
  int end = first + 1;
  while (end < mask_.Length() && IsContinuationByte(display[static_cast<std::size_t>(end)]) && !mask_.IsLiteral(end))
    ++end;
  BlankRange(display, first, end);
  ReplaceBuffer(display, CharCount(std::string_view(display).substr(0, static_cast<std::size_t>(caretPosition))));
}

// The caret passes over literals: it stands before an editable position or
// at either end.
int TCustomMaskEdit::CaretStop(int from, int direction) const {
  int to = TCustomEdit::CaretStop(from, direction);
  if (!IsMasked()) return to;
  const int length = CharCount(Buffer());
  while (to > 0 && to < length && mask_.IsLiteral(PositionOfCaret(to))) to += direction;
  return to;
}

}  // namespace qv

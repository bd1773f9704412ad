#include "controls/QvSpinEdit.h"

#include "platform/core/AsciiText.h"

namespace qv {

const TClass& TQvSpinEdit::StaticClass() {
  static const TClass cls = ClassBuilder<TQvSpinEdit>("TQvSpinEdit", &TSpinEdit::StaticClass());
  return cls;
}

TQvSpinEdit::TQvSpinEdit(TComponent* owner) : TSpinEdit(owner) {}

// For each sign found after the first character the last character goes:
// a sign is typed at the end, so that is the stray one. Putting the text
// back changes it once more; that nested change is this one's own.
void TQvSpinEdit::Change() {
  if (filtering_) return;
  std::string text = Text();
  for (char sign : {'+', '-'})
    if (text.find(sign, 1) != std::string::npos) text.erase(ByteOffset(text, CharCount(text) - 1));
  if (text != Text()) {
    const bool modified = Modified();
    filtering_ = true;
    SetText(text);
    filtering_ = false;
    SetSelStart(CharCount(text));
    SetModified(modified);
  }
  if (!TrimBlanks(text).empty()) TSpinEdit::Change();
}

}  // namespace qv

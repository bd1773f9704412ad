#include "platform/ui/controls/SpinEdit.h"

#include <algorithm>
#include <charconv>

#include "platform/core/AsciiText.h"
#include "platform/core/FormatSettings.h"

namespace qv {

const TClass& TSpinEdit::StaticClass() {
  static const TClass cls =
      PublishEditProperties(ClassBuilder<TSpinEdit>("TSpinEdit", &TCustomEdit::StaticClass()))
          .Integer("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue)
          .Integer("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue)
          .Integer("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement)
          .Boolean("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled)
          .Integer("Value", &TSpinEdit::Value, &TSpinEdit::SetValue)
          .String("Text", &TSpinEdit::Text, &TSpinEdit::SetText);
  return cls;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) { SetText("0"); }

int TSpinEdit::CheckValue(int value) const {
  if (minValue_ == maxValue_) return value;
  return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

int TSpinEdit::Value() const {
  const std::string typed = Text();  // the view below must not outlive it
  std::string_view text = TrimBlanks(typed);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return text.empty() || error != std::errc() || end != text.data() + text.size() ? minValue_ : value;
}

void TSpinEdit::SetValue(int value) { SetText(std::to_string(CheckValue(value))); }

void TSpinEdit::EditKeyDown(Word& key, TShiftState shift) {
  if (key != VK_UP && key != VK_DOWN) return TCustomEdit::EditKeyDown(key, shift);
  if (!ReadOnly()) SetValue(Value() + (key == VK_UP ? increment_ : -increment_));
  key = 0;
}

void TSpinEdit::TypeCharacter(const std::string& character) {
  const char c = character.size() == 1 ? character[0] : '\0';
  const bool control = c != '\0' && static_cast<unsigned char>(c) < 0x20;
  const bool numeric = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == FormatSettings().DecimalSeparator;
  if (control ? (c != '\b' || editorEnabled_) : (numeric && editorEnabled_)) TCustomEdit::TypeCharacter(character);
}

void TSpinEdit::DoExit() {
  if (CheckValue(Value()) != Value()) SetValue(Value());
  TCustomEdit::DoExit();
}

}  // namespace qv

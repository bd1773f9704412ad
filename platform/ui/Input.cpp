#include "platform/ui/Input.h"

#include <cctype>
#include <string>

#include "platform/ui/Form.h"
#include "platform/ui/WinControl.h"

namespace qv::input {

namespace {

bool CanTakeInput(const TControl& control) { return control.IsShowing() && control.IsEnabledInTree(); }

// The form that previews the keys of a control, if it asks to.
TCustomForm* PreviewingForm(TWinControl& control) {
  TCustomForm* form = control.ParentForm();
  return form && form != &control && form->KeyPreview() ? form : nullptr;
}

// The character a key gives, "" for keys without one.
std::string CharacterOf(Word key, TShiftState shift) {
  if (shift & (ssCtrl | ssAlt)) return "";
  switch (key) {
    case VK_RETURN: return "\r";
    case VK_ESCAPE: return "\x1b";
    case VK_BACK: return "\b";
    case VK_SPACE: return " ";
    default: break;
  }
  if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
  if (key >= 'A' && key <= 'Z')
    return std::string(1, static_cast<char>((shift & ssShift) ? key : std::tolower(key)));
  return "";
}

// What the form does with a key nobody consumed.
void DefaultKeyAction(TWinControl& control, Word key, TShiftState shift) {
  if (key != VK_TAB || (shift & (ssCtrl | ssAlt))) return;
  if (TCustomForm* form = control.ParentForm()) form->SelectNext(&control, !(shift & ssShift), true);
}

std::size_t CharacterLength(unsigned char lead) {
  return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

void MouseDown(TControl& control, TMouseButton button, TShiftState shift, int x, int y) {
  if (!CanTakeInput(control)) return;
  if (auto* window = ObjectAs<TWinControl>(&control); window && button == mbLeft && window->TabStop() &&
                                                      window->CanFocus() && !window->Focused())
    window->SetFocus();
  control.MouseDown(button, shift, x, y);
}

void MouseUp(TControl& control, TMouseButton button, TShiftState shift, int x, int y) {
  if (!CanTakeInput(control)) return;
  control.MouseUp(button, shift, x, y);
}

void Click(TControl& control) {
  if (!CanTakeInput(control)) return;
  const int x = control.Width() / 2, y = control.Height() / 2;
  MouseDown(control, mbLeft, ssLeft, x, y);
  MouseUp(control, mbLeft, 0, x, y);
  if (CanTakeInput(control)) control.Click();
}

void DoubleClick(TControl& control) {
  if (!CanTakeInput(control)) return;
  Click(control);
  if (CanTakeInput(control)) control.DblClick();
}

void Key(TWinControl& control, Word key, TShiftState shift) {
  if (!CanTakeInput(control)) return;
  Word k = key;
  if (TCustomForm* form = PreviewingForm(control)) form->KeyDown(k, shift);
  if (k) control.KeyDown(k, shift);
  if (k) DefaultKeyAction(control, k, shift);
  if (const std::string character = CharacterOf(key, shift); k && !character.empty() && CanTakeInput(control))
    Press(control, character);
  Word up = key;
  if (TCustomForm* form = PreviewingForm(control)) form->KeyUp(up, shift);
  if (up && CanTakeInput(control)) control.KeyUp(up, shift);
}

void Press(TWinControl& control, std::string_view character) {
  if (!CanTakeInput(control)) return;
  std::string key(character);
  if (TCustomForm* form = PreviewingForm(control)) form->KeyPress(key);
  if (!key.empty()) control.KeyPress(key);
}

void TypeText(TWinControl& control, std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length = CharacterLength(static_cast<unsigned char>(utf8[i]));
    Press(control, utf8.substr(i, length));
    i += length;
  }
}

bool Focus(TWinControl& control) {
  if (!control.CanFocus()) return false;
  control.SetFocus();
  return true;
}

}  // namespace qv::input

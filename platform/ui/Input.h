#pragma once
// The one small input API through which tests and window backends drive
// the controls: clicks, keys with the form's key preview, typed text and
// focus. Input to a hidden or disabled control is dropped, as a user could
// not give it.

#include <string_view>

#include "platform/ui/Messages.h"

namespace qv {

class TControl;
class TWinControl;

namespace input {

// Mouse down and up at the control's centre, then its click. A window
// control that takes the focus on a click gets it first.
void Click(TControl& control);
void DoubleClick(TControl& control);
void MouseDown(TControl& control, TMouseButton button, TShiftState shift, int x, int y);
void MouseUp(TControl& control, TMouseButton button, TShiftState shift, int x, int y);

// Key down (the form previews it when it asks to), the default action of
// the key (Tab moves the focus), the character of the key, key up.
void Key(TWinControl& control, Word key, TShiftState shift = 0);
// One character of text (UTF-8) as a key press, previewed by the form.
void Press(TWinControl& control, std::string_view character);
// Each character of the text as a key press.
void TypeText(TWinControl& control, std::string_view utf8);

// The focus as a user gives it by clicking or tabbing; false when the
// control cannot take it.
bool Focus(TWinControl& control);

}  // namespace input
}  // namespace qv

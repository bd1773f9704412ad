#pragma once
// Window messages, key codes and shift states. Window handles are small
// integers handed out by the application; a control's own messages go
// through its WndProc.

#include <cstdint>

namespace qv {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using HWND = int;

struct TMessage {
  unsigned Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LPARAM Result = 0;
};

constexpr unsigned WM_NULL = 0x0000, WM_MOVE = 0x0003, WM_SIZE = 0x0005, WM_SETFOCUS = 0x0007,
                   WM_KILLFOCUS = 0x0008, WM_CLOSE = 0x0010, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
                   WM_CHAR = 0x0102, WM_COMMAND = 0x0111, WM_LBUTTONDOWN = 0x0201,
                   WM_LBUTTONUP = 0x0202, WM_USER = 0x0400;
// A lookup button asks its form to run the F2 lookup for the control in LParam.
constexpr unsigned WM_LOOKUPREQUEST = WM_USER + 10;
// Platform-internal messages.
constexpr unsigned CM_BASE = 0xB000, CM_RELEASE = CM_BASE + 33, CM_FOCUSCHANGED = CM_BASE + 7,
                   CM_ENABLEDCHANGED = CM_BASE + 0, CM_FONTCHANGED = CM_BASE + 3;

using Word = std::uint16_t;

constexpr Word VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
               VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
               VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
               VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F2 = 0x71,
               VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F10 = 0x79, VK_F12 = 0x7B;

enum TShiftFlag : std::uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = std::uint8_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

}  // namespace qv

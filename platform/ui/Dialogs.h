#pragma once
// Message dialogs: real forms with a caption by dialog type, an image slot,
// the message text (a label) and one button per chosen button. Each button
// is a TButton named after it ("Yes", "No", "OK", "Cancel", "Abort",
// "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help") whose click sets
// the form's modal result, so a presenter's responder answers a dialog by
// clicking a button found by name.
//
// Layout: the image (32 × 32, none for mtCustom) at the top left inside an
// 8-pixel margin, the text 10 pixels to its right, one line per "\n" and
// measured with the form's font; the buttons (75 × 25, 8 pixels apart) in
// one row, centred, 12 pixels below the text or image, whichever is lower;
// the form just large enough for all of it with the margin.

#include <cstdint>
#include <string>

#include "platform/ui/Form.h"

namespace qv {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
const TEnumType& MsgDlgTypeType();

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

// A set of TMsgDlgBtn: bit i stands for button i.
using TMsgDlgButtons = std::uint32_t;
constexpr TMsgDlgButtons MsgDlgButton(TMsgDlgBtn button) { return 1u << button; }
template <class... B>
constexpr TMsgDlgButtons MsgDlgButtons(B... buttons) {
  return (0u | ... | MsgDlgButton(buttons));
}
constexpr TMsgDlgButtons mbYesNoCancel = MsgDlgButtons(mbYes, mbNo, mbCancel);
constexpr TMsgDlgButtons mbYesAllNoAllCancel = MsgDlgButtons(mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel);
constexpr TMsgDlgButtons mbOKCancel = MsgDlgButtons(mbOK, mbCancel);
constexpr TMsgDlgButtons mbAbortRetryIgnore = MsgDlgButtons(mbAbort, mbRetry, mbIgnore);
constexpr TMsgDlgButtons mbAbortIgnore = MsgDlgButtons(mbAbort, mbIgnore);

constexpr int kDialogMargin = 8, kDialogImageSize = 32, kDialogImageGap = 10, kDialogTextGap = 12,
              kDialogButtonWidth = 75, kDialogButtonHeight = 25, kDialogButtonSpacing = 8;

// Builds the dialog, hidden; the caller shows and frees it. Buttons come in
// TMsgDlgBtn order. The default button (marked Default, focused first,
// clicked by Enter unless another button has the focus) is OK, else Yes,
// else the first; Escape clicks the cancel button (marked Cancel): Cancel,
// else No; without either it closes the form (mrCancel when modal).
TForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);

// Shows the dialog modally, frees it and returns its modal result.
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);

}  // namespace qv

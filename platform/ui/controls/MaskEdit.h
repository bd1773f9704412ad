#pragma once
// TMaskEdit: an edit whose input follows an edit mask (see EditMask.h). With
// a mask, the control edits the display text (literals in place, blanks in
// the empty positions) and Text is what the mask makes of it; without one it
// is a plain edit.

#include <string>

#include "platform/ui/controls/Edit.h"
#include "platform/ui/controls/EditMask.h"

namespace qv {

class TCustomMaskEdit : public TCustomEdit {
  QV_OBJECT(TCustomMaskEdit, TCustomEdit)

  explicit TCustomMaskEdit(TComponent* owner);

  const std::string& EditMask() const { return editMask_; }
  // Keeps the characters typed so far, laid into the new mask's positions.
  void SetEditMask(const std::string& mask);
  bool IsMasked() const { return !mask_.IsEmpty(); }

  // With a mask: what the mask makes of the display text (the literals
  // only when it saves them); an empty control gives the mask's empty text.
  std::string GetText() const override;
  // With a mask: lays the text into the mask.
  void SetText(const std::string& text) override;
  // The display text: literals and blanks included.
  std::string EditText() const { return Buffer(); }
  // Lays a display text in position by position; literals stay.
  void SetEditText(const std::string& display);

  // Raises EDBEditError when the user changed a masked text that the mask
  // does not accept; the control takes the focus and the caret goes to the
  // first fault.
  void ValidateEdit();

 protected:
  void TypeCharacter(const std::string& character) override;
  void DeleteBackward() override;
  void DeleteForward() override;
  int CaretStop(int from, int direction) const override;
  // Leaving a changed text that does not fit the mask brings the focus back.
  void DoExit() override;

 private:
  int PositionOfCaret(int caret) const { return static_cast<int>(ByteOffset(Buffer(), caret)); }
  int CaretOfPosition(int position) const { return CharCount(Buffer().substr(0, static_cast<std::size_t>(position))); }
  // The first editable position at or after position, or the mask's length.
  int EditableFrom(int position) const;
  // Blanks the editable positions in [from, to) of display.
  void BlankRange(std::string& display, int from, int to) const;
  void TypeMasked(const std::string& character);
  bool SkipsLiteral(const std::string& character, int caretPosition);

  std::string editMask_;
  qv::EditMask mask_{""};
};

class TMaskEdit : public TCustomMaskEdit {
  QV_OBJECT(TMaskEdit, TCustomMaskEdit)
  using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace qv

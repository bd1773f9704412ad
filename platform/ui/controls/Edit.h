#pragma once
// Single-line edits: TCustomEdit holds the text, the caret and the selection
// and does the typing; TEdit publishes it. The caret and the selection count
// characters of the UTF-8 text, so a caret never stands inside a character.
// Masked edits, memos and spin edits build on TCustomEdit.

#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/WinControl.h"

namespace qv {

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
const TEnumType& EditCharCaseType();

class TCustomEdit : public TWinControl {
  QV_OBJECT(TCustomEdit, TWinControl)

  explicit TCustomEdit(TComponent* owner);

  std::string Text() const { return GetText(); }
  // Puts the caret at the start and clears Modified; CharCase applies.
  void SetText(const std::string& text) override;
  void Clear() { SetText(""); }

  // The most a user may type, counted as the double-byte code pages count
  // (1 per ASCII character, 2 per other character); 0 for no limit. Text set
  // by the program is not cut.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int maxLength) { maxLength_ = maxLength < 0 ? 0 : maxLength; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char passwordChar);
  TEditCharCase CharCase() const { return charCase_; }
  // Converts the present text as well.
  void SetCharCase(TEditCharCase charCase);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
  // The input method a control asks for; stored only.
  const std::string& ImeName() const { return imeName_; }
  void SetImeName(const std::string& imeName) { imeName_ = imeName; }
  // Set when the user changed the text, cleared when the program sets it.
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // ---- caret and selection, in characters ----
  int SelStart() const;
  // Collapses the selection at the position (clamped to the text).
  void SetSelStart(int start);
  int SelLength() const;
  // Selects from SelStart on (clamped to the text).
  void SetSelLength(int length);
  std::string SelText() const;
  // Replaces the selection; the caret follows the new text.
  void SetSelText(const std::string& text);
  void SelectAll();
  void ClearSelection() { SetSelText(""); }

  // The text as shown: one password character per character when set.
  std::string DisplayText() const;

  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(std::string& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

  TNotifyEvent OnChange;

  // UTF-8 helpers shared by the edit family.
  static int CharCount(std::string_view text);
  // The byte offset of a character index (clamped to the text).
  static std::size_t ByteOffset(std::string_view text, int charIndex);
  // 1 per ASCII character, 2 per other character.
  static int DoubleByteLength(std::string_view text);

 protected:
  // Raises OnChange, except while the control is being designed.
  virtual void Change();
  void TextChanged() override;
  void DoEnter() override;

  // One typed character after OnKeyPress let it through: "\b" deletes
  // back, other control characters are ignored, anything else is inserted.
  virtual void TypeCharacter(const std::string& character);
  // A key after OnKeyDown let it through: deletion and caret movement.
  virtual void EditKeyDown(Word& key, TShiftState shift);
  // A user's insertion at the caret, replacing the selection; refused when
  // read-only or beyond MaxLength.
  void InsertTyped(const std::string& text);
  virtual void DeleteBackward();
  virtual void DeleteForward();
  // Where the caret goes from a position one step in a direction (-1, +1);
  // a "\r\n" line break is one step.
  virtual int CaretStop(int from, int direction) const;
  // Moves the caret; with extend the selection grows from its anchor.
  void MoveCaret(int to, bool extend);

  // The text the control edits (the display text for masked edits).
  std::string Buffer() const { return TControl::GetText(); }
  // Replaces the whole buffer as the program does: caret at the start.
  void SetBuffer(const std::string& text);
  // Replaces the buffer as an edit does: the caret goes to caret, OnChange
  // is raised and Modified set.
  void ReplaceBuffer(const std::string& text, int caret);
  int Caret() const { return caret_; }
  int Anchor() const { return anchor_; }
  void SetSelection(int anchor, int caret);
  std::string ApplyCharCase(const std::string& text) const;

 private:
  void DeleteRange(int from, int to);

  int caret_ = 0;
  int anchor_ = 0;
  std::optional<int> pendingCaret_;
  int maxLength_ = 0;
  bool readOnly_ = false;
  char passwordChar_ = '\0';
  TEditCharCase charCase_ = ecNormal;
  bool autoSelect_ = true;
  bool modified_ = false;
  std::string imeName_;
};

// Adds the published properties that every edit of the family shares.
template <class T>
ClassBuilder<T>& PublishEditProperties(ClassBuilder<T>&& builder) {
  return builder.Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
      .Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
      .String("ImeName", &TCustomEdit::ImeName, &TCustomEdit::SetImeName)
      .Event("OnChange", static_cast<TNotifyEvent T::*>(&TCustomEdit::OnChange));
}

class TEdit : public TCustomEdit {
  QV_OBJECT(TEdit, TCustomEdit)
  using TCustomEdit::TCustomEdit;
};

}  // namespace qv

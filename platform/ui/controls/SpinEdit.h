#pragma once
// TSpinEdit: an edit for a whole number that Up and Down step by Increment.
// Equal MinValue and MaxValue (0 and 0 by default) mean no limits; otherwise
// values are kept inside them when set, stepped, or left behind on exit.
// Typing accepts digits, signs and the decimal separator only.

#include "platform/ui/controls/Edit.h"

namespace qv {

class TSpinEdit : public TCustomEdit {
  QV_OBJECT(TSpinEdit, TCustomEdit)

  explicit TSpinEdit(TComponent* owner);

  // The number in the text; MinValue when the text is not a number.
  int Value() const;
  void SetValue(int value);
  int MinValue() const { return minValue_; }
  void SetMinValue(int value) { minValue_ = value; }
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int value) { maxValue_ = value; }
  int Increment() const { return increment_; }
  void SetIncrement(int increment) { increment_ = increment; }
  // Whether the text may be typed into (the arrows work either way).
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool enabled) { editorEnabled_ = enabled; }

  // The value inside the limits.
  int CheckValue(int value) const;

 protected:
  void EditKeyDown(Word& key, TShiftState shift) override;
  void TypeCharacter(const std::string& character) override;
  void DoExit() override;

 private:
  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
  bool editorEnabled_ = true;
};

}  // namespace qv

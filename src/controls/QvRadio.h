#pragma once
// Radio buttons whose captions the program paints with the control's own
// font (so the code-page converter's character set applies to them), and a
// radio group made of such buttons.
//
// Checking a TQvRadioButton unchecks the other TQvRadioButtons of its
// parent, makes it the one Tab stops at and raises OnClick (not while
// loading or designing, nor while the control itself holds clicks back).

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Strings.h"
#include "platform/ui/controls/Button.h"
#include "platform/ui/controls/GroupBox.h"
#include "platform/ui/graphics/Canvas.h"

namespace qv {

class TQvRadioGroup;

class TQvRadioButton : public TButtonControl {
  QV_OBJECT(TQvRadioButton, TButtonControl)

  explicit TQvRadioButton(TComponent* owner);
  ~TQvRadioButton() override;

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // Where the caption starts, by font size in points: the room the radio
  // circle takes at that size.
  static int CaptionOffset(int fontSize);

  // The canvas bound to the button; it records what was drawn.
  TCanvas& Canvas() { return *canvas_; }
  // Paints the caption afresh onto the canvas (the record starts anew):
  // the area from the caption's start − 4 to the edges + 4 is filled with
  // the control's colour, then the caption is drawn single-line, vertically
  // centred.
  void Paint();

 protected:
  void ButtonPressed() override { SetChecked(true); }
  void EnabledChanged() override { Repaint(); }
  void TextChanged() override { Repaint(); }
  void FontChanged() override;
  void Repaint() { Changed(ControlChange::Content); }

 private:
  void UncheckSiblings();

  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
  std::unique_ptr<TCanvas> canvas_;
};

// An item of a TQvRadioGroup: its parent and owner is the group, it has no
// name, and the group makes and frees it with its items (so nothing that
// walks a form's components finds or stores it). Its click and its keys
// go on to the group.
class TQvGroupButton : public TQvRadioButton {
  QV_OBJECT(TQvGroupButton, TQvRadioButton)

  explicit TQvGroupButton(TQvRadioGroup& group);

  void Click() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(std::string& key) override;

 private:
  TQvRadioGroup& group_;
};

class TQvRadioGroup : public TCustomGroupBox {
  QV_OBJECT(TQvRadioGroup, TCustomGroupBox)

  explicit TQvRadioGroup(TComponent* owner);
  ~TQvRadioGroup() override;

  TStrings* Items() const { return items_.get(); }
  // Copies the items.
  void SetItems(TStrings* items);
  // −1 for none. Setting clamps to −1 … item count − 1, unchecks the old
  // button and checks the new one; while loading the value is only kept.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  // 1 … 16.
  int Columns() const { return columns_; }
  void SetColumns(int columns);

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // Raises ERangeError for an index outside 0 … ButtonCount − 1.
  TQvGroupButton* Buttons(int index) const;

 protected:
  friend class TQvGroupButton;
  // An item was clicked: it becomes the choice and the group's OnClick runs.
  void ButtonClicked(TQvGroupButton& button);
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Resize() override;
  void FontChanged() override;

 private:
  void ItemsChanged(TObject* sender);
  // As many buttons as items, captioned by them, the choice checked.
  void UpdateButtons();
  void SetButtonCount(int count);
  // Places the buttons in columns over the area below the caption.
  void ArrangeButtons();

  std::unique_ptr<TStringList> items_;
  std::vector<TQvGroupButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;  // buttons checked by the group itself
};

}  // namespace qv

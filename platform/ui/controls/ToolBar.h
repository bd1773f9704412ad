#pragma once
// A tool bar: a row of tool buttons laid out left to right in the order
// they were placed on it. Check buttons stay down when clicked; adjacent
// grouped check buttons are down one at a time. A drop-down button pops up
// its menu when its arrow part is pressed.

#include <vector>

#include "platform/ui/WinControl.h"
#include "platform/ui/controls/Menus.h"

namespace qv {

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
const TEnumType& ToolButtonStyleType();

class TToolButton : public TGraphicControl {
  QV_OBJECT(TToolButton, TGraphicControl)

  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;

  void SetParent(TWinControl* parent) override;
  TToolBar* ToolBar() const { return toolBar_; }

  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle style);
  bool Down() const { return down_; }
  // A grouped check button going down raises the others of its group.
  void SetDown(bool down);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool grouped);
  // A grouped button that is down may be clicked up.
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool allowAllUp) { allowAllUp_ = allowAllUp; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* menu);
  // The button takes the item's caption, image, enabled state and visibility,
  // and a click of the button clicks the item.
  TMenuItem* MenuItem() const { return menuItem_; }
  void SetMenuItem(TMenuItem* item);
  // The width a separator or divider takes (other buttons take the tool bar's button width).
  int SeparatorWidth() const { return separatorWidth_; }
  void SetSeparatorWidth(int width);
  // The index of the button on its tool bar, -1 when on none.
  int Index() const;

  // Pops the drop-down menu up below the button; false when it has none.
  bool CheckMenuDropdown();

  void Click() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void VisibleChanged() override;
  void TextChanged() override;

 private:
  friend class TToolBar;
  bool IsOnArrow(int x) const;
  void RaiseGroupSiblings();
  void LayoutChanged();

  TToolBar* toolBar_ = nullptr;
  TToolButtonStyle style_ = tbsButton;
  bool down_ = false;
  bool grouped_ = false;
  bool allowAllUp_ = false;
  int imageIndex_ = -1;
  TPopupMenu* dropdownMenu_ = nullptr;
  TMenuItem* menuItem_ = nullptr;
  int separatorWidth_ = 8;
};

class TToolBar : public TWinControl {
  QV_OBJECT(TToolBar, TWinControl)

  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // Raises ERangeError for an index outside 0 … ButtonCount − 1.
  TToolButton* Buttons(int index) const;

  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int width);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int height);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool show);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  TObject* Images() const { return images_; }
  void SetImages(TObject* images);

  // Places the buttons left to right; hidden buttons take no room.
  void ArrangeButtons();

 private:
  friend class TToolButton;
  void InsertButton(TToolButton* button);
  void RemoveButton(TToolButton* button);
  int WidthOf(const TToolButton& button) const;

  std::vector<TToolButton*> buttons_;
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  bool showCaptions_ = false;
  bool flat_ = false;
  TObject* images_ = nullptr;
};

}  // namespace qv

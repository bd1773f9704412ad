#pragma once
// Menus: a tree of menu items under a main menu or a pop-up menu. A menu
// item owns the sub-items added to it and frees them with itself. Radio
// items of one group index under one parent are checked one at a time.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/ui/Control.h"

namespace qv {

class TMenu;

// A key with its shift keys: the key code in the low byte.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(Word key, TShiftState shift);

class TMenuItem : public TComponent {
  QV_OBJECT(TMenuItem, TComponent)

  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group.
  void SetChecked(bool checked);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut shortCut);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool radio);
  // A click checks (a radio item) or toggles (any other item) the check mark.
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool autoCheck) { autoCheck_ = autoCheck; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }

  // ---- sub-items ----
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises ERangeError for an index outside 0 … Count − 1.
  TMenuItem* operator[](int index) const;
  TMenuItem* Items(int index) const { return (*this)[index]; }
  // Takes the item (out of its former parent, if any) and frees it with this one.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Removes and frees the sub-item.
  void Delete(int index);
  // Takes the sub-item out without freeing it.
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  // The menu whose tree holds the item, or nullptr.
  TMenu* GetParentMenu() const;
  // The enabled and visible item at any depth with that shortcut, or nullptr.
  TMenuItem* FindShortCut(TShortCut shortCut) const;

  // Raises OnClick when enabled (after the automatic check).
  virtual void Click();

  TNotifyEvent OnClick;

 private:
  friend class TMenu;
  void Detach(TMenuItem* item);
  void UncheckGroupSiblings();
  void Changed();

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  TShortCut shortCut_ = 0;
  int groupIndex_ = 0;
  bool radioItem_ = false;
  bool autoCheck_ = false;
  int imageIndex_ = -1;
  std::string hint_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item only
  std::vector<TMenuItem*> items_;
};

using TMenuChangeEvent = Event<void(TObject* Sender, TMenuItem* Source)>;

class TMenu : public TComponent {
  QV_OBJECT(TMenu, TComponent)

  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  // The root item; its sub-items are the menu's entries.
  TMenuItem& Items() { return *items_; }
  const TMenuItem& Items() const { return *items_; }
  TObject* Images() const { return images_; }
  void SetImages(TObject* images) { images_ = images; }
  // The program draws the items (a backend asks it to), so that they show
  // in the font and character set the program chose.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool ownerDraw) { ownerDraw_ = ownerDraw; }
  // Clicks the item with the key's shortcut; false when none has it.
  bool IsShortCut(Word key, TShiftState shift);

  // Raised when an item of the tree changed (a backend rebuilds the menu).
  TMenuChangeEvent OnChange;

 private:
  friend class TMenuItem;
  std::unique_ptr<TMenuItem> items_;
  TObject* images_ = nullptr;
  bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
  QV_OBJECT(TMainMenu, TMenu)
  using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
  QV_OBJECT(TPopupMenu, TMenu)
  using TMenu::TMenu;

  // Shows the menu at the screen point: raises OnPopup, then the menu is up
  // until an item is clicked or CloseMenu runs.
  virtual void Popup(int x, int y);
  void CloseMenu() { poppedUp_ = false; }
  bool IsPoppedUp() const { return poppedUp_; }
  TPoint PopupPoint() const { return popupPoint_; }
  // The component the menu was last shown for.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component) { popupComponent_ = component; }
  // The menu comes up by itself on a right click of its control.
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }

  TNotifyEvent OnPopup;

 private:
  friend class TMenuItem;
  TPoint popupPoint_;
  TComponent* popupComponent_ = nullptr;
  bool autoPopup_ = true;
  bool poppedUp_ = false;
};

}  // namespace qv

#pragma once
// A page control: a row of tabs over a stack of pages, one page shown at a
// time. Pages are TTabSheet window controls parented to the page control;
// a page whose tab is hidden is never the active page. Tab indexes count
// the pages with visible tabs only.

#include <vector>

#include "platform/ui/WinControl.h"

namespace qv {

class TPageControl;

class TTabSheet : public TWinControl {
  QV_OBJECT(TTabSheet, TWinControl)

  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  // Makes the sheet a page of the page control (its parent); nullptr takes it out.
  void SetPageControl(TPageControl* pageControl);
  void SetParent(TWinControl* parent) override;

  // The position among all pages; -1 when not on a page control.
  int PageIndex() const;
  void SetPageIndex(int index);
  // The position among the visible tabs; -1 when the tab is hidden or the sheet has no page control.
  int TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);

  // Raised when the sheet becomes (OnShow) or stops being (OnHide) the active page.
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  friend class TPageControl;
  virtual void DoShow() { OnShow(this); }
  virtual void DoHide() { OnHide(this); }
  void TextChanged() override;

 private:
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};

using TTabChangingEvent = Event<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = Event<void(TObject* Sender, int TabIndex, const TRect& Rect, bool Active)>;

class TPageControl : public TWinControl {
  QV_OBJECT(TPageControl, TWinControl)

  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  // Raises ERangeError for an index outside 0 … PageCount − 1.
  TTabSheet* Pages(int index) const;

  TTabSheet* ActivePage() const { return activePage_; }
  // Shows the page without asking OnChanging; a page of another control or
  // with a hidden tab is refused (the active page stays).
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
  void SetActivePageIndex(int index);

  // ---- tabs ----
  int TabCount() const;
  // The page the visible tab shows; nullptr for an index out of range.
  TTabSheet* PageForTab(int tabIndex) const;
  int TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }
  void SetTabIndex(int tabIndex);
  // The tab's rectangle in the control's coordinates (empty when out of range).
  TRect TabRect(int tabIndex) const;
  // The visible tab under the point, or -1.
  int IndexOfTabAt(int x, int y) const;
  // The area the pages fill, in the control's coordinates.
  TRect DisplayRect() const;
  int ClientWidth() const override { return DisplayRect().Width(); }
  int ClientHeight() const override { return DisplayRect().Height(); }

  // The page after (or before) current, wrapping around; with checkTabVisible
  // only pages with visible tabs count. May return current itself; nullptr
  // when there are no pages (or none with a visible tab).
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // Moves to the next page as the user does: OnChanging may refuse, OnChange follows.
  void SelectNextPage(bool goForward, bool checkTabVisible = true);
  // The user picks a tab: OnChanging may refuse, OnChange follows a change.
  void SelectTab(int tabIndex);

  // ---- appearance ----
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool ownerDraw);
  // 0 sizes the tabs by the font and the captions.
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int height);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int width);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool hotTrack);
  TObject* Images() const { return images_; }
  void SetImages(TObject* images);
  // Has the program draw every visible tab (owner-drawn tabs only); backends call it.
  void DrawTabs();

  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;

 protected:
  friend class TTabSheet;
  virtual bool CanChange();
  virtual void Change() { OnChange(this); }
  virtual void DrawTab(int tabIndex, const TRect& rect, bool active) { OnDrawTab(this, tabIndex, rect, active); }
  void Resize() override;

 private:
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  void TabVisibilityChanged(TTabSheet* page);
  void TabsChanged();
  // Switches pages as the user does; false when OnChanging refused.
  bool ChangeActivePageByUser(TTabSheet* page);
  void ShowPage(TTabSheet* page);
  void PlacePage(TTabSheet* page);
  int TabStripHeight() const;

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  bool ownerDraw_ = false;
  int tabHeight_ = 0;
  int tabWidth_ = 0;
  bool hotTrack_ = false;
  TObject* images_ = nullptr;
};

}  // namespace qv

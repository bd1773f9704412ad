#include "platform/ui/controls/PageControl.h"

#include <algorithm>
#include <string>

#include "platform/core/Exception.h"

namespace qv {

namespace {

constexpr int kFrame = 4;           // border around the page area
constexpr int kTabTextMargin = 6;   // space each side of a tab caption
constexpr int kTabTextLeading = 6;  // space above and below a tab caption

}  // namespace

// ---- TTabSheet ----

const TClass& TTabSheet::StaticClass() {
  static const TClass cls =
      ClassBuilder<TTabSheet>("TTabSheet", &TWinControl::StaticClass())
          .String("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption)
          // Named by its base class: the page control's own class information names this one.
          .Object("PageControl", TWinControl::StaticClass(), &TTabSheet::PageControl, &TTabSheet::SetPageControl)
          .Integer("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
          .Boolean("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
          .Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
          .Event("OnShow", &TTabSheet::OnShow)
          .Event("OnHide", &TTabSheet::OnHide);
  return cls;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { TControl::SetVisible(false); }

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

void TTabSheet::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  if (TPageControl* old = pageControl_) {
    pageControl_ = nullptr;
    old->RemovePage(this);
  }
  TWinControl::SetParent(parent);
  if (auto* pageControl = ObjectAs<TPageControl>(parent)) {
    pageControl_ = pageControl;
    pageControl->InsertPage(this);
  }
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (pageControl_) pageControl_->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int index = 0;
  for (const TTabSheet* page : pageControl_->pages_) {
    if (page == this) return index;
    if (page->tabVisible_) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool visible) {
  if (visible == tabVisible_) return;
  tabVisible_ = visible;
  if (pageControl_) pageControl_->TabVisibilityChanged(this);
}

void TTabSheet::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  if (pageControl_) pageControl_->TabsChanged();
}

void TTabSheet::TextChanged() {
  if (pageControl_) pageControl_->TabsChanged();
}

// ---- TPageControl ----

const TClass& TPageControl::StaticClass() {
  static const TClass cls =
      ClassBuilder<TPageControl>("TPageControl", &TWinControl::StaticClass())
          .Object("ActivePage", TTabSheet::StaticClass(), &TPageControl::ActivePage, &TPageControl::SetActivePage)
          .Integer("TabIndex", &TPageControl::TabIndex, &TPageControl::SetTabIndex)
          .Boolean("OwnerDraw", &TPageControl::OwnerDraw, &TPageControl::SetOwnerDraw)
          .Integer("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight)
          .Integer("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth)
          .Boolean("HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack)
          .Event("OnChange", &TPageControl::OnChange)
          .Event("OnChanging", &TPageControl::OnChanging)
          .Event("OnDrawTab", &TPageControl::OnDrawTab);
  return cls;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  // The window frees the sheets after this part of the object is gone.
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) throw ERangeError("Page index out of bounds (" + std::to_string(index) + ")");
  return pages_[static_cast<std::size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  PlacePage(page);
  TabsChanged();
  if (!activePage_ && page->TabVisible()) ShowPage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  TTabSheet* next = page == activePage_ ? FindNextPage(page, true, true) : activePage_;
  if (next == page) next = nullptr;
  if (page == activePage_) {
    activePage_ = nullptr;
    page->TControl::SetVisible(false);
    page->DoHide();
  }
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  TabsChanged();
  if (next != activePage_) ShowPage(next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, PageCount());
  pages_.insert(pages_.begin() + index, page);
  TabsChanged();
}

void TPageControl::TabVisibilityChanged(TTabSheet* page) {
  TabsChanged();
  if (page == activePage_ && !page->TabVisible()) {
    TTabSheet* next = FindNextPage(page, true, true);
    ShowPage(next == page ? nullptr : next);
  } else if (!activePage_ && page->TabVisible()) {
    ShowPage(page);
  }
}

void TPageControl::TabsChanged() {
  Changed(ControlChange::Content);
  for (TTabSheet* page : pages_) PlacePage(page);  // the tab row may have changed height
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && (page->PageControl() != this || !page->TabVisible())) return;
  ShowPage(page);
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr);
}

void TPageControl::ShowPage(TTabSheet* page) {
  if (page == activePage_) return;
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (page) {
    PlacePage(page);
    page->TControl::SetVisible(true);
    page->BringToFront();
  }
  if (old) {
    old->TControl::SetVisible(false);
    old->DoHide();
  }
  Changed(ControlChange::Content);
  if (page) page->DoShow();
}

bool TPageControl::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

bool TPageControl::ChangeActivePageByUser(TTabSheet* page) {
  if (!page || page == activePage_) return true;
  if (!CanChange()) return false;
  ShowPage(page);
  Change();
  return true;
}

int TPageControl::TabCount() const {
  return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](const TTabSheet* p) { return p->TabVisible(); }));
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* page : pages_)
    if (page->TabVisible() && tabIndex-- == 0) return page;
  return nullptr;
}

void TPageControl::SetTabIndex(int tabIndex) { SetActivePage(PageForTab(tabIndex)); }

void TPageControl::SelectTab(int tabIndex) { ChangeActivePageByUser(PageForTab(tabIndex)); }

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  const auto found = std::find(pages_.begin(), pages_.end(), current);
  const int start = found == pages_.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - pages_.begin());
  int index = start;
  do {
    index = goForward ? (index + 1) % count : (index + count - 1) % count;
    TTabSheet* page = pages_[static_cast<std::size_t>(index)];
    if (!checkTabVisible || page->TabVisible()) return page;
  } while (index != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
  // A page with a hidden tab cannot be shown, whatever the caller asked.
  if (page && page->TabVisible()) ChangeActivePageByUser(page);
}

int TPageControl::TabStripHeight() const {
  return tabHeight_ > 0 ? tabHeight_ : TextHeightOf(Font()) + 2 * kTabTextLeading;
}

TRect TPageControl::TabRect(int tabIndex) const {
  int left = 0, index = 0;
  for (const TTabSheet* page : pages_) {
    if (!page->TabVisible()) continue;
    const int width = tabWidth_ > 0 ? tabWidth_ : TextWidthOf(Font(), page->Caption()) + 2 * kTabTextMargin;
    if (index++ == tabIndex) return {left, 0, left + width, TabStripHeight()};
    left += width;
  }
  return {};
}

int TPageControl::IndexOfTabAt(int x, int y) const {
  for (int i = 0, count = TabCount(); i < count; ++i)
    if (TabRect(i).Contains({x, y})) return i;
  return -1;
}

TRect TPageControl::DisplayRect() const {
  const TRect area{kFrame, TabStripHeight() + kFrame, Width() - kFrame, Height() - kFrame};
  return {area.Left, area.Top, std::max(area.Left, area.Right), std::max(area.Top, area.Bottom)};
}

void TPageControl::PlacePage(TTabSheet* page) {
  const TRect area = DisplayRect();
  page->SetBounds(area.Left, area.Top, area.Width(), area.Height());
}

void TPageControl::Resize() {
  TWinControl::Resize();
  for (TTabSheet* page : pages_) PlacePage(page);
}

void TPageControl::SetOwnerDraw(bool ownerDraw) {
  if (ownerDraw == ownerDraw_) return;
  ownerDraw_ = ownerDraw;
  Changed(ControlChange::Content);
}

void TPageControl::SetTabHeight(int height) {
  height = std::max(height, 0);
  if (height == tabHeight_) return;
  tabHeight_ = height;
  TabsChanged();
}

void TPageControl::SetTabWidth(int width) {
  width = std::max(width, 0);
  if (width == tabWidth_) return;
  tabWidth_ = width;
  TabsChanged();
}

void TPageControl::SetHotTrack(bool hotTrack) {
  if (hotTrack == hotTrack_) return;
  hotTrack_ = hotTrack;
  Changed(ControlChange::Content);
}

void TPageControl::SetImages(TObject* images) {
  if (images == images_) return;
  images_ = images;
  Changed(ControlChange::Content);
}

void TPageControl::DrawTabs() {
  if (!ownerDraw_) return;
  const int active = TabIndex();
  for (int i = 0, count = TabCount(); i < count; ++i) DrawTab(i, TabRect(i), i == active);
}

void TPageControl::KeyDown(Word& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key == VK_TAB && (shift & ssCtrl)) {
    SelectNextPage(!(shift & ssShift));
    key = 0;
  }
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TWinControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (const int tab = IndexOfTabAt(x, y); tab >= 0) SelectTab(tab);
}

}  // namespace qv

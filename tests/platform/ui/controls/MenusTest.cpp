// Menus: item trees with owned sub-items, clicks with automatic checks and
// radio groups, shortcuts, and pop-up menus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/controls/Menus.h"

namespace qv {
namespace {

class MenuTest : public ::testing::Test, public TObject {
 public:
  void ItemClick(TObject* sender) { journal.push_back("click " + static_cast<TMenuItem*>(sender)->Caption()); }
  void Popup(TObject* sender) {
    const TPoint p = static_cast<TPopupMenu*>(sender)->PopupPoint();
    journal.push_back("popup " + std::to_string(p.X) + "," + std::to_string(p.Y));
  }

 protected:
  TMenuItem* NewItem(TMenuItem& parent, const std::string& caption) {
    auto* item = new TMenuItem(&owner);
    item->SetCaption(caption);
    item->OnClick = MethodOf<&MenuTest::ItemClick>(this);
    parent.Add(item);
    return item;
  }

  TComponent owner{nullptr};
  std::vector<std::string> journal;
};

TEST_F(MenuTest, ClickRaisesOnClickOnlyWhenEnabled) {
  TMainMenu menu(&owner);
  TMenuItem* file = NewItem(menu.Items(), "File");
  TMenuItem* open = NewItem(*file, "Open");
  open->Click();
  open->SetEnabled(false);
  open->Click();
  EXPECT_EQ(journal, (std::vector<std::string>{"click Open"}));
  EXPECT_EQ(open->Parent(), file);
  EXPECT_EQ(open->GetParentMenu(), &menu);
}

TEST_F(MenuTest, RadioItemsOfAGroupAreCheckedOneAtATime) {
  TPopupMenu menu(&owner);
  std::vector<TMenuItem*> views;
  for (const char* caption : {"Icon", "SmallIcon", "List", "Report"}) {
    TMenuItem* item = NewItem(menu.Items(), caption);
    item->SetRadioItem(true);
    item->SetAutoCheck(true);
    views.push_back(item);
  }
  TMenuItem* other = NewItem(menu.Items(), "Other");
  other->SetRadioItem(true);
  other->SetGroupIndex(1);
  other->SetChecked(true);

  views[0]->SetChecked(true);
  views[2]->Click();
  EXPECT_FALSE(views[0]->Checked());
  EXPECT_TRUE(views[2]->Checked());
  views[2]->Click();  // a radio item stays checked
  EXPECT_TRUE(views[2]->Checked());
  EXPECT_TRUE(other->Checked());  // another group
}

TEST_F(MenuTest, AutoCheckTogglesAPlainItem) {
  TMainMenu menu(&owner);
  TMenuItem* wrap = NewItem(menu.Items(), "Wrap");
  wrap->Click();
  EXPECT_FALSE(wrap->Checked());
  wrap->SetAutoCheck(true);
  wrap->Click();
  EXPECT_TRUE(wrap->Checked());
  wrap->Click();
  EXPECT_FALSE(wrap->Checked());
}

TEST_F(MenuTest, SubItemsAreOwnedAndMovable) {
  TMainMenu menu(&owner);
  TMenuItem* edit = NewItem(menu.Items(), "Edit");
  TMenuItem* view = NewItem(menu.Items(), "View");
  TMenuItem* copy = NewItem(*edit, "Copy");
  NewItem(*edit, "Paste");
  view->Insert(0, copy);  // moves out of its former parent
  EXPECT_EQ(edit->Count(), 1);
  EXPECT_EQ(copy->Parent(), view);
  EXPECT_EQ(copy->MenuIndex(), 0);
  EXPECT_THROW(copy->Add(view), EInvalidOperation);
  EXPECT_THROW((*edit)[1], ERangeError);

  const int before = owner.ComponentCount();
  menu.Items().Delete(0);  // frees "Edit" and "Paste"
  EXPECT_EQ(owner.ComponentCount(), before - 2);
  Free(copy);  // a freed item leaves its parent
  EXPECT_EQ(view->Count(), 0);
}

TEST_F(MenuTest, ShortCutsClickTheirItem) {
  TMainMenu menu(&owner);
  TMenuItem* file = NewItem(menu.Items(), "File");
  TMenuItem* save = NewItem(*file, "Save");
  save->SetShortCut(ShortCut('S', ssCtrl));
  EXPECT_EQ(save->ShortCut(), scCtrl | 'S');
  EXPECT_FALSE(menu.IsShortCut('S', 0));
  EXPECT_TRUE(menu.IsShortCut('S', ssCtrl));
  save->SetVisible(false);
  EXPECT_FALSE(menu.IsShortCut('S', ssCtrl));
  EXPECT_EQ(journal, (std::vector<std::string>{"click Save"}));
}

TEST_F(MenuTest, PopupRecordsThePointAndAClickClosesIt) {
  TPopupMenu menu(&owner);
  menu.OnPopup = MethodOf<&MenuTest::Popup>(this);
  TMenuItem* open = NewItem(menu.Items(), "Open");
  EXPECT_TRUE(menu.AutoPopup());
  menu.Popup(120, 45);
  EXPECT_TRUE(menu.IsPoppedUp());
  open->Click();
  EXPECT_FALSE(menu.IsPoppedUp());
  EXPECT_EQ(journal, (std::vector<std::string>{"popup 120,45", "click Open"}));
}

}  // namespace
}  // namespace qv

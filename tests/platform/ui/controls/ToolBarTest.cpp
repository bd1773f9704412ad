// Tool bars: buttons laid out left to right, check buttons and groups,
// the drop-down part of a button, and buttons that stand for menu items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/ToolBar.h"

namespace qv {
namespace {

class ToolBarTest : public ::testing::Test, public TObject {
 public:
  void Clicked(TObject* sender) { journal.push_back("click " + static_cast<TComponent*>(sender)->Name()); }
  void Popup(TObject*) { journal.push_back("popup"); }

 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(100, 50, 400, 300);
    bar = new TToolBar(form);
    bar->SetParent(form);
    bar->SetButtonWidth(25);
    bar->SetButtonHeight(24);
    form->Show();
  }
  void TearDown() override { Free(form); }

  TToolButton* NewButton(const std::string& name, TToolButtonStyle style = tbsButton) {
    auto* button = new TToolButton(form);
    button->SetName(name);
    button->SetCaption(name);
    button->SetStyle(style);
    button->OnClick = MethodOf<&ToolBarTest::Clicked>(this);
    button->SetParent(bar);
    return button;
  }

  TForm* form = nullptr;
  TToolBar* bar = nullptr;
  std::vector<std::string> journal;
};

TEST_F(ToolBarTest, ButtonsAreLaidOutLeftToRight) {
  TToolButton* save = NewButton("btnSave");
  TToolButton* gap = NewButton("sep", tbsSeparator);
  TToolButton* view = NewButton("btnView", tbsDropDown);
  TToolButton* open = NewButton("btnOpen");
  EXPECT_EQ(save->BoundsRect(), (TRect{0, 0, 25, 24}));
  EXPECT_EQ(gap->Width(), 8);
  EXPECT_EQ(view->Left(), 33);
  EXPECT_EQ(view->Width(), 25 + 14);  // the arrow part
  EXPECT_EQ(open->Left(), 33 + 39);
  EXPECT_EQ(bar->Buttons(3), open);
  EXPECT_EQ(open->Index(), 3);

  gap->Hide();  // hidden buttons take no room
  EXPECT_EQ(view->Left(), 25);
  bar->SetShowCaptions(true);  // captions wider than the button widen it
  EXPECT_EQ(save->Width(), TextWidthOf(bar->Font(), "btnSave") + 8);
  Free(save);
  EXPECT_EQ(bar->ButtonCount(), 3);
  EXPECT_EQ(view->Left(), 0);
}

TEST_F(ToolBarTest, CheckButtonsToggleAndGroupsKeepOneDown) {
  TToolButton* bold = NewButton("bold", tbsCheck);
  input::Click(*bold);
  EXPECT_TRUE(bold->Down());
  input::Click(*bold);
  EXPECT_FALSE(bold->Down());

  std::vector<TToolButton*> group;
  for (const char* name : {"left", "centre", "right"}) {
    group.push_back(NewButton(name, tbsCheck));
    group.back()->SetGrouped(true);
  }
  NewButton("sep", tbsSeparator);
  TToolButton* apart = NewButton("apart", tbsCheck);  // a separator ends the group
  apart->SetGrouped(true);
  apart->SetDown(true);

  input::Click(*group[0]);
  input::Click(*group[2]);
  EXPECT_FALSE(group[0]->Down());
  EXPECT_TRUE(group[2]->Down());
  EXPECT_TRUE(apart->Down());
  input::Click(*group[2]);  // without AllowAllUp the down button stays down
  EXPECT_TRUE(group[2]->Down());
  group[2]->SetAllowAllUp(true);
  input::Click(*group[2]);
  EXPECT_FALSE(group[2]->Down());
  EXPECT_EQ(journal.back(), "click right");
}

TEST_F(ToolBarTest, TheArrowPartPopsUpTheDropDownMenu) {
  auto* menu = new TPopupMenu(form);
  menu->OnPopup = MethodOf<&ToolBarTest::Popup>(this);
  NewButton("btnSave");
  TToolButton* view = NewButton("btnView", tbsDropDown);
  view->SetDropdownMenu(menu);

  input::Click(*view);  // the main part clicks
  input::MouseDown(*view, mbLeft, 0, view->Width() - 3, 5);
  input::MouseUp(*view, mbLeft, 0, view->Width() - 3, 5);
  EXPECT_EQ(journal, (std::vector<std::string>{"click btnView", "popup"}));
  EXPECT_EQ(menu->PopupComponent(), view);
  const TPoint below = view->ClientToScreen({0, view->Height()});
  EXPECT_EQ(menu->PopupPoint(), below);
  EXPECT_EQ(below.Y, form->ClientOrigin().Y + 24);

  Free(menu);  // the button forgets a freed menu
  EXPECT_EQ(view->DropdownMenu(), nullptr);
  EXPECT_FALSE(view->CheckMenuDropdown());
}

TEST_F(ToolBarTest, AButtonStandsForItsMenuItem) {
  auto* item = new TMenuItem(form);
  item->SetName("miOpen");
  item->SetCaption("开启(&O)");
  item->SetImageIndex(2);
  item->OnClick = MethodOf<&ToolBarTest::Clicked>(this);
  TToolButton* open = NewButton("btnOpen");
  open->SetMenuItem(item);
  EXPECT_EQ(open->Caption(), "开启(&O)");
  EXPECT_EQ(open->ImageIndex(), 2);
  input::Click(*open);
  EXPECT_EQ(journal, (std::vector<std::string>{"click btnOpen", "click miOpen"}));
}

}  // namespace
}  // namespace qv

// Page controls: which page shows, the tab indexes that count visible tabs
// only, moving between pages with wrap-around, refusing a change, and the
// show and hide events of the sheets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/PageControl.h"

namespace qv {
namespace {

class PageControlTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(10, 10, 300, 200);
    for (const char* caption : {"A", "B", "C", "D"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
      sheet->OnShow = MethodOf<&PageControlTest::SheetShow>(this);
      sheet->OnHide = MethodOf<&PageControlTest::SheetHide>(this);
      sheets.push_back(sheet);
    }
    pages->OnChanging = MethodOf<&PageControlTest::Changing>(this);
    pages->OnChange = MethodOf<&PageControlTest::Change>(this);
    journal.clear();
  }
  void TearDown() override { Free(form); }

  void SheetShow(TObject* sender) { journal.push_back("show " + static_cast<TTabSheet*>(sender)->Caption()); }
  void SheetHide(TObject* sender) { journal.push_back("hide " + static_cast<TTabSheet*>(sender)->Caption()); }
  void Changing(TObject*, bool& allow) {
    journal.push_back("changing " + pages->ActivePage()->Caption());
    allow = allowChange;
  }
  void Change(TObject*) { journal.push_back("change " + pages->ActivePage()->Caption()); }

  std::string Active() const { return pages->ActivePage() ? pages->ActivePage()->Caption() : "-"; }

  TForm* form = nullptr;
  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;
  std::vector<std::string> journal;
  bool allowChange = true;
};

TEST_F(PageControlTest, FirstPageBecomesActiveAndOnlyItShows) {
  EXPECT_EQ(pages->PageCount(), 4);
  EXPECT_EQ(Active(), "A");
  for (TTabSheet* sheet : sheets) EXPECT_EQ(sheet->Visible(), sheet == sheets[0]) << sheet->Caption();

  pages->SetActivePageIndex(2);
  EXPECT_EQ(Active(), "C");
  for (TTabSheet* sheet : sheets) EXPECT_EQ(sheet->Visible(), sheet == sheets[2]) << sheet->Caption();
  // Setting the page in code asks nobody; the sheets report hiding and showing.
  EXPECT_EQ(journal, (std::vector<std::string>{"hide A", "show C"}));
}

TEST_F(PageControlTest, PagesFillTheClientArea) {
  for (TTabSheet* sheet : sheets) {
    EXPECT_EQ(sheet->ClientWidth(), pages->ClientWidth());
    EXPECT_EQ(sheet->ClientHeight(), pages->ClientHeight());
  }
  pages->SetBounds(0, 0, 500, 260);
  pages->SetTabHeight(40);
  EXPECT_EQ(sheets[3]->BoundsRect(), pages->DisplayRect());
  EXPECT_GE(pages->DisplayRect().Top, 40);
}

TEST_F(PageControlTest, TabIndexesCountVisibleTabsOnly) {
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(pages->TabCount(), 3);
  EXPECT_EQ(sheets[1]->TabIndex(), -1);
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  EXPECT_EQ(sheets[2]->PageIndex(), 2);
  EXPECT_EQ(pages->PageForTab(1), sheets[2]);
  EXPECT_EQ(pages->PageForTab(3), nullptr);

  pages->SetTabIndex(2);
  EXPECT_EQ(Active(), "D");
  EXPECT_EQ(pages->ActivePageIndex(), 3);
  EXPECT_EQ(pages->TabIndex(), 2);
}

TEST_F(PageControlTest, HiddenTabsPageCannotBeActive) {
  sheets[1]->SetTabVisible(false);
  pages->SetActivePage(sheets[1]);
  EXPECT_EQ(Active(), "A");

  // Hiding the active page's tab moves on to the next page with a tab.
  pages->SetActivePage(sheets[3]);
  sheets[3]->SetTabVisible(false);
  EXPECT_EQ(Active(), "A");
  EXPECT_FALSE(sheets[3]->Visible());

  for (TTabSheet* sheet : sheets) sheet->SetTabVisible(false);
  EXPECT_EQ(Active(), "-");
  sheets[2]->SetTabVisible(true);
  EXPECT_EQ(Active(), "C");
}

struct NavigationCase {
  int start;
  bool goForward;
  bool checkTabVisible;
  const char* expected;  // the active page afterwards
};

class PageNavigation : public PageControlTest, public ::testing::WithParamInterface<NavigationCase> {};

TEST_P(PageNavigation, SelectNextPageSkipsHiddenTabsAndWraps) {
  sheets[1]->SetTabVisible(false);  // "B" has no tab
  pages->SetActivePageIndex(GetParam().start);
  pages->SelectNextPage(GetParam().goForward, GetParam().checkTabVisible);
  EXPECT_EQ(Active(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageNavigation,
                         ::testing::Values(NavigationCase{0, true, true, "C"},    // over the hidden "B"
                                           NavigationCase{2, false, true, "A"},   // back over "B"
                                           NavigationCase{3, true, true, "A"},    // wraps forward
                                           NavigationCase{0, false, true, "D"},   // wraps backward
                                           NavigationCase{0, true, false, "A"}));  // "B" found but cannot show

TEST_F(PageControlTest, FindNextPageFromNoPageAndWithOnePage) {
  EXPECT_EQ(pages->FindNextPage(nullptr, true, true), sheets[0]);
  EXPECT_EQ(pages->FindNextPage(nullptr, false, true), sheets[3]);
  for (int i = 1; i < 4; ++i) sheets[static_cast<std::size_t>(i)]->SetTabVisible(false);
  EXPECT_EQ(pages->FindNextPage(sheets[0], true, true), sheets[0]);  // the only one comes round again
  EXPECT_EQ(pages->FindNextPage(sheets[0], true, false), sheets[1]);
}

TEST_F(PageControlTest, UserChangeAsksOnChangingAndReportsOnChange) {
  pages->SelectNextPage(true);
  EXPECT_EQ(journal, (std::vector<std::string>{"changing A", "hide A", "show B", "change B"}));

  journal.clear();
  allowChange = false;
  pages->SelectNextPage(true);
  EXPECT_EQ(Active(), "B");
  EXPECT_EQ(journal, (std::vector<std::string>{"changing B"}));
}

TEST_F(PageControlTest, ClickingATabAndCtrlTabChangePages) {
  form->Show();
  const TRect tab = pages->TabRect(2);
  input::MouseDown(*pages, mbLeft, 0, tab.Left + 1, tab.Top + 1);
  EXPECT_EQ(Active(), "C");
  EXPECT_EQ(journal.back(), "change C");

  input::Key(*pages, VK_TAB, ssCtrl | ssShift);
  EXPECT_EQ(Active(), "B");
  allowChange = false;
  input::Key(*pages, VK_TAB, ssCtrl);
  EXPECT_EQ(Active(), "B");
}

TEST_F(PageControlTest, TabsAreSizedByCaptionOrTabWidth) {
  sheets[0]->SetCaption("制表");
  const int h = TextHeightOf(pages->Font());
  EXPECT_EQ(pages->TabRect(0).Width(), TextWidthOf(pages->Font(), "制表") + 12);
  EXPECT_EQ(pages->TabRect(1).Left, pages->TabRect(0).Right);
  EXPECT_EQ(pages->TabRect(0).Height(), h + 12);
  pages->SetTabWidth(70);
  EXPECT_EQ(pages->TabRect(3), (TRect{210, 0, 280, h + 12}));
  EXPECT_EQ(pages->IndexOfTabAt(215, 2), 3);
  EXPECT_EQ(pages->IndexOfTabAt(285, 2), -1);
}

TEST_F(PageControlTest, RemovingTheActivePageShowsTheNext) {
  pages->SetActivePage(sheets[3]);
  journal.clear();
  sheets[3]->SetPageControl(nullptr);
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(Active(), "A");
  EXPECT_EQ(journal, (std::vector<std::string>{"hide D", "show A"}));

  Free(sheets[0]);
  EXPECT_EQ(Active(), "B");
  EXPECT_EQ(sheets[1]->PageIndex(), 0);
  sheets[3]->SetParent(pages);  // back as the last page
  EXPECT_EQ(sheets[3]->PageIndex(), 2);
  sheets[3]->SetPageIndex(0);
  EXPECT_EQ(pages->Pages(0), sheets[3]);
  EXPECT_THROW(pages->Pages(3), ERangeError);
}

TEST_F(PageControlTest, OwnerDrawnTabsAreDrawnByTheProgram) {
  class Painter : public TObject {
   public:
    std::vector<std::pair<int, bool>> tabs;
    void DrawTab(TObject*, int index, const TRect&, bool active) { tabs.emplace_back(index, active); }
  } painter;
  pages->OnDrawTab = MethodOf<&Painter::DrawTab>(&painter);
  pages->DrawTabs();
  EXPECT_TRUE(painter.tabs.empty());  // tabs the system draws

  pages->SetOwnerDraw(true);
  sheets[0]->SetTabVisible(false);
  pages->SetActivePage(sheets[2]);
  pages->DrawTabs();
  EXPECT_EQ(painter.tabs, (std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {2, false}}));
}

}  // namespace
}  // namespace qv

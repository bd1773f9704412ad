// The page control with program-drawn tabs: the default drawing of active
// and inactive tabs, and OnDrawTab taking over.
#include <gtest/gtest.h>

#include <vector>

#include "controls/ExtPage.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

namespace qv {
namespace {

struct DrawnTab {
  int index;
  TRect rect;
  bool active;
  friend bool operator==(const DrawnTab&, const DrawnTab&) = default;
};

class TabLog : public TObject {
 public:
  void Draw(TObject*, int index, const TRect& rect, bool active) { tabs.push_back({index, rect, active}); }
  std::vector<DrawnTab> tabs;
};

// Pages "First", "Hidden" (tab hidden) and "Third": tab 1 shows "Third".
class ExtPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    pages = new TExtPageControl(form);
    pages->SetParent(form);
    for (const char* caption : {"First", "Hidden", "Third"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetPageControl(pages);
      sheet->SetCaption(caption);
    }
    pages->Pages(1)->SetTabVisible(false);
    pages->SetActivePage(pages->Pages(2));
  }
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
  }

  TForm* form = nullptr;
  TExtPageControl* pages = nullptr;
};

TEST_F(ExtPageTest, TheTabStripIsOwnerDrawnAndOnDrawTabPublished) {
  EXPECT_TRUE(pages->OwnerDraw());
  EXPECT_NE(GetPropInfo(pages, "OnDrawTab"), nullptr);
}

// Font height 13: "First" and "Third" are 35 wide, their tabs 47 × 25.
TEST_F(ExtPageTest, TabsAreFilledAndCaptionedInTheCaptionColours) {
  ASSERT_EQ(pages->TabRect(0), (TRect{0, 0, 47, 25}));
  ASSERT_EQ(pages->TabRect(1), (TRect{47, 0, 94, 25}));
  pages->DrawTabs();
  const auto& ops = pages->Canvas().Operations();
  ASSERT_EQ(ops.size(), 4u);

  EXPECT_EQ(ops[0].Kind, DrawKind::FillRect);
  EXPECT_EQ(ops[0].Rect, (TRect{0, 0, 47, 25}));
  EXPECT_EQ(ops[0].Color, clInactiveCaption);
  EXPECT_EQ(ops[1].Kind, DrawKind::TextRect);
  EXPECT_EQ(ops[1].Rect, (TRect{0, 2, 47, 25}));  // the text 2 lower
  EXPECT_EQ(ops[1].Text, "First");
  EXPECT_EQ(ops[1].Color, clInactiveCaptionText);
  EXPECT_FALSE(ops[1].Font.Style & (1u << fsBold));
  EXPECT_EQ(ops[1].Origin, (TPoint{6, 7}));

  EXPECT_EQ(ops[2].Kind, DrawKind::FillRect);
  EXPECT_EQ(ops[2].Rect, (TRect{49, 2, 92, 23}));  // 2 inside the tab
  EXPECT_EQ(ops[2].Color, clActiveCaption);
  EXPECT_EQ(ops[3].Rect, (TRect{49, 2, 92, 23}));
  EXPECT_EQ(ops[3].Text, "Third");
  EXPECT_EQ(ops[3].Color, clCaptionText);
  EXPECT_TRUE(ops[3].Font.Style & (1u << fsBold));
  EXPECT_EQ(ops[3].FillColor, clNone);
  EXPECT_EQ(ops[3].Origin, (TPoint{53, 6}));
}

TEST_F(ExtPageTest, OnDrawTabReplacesTheDefaultDrawing) {
  TabLog log;
  pages->OnDrawTab = MethodOf<&TabLog::Draw>(&log);
  pages->DrawTabs();
  EXPECT_EQ(log.tabs, (std::vector<DrawnTab>{{0, {0, 0, 47, 25}, false}, {1, {47, 0, 94, 25}, true}}));
  EXPECT_TRUE(pages->Canvas().Operations().empty());
}

}  // namespace
}  // namespace qv

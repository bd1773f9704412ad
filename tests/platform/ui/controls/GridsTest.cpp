// Grids: the current cell moved by code, keys and clicks, never onto a
// fixed cell and only where OnSelectCell allows; cells kept through size
// changes; the program drawing the cells.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Grids.h"

namespace qv {
namespace {

class GridTest : public ::testing::Test, public TObject {
 public:
  void SelectCell(TObject*, int col, int row, bool& canSelect) {
    asked.emplace_back(col, row);
    canSelect = !(col == 2 && row == 2);  // one cell that cannot be chosen
  }
  void DrawCell(TObject*, int col, int row, const TRect&, TGridDrawState state) {
    if (state & gdSelected) drawnSelected.emplace_back(col, row);
    if ((state & gdFixed) != 0) ++fixedDrawn;
  }

 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 400);
    grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 400, 300);
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->OnSelectCell = MethodOf<&GridTest::SelectCell>(this);
  }
  void TearDown() override { Free(form); }

  std::pair<int, int> Current() const { return {grid->Col(), grid->Row()}; }

  TForm* form = nullptr;
  TStringGrid* grid = nullptr;
  std::vector<std::pair<int, int>> asked;
  std::vector<std::pair<int, int>> drawnSelected;
  int fixedDrawn = 0;
};

TEST_F(GridTest, SettingTheCurrentCellAsksAndRefuses) {
  EXPECT_EQ(Current(), std::make_pair(1, 1));
  grid->SetCol(3);
  EXPECT_EQ(Current(), std::make_pair(3, 1));
  grid->SetCol(0);  // fixed column
  grid->SetRow(0);  // fixed row
  EXPECT_EQ(Current(), std::make_pair(3, 1));
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{3, 1}}));  // fixed cells are not even asked

  EXPECT_FALSE(grid->MoveTo(2, 2));
  EXPECT_EQ(Current(), std::make_pair(3, 1));
  EXPECT_THROW(grid->SetCol(4), EInvalidOperation);
  EXPECT_THROW(grid->SetRow(-1), EInvalidOperation);
}

struct KeyCase {
  Word key;
  TShiftState shift;
  bool tabs;  // goTabs set
  std::pair<int, int> from, to;
};

class GridKeys : public GridTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GridKeys, MoveTheCurrentCell) {
  form->Show();
  if (GetParam().tabs) grid->SetOptions(grid->Options() | GridOption(goTabs));
  ASSERT_TRUE(grid->MoveTo(GetParam().from.first, GetParam().from.second));
  input::Key(*grid, GetParam().key, GetParam().shift);
  EXPECT_EQ(Current(), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridKeys,
    ::testing::Values(KeyCase{VK_RIGHT, 0, false, {1, 1}, {2, 1}}, KeyCase{VK_RIGHT, 0, false, {3, 1}, {3, 1}},
                      KeyCase{VK_LEFT, 0, false, {1, 1}, {1, 1}},    // stops before the fixed column
                      KeyCase{VK_UP, 0, false, {2, 1}, {2, 1}},      // and the fixed row
                      KeyCase{VK_DOWN, 0, false, {2, 1}, {2, 1}},    // (2, 2) is refused
                      KeyCase{VK_DOWN, 0, false, {3, 2}, {3, 3}}, KeyCase{VK_END, 0, false, {1, 3}, {3, 3}},
                      KeyCase{VK_HOME, ssCtrl, false, {3, 3}, {1, 1}},
                      KeyCase{VK_TAB, 0, true, {1, 1}, {2, 1}},
                      KeyCase{VK_TAB, 0, true, {3, 1}, {1, 2}},      // to the next row
                      KeyCase{VK_TAB, 0, true, {3, 3}, {1, 1}},      // from the last cell to the first
                      KeyCase{VK_TAB, ssShift, true, {1, 2}, {3, 1}},
                      KeyCase{VK_TAB, 0, false, {1, 1}, {1, 1}}));   // without goTabs the focus moves on

TEST_F(GridTest, TabWithGoTabsKeepsTheFocusInTheGrid) {
  auto* other = new TStringGrid(form);
  other->SetParent(form);
  form->Show();
  ASSERT_TRUE(input::Focus(*grid));
  grid->SetOptions(grid->Options() | GridOption(goTabs));
  input::Key(*grid, VK_TAB);
  EXPECT_TRUE(grid->Focused());
  grid->SetOptions(grid->Options() & ~GridOption(goTabs));
  input::Key(*grid, VK_TAB);
  EXPECT_TRUE(other->Focused());
}

TEST_F(GridTest, ClickingACellMovesThere) {
  form->Show();
  grid->SetColWidths(1, 100);
  const TRect cell = grid->CellRect(2, 3);
  EXPECT_EQ(cell.Left, 64 + 1 + 100 + 1);
  input::MouseDown(*grid, mbLeft, 0, cell.Left + 2, cell.Top + 2);
  EXPECT_EQ(Current(), std::make_pair(2, 3));
  input::MouseDown(*grid, mbLeft, 0, 2, 2);  // a fixed cell
  EXPECT_EQ(Current(), std::make_pair(2, 3));
}

TEST_F(GridTest, CellsSurviveSizeChangesAndFixedCountsAreChecked) {
  grid->SetCells(3, 3, "last");
  grid->SetCells(1, 2, "kept");
  grid->SetCol(3);
  grid->SetColCount(3);
  EXPECT_EQ(grid->Col(), 2);  // pulled inside
  grid->SetColCount(5);
  EXPECT_EQ(grid->Cells(1, 2), "kept");
  EXPECT_EQ(grid->Cells(3, 3), "");
  EXPECT_THROW(grid->Cells(5, 0), ERangeError);

  EXPECT_THROW(grid->SetFixedRows(4), EInvalidOperation);
  grid->SetFixedRows(2);
  EXPECT_EQ(grid->Row(), 2);
  grid->SetRowCount(1);
  EXPECT_EQ(grid->FixedRows(), 0);
}

TEST_F(GridTest, DrawCellMarksFixedAndSelectedCells) {
  grid->OnDrawCell = MethodOf<&GridTest::DrawCell>(this);
  grid->MoveTo(2, 1);
  grid->Paint();
  EXPECT_EQ(fixedDrawn, 7);  // one row and one column of a 4 × 4 grid
  EXPECT_EQ(drawnSelected, (std::vector<std::pair<int, int>>{{2, 1}}));

  drawnSelected.clear();
  grid->SetOptions(grid->Options() | GridOption(goRowSelect));
  grid->Paint();
  EXPECT_EQ(drawnSelected, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}}));
}

}  // namespace
}  // namespace qv

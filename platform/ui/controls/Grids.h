#pragma once
// Grids: rows and columns of cells, the first FixedRows rows and FixedCols
// columns fixed (headers that never hold the current cell). The current
// cell moves by keys, clicks or the Col and Row setters, each move asked
// of OnSelectCell first. TDrawGrid leaves the cells to the program
// (OnDrawCell); TStringGrid also holds a text per cell.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/WinControl.h"

namespace qv {

enum TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking,
};
const TEnumType& GridOptionType();
// A bit mask of TGridOption values.
using TGridOptions = std::uint32_t;
constexpr TGridOptions GridOption(TGridOption option) { return TGridOptions{1} << option; }

enum TGridDrawStateFlag : std::uint8_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = std::uint8_t;

using TSelectCellEvent = Event<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent = Event<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;

class TCustomGrid : public TCustomControl {
  QV_OBJECT(TCustomGrid, TCustomControl)

  explicit TCustomGrid(TComponent* owner);

  int ColCount() const { return colCount_; }
  void SetColCount(int count);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int count);
  // Raise EInvalidOperation unless smaller than the column (row) count.
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);

  // The current cell. Setting moves it when OnSelectCell allows; a fixed
  // cell is refused; an index outside the grid raises EInvalidOperation.
  int Col() const { return col_; }
  void SetCol(int col) { MoveTo(col, row_); }
  int Row() const { return row_; }
  void SetRow(int row) { MoveTo(col_, row); }
  // Moves the current cell; false when refused.
  bool MoveTo(int col, int row);

  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);
  bool HasOption(TGridOption option) const { return (options_ & GridOption(option)) != 0; }

  // ---- sizes ----
  int DefaultColWidth() const { return defaultColWidth_; }
  // Gives every column this width.
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int height);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width);
  // The cell's rectangle in client coordinates (no scrolling).
  TRect CellRect(int col, int row) const;
  // The cell under the point; false when none.
  bool MouseToCell(int x, int y, int& col, int& row) const;

  // Has the program draw every cell; backends call it.
  void Paint();

  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

  TSelectCellEvent OnSelectCell;

 protected:
  virtual bool SelectCell(int col, int row);
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) = 0;
  // Columns or rows were added or removed; the cells follow.
  virtual void SizeChanged(int oldColCount, int oldRowCount);
  bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }

 private:
  void ResizeGrid(int colCount, int rowCount);
  void Tab(bool goForward);
  void KeepCurrentInside();

  int colCount_ = 5;
  int rowCount_ = 5;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int col_ = 1;
  int row_ = 1;
  TGridOptions options_;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  int gridLineWidth_ = 1;
  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
};

class TDrawGrid : public TCustomGrid {
  QV_OBJECT(TDrawGrid, TCustomGrid)
  using TCustomGrid::TCustomGrid;

  TDrawCellEvent OnDrawCell;

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override {
    OnDrawCell(this, col, row, rect, state);
  }
};

class TStringGrid : public TDrawGrid {
  QV_OBJECT(TStringGrid, TDrawGrid)

  explicit TStringGrid(TComponent* owner);

  // Raises ERangeError for a cell outside the grid.
  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);

 protected:
  void SizeChanged(int oldColCount, int oldRowCount) override;

 private:
  std::size_t CellIndex(int col, int row) const;

  std::vector<std::string> cells_;  // row by row
};

}  // namespace qv

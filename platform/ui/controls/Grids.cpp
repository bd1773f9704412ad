#include "platform/ui/controls/Grids.h"

#include <algorithm>

#include "platform/core/Exception.h"

namespace qv {

const TEnumType& GridOptionType() {
  static const TEnumType type(
      "TGridOption", {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                      "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
                      "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"});
  return type;
}

// ---- TCustomGrid ----

const TClass& TCustomGrid::StaticClass() {
  static const TClass cls =
      ClassBuilder<TCustomGrid>("TCustomGrid", &TCustomControl::StaticClass())
          .Integer("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount)
          .Integer("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount)
          .Integer("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols)
          .Integer("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows)
          .Integer("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth)
          .Integer("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight)
          .Integer("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth)
          .Set("Options", GridOptionType(), &TCustomGrid::Options, &TCustomGrid::SetOptions)
          .Event("OnSelectCell", &TCustomGrid::OnSelectCell);
  return cls;
}

const TClass& TDrawGrid::StaticClass() {
  static const TClass cls =
      ClassBuilder<TDrawGrid>("TDrawGrid", &TCustomGrid::StaticClass()).Event("OnDrawCell", &TDrawGrid::OnDrawCell);
  return cls;
}

const TClass& TStringGrid::StaticClass() {
  static const TClass cls = ClassBuilder<TStringGrid>("TStringGrid", &TDrawGrid::StaticClass());
  return cls;
}

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner),
      options_(GridOption(goFixedVertLine) | GridOption(goFixedHorzLine) | GridOption(goVertLine) |
               GridOption(goHorzLine) | GridOption(goRangeSelect)),
      colWidths_(static_cast<std::size_t>(colCount_), defaultColWidth_),
      rowHeights_(static_cast<std::size_t>(rowCount_), defaultRowHeight_) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 320, 120);
}

void TCustomGrid::SetColCount(int count) {
  count = std::max(count, 1);
  if (count <= fixedCols_) fixedCols_ = count - 1;
  ResizeGrid(count, rowCount_);
}

void TCustomGrid::SetRowCount(int count) {
  count = std::max(count, 1);
  if (count <= fixedRows_) fixedRows_ = count - 1;
  ResizeGrid(colCount_, count);
}

void TCustomGrid::ResizeGrid(int colCount, int rowCount) {
  if (colCount == colCount_ && rowCount == rowCount_) return;
  const int oldCols = colCount_, oldRows = rowCount_;
  colCount_ = colCount;
  rowCount_ = rowCount;
  colWidths_.resize(static_cast<std::size_t>(colCount), defaultColWidth_);
  rowHeights_.resize(static_cast<std::size_t>(rowCount), defaultRowHeight_);
  SizeChanged(oldCols, oldRows);
  KeepCurrentInside();
  Changed(ControlChange::Content);
}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::SetFixedCols(int count) {
  if (count < 0 || count >= colCount_) throw EInvalidOperation("Fixed column count must be less than column count");
  fixedCols_ = count;
  KeepCurrentInside();
  Changed(ControlChange::Content);
}

void TCustomGrid::SetFixedRows(int count) {
  if (count < 0 || count >= rowCount_) throw EInvalidOperation("Fixed row count must be less than row count");
  fixedRows_ = count;
  KeepCurrentInside();
  Changed(ControlChange::Content);
}

void TCustomGrid::KeepCurrentInside() {
  col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
  row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
}

bool TCustomGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  OnSelectCell(this, col, row, canSelect);
  return canSelect;
}

bool TCustomGrid::MoveTo(int col, int row) {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) throw EInvalidOperation("Grid index out of range");
  if (IsFixed(col, row)) return false;
  if (col == col_ && row == row_) return true;
  if (!SelectCell(col, row)) return false;
  col_ = col;
  row_ = row;
  Changed(ControlChange::Content);
  return true;
}

void TCustomGrid::SetOptions(TGridOptions options) {
  if (options == options_) return;
  options_ = options;
  Changed(ControlChange::Content);
}

void TCustomGrid::SetDefaultColWidth(int width) {
  width = std::max(width, 0);
  defaultColWidth_ = width;
  std::fill(colWidths_.begin(), colWidths_.end(), width);
  Changed(ControlChange::Content);
}

void TCustomGrid::SetDefaultRowHeight(int height) {
  height = std::max(height, 0);
  defaultRowHeight_ = height;
  std::fill(rowHeights_.begin(), rowHeights_.end(), height);
  Changed(ControlChange::Content);
}

int TCustomGrid::ColWidths(int col) const {
  if (col < 0 || col >= colCount_) throw ERangeError("Grid index out of range");
  return colWidths_[static_cast<std::size_t>(col)];
}

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= colCount_) throw ERangeError("Grid index out of range");
  colWidths_[static_cast<std::size_t>(col)] = std::max(width, 0);
  Changed(ControlChange::Content);
}

int TCustomGrid::RowHeights(int row) const {
  if (row < 0 || row >= rowCount_) throw ERangeError("Grid index out of range");
  return rowHeights_[static_cast<std::size_t>(row)];
}

void TCustomGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= rowCount_) throw ERangeError("Grid index out of range");
  rowHeights_[static_cast<std::size_t>(row)] = std::max(height, 0);
  Changed(ControlChange::Content);
}

void TCustomGrid::SetGridLineWidth(int width) {
  gridLineWidth_ = std::max(width, 0);
  Changed(ControlChange::Content);
}

TRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {};
  int left = 0, top = 0;
  for (int c = 0; c < col; ++c) left += colWidths_[static_cast<std::size_t>(c)] + gridLineWidth_;
  for (int r = 0; r < row; ++r) top += rowHeights_[static_cast<std::size_t>(r)] + gridLineWidth_;
  return {left, top, left + colWidths_[static_cast<std::size_t>(col)], top + rowHeights_[static_cast<std::size_t>(row)]};
}

bool TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = row = -1;
  for (int c = 0, left = 0; c < colCount_ && col < 0; ++c) {
    left += colWidths_[static_cast<std::size_t>(c)] + gridLineWidth_;
    if (x >= 0 && x < left) col = c;
  }
  for (int r = 0, top = 0; r < rowCount_ && row < 0; ++r) {
    top += rowHeights_[static_cast<std::size_t>(r)] + gridLineWidth_;
    if (y >= 0 && y < top) row = r;
  }
  return col >= 0 && row >= 0;
}

void TCustomGrid::Paint() {
  const bool rowSelect = HasOption(goRowSelect);
  for (int row = 0; row < rowCount_; ++row)
    for (int col = 0; col < colCount_; ++col) {
      TGridDrawState state = 0;
      if (IsFixed(col, row)) state |= gdFixed;
      else if (row == row_ && (col == col_ || rowSelect)) state |= gdSelected | (col == col_ && Focused() ? gdFocused : 0);
      DrawCell(col, row, CellRect(col, row), state);
    }
}

void TCustomGrid::Tab(bool goForward) {
  const bool rowSelect = HasOption(goRowSelect);
  int col = col_, row = row_;
  if (rowSelect || (goForward ? ++col >= colCount_ : --col < fixedCols_)) {
    if (!rowSelect) col = goForward ? fixedCols_ : colCount_ - 1;
    row += goForward ? 1 : -1;
    if (row >= rowCount_) row = fixedRows_;
    if (row < fixedRows_) row = rowCount_ - 1;
  }
  MoveTo(col, row);
}

void TCustomGrid::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const bool rowSelect = HasOption(goRowSelect);
  switch (key) {
    case VK_LEFT:
      if (!rowSelect && col_ > fixedCols_) MoveTo(col_ - 1, row_);
      break;
    case VK_RIGHT:
      if (!rowSelect && col_ < colCount_ - 1) MoveTo(col_ + 1, row_);
      break;
    case VK_UP:
      if (row_ > fixedRows_) MoveTo(col_, row_ - 1);
      break;
    case VK_DOWN:
      if (row_ < rowCount_ - 1) MoveTo(col_, row_ + 1);
      break;
    case VK_HOME:
      MoveTo(fixedCols_, (shift & ssCtrl) ? fixedRows_ : row_);
      break;
    case VK_END:
      MoveTo(colCount_ - 1, (shift & ssCtrl) ? rowCount_ - 1 : row_);
      break;
    case VK_TAB:
      if (HasOption(goTabs) && !(shift & (ssCtrl | ssAlt))) {
        Tab(!(shift & ssShift));
        key = 0;  // the grid keeps the focus
      }
      break;
    default: break;
  }
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  int col = 0, row = 0;
  if (button == mbLeft && MouseToCell(x, y, col, row) && !IsFixed(col, row)) MoveTo(col, row);
  TCustomControl::MouseDown(button, shift, x, y);
}

// ---- TStringGrid ----

TStringGrid::TStringGrid(TComponent* owner)
    : TDrawGrid(owner), cells_(static_cast<std::size_t>(ColCount() * RowCount())) {}

std::size_t TStringGrid::CellIndex(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) throw ERangeError("Grid index out of range");
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(ColCount()) + static_cast<std::size_t>(col);
}

const std::string& TStringGrid::Cells(int col, int row) const { return cells_[CellIndex(col, row)]; }

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  std::string& cell = cells_[CellIndex(col, row)];
  if (cell == text) return;
  cell = text;
  Changed(ControlChange::Content);
}

void TStringGrid::SizeChanged(int oldColCount, int oldRowCount) {
  std::vector<std::string> cells(static_cast<std::size_t>(ColCount() * RowCount()));
  for (int row = 0; row < std::min(oldRowCount, RowCount()); ++row)
    for (int col = 0; col < std::min(oldColCount, ColCount()); ++col)
      cells[CellIndex(col, row)] = std::move(cells_[static_cast<std::size_t>(row * oldColCount + col)]);
  cells_ = std::move(cells);
}

}  // namespace qv

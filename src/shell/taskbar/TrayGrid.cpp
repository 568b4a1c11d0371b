#include "shell/taskbar/TrayGrid.h"

#include <algorithm>

int TrayGrid::RowHeight() const { return std::min(iconSize_ + 2 * kCellPadding, kMaxRowHeight); }

TrayGrid::Cell TrayGrid::CellOf(int index, int areaLeft) const {
  const int columns = std::max(Columns(), 1);
  const int row = index / columns, column = index % columns;
  const int top0 = (StripLayout::kHeight - Rows() * RowHeight()) / 2;
  Cell cell;
  cell.left = areaLeft + kAreaMargin + column * CellWidth();
  cell.right = cell.left + CellWidth();
  cell.top = top0 + row * RowHeight();
  cell.bottom = cell.top + RowHeight();
  cell.iconX = cell.left + (CellWidth() - iconSize_) / 2;
  cell.iconY = cell.top + (RowHeight() - iconSize_) / 2;
  return cell;
}

int TrayGrid::IndexAt(int x, int y, int areaLeft) const {
  for (int i = 0; i < count_; ++i)
    if (CellOf(i, areaLeft).Contains(x, y)) return i;
  return -1;
}

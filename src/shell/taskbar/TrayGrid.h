#pragma once
// Where the notification area's icons go: each at the small-icon size in a cell a little larger,
// in up to two rows as the task buttons are (the first row holds the larger half), centred from
// top to bottom in the strip. No icon, no width: the strip then looks as it does without the area.
// Logic only: no window.
#include "shell/taskbar/StripLayout.h"

class TrayGrid {
 public:
  // The space around an icon inside its cell, and at the area's two ends.
  static constexpr int kCellPadding = 3;
  static constexpr int kAreaMargin = 3;
  // Two rows of cells never stand higher than two rows of task buttons.
  static constexpr int kMaxRowHeight = 27;

  TrayGrid(int iconSize, int count) : iconSize_(iconSize), count_(count < 0 ? 0 : count) {}

  int Rows() const { return count_ > 1 ? 2 : 1; }
  int Columns() const { return (count_ + Rows() - 1) / Rows(); }
  int CellWidth() const { return iconSize_ + 2 * kCellPadding; }
  int RowHeight() const;
  // The area's width for the icons; 0 without icons.
  int Width() const { return count_ == 0 ? 0 : Columns() * CellWidth() + 2 * kAreaMargin; }

  struct Cell {
    int left, top, right, bottom;  // the cell, in strip pixels
    int iconX, iconY;              // where the icon is drawn
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  };
  // Icon `index`'s cell in an area that begins at `areaLeft`.
  Cell CellOf(int index, int areaLeft) const;
  // The icon under a point of the strip, or -1.
  int IndexAt(int x, int y, int areaLeft) const;

 private:
  int iconSize_;
  int count_;
};

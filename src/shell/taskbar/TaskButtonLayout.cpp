#include "shell/taskbar/TaskButtonLayout.h"

#include <algorithm>

#include "common/screen.h"

namespace {

// The first row's top edge and the first button's gap from the area's left edge.
constexpr int16_t kFirstRowTop = 5;
constexpr int16_t kGapLeft = 2;
// What the buttons of a row leave free of the area's width.
constexpr int kRowSlack = 30;

}  // namespace

void TaskButtonLayout::Begin(const StripLayout::Area& taskArea, int count) {
  firstX_ = static_cast<int16_t>(taskArea.left + kGapLeft);
  nextTaskX_ = firstX_;
  taskAreaWidth_ = static_cast<int16_t>(taskArea.Width());
  taskRowTop_ = kFirstRowTop;
  rowFill_ = 0;
  oddFlag_ = static_cast<int16_t>(count % 2);
}

TaskButtonLayout::Place TaskButtonLayout::Next(int count, int16_t buttonHeight) {
  const int perRow = std::max((count + oddFlag_) / 2, 1);
  const double width = static_cast<double>(taskAreaWidth_ - kRowSlack) / perRow;
  const int resultingWidth = std::max<int>(static_cast<int>(common::RoundHalfEven(width)), 1);
  rowFill_ = static_cast<int16_t>(rowFill_ + resultingWidth);
  if (rowFill_ >= taskAreaWidth_) {
    // The button that fills the row is the first of the next one; its width is not counted.
    taskRowTop_ = static_cast<int16_t>(taskRowTop_ + buttonHeight);
    rowFill_ = 0;
    nextTaskX_ = firstX_;
  }
  const Place place = {static_cast<int>(nextTaskX_), taskRowTop_, resultingWidth};
  nextTaskX_ += resultingWidth;
  return place;
}

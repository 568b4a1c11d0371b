#pragma once
// Where the task buttons go inside the task area: up to two rows, 2 pixels right of the area's
// left edge, each button (area width - 30) / per row wide, per row being half the task count
// rounded up. A button that fills a row up to the area's width starts the next row.
#include <cstdint>

#include "shell/taskbar/StripLayout.h"

class TaskButtonLayout {
 public:
  struct Place {
    int left;
    int top;
    int width;  // the button's width in whole pixels
  };

  // Starts a rebuild of `count` buttons in `taskArea`.
  void Begin(const StripLayout::Area& taskArea, int count);

  // The place of the next button; `buttonHeight` is how far a wrap moves down.
  Place Next(int count, int16_t buttonHeight);

  int16_t TaskAreaWidth() const { return taskAreaWidth_; }

 private:
  int16_t firstX_ = 0;
  double nextTaskX_ = 0;
  int16_t taskRowTop_ = 0;
  int16_t taskAreaWidth_ = 0;
  int16_t rowFill_ = 0;
  int16_t oddFlag_ = 0;
};

#pragma once
// Where the task buttons go: up to two rows in the task area right of the fixed buttons, each
// button (area width - 30) / per row wide, per row being half the task count rounded up. A
// button that fills a row up to the area's width starts the next row.
#include <cstdint>

class TaskButtonLayout {
 public:
  struct Place {
    int left;
    int top;
    int width;  // the button's width in whole pixels
  };

  // Starts a rebuild: `firstX` is the right end of the last fixed button, `stripWidth` the
  // strip's width, `count` the number of tasks.
  void Begin(int16_t lastFixedRight, int stripWidth, int count);

  // The place of the next button; `buttonHeight` is how far a wrap moves down.
  Place Next(int count, int16_t buttonHeight);

  int16_t TaskAreaWidth() const { return taskAreaWidth_; }

  // What the task area leaves at the strip's right end for the clock: 150 pixels on a standard
  // screen, growing with the dpi as the clock's text does (at 144 dpi the date alone is wider
  // than 150 pixels).
  static constexpr double kClockReserveTwips = 2250;
  static int ClockReserve();

 private:
  int16_t firstX_ = 0;
  double nextTaskX_ = 0;
  int16_t taskRowTop_ = 5;
  int16_t taskAreaWidth_ = 0;
  int16_t rowFill_ = 0;
  int16_t oddFlag_ = 0;
};

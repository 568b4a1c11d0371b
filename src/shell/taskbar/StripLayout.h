#pragma once
// The taskbar strip's geometry, the one place that says where each part of the strip lies. From
// left to right: the fixed buttons (start, quick launch, grip), the task area, the notification
// area (no width until there is one), and the clock, with the strip's 1-pixel border at each end.
// The clock's share grows with the dpi, as its text does; everything else is in pixels, as the
// skin is. Logic only: no window.
#include <cstdint>

#include "shell/taskbar/TaskBarStyle.h"

class StripLayout {
 public:
  // A run of columns of the strip, right end excluded.
  struct Area {
    int left = 0;
    int right = 0;
    int Width() const { return right - left; }
  };

  // The strip is as high as its images, 54 pixels at every dpi, so that it meets the work area
  // the desktop reserves and the start menu's bottom edge.
  static constexpr int kHeight = 54;
  static constexpr int kBorder = 1;
  // The clock's share at the right end: 150 pixels on a standard screen (at 144 dpi the date
  // alone is wider than 150 pixels).
  static constexpr double kClockWidthTwips = 2250;

  void SetStripWidth(int width) { stripWidth_ = width; }
  // The right end of the last fixed button's hit zone.
  void SetFixedButtonsRight(int right) { fixedRight_ = right; }
  void SetNotificationWidth(int width) { notificationWidth_ = width; }

  int StripWidth() const { return stripWidth_; }
  Area FixedButtons() const { return {0, fixedRight_}; }
  Area TaskArea() const;
  Area NotificationArea() const;
  Area Clock() const;

 private:
  int ClockWidth() const;

  int stripWidth_ = 0;
  int fixedRight_ = 0;
  int notificationWidth_ = 0;
};

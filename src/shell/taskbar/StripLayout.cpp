#include "shell/taskbar/StripLayout.h"

#include <algorithm>

#include "common/screen.h"

int StripLayout::ClockWidth() const { return common::TwipsToPixelsX(kClockWidthTwips); }

StripLayout::Area StripLayout::Clock() const {
  return {std::max(stripWidth_ - ClockWidth(), 0), std::max(stripWidth_ - kBorder, 0)};
}

StripLayout::Area StripLayout::NotificationArea() const {
  const int right = Clock().left;
  return {std::max(right - notificationWidth_, 0), right};
}

StripLayout::Area StripLayout::TaskArea() const {
  // Never narrower than nothing: on a strip too narrow for everything the task area is empty.
  return {fixedRight_, std::max(NotificationArea().left, fixedRight_)};
}

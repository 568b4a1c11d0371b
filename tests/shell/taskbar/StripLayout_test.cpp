#include "shell/taskbar/StripLayout.h"

#include <gtest/gtest.h>

#include "support/testing.h"

namespace {

// The parts lie side by side from the fixed buttons to the right border, whatever the dpi and
// whether there is a notification area; the clock's share grows with the dpi.
TEST(StripLayout, PartsLieSideBySideAndTheClockGrowsWithTheDpi) {
  const struct {
    int dpi, notificationWidth, clockWidth;
  } cases[] = {{96, 0, 150}, {120, 0, 188}, {144, 0, 225}, {96, 80, 150}, {144, 60, 225}};
  for (const auto& c : cases) {
    testing_support::DpiOverride dpi(c.dpi);
    StripLayout layout;
    layout.SetStripWidth(1024);
    layout.SetFixedButtonsRight(376);
    layout.SetNotificationWidth(c.notificationWidth);
    const StripLayout::Area task = layout.TaskArea(), tray = layout.NotificationArea(),
                            clock = layout.Clock();
    EXPECT_EQ(layout.FixedButtons().right, task.left) << c.dpi;
    EXPECT_EQ(task.right, tray.left) << c.dpi;
    EXPECT_EQ(tray.Width(), c.notificationWidth) << c.dpi;
    EXPECT_EQ(tray.right, clock.left) << c.dpi;
    EXPECT_EQ(clock.right, 1024 - StripLayout::kBorder) << c.dpi;
    EXPECT_EQ(1024 - clock.left, c.clockWidth) << c.dpi;
  }
}

TEST(StripLayout, ANarrowStripLeavesTheTaskAreaEmptyNeverNegative) {
  StripLayout layout;
  layout.SetStripWidth(400);
  layout.SetFixedButtonsRight(376);
  layout.SetNotificationWidth(100);
  EXPECT_EQ(layout.TaskArea().Width(), 0);
  EXPECT_GE(layout.NotificationArea().left, 0);
}

}  // namespace

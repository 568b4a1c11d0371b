#include "shell/taskbar/TaskBarClock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The clock alone, on a strip surface without a window.
TEST(TaskBarClock, PaintsOnlyWhenItsTextChangesAndLeavesNothingOfALongerText) {
  common::MemorySurface surface;
  surface.Resize(1024, StripLayout::kHeight, kDefaultTaskBarColor);
  int refreshes = 0;
  StripCanvas canvas(surface, [&](int, int) { ++refreshes; });
  canvas.PaintBackground(0, 1024);
  StripLayout layout;
  layout.SetStripWidth(1024);
  std::wstring text;
  TaskBarClock clock;
  clock.SetTextSource([&] { return text; });
  common::MemorySurface band;  // the strip's background alone
  band.Resize(1024, StripLayout::kHeight, kDefaultTaskBarColor);
  StripCanvas(band, nullptr).PaintBackground(0, 1024);
  // Pixels of text between two columns.
  auto ink = [&](int x0, int x1) {
    int pixels = 0;
    for (int y = 0; y < StripLayout::kHeight; ++y)
      for (int x = x0; x < x1; ++x) pixels += surface.ColorAt(x, y) != band.ColorAt(x, y);
    return pixels;
  };
  const struct {
    std::wstring text;
    int refreshes;  // after two ticks
  } steps[] = {{L"2024年5月1日星期三 很长很长的日期\r\n9:05:07", 1},
               {L"2024年5月1日星期三 很长很长的日期\r\n9:05:07", 0},
               {L"5月1日\r\n9:05:08", 1}};
  for (const auto& s : steps) {
    text = s.text;
    refreshes = 0;
    clock.Tick(canvas, layout.Clock());
    clock.Tick(canvas, layout.Clock());
    EXPECT_EQ(refreshes, s.refreshes);
  }
  // The short text stays inside the clock's share; the long one left nothing behind it.
  EXPECT_GT(ink(layout.Clock().left, 1023), 30);
  EXPECT_EQ(ink(1, layout.Clock().left), 0);
  refreshes = 0;
  clock.Forget();
  clock.Tick(canvas, layout.Clock());
  EXPECT_EQ(refreshes, 1) << "painted over: painted again";
}

}  // namespace

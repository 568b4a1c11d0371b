#include "common/surface.h"

#include <gtest/gtest.h>

namespace {

TEST(MemorySurface, KeepsColoursInTheSystemLayout) {
  common::MemorySurface surface;
  ASSERT_TRUE(surface.Resize(8, 4, 0x0000FF));  // red, 0x00BBGGRR
  EXPECT_EQ(surface.ColorAt(0, 0), 0x0000FFu);
  // Through GDI the same pixel reads as the same COLORREF.
  EXPECT_EQ(GetPixel(surface.Dc(), 7, 3), RGB(255, 0, 0));

  surface.SetColor(2, 1, 0x431F13);
  EXPECT_EQ(GetPixel(surface.Dc(), 2, 1), RGB(19, 31, 67));
}

TEST(MemorySurface, RunsAreClippedToTheSurface) {
  common::MemorySurface surface;
  ASSERT_TRUE(surface.Resize(10, 3, 0));
  surface.FillRun(-5, 3, 1, 0x123456);
  surface.FillRun(8, 100, 1, 0x654321);
  surface.FillRun(0, 10, 7, 0xFFFFFF);  // outside: nothing
  EXPECT_EQ(surface.ColorAt(0, 1), 0x123456u);
  EXPECT_EQ(surface.ColorAt(2, 1), 0x123456u);
  EXPECT_EQ(surface.ColorAt(3, 1), 0u);
  EXPECT_EQ(surface.ColorAt(9, 1), 0x654321u);
  EXPECT_EQ(surface.ColorAt(0, 2), 0u);
}

TEST(MemorySurface, EmptySizeIsNoSurface) {
  common::MemorySurface surface;
  EXPECT_TRUE(surface.Resize(0, 100));
  EXPECT_TRUE(surface.Empty());
  EXPECT_EQ(surface.ColorAt(0, 0), 0u);
  surface.FillRun(0, 10, 0, 1);  // harmless
}

}  // namespace

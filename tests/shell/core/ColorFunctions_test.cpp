#include "shell/core/ColorFunctions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace ColorFunctions;

TEST(SplitColor, PlainSystemAndInvalidColours) {
  int16_t r, g, b;
  SplitColor(0x123456, r, g, b);
  EXPECT_EQ(r, 0x56);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(b, 0x12);

  // A system colour reference is resolved to the colour currently set.
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  SplitColor(static_cast<int32_t>(0x80000000u | COLOR_HIGHLIGHT), r, g, b);
  EXPECT_EQ(r, GetRValue(highlight));
  EXPECT_EQ(g, GetGValue(highlight));
  EXPECT_EQ(b, GetBValue(highlight));

  // -2 is no colour at all: black.
  r = g = b = 7;
  SplitColor(-2, r, g, b);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 0);
}

TEST(GrayColor, AverageOfTheThreeParts) {
  EXPECT_EQ(GrayColor(255), 5592405);          // pure red: 85, 85, 85
  EXPECT_EQ(GrayColor(6052956), 6052956);      // already grey
  EXPECT_EQ(GrayColor(MakeColor(1, 1, 0)), MakeColor(1, 1, 1));  // 0.67 rounds up
  EXPECT_EQ(GrayColor(MakeColor(1, 0, 0)), 0);                   // 0.33 rounds down
  EXPECT_EQ(GrayColor(-2), 0);
}

TEST(AdjustBrightness, LimitsEachPartToAByte) {
  EXPECT_EQ(AdjustBrightness(16448250, 40), 16777215);
  EXPECT_EQ(AdjustBrightness(6052956, -100), 0);
  EXPECT_EQ(AdjustBrightness(6052956, 0), 6052956);
  EXPECT_EQ(AdjustBrightness(MakeColor(10, 200, 250), 50), MakeColor(60, 250, 255));
  // An invalid colour is black before the brightness is added.
  EXPECT_EQ(AdjustBrightness(-2, 50), MakeColor(50, 50, 50));
}

TEST(AdjustBrightness, HalvesRoundToEven) {
  EXPECT_EQ(AdjustBrightness(MakeColor(10, 11, 12), 0.5f), MakeColor(10, 12, 12));
  EXPECT_EQ(AdjustBrightness(MakeColor(10, 11, 12), -0.5f), MakeColor(10, 10, 12));
  EXPECT_EQ(AdjustBrightness(MakeColor(254, 0, 0), 0.5f), MakeColor(254, 0, 0));
}

TEST(AdjustBrightness, NotANumberGivesBlack) {
  EXPECT_EQ(AdjustBrightness(16777215, std::nanf("")), 0);
}

TEST(LimitRange, ClampsAndTreatsNotANumberAsLow) {
  EXPECT_EQ(LimitRange(300, 0, 255), 255);
  EXPECT_EQ(LimitRange(-3, 0, 255), 0);
  EXPECT_EQ(LimitRange(12.5f, 0, 255), 12.5f);
  EXPECT_EQ(LimitRange(0, 0, 255), 0);
  EXPECT_EQ(LimitRange(255, 0, 255), 255);
  EXPECT_EQ(LimitRange(std::nanf(""), 0, 255), 0);
}

}  // namespace

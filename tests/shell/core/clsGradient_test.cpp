#include "shell/core/clsGradient.h"

#include <gtest/gtest.h>

namespace {

TEST(Analyze, SplitsAndConsumesTheColour) {
  clsGradient g;
  int32_t colour = 6052956;
  g.Analyze(colour);
  EXPECT_EQ(g.Red(), 92);
  EXPECT_EQ(g.Green(), 92);
  EXPECT_EQ(g.Blue(), 92);
  EXPECT_EQ(colour, 0);

  int32_t background = 0x431F13;
  g.Analyze(background);
  EXPECT_EQ(g.Red(), 19);
  EXPECT_EQ(g.Green(), 31);
  EXPECT_EQ(g.Blue(), 67);
}

TEST(Analyze, SystemColoursAreNotTranslated) {
  clsGradient g;
  int32_t system = static_cast<int32_t>(0x80000005u);  // window background system colour
  g.Analyze(system);
  EXPECT_EQ(g.Red(), 0);
  EXPECT_EQ(g.Green(), 0);
  EXPECT_EQ(g.Blue(), 0);
}

TEST(LineColors, OneLineMoreThanTheSpanEachAStepOn) {
  const auto colors = clsGradient::LineColors(0x431F13, 0x7C4227, 1024);
  ASSERT_EQ(colors.size(), 1025u);
  // Line 0 is one step past the start colour: 19.02 31.03 67.06 round to the start colour.
  EXPECT_EQ(colors[0], 0x431F13u);
  // Line 1023 reaches the end colour exactly, line 1024 is one step beyond it.
  EXPECT_EQ(colors[1023], 0x7C4227u);
  EXPECT_EQ(colors[1024], 0x7C4227u);
  // Line 512: 19 + 513 * 20 / 1024 = 29.02, 31 + 513 * 35 / 1024 = 48.53, 67 + 513 * 57 / 1024
  // = 95.56.
  EXPECT_EQ(colors[512], 29u | (49u << 8) | (96u << 16));
}

TEST(LineColors, PartsStayWithinAByte) {
  const auto up = clsGradient::LineColors(0, 0xFFFFFF, 1);
  ASSERT_EQ(up.size(), 2u);
  EXPECT_EQ(up[0], 0xFFFFFFu);
  EXPECT_EQ(up[1], 0xFFFFFFu);  // 510 counts as 255
  const auto down = clsGradient::LineColors(0xFFFFFF, 0, 1);
  EXPECT_EQ(down[1], 0u);  // -255 counts as 0
}

TEST(LineColors, HalfStepsRoundToEven) {
  // From 0 to 1 over 2 lines: line 0 is 0.5 -> 0, line 1 is 1.0, line 2 is 1.5 -> 2.
  const auto colors = clsGradient::LineColors(0, 1, 2);
  ASSERT_EQ(colors.size(), 3u);
  EXPECT_EQ(colors[0], 0u);
  EXPECT_EQ(colors[1], 1u);
  EXPECT_EQ(colors[2], 2u);
}

TEST(Gradient, PaintsColumnsFromLeftToRight) {
  common::MemorySurface surface;
  ASSERT_TRUE(surface.Resize(1024, 20, 0xABCDEF));
  clsGradient().Gradient(surface, 1, 0x431F13, 0x7C4227);
  const auto colors = clsGradient::LineColors(0x431F13, 0x7C4227, 1024);
  for (int x : {0, 1, 300, 512, 1022, 1023}) {
    EXPECT_EQ(surface.ColorAt(x, 0), colors[static_cast<size_t>(x)]) << x;
    EXPECT_EQ(surface.ColorAt(x, 19), colors[static_cast<size_t>(x)]) << x;
  }
}

TEST(Gradient, PaintsRowsFromTopToBottom) {
  common::MemorySurface surface;
  ASSERT_TRUE(surface.Resize(3, 10, 0xABCDEF));
  clsGradient().Gradient(surface, 0, 0, 0x0A0A0A);
  EXPECT_EQ(surface.ColorAt(0, 0), 0x010101u);
  EXPECT_EQ(surface.ColorAt(2, 9), 0x0A0A0Au);
}

TEST(Gradient, NoExtentOrUnknownOrientationPaintsNothing) {
  EXPECT_TRUE(clsGradient::LineColors(0, 0xFFFFFF, 0).empty());
  common::MemorySurface surface;
  ASSERT_TRUE(surface.Resize(4, 4, 0xABCDEF));
  clsGradient().Gradient(surface, 2, 0, 0xFFFFFF);
  EXPECT_EQ(surface.ColorAt(0, 0), 0xABCDEFu);
  common::MemorySurface minimised;
  ASSERT_TRUE(minimised.Resize(0, 0));
  clsGradient().Gradient(minimised, 1, 0, 0xFFFFFF);  // no division by zero
  EXPECT_TRUE(minimised.Empty());
}

}  // namespace

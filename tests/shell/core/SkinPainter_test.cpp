#include "shell/core/SkinPainter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinLinePainter.h"
#include "shell/core/SkinImages.h"

namespace {

constexpr uint32_t kPaper = 0x123456;  // what lies below; no image uses this colour

class PaintSkinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(surface_.Resize(40, 12, kPaper)); }

  int16_t Paint(std::string_view text, int16_t run, int16_t x, int16_t y, bool enabled = true,
                int16_t brightness = 0, SkinRules rules = SkinRules::Control()) {
    return PaintSkin(surface_, rules, run, text, x, y, enabled, brightness);
  }

  common::MemorySurface surface_;
};

TEST_F(PaintSkinTest, RunLengthStretchesEachPixelAtTheOffset) {
  EXPECT_EQ(Paint("1,6052956,16448250", 10, 5, 3), 0);
  for (int x = 5; x <= 14; ++x) {
    EXPECT_EQ(surface_.ColorAt(x, 3), 6052956u) << x;
    EXPECT_EQ(surface_.ColorAt(x, 4), 16448250u) << x;
  }
  // The end point of each run is not drawn, and nothing else is touched.
  EXPECT_EQ(surface_.ColorAt(4, 3), kPaper);
  EXPECT_EQ(surface_.ColorAt(15, 3), kPaper);
  EXPECT_EQ(surface_.ColorAt(15, 4), kPaper);
  EXPECT_EQ(surface_.ColorAt(5, 2), kPaper);
  EXPECT_EQ(surface_.ColorAt(5, 5), kPaper);
}

TEST_F(PaintSkinTest, IncompleteLastColumnIsPaintedAsFarAsItGoes) {
  EXPECT_EQ(Paint("1,1,2,3", 1, 0, 0), 1);
  EXPECT_EQ(surface_.ColorAt(0, 0), 1u);
  EXPECT_EQ(surface_.ColorAt(0, 1), 2u);
  EXPECT_EQ(surface_.ColorAt(1, 0), 3u);
  EXPECT_EQ(surface_.ColorAt(1, 1), kPaper);
  // Blanks before the numbers, as the encoder writes them, read the same.
  EXPECT_EQ(Paint(" 1, 1, 2, 3", 1, 10, 0), 1);
  EXPECT_EQ(surface_.ColorAt(11, 0), 3u);
}

TEST_F(PaintSkinTest, NextColumnOverdrawsAllButTheFirstPixelOfARun) {
  // Row 0: column 1 is transparent there, so column 0's run stays; row 1: column 1 takes over.
  EXPECT_EQ(Paint("1,100,100,-1,200", 3, 0, 0), 1);
  EXPECT_EQ(surface_.ColorAt(0, 0), 100u);
  EXPECT_EQ(surface_.ColorAt(2, 0), 100u);
  EXPECT_EQ(surface_.ColorAt(3, 0), kPaper);
  EXPECT_EQ(surface_.ColorAt(0, 1), 100u);
  EXPECT_EQ(surface_.ColorAt(1, 1), 200u);
  EXPECT_EQ(surface_.ColorAt(3, 1), 200u);
  EXPECT_EQ(surface_.ColorAt(4, 1), kPaper);
}

TEST_F(PaintSkinTest, TransparentPixelsLeaveWhatIsBelow) {
  EXPECT_EQ(Paint("2,-1,255,-1", 5, 1, 1), 0);
  EXPECT_EQ(surface_.ColorAt(1, 1), kPaper);
  EXPECT_EQ(surface_.ColorAt(1, 2), 255u);
  EXPECT_EQ(surface_.ColorAt(5, 2), 255u);
  EXPECT_EQ(surface_.ColorAt(1, 3), kPaper);
}

TEST_F(PaintSkinTest, MinusTwoIsTheTaskBarColourOnTheTaskBarOnlyAndBlackElsewhere) {
  Paint("0,-2", 1, 0, 0, true, 0, SkinRules::TaskBar(kDefaultTaskBarColor));
  EXPECT_EQ(surface_.ColorAt(0, 0), 15132390u);
  Paint("0,-2", 1, 1, 0, true, 0, SkinRules::TaskBar(0x102030));
  EXPECT_EQ(surface_.ColorAt(1, 0), 0x102030u);
  // The taskbar colour is then brightened or greyed like any other colour.
  Paint("0,-2", 1, 2, 0, true, 50, SkinRules::TaskBar(0x102030));
  EXPECT_EQ(surface_.ColorAt(2, 0), 0x425262u);
  Paint("0,-2", 1, 3, 0, false, 0, SkinRules::TaskBar(255));
  EXPECT_EQ(surface_.ColorAt(3, 0), 5592405u);

  // Task and menu buttons: not a colour, black, then brightness.
  Paint("0,-2", 1, 4, 0);
  EXPECT_EQ(surface_.ColorAt(4, 0), 0u);
  Paint("0,-2", 1, 5, 0, true, 50);
  EXPECT_EQ(surface_.ColorAt(5, 0), 0x323232u);
}

TEST_F(PaintSkinTest, GreyAndBrightnessLimits) {
  Paint("0,6052956", 1, 0, 0, false);
  EXPECT_EQ(surface_.ColorAt(0, 0), 6052956u);
  Paint("0,255", 1, 1, 0, false, 50);  // grey ignores the brightness
  EXPECT_EQ(surface_.ColorAt(1, 0), 5592405u);
  Paint("0,16448250", 1, 2, 0, true, 40);
  EXPECT_EQ(surface_.ColorAt(2, 0), 16777215u);
  Paint("0,6052956", 1, 3, 0, true, -100);
  EXPECT_EQ(surface_.ColorAt(3, 0), 0u);
  Paint("0,6052956", 1, 4, 0, true, -50);
  EXPECT_EQ(surface_.ColorAt(4, 0), 0x2A2A2Au);
}

TEST_F(PaintSkinTest, EmptyOrMalformedTextDrawsNothing) {
  EXPECT_EQ(Paint("", 1, 0, 0), 0);
  EXPECT_EQ(Paint("", 1, 0, 0, true, 0, SkinRules::TaskBar(kDefaultTaskBarColor)), 0);
  EXPECT_EQ(Paint("1,255,abc", 1, 0, 0), 0);
  EXPECT_EQ(Paint("1,255,", 1, 0, 0), 0);
  EXPECT_EQ(Paint("23", 1, 0, 0), 0);  // a height and no pixels
  for (int y = 0; y < surface_.Height(); ++y)
    for (int x = 0; x < surface_.Width(); ++x) ASSERT_EQ(surface_.ColorAt(x, y), kPaper);
}

TEST_F(PaintSkinTest, ImagesAreClippedToTheSurface) {
  EXPECT_EQ(Paint("1,1,2,3,4", 100, -50, -1), 1);
  EXPECT_EQ(surface_.ColorAt(0, 0), 4u);  // row 1 of column 1 reaches x 0 ... 50
  EXPECT_EQ(surface_.ColorAt(39, 0), 4u);
  EXPECT_EQ(Paint("0,9", 5, 38, 11), 0);
  EXPECT_EQ(surface_.ColorAt(39, 11), 9u);
}

// A negative height makes every pixel start a new column before it is drawn.
TEST_F(PaintSkinTest, NegativeHeightPutsEachPixelInAColumnOfItsOwn) {
  EXPECT_EQ(Paint("-1,5,6", 1, 0, 0), 2);
  EXPECT_EQ(surface_.ColorAt(0, 0), kPaper);
  EXPECT_EQ(surface_.ColorAt(1, 0), 5u);
  EXPECT_EQ(surface_.ColorAt(2, 0), 6u);
}

TEST(SkinCache, DecodesATextOnceAndStaysBounded) {
  ClearSkinCache();
  const auto first = CachedSkin("1,1,2,3");
  EXPECT_EQ(CachedSkin("1,1,2,3"), first);
  EXPECT_EQ(SkinCacheSize(), 1u);
  for (int i = 0; i < 1000; ++i) CachedSkin("0," + std::to_string(i));
  EXPECT_LE(SkinCacheSize(), 256u);
  EXPECT_EQ(first->Rows(), 2);  // a decoded image handed out outlives its cache entry
  EXPECT_EQ(first->Columns(), 2);
  ClearSkinCache();
  EXPECT_EQ(SkinCacheSize(), 0u);
}

// The painter against the format's own algorithm, one GDI line per pixel, on whole surfaces:
// catalogue images and hand-made texts, in colour and grey, with offsets that clip and run
// lengths that stretch, are empty or go backwards.
struct Case {
  std::string text;
  int16_t run, x, y;
  bool enabled;
  int16_t brightness;
  bool taskBar;
};

std::vector<Case> IdentityCases() {
  using namespace SkinImages;
  auto text = [](const SkinImage& image) {
    for (const Entry& e : All())
      if (e.image == &image) return std::string(e.text);
    return std::string();
  };
  return {
      {text(TaskBarBackground(0)), 1022, 1, 0, true, 0, true},
      {text(TaskBarBackground(1)), 300, 1, 0, true, 0, true},
      {text(TaskBarBackground(1)), 40, 0, 0, true, 0, false},
      {text(QuickLaunch(1)), 1, 0, 0, true, 0, true},
      {text(QuickLaunch(3)), 1, 2, 2, true, 50, true},
      {text(QuickLaunch(5)), 1, 100, -6, false, 0, true},
      {text(QuickLaunch(0)), 1, 360, 0, true, 0, true},
      {text(ArrowOverlay()), 1, 2, 2, true, 0, true},
      {text(TaskButtonLeft(0)), 1, 0, 0, true, -50, false},
      {text(TaskButtonBody(0)), 150, 2, 0, true, 50, false},
      {text(TaskButtonRight(0)), 1, 152, 0, true, 0, false},
      {text(MenuBody()), 190, 2, 2, true, 0, false},
      {text(MenuInnerRightEdge()), 1, 192, 2, true, 0, false},
      {text(MenuHoverBody()), 188, 3, 0, true, 50, false},
      {text(MenuHoverLeft()), 1, 1, 0, true, 0, false},
      {text(MenuPicture(5)), 1, 0, 0, true, 0, false},
      {text(MenuPicture(19)), 1, 500, 30, false, 0, false},
      {text(MenuPicture(13)), 3, -10, 0, true, 20, false},
      {text(MenuHoverArrow()), 1, 181, 0, true, 0, false},
      {"1,1,2,3,-2,-1,5", 0, 3, 3, true, 0, true},
      {"1,1,2,3,-2,-1,5", -3, 3, 3, true, 0, false},
      {"2,255,65280,16711680,-2", -1, 0, 0, true, 10, true},
      {"-1,5,6,7", 2, 4, 4, true, 0, false},
  };
}

TEST(PaintSkinIdentity, SameSurfaceAsOneGdiLinePerPixel) {
  for (const Case& c : IdentityCases()) {
    ASSERT_FALSE(c.text.empty());
    common::MemorySurface fast, lines;
    ASSERT_TRUE(fast.Resize(1024, 60, kPaper));
    ASSERT_TRUE(lines.Resize(1024, 60, kPaper));
    const SkinRules rules = c.taskBar ? SkinRules::TaskBar(kDefaultTaskBarColor) : SkinRules{};
    const int16_t got =
        PaintSkin(fast, rules, c.run, c.text, c.x, c.y, c.enabled, c.brightness);
    const int16_t expected = PaintSkinByLines(lines, c.taskBar, kDefaultTaskBarColor, c.run,
                                              c.text, c.x, c.y, c.enabled, c.brightness);
    EXPECT_EQ(got, expected) << c.text.substr(0, 40);
    int differences = 0;
    for (int i = 0; i < 1024 * 60; ++i)
      if (fast.Pixels()[i] != lines.Pixels()[i]) ++differences;
    EXPECT_EQ(differences, 0) << c.text.substr(0, 40) << " run " << c.run << " at " << c.x
                              << "," << c.y;
  }
}

}  // namespace

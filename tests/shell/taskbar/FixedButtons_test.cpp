#include "shell/taskbar/FixedButtons.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/core/SkinImages.h"

namespace {

// The fixed buttons alone, on a strip surface without a window, as the desktop adds them.
class FixedButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_.Resize(1024, StripLayout::kHeight, kDefaultTaskBarColor);
    canvas_.PaintBackground(0, 1024);
    buttons_.AddButton(ImageOf(FixedButton::Start), true, true);
    for (FixedButton b : {FixedButton::QuickLaunchA, FixedButton::QuickLaunchB,
                          FixedButton::QuickLaunchC, FixedButton::QuickLaunchD,
                          FixedButton::QuickLaunchE, FixedButton::Print})
      buttons_.AddButton(ImageOf(b), false, true);
    buttons_.AddButton(ImageOf(FixedButton::Grip), false, true);
  }

  // The strip as a given button should look: background band, then the image in one look.
  void ExpectLooks(FixedButton button, int16_t offset, bool enabled, int16_t brightness) {
    const TaskBar_Container& r = buttons_.fClassList()[static_cast<size_t>(Position(button) - 1)];
    common::MemorySurface expected;
    expected.Resize(1024, StripLayout::kHeight, 0);
    StripCanvas painter(expected, nullptr);
    painter.PaintBackground(r.Left, r.Right);
    painter.PaintSkin(1, SkinImages::QuickLaunch(r.IconIndex),
                      static_cast<int16_t>(r.Left + offset), offset, enabled, brightness);
    if (r.Arrow)
      painter.PaintSkin(1, SkinImages::ArrowOverlay(), static_cast<int16_t>(r.Left + offset),
                        offset, true, 0);
    int differing = 0;
    for (int y = 0; y < StripLayout::kHeight; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        differing += surface_.ColorAt(x, y) != expected.ColorAt(x, y);
    EXPECT_EQ(differing, 0) << "button " << Position(button);
  }

  common::MemorySurface surface_;
  std::vector<int> refreshed_;
  StripCanvas canvas_{surface_, [this](int x0, int) { refreshed_.push_back(x0); }};
  FixedButtons buttons_{canvas_};
};

TEST_F(FixedButtonsTest, ButtonsStandEdgeToEdgeEachHitZoneItsImageAndAGap) {
  const auto& list = buttons_.fClassList();
  ASSERT_EQ(list.size(), 8u);
  int16_t left = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const int imageWidth = SkinImages::QuickLaunch(list[i].IconIndex).Columns();
    EXPECT_EQ(list[i].Left, left) << i;
    EXPECT_EQ(list[i].Right - list[i].Left, imageWidth + 4) << i;
    // Strictly inside: the edges themselves belong to no button.
    EXPECT_EQ(buttons_.GetButtonIndex(list[i].Left), 0) << i;
    EXPECT_EQ(buttons_.GetButtonIndex(list[i].Left + 0.5), static_cast<int16_t>(i + 1)) << i;
    EXPECT_EQ(buttons_.GetButtonIndex(list[i].Right - 0.1), static_cast<int16_t>(i + 1)) << i;
    left = list[i].Right;
  }
  EXPECT_EQ(buttons_.Right(), left);
  EXPECT_EQ(buttons_.GetButtonIndex(900), Position(FixedButton::None));
  ExpectLooks(FixedButton::QuickLaunchA, 0, true, 0);
  ExpectLooks(FixedButton::Start, 0, true, 0);
}

TEST_F(FixedButtonsTest, ThePointerLightsOneButtonAtATimeThePressMovesItTheGripNever) {
  const struct {
    const char* action;
    FixedButton at;
    FixedButton lit;         // drawn highlighted afterwards (None: none)
    FixedButton highlighted; // the highlighted position afterwards
  } steps[] = {
      {"over A", FixedButton::QuickLaunchA, FixedButton::QuickLaunchA, FixedButton::QuickLaunchA},
      {"over B", FixedButton::QuickLaunchB, FixedButton::QuickLaunchB, FixedButton::QuickLaunchB},
      {"over the grip", FixedButton::Grip, FixedButton::None, FixedButton::Grip},
      {"away", FixedButton::None, FixedButton::None, FixedButton::None},
  };
  FixedButton previous = FixedButton::None;
  for (const auto& s : steps) {
    const int x = s.at == FixedButton::None
                      ? 900
                      : buttons_.fClassList()[static_cast<size_t>(Position(s.at) - 1)].Left + 10;
    buttons_.RepaintIcon(buttons_.GetButtonIndex(x));
    EXPECT_EQ(buttons_.HighlightedPosition(),
              s.highlighted == FixedButton::None ? FixedButtons::kNone : Position(s.highlighted))
        << s.action;
    if (s.lit != FixedButton::None) ExpectLooks(s.lit, 2, true, 50);
    if (previous != FixedButton::None && previous != s.lit && previous != FixedButton::Grip)
      ExpectLooks(previous, 0, true, 0);
    previous = s.at;
  }
  const int16_t atC = Position(FixedButton::QuickLaunchC);
  const int xC = buttons_.fClassList()[static_cast<size_t>(atC - 1)].Left + 10;
  buttons_.Press(xC);
  ExpectLooks(FixedButton::QuickLaunchC, 2, true, 0);  // pressed: moved, colours kept
  EXPECT_EQ(buttons_.Release(xC), atC);
  ExpectLooks(FixedButton::QuickLaunchC, 2, true, 50);
  const int xGrip = buttons_.fClassList().back().Left + 5;
  EXPECT_EQ(buttons_.Release(xGrip), Position(FixedButton::None));
}

TEST_F(FixedButtonsTest, ADisabledButtonIsGreyDeadAndEnablingLeavesItNormal) {
  const int16_t c = Position(FixedButton::QuickLaunchC);
  const int x = buttons_.fClassList()[static_cast<size_t>(c - 1)].Left + 10;
  buttons_.RepaintIcon(c);
  buttons_.ButtonEnable(c, false);
  EXPECT_EQ(buttons_.HighlightedPosition(), FixedButtons::kNone);
  ExpectLooks(FixedButton::QuickLaunchC, 0, false, 0);
  buttons_.RepaintIcon(c);
  ExpectLooks(FixedButton::QuickLaunchC, 0, false, 0);  // not lit
  buttons_.Press(x);
  ExpectLooks(FixedButton::QuickLaunchC, 0, false, 0);  // not pressed
  EXPECT_EQ(buttons_.Release(x), Position(FixedButton::None));
  buttons_.ButtonEnable(c, true);
  ExpectLooks(FixedButton::QuickLaunchC, 0, true, 0);
}

}  // namespace

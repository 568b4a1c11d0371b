#include "SkinScenes.h"

#include "SkinLinePainter.h"
#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"

namespace {

// The fixed buttons as the desktop window adds them: start (with the arrow), 2 ... 7, the grip.
struct FixedButton {
  int32_t icon;
  bool arrow;
};
constexpr FixedButton kFixedButtons[] = {{1, true},  {2, false}, {3, false}, {4, false},
                                         {5, false}, {6, false}, {7, false}, {0, false}};

std::string_view TextOf(const SkinImage& image) {
  for (const SkinImages::Entry& e : SkinImages::All())
    if (e.image == &image) return e.text;
  return {};
}

}  // namespace

void PaintTaskBarStrip(const SkinPaintFunction& paint, int width, const StripLook& look) {
  using namespace SkinImages;
  const SkinImage& background = TaskBarBackground(look.style);
  paint(1, TaskBarBorder(), 0, 0, true, 0);
  paint(static_cast<int16_t>(width - 2), background, 1, 0, true, 0);
  paint(1, TaskBarBorder(), static_cast<int16_t>(width - 1), 0, true, 0);
  int16_t x = 0;
  int position = 1;
  for (const FixedButton& button : kFixedButtons) {
    const SkinImage& image = QuickLaunch(button.icon);
    const bool grip = button.icon == 0;
    const bool enabled = look.enabled || grip;
    const bool lit = !grip && enabled && position == look.highlighted;
    const bool down = !grip && enabled && position == look.pressed;
    const int16_t shift = (lit || down) ? 2 : 0;
    const int16_t last = image.LastColumn();
    const int16_t right = static_cast<int16_t>(x + last + 5);
    if (shift != 0) paint(static_cast<int16_t>(right - x), background, x, 0, true, 0);
    paint(1, image, static_cast<int16_t>(x + shift), shift, grip ? true : enabled,
          lit ? int16_t{50} : int16_t{0});
    if (button.arrow) paint(1, ArrowOverlay(), static_cast<int16_t>(x + shift), shift, true, 0);
    x = right;
    ++position;
  }
}

int PaintStartMenu(const SkinPaintFunction& paint, int left, int top, bool hover) {
  using namespace SkinImages;
  constexpr int16_t kWidth = 194;
  int y = top;
  for (int i = 0; i <= 17; ++i) {
    const bool capTop = i == 0 || i == 15;
    const bool capBottom = i == 0 || i == 15 || i == 17;
    const bool arrow = i >= 1 && i <= 10;
    const auto x = static_cast<int16_t>(left);
    int16_t t = static_cast<int16_t>(y);
    if (capTop) {
      paint(1, MenuDividerEnd(), x, t, true, 0);
      paint(kWidth - 2, MenuDividerTop(), x + 1, t, true, 0);
      paint(1, MenuDividerEnd(), x + kWidth - 1, t, true, 0);
      t = static_cast<int16_t>(t + 2);
    }
    paint(1, MenuOuterEdge(), x, t, true, 0);
    paint(1, MenuInnerLeftEdge(), x + 1, t, true, 0);
    paint(kWidth - 4, MenuBody(), x + 2, t, true, 0);
    paint(1, MenuInnerRightEdge(), x + kWidth - 2, t, true, 0);
    paint(1, MenuOuterEdge(), x + kWidth - 1, t, true, 0);
    if (arrow) paint(1, MenuArrow(), x + kWidth - 13, t, true, 0);
    if (hover) {
      paint(1, MenuHoverLeft(), x + 1, t, true, 0);
      paint(kWidth - 6, MenuHoverBody(), x + 3, t, true, 0);
      paint(1, MenuHoverRight(), x + kWidth - 4, t, true, 0);
      if (arrow) paint(1, MenuHoverArrow(), x + kWidth - 13, t, true, 0);
    }
    if (capBottom) {
      paint(1, MenuDividerEnd(), x, t + 25, true, 0);
      paint(kWidth - 2, MenuDividerBottom(), x + 1, t + 25, true, 0);
      paint(1, MenuDividerEnd(), x + kWidth - 1, t + 25, true, 0);
    }
    paint(1, MenuPicture(18 - i), x, static_cast<int16_t>(y), true, 0);
    y += 25 + (capTop ? 2 : 0) + (capBottom ? 2 : 0);
  }
  return y - top;
}

void PaintMenuPictures(const SkinPaintFunction& paint, int left, int top) {
  for (int icon = 1; icon <= 19; ++icon) {
    paint(1, SkinImages::MenuPicture(icon), static_cast<int16_t>(left + (icon - 1) * 30),
          static_cast<int16_t>(top), true, 0);
  }
}

SkinPaintFunction FastPainter(common::MemorySurface& surface, bool taskBar) {
  const SkinRules rules = taskBar ? SkinRules::TaskBar(kDefaultTaskBarColor) : SkinRules::Control();
  return [&surface, rules](int16_t run, const SkinImage& skin, int16_t x, int16_t y, bool enabled,
                           int16_t brightness) {
    return PaintSkin(surface, rules, run, skin, x, y, enabled, brightness);
  };
}

SkinPaintFunction LinePainter(common::MemorySurface& surface, bool taskBar) {
  return [&surface, taskBar](int16_t run, const SkinImage& skin, int16_t x, int16_t y,
                             bool enabled, int16_t brightness) {
    return PaintSkinByLines(surface, taskBar, kDefaultTaskBarColor, run, TextOf(skin), x, y,
                            enabled, brightness);
  };
}

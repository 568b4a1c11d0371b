// Draws every image of the skin catalogue, and the taskbar strip and the start menu composed from
// them, into one picture, skin-sheet.png beside this program, for a person to look at all the
// artwork at once. Each image is shown at its own size on the three backgrounds it meets (the
// flat face, the dark 3D taskbar, the menu's blue highlight) and four times enlarged on a
// checkerboard that shows its transparent pixels.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "SkinScenes.h"
#include "common/handles.h"
#include "common/text.h"
#include "shell/core/RipPicture.h"
#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"
#include "support/png.h"
#include "support/testing.h"

namespace {

constexpr int kSheetWidth = 1060;
constexpr uint32_t kPaper = 0xFFFFFF;
constexpr uint32_t kFace = 0xE6E6E6;
constexpr uint32_t kDark = 0x545454;
constexpr uint32_t kBlue = 0xB05A4D;  // 0x00BBGGRR of the highlight band's middle

class Sheet {
 public:
  explicit Sheet(int height) {
    surface_.Resize(kSheetWidth, height, kPaper);
    font_.Reset(
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  }
  common::MemorySurface& Surface() { return surface_; }

  void Label(int x, int y, const std::wstring& text, int width = 400) {
    common::ScopedSelect select(surface_.Dc(), font_.Get());
    SetBkMode(surface_.Dc(), TRANSPARENT);
    SetTextColor(surface_.Dc(), RGB(0, 0, 0));
    RECT r = {x, y, x + width, y + 16};
    DrawTextW(surface_.Dc(), text.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
    GdiFlush();
  }

  // One image: name, at its own size on three backgrounds (stretched images as 24-pixel bands),
  // and enlarged. Returns the height used.
  int Image(int x, int y, const SkinImages::Entry& e) {
    const SkinImage& image = *e.image;
    const bool taskBar = e.control == "taskbar";
    const SkinRules rules = taskBar ? SkinRules::TaskBar(kDefaultTaskBarColor) : SkinRules{};
    const bool band = image.Columns() == 1;
    const int16_t run = band ? 24 : 1;
    const int shownWidth = band ? 24 : image.Columns();
    Label(x, y,
          std::wstring(e.name.begin(), e.name.end()) + L"  " + std::to_wstring(e.rows) + L"\u00D7" +
              std::to_wstring(e.columns),
          330);
    const int top = y + 17;
    int bx = x;
    for (uint32_t background : {kFace, kDark, kBlue}) {
      surface_.FillRect(bx, top, bx + shownWidth + 6, top + image.Rows() + 6, background);
      PaintSkin(surface_, rules, run, image, static_cast<int16_t>(bx + 3),
                static_cast<int16_t>(top + 3), true, 0);
      bx += shownWidth + 10;
    }
    const int kZoom = image.Rows() > 30 ? 3 : 4;
    for (int c = 0; c < image.Columns(); ++c) {
      for (int r = 0; r < image.Rows(); ++r) {
        const int32_t v = image.At(c, r);
        const int px = bx + c * kZoom, py = top + r * kZoom;
        const uint32_t color = v == kSkinTransparent
                                   ? (((c + r) % 2) ? 0xD8A8D8u : 0xF0D0F0u)
                                   : static_cast<uint32_t>(SkinPixelColor(rules, v, true, 0));
        surface_.FillRect(px, py, px + kZoom, py + kZoom, color);
      }
    }
    return 17 + std::max(image.Rows() * kZoom, image.Rows() + 6) + 10;
  }

  // Width that Image() takes for an entry.
  static int ImageWidth(const SkinImages::Entry& e) {
    const SkinImage& image = *e.image;
    const int shown = image.Columns() == 1 ? 24 : image.Columns();
    const int zoom = image.Rows() > 30 ? 3 : 4;
    return std::max(3 * (shown + 10) + image.Columns() * zoom, 250);
  }

 private:
  common::MemorySurface surface_;
  common::Font font_;
};

// Paints a scene into its own surface and copies it onto the sheet.
void Scene(Sheet& sheet, int x, int y, int width, int height, uint32_t background, bool taskBar,
           const std::function<void(const SkinPaintFunction&)>& draw) {
  common::MemorySurface scene;
  scene.Resize(width, height, background);
  draw(FastPainter(scene, taskBar));
  BitBlt(sheet.Surface().Dc(), x, y, width, height, scene.Dc(), 0, 0, SRCCOPY);
  GdiFlush();
}

// A task button face as the task button paints it, with a real icon read back from a capture
// surface the way the taskbar reads one.
void TaskButton(Sheet& sheet, int x, int y, int32_t style, int16_t brightness,
                const std::string& icon) {
  using namespace SkinImages;
  constexpr int kWidth = 156;
  Scene(sheet, x, y, kWidth, 27, 12632319, false, [&](const SkinPaintFunction& paint) {
    paint(1, TaskButtonLeft(style), 0, 0, true, brightness);
    paint(kWidth - 4, TaskButtonBody(style), 2, 0, true, brightness);
    paint(1, TaskButtonRight(style), kWidth - 2, 0, true, brightness);
    const auto image = SkinImage::Parse(icon);
    paint(1, image, 9, 3, true, brightness);
  });
}

std::string CapturedIcon() {
  common::MemorySurface capture;
  capture.Resize(24, 24, 0xFFFFFF);
  DrawIconEx(capture.Dc(), 0, 0, LoadIconW(nullptr, IDI_INFORMATION), 16, 16, 0, nullptr,
             DI_NORMAL);
  GdiFlush();
  return RipPicture(capture, 0xFFFFFF);
}

}  // namespace

int main() {
  Sheet sheet(6000);
  int y = 8;
  sheet.Label(8, y,
              L"Taskbar strip, style 1 (flat) and style 0 (3D grey); then: button 2 "
              L"highlighted, button 3 pressed; all disabled",
              1000);
  y += 18;
  const StripLook looks[] = {{1, 0, 0, true}, {0, 0, 0, true},  {1, 2, 3, true},
                             {0, 2, 3, true}, {1, 0, 0, false}, {0, 0, 0, false}};
  for (const StripLook& look : looks) {
    Scene(sheet, 8, y, 1024, 54, 0xFF00FF, true,
          [&](const SkinPaintFunction& paint) { PaintTaskBarStrip(paint, 1024, look); });
    y += 58;
  }

  y += 6;
  sheet.Label(8, y, L"Task buttons: style 0 and style 1, normal, lit (+50), pressed (-50)", 1000);
  y += 18;
  const std::string icon = CapturedIcon();
  for (int32_t style : {0, 1}) {
    int x = 8;
    for (int16_t brightness : {0, 50, -50}) {
      TaskButton(sheet, x, y, style, brightness, icon);
      x += 166;
    }
    y += 32;
  }

  y += 6;
  sheet.Label(8, y, L"Start menu: normal and highlighted looks; the 19 entry pictures", 1000);
  y += 18;
  int menuHeight = 0;
  for (int column = 0; column < 2; ++column) {
    Scene(
        sheet, 8 + column * 210, y, 194, 460, 0xFF00FF, false,
        [&](const SkinPaintFunction& paint) { menuHeight = PaintStartMenu(paint, 0, 0, column); });
  }
  for (int row = 0; row < 3; ++row) {
    const uint32_t background = row == 0 ? kFace : row == 1 ? kDark : kBlue;
    Scene(sheet, 440, y + row * 34, 19 * 30, 30, background, false,
          [&](const SkinPaintFunction& paint) { PaintMenuPictures(paint, 2, 2); });
  }
  y += menuHeight + 12;

  // Every catalogue image on its own, row after row.
  int x = 8, rowHeight = 0;
  for (const SkinImages::Entry& e : SkinImages::All()) {
    const int width = Sheet::ImageWidth(e);
    if (x + width > kSheetWidth - 8) {
      x = 8;
      y += rowHeight;
      rowHeight = 0;
    }
    rowHeight = std::max(rowHeight, sheet.Image(x, y, e));
    x += width + 16;
  }
  const int height = y + rowHeight + 8;

  common::MemorySurface out;
  out.Resize(kSheetWidth, height, kPaper);
  BitBlt(out.Dc(), 0, 0, kSheetWidth, height, sheet.Surface().Dc(), 0, 0, SRCCOPY);
  const std::wstring path = testing_support::BesideProgram(L"skin-sheet.png");
  if (!testing_support::WritePng(path, out)) {
    std::fprintf(stderr, "could not write %s\n", common::ToAnsi(path).c_str());
    return 1;
  }
  std::printf("skin sheet: %s (%d x %d)\n", common::ToAnsi(path).c_str(), kSheetWidth, height);
  return 0;
}

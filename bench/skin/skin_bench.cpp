// Skin painter figures: a full paint of a 1024-pixel taskbar strip (borders, background, the
// eight fixed buttons with the start button's arrow) plus all 19 start-menu pictures, by our
// painter and, for comparison, by a painter that draws one GDI line per pixel; and the time the
// encoder takes to read one 24 x 24 icon picture.
//
//   scripts/wine.sh build/win64/bin/skin_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>

#include "SkinScenes.h"
#include "common/pump.h"
#include "shell/core/RipPicture.h"
#include "shell/core/SkinPainter.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Target {
  common::MemorySurface strip, pictures;
  Target() {
    strip.Resize(1024, 54, 0);
    pictures.Resize(19 * 30, 30, 0xE6E6E6);
  }
};

void FullPaint(const SkinPaintFunction& stripPaint, const SkinPaintFunction& picturePaint,
               int32_t style) {
  StripLook look;
  look.style = style;
  PaintTaskBarStrip(stripPaint, 1024, look);
  PaintMenuPictures(picturePaint, 2, 2);
}

bool SamePixels(const common::MemorySurface& a, const common::MemorySurface& b) {
  GdiFlush();
  const size_t n = static_cast<size_t>(a.Width()) * a.Height();
  for (size_t i = 0; i < n; ++i)
    if (a.Pixels()[i] != b.Pixels()[i]) return false;
  return true;
}

// Milliseconds per full paint over `repeats` paints.
double TimePaints(const SkinPaintFunction& strip, const SkinPaintFunction& pictures, int32_t style,
                  int repeats) {
  const double start = Now();
  for (int i = 0; i < repeats; ++i) FullPaint(strip, pictures, style);
  GdiFlush();
  return (Now() - start) * 1000.0 / repeats;
}

}  // namespace

int main() {
  for (int32_t style : {1, 0}) {
    Target fast, lines;
    const auto fastStrip = FastPainter(fast.strip, true);
    const auto fastPictures = FastPainter(fast.pictures, false);
    const auto lineStrip = LinePainter(lines.strip, true);
    const auto linePictures = LinePainter(lines.pictures, false);
    FullPaint(fastStrip, fastPictures, style);  // decodes the images once
    FullPaint(lineStrip, linePictures, style);
    const bool same =
        SamePixels(fast.strip, lines.strip) && SamePixels(fast.pictures, lines.pictures);

    const double ours = TimePaints(fastStrip, fastPictures, style, 2000);
    const double naive = TimePaints(lineStrip, linePictures, style, 20);
    std::printf("taskbar strip (style %d) + 19 menu pictures, one full paint:\n", style);
    std::printf("  our painter          %9.4f ms\n", ours);
    std::printf("  one GDI line a pixel %9.4f ms\n", naive);
    std::printf("  ratio                %9.1f x   (pixels identical: %s)\n", naive / ours,
                same ? "yes" : "NO");
  }

  // The encoder on one 16 x 16 icon drawn into the white 24 x 24 capture picture.
  common::MemorySurface capture;
  capture.Resize(24, 24, 0xFFFFFF);
  DrawIconEx(capture.Dc(), 0, 0, LoadIconW(nullptr, IDI_WARNING), 16, 16, 0, nullptr, DI_NORMAL);
  GdiFlush();
  constexpr int kRips = 500;
  std::string text;
  const double start = Now();
  for (int i = 0; i < kRips; ++i) text = RipPicture(capture, 0xFFFFFF);
  const double rip = (Now() - start) * 1000.0 / kRips;
  std::printf("RipPicture, one 24 x 24 icon (576 pixels, events let run before each): %.4f ms"
              " (%zu characters)\n",
              rip, text.size());
  const double pumpStart = Now();
  for (int i = 0; i < kRips; ++i)
    for (int pixel = 0; pixel < 576; ++pixel) common::PumpPendingMessages();
  std::printf("  of which letting events run (576 empty passes of the message pump): %.4f ms\n",
              (Now() - pumpStart) * 1000.0 / kRips);
  return 0;
}

#pragma once
// Skinned scenes built from the image catalogue the way the controls lay them out, for the
// artwork sheet and the benchmark: the taskbar strip with its eight fixed buttons and a start
// menu column of the 18 entries. Every image goes through the given painter, so the same scene
// can be painted by the real painter and by the one-line-per-pixel reference.
#include <cstdint>
#include <functional>

#include "common/surface.h"
#include "shell/core/SkinImage.h"

// PaintSkin(RunLength, Skin, OffsetX, OffsetY, Enabled, Brightness), bound to a surface and a
// control's rules.
using SkinPaintFunction =
    std::function<int16_t(int16_t, const SkinImage&, int16_t, int16_t, bool, int16_t)>;

// The strip's background and borders over its whole width, then the start button (with the
// arrow), the six quick-launch buttons and the grip at their places. `highlighted` and `pressed`
// are positions 1 ... 8 (0 for none); disabled buttons are painted grey.
struct StripLook {
  int32_t style = 1;
  int highlighted = 0;
  int pressed = 0;
  bool enabled = true;
};
void PaintTaskBarStrip(const SkinPaintFunction& paint, int width, const StripLook& look);

// The 18 start-menu entries stacked from y = top at x = left, 194 pixels wide, without captions;
// `hover` paints every entry in its highlighted look over the normal one. Returns the height.
int PaintStartMenu(const SkinPaintFunction& paint, int left, int top, bool hover);

// Every start-menu entry picture 1 ... 19 side by side from x = left, 30 pixels apart.
void PaintMenuPictures(const SkinPaintFunction& paint, int left, int top);

// The real painter on a surface, with the taskbar's rule for -2 or the other controls'.
SkinPaintFunction FastPainter(common::MemorySurface& surface, bool taskBar);
// The reference painter (one GDI line per pixel, from the image's text).
SkinPaintFunction LinePainter(common::MemorySurface& surface, bool taskBar);

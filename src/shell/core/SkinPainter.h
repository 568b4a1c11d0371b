#pragma once
// The one skin painter of the shell. Every skinned control (taskbar, task button, menu button)
// keeps a private PaintSkin(RunLength, Skin, OffsetX, OffsetY, Enabled, Brightness) that forwards
// here with its own drawing surface and its own rule for -2 pixels, for example:
//
//   int16_t TaskBar::PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX,
//                              int16_t OffsetY, bool Enabled, int16_t Brightness) {
//     return ::PaintSkin(DrawingSurface(), SkinRules::TaskBar(taskBarColor_), RunLength, Skin,
//                        OffsetX, OffsetY, Enabled, Brightness);
//   }
//
// Each pixel of column c and row r that is not -1 covers the pixels OffsetX + c ...
// OffsetX + c + RunLength - 1 of row OffsetY + r, in column order, so with a RunLength above 1
// every column is overdrawn by the next but for its first pixel and the last one is stretched:
// a one-column image becomes a band RunLength pixels wide. Images are never stretched vertically.
// The pixels are written straight into the surface's memory; the result is the same as one
// horizontal GDI line per pixel (end point excluded), clipped to the surface.
#include <cstdint>
#include <string_view>

#include "common/surface.h"
#include "shell/core/SkinImage.h"

inline constexpr int32_t kDefaultTaskBarColor = 15132390;  // 0xE6E6E6

struct SkinRules {
  // True on the taskbar only: -2 pixels take taskBarColor. Elsewhere -2 is no colour at all and
  // counts as black before brightness or greying.
  bool taskBar = false;
  int32_t taskBarColor = kDefaultTaskBarColor;

  static SkinRules TaskBar(int32_t taskBarColor) { return {true, taskBarColor}; }
  static SkinRules Control() { return {}; }
};

// Paints Skin with its top-left pixel at (OffsetX, OffsetY). Enabled: colours moved by
// Brightness on each of red, green and blue; not Enabled: grey of the same average. Returns the
// index of the last column (the number of columns - 1), 0 for an image without pixels, which
// draws nothing (an empty text on a task or menu button).
int16_t PaintSkin(common::MemorySurface& target, const SkinRules& rules, int16_t RunLength,
                  const SkinImage& Skin, int16_t OffsetX, int16_t OffsetY, bool Enabled,
                  int16_t Brightness);

// The same for a text, decoded once and then taken from the cache of decoded images.
int16_t PaintSkin(common::MemorySurface& target, const SkinRules& rules, int16_t RunLength,
                  std::string_view Skin, int16_t OffsetX, int16_t OffsetY, bool Enabled,
                  int16_t Brightness);

// The colour a pixel value is painted in under the rules (not for -1).
int32_t SkinPixelColor(const SkinRules& rules, int32_t value, bool Enabled, int16_t Brightness);

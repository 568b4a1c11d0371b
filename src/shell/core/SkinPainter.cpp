#include "shell/core/SkinPainter.h"

#include <windows.h>

#include <algorithm>

#include "shell/core/ColorFunctions.h"

namespace {

int Clamp255(int value) { return std::clamp(value, 0, 255); }

// Colour of a pixel value; plain colours take an exact integer path (a whole-number brightness
// needs no rounding, and a sum of three parts divided by 3 is never half-way), everything else
// goes through the colour helpers.
int32_t Transform(int32_t value, bool enabled, int brightness) {
  if (value < 0 || value > 0xFFFFFF) {
    return enabled ? ColorFunctions::AdjustBrightness(value, static_cast<float>(brightness))
                   : ColorFunctions::GrayColor(value);
  }
  const int r = value & 0xFF, g = (value >> 8) & 0xFF, b = (value >> 16) & 0xFF;
  if (!enabled) {
    const int gray = (r + g + b + 1) / 3;
    return ColorFunctions::MakeColor(gray, gray, gray);
  }
  if (brightness == 0) return value;
  return ColorFunctions::MakeColor(Clamp255(r + brightness), Clamp255(g + brightness),
                                   Clamp255(b + brightness));
}

}  // namespace

int32_t SkinPixelColor(const SkinRules& rules, int32_t value, bool Enabled, int16_t Brightness) {
  if (rules.taskBar && value == kSkinTaskBarColor) value = rules.taskBarColor;
  return Transform(value, Enabled, Brightness);
}

int16_t PaintSkin(common::MemorySurface& target, const SkinRules& rules, int16_t RunLength,
                  const SkinImage& Skin, int16_t OffsetX, int16_t OffsetY, bool Enabled,
                  int16_t Brightness) {
  if (Skin.Empty()) return 0;
  const int result = Skin.LastColumn();
  if (target.Empty() || RunLength == 0) return static_cast<int16_t>(result);

  // A GDI line from x to x + RunLength covers x ... x + RunLength - 1, or for a negative length
  // x + RunLength + 1 ... x.
  const int runStart = RunLength > 0 ? 0 : RunLength + 1;
  const int runEnd = RunLength > 0 ? RunLength : 1;
  const int width = target.Width(), height = target.Height();
  const int rows = Skin.Rows();
  const std::vector<int32_t>& pixels = Skin.Pixels();
  GdiFlush();  // GDI drawing (text) must be in the bits before we write over it
  uint32_t* bits = target.Pixels();

  int32_t lastValue = kSkinTransparent;
  uint32_t lastPixel = 0;
  const size_t count = pixels.size();
  for (size_t i = 0; i < count; ++i) {
    const int32_t value = pixels[i];
    if (value == kSkinTransparent) continue;
    const int y = OffsetY + static_cast<int>(i % rows);
    if (y < 0 || y >= height) continue;
    const int x = OffsetX + static_cast<int>(i / rows);
    const int x0 = std::max(x + runStart, 0);
    const int x1 = std::min(x + runEnd, width);
    if (x0 >= x1) continue;
    if (value != lastValue) {
      lastValue = value;
      lastPixel = common::ColorToPixel(
          static_cast<uint32_t>(SkinPixelColor(rules, value, Enabled, Brightness)));
    }
    uint32_t* row = bits + static_cast<size_t>(y) * width;
    std::fill(row + x0, row + x1, lastPixel);
  }
  return static_cast<int16_t>(result);
}

int16_t PaintSkin(common::MemorySurface& target, const SkinRules& rules, int16_t RunLength,
                  std::string_view Skin, int16_t OffsetX, int16_t OffsetY, bool Enabled,
                  int16_t Brightness) {
  if (Skin.empty()) return 0;
  const auto image = CachedSkin(Skin);
  return PaintSkin(target, rules, RunLength, *image, OffsetX, OffsetY, Enabled, Brightness);
}

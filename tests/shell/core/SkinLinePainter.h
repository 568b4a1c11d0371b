#pragma once
// The skin painter as the image format describes it, for comparison: the text split at its
// commas, walked pixel by pixel, one GDI line per pixel that is not transparent, each with a pen
// of its own. Slow on purpose; the tests check the real painter against it pixel for pixel and
// the benchmark measures how much faster the real one is.
#include <cstdint>
#include <string_view>

#include "common/surface.h"

int16_t PaintSkinByLines(common::MemorySurface& target, bool taskBar, int32_t taskBarColor,
                         int16_t RunLength, std::string_view Skin, int16_t OffsetX,
                         int16_t OffsetY, bool Enabled, int16_t Brightness);

#pragma once
// Per-pixel colour transforms of the skin painter. Colours are 0x00BBGGRR (red in the low byte);
// negative values are system colour references, resolved by OleTranslateColor. No state.
#include <cstdint>

namespace ColorFunctions {

// The three parts 0 ... 255 of a colour. A colour the platform cannot translate (for example -2)
// counts as black.
void SplitColor(int32_t Color, int16_t& Red, int16_t& Green, int16_t& Blue);

// A grey of the same average: (red + green + blue) / 3, nearest integer, halves to even.
int32_t GrayColor(int32_t Color);

// Adds Brightness to each part, limits it to 0 ... 255 and rounds half to even.
int32_t AdjustBrightness(int32_t Color, float Brightness);

// Low when Value is not >= Low (so also for NaN), High when Value > High, else Value.
float LimitRange(float Value, float Low, float High);

// The colour of three parts, each 0 ... 255.
constexpr int32_t MakeColor(int red, int green, int blue) {
  return red | (green << 8) | (blue << 16);
}

}  // namespace ColorFunctions

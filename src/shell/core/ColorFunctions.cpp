#include "shell/core/ColorFunctions.h"

#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include "common/lookup.h"
#include "common/screen.h"

namespace ColorFunctions {

namespace {

int32_t Translate(int32_t color) {
  // Plain colours are their own translation; asking the platform for each pixel of a skin would
  // cost a call per pixel for nothing.
  if (color >= 0 && color <= 0xFFFFFF) return color;
  // The OLE automation DLL is loaded at the first system colour, not at start: no skin has one.
  using OleTranslateColorFunction = HRESULT(WINAPI*)(OLE_COLOR, HPALETTE, COLORREF*);
  static const auto oleTranslateColor =
      common::LoadSystem<OleTranslateColorFunction>(L"oleaut32.dll", "OleTranslateColor");
  COLORREF translated = 0;
  if (oleTranslateColor == nullptr ||
      FAILED(oleTranslateColor(static_cast<OLE_COLOR>(color), nullptr, &translated)))
    return 0;
  return static_cast<int32_t>(translated);
}

int16_t Part(float value) {
  return static_cast<int16_t>(common::RoundHalfEven(LimitRange(value, 0.0f, 255.0f)));
}

}  // namespace

void SplitColor(int32_t Color, int16_t& Red, int16_t& Green, int16_t& Blue) {
  const int32_t value = Translate(Color);
  Red = static_cast<int16_t>(value & 0xFF);
  Green = static_cast<int16_t>((value & 0xFF00) / 256);
  Blue = static_cast<int16_t>((value & 0xFF0000) / 65536);
}

int32_t GrayColor(int32_t Color) {
  int16_t r, g, b;
  SplitColor(Color, r, g, b);
  const auto gray = static_cast<int>(common::RoundHalfEven((r + g + b) / 3.0));
  return MakeColor(gray, gray, gray);
}

int32_t AdjustBrightness(int32_t Color, float Brightness) {
  int16_t r, g, b;
  SplitColor(Color, r, g, b);
  // The sums are single-precision, as the brightness is; LimitRange also turns NaN into 0.
  return MakeColor(Part(r + Brightness), Part(g + Brightness), Part(b + Brightness));
}

float LimitRange(float Value, float Low, float High) {
  if (!(Value >= Low)) return Low;
  if (Value > High) return High;
  return Value;
}

}  // namespace ColorFunctions

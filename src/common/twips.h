#pragma once
// Places and sizes kept in twips, as windows and controls are designed, turned into pixels with
// the screen's real twips per pixel.
#include <windows.h>

namespace common {

struct TwipsRect {
  double left = 0, top = 0, width = 0, height = 0;
};

// Each of the four measures is converted on its own (left, top, width, height), so that a
// control is as wide in pixels as its width alone converts to.
RECT ToPixels(const TwipsRect& twips);

// Outer size of a window of these styles whose client area is width x height twips.
SIZE WindowSizeForClient(double widthTwips, double heightTwips, DWORD style, DWORD exStyle);

}  // namespace common

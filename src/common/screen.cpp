#include "common/screen.h"

#include <windows.h>

#include <cmath>

#include "common/handles.h"

namespace common {

namespace {

int dpiOverride = 0;  // UI thread only: set by tests before windows are made

int ScreenDpi(int capability) {
  WindowDc screen(nullptr);
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), capability) : 0;
  return dpi > 0 ? dpi : 96;
}

// The system's dpi holds until the user logs off: asked of the screen once per process, not at
// every twips conversion of a layout or a paint.
int LogicalDpi(int capability) {
  if (dpiOverride > 0) return dpiOverride;
  static const int x = ScreenDpi(LOGPIXELSX), y = ScreenDpi(LOGPIXELSY);
  return capability == LOGPIXELSX ? x : y;
}

}  // namespace

int LogicalDpiX() { return LogicalDpi(LOGPIXELSX); }
int LogicalDpiY() { return LogicalDpi(LOGPIXELSY); }
void SetLogicalDpiOverride(int dpi) { dpiOverride = dpi > 0 ? dpi : 0; }

double TwipsPerPixelX() { return 1440.0 / LogicalDpiX(); }
double TwipsPerPixelY() { return 1440.0 / LogicalDpiY(); }
int ScreenWidthPixels() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeightPixels() { return GetSystemMetrics(SM_CYSCREEN); }

int TwipsToPixelsX(double twips) {
  return static_cast<int>(RoundHalfEven(twips / TwipsPerPixelX()));
}
int TwipsToPixelsY(double twips) {
  return static_cast<int>(RoundHalfEven(twips / TwipsPerPixelY()));
}

double PixelsToTwipsX(double pixels) { return pixels * TwipsPerPixelX(); }
double PixelsToTwipsY(double pixels) { return pixels * TwipsPerPixelY(); }

long long RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  long long result = static_cast<long long>(lower);
  if (fraction > 0.5 || (fraction == 0.5 && (result % 2 != 0))) ++result;
  return result;
}

}  // namespace common

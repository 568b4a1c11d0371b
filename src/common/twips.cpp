#include "common/twips.h"

#include "common/screen.h"

namespace common {

RECT ToPixels(const TwipsRect& twips) {
  const int left = TwipsToPixelsX(twips.left);
  const int top = TwipsToPixelsY(twips.top);
  return RECT{left, top, left + TwipsToPixelsX(twips.width), top + TwipsToPixelsY(twips.height)};
}

SIZE WindowSizeForClient(double widthTwips, double heightTwips, DWORD style, DWORD exStyle) {
  RECT rect = {0, 0, TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips)};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace common

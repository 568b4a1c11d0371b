#include "common/surface_window.h"

namespace common {

void SurfaceWindow::Present() {
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void SurfaceWindow::Present(const RECT& area) {
  if (Handle()) InvalidateRect(Handle(), &area, FALSE);
}

LRESULT SurfaceWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Compose(LOWORD(lParam), HIWORD(lParam));
      OnResize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (!surface_.Empty())
        surface_.BlitTo(reinterpret_cast<HDC>(wParam), {0, 0, surface_.Width(), surface_.Height()});
      return message == WM_ERASEBKGND ? 1 : 0;
    case WM_PAINT:
      PaintFrom(Handle(), surface_);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace common

#include "common/surface_window.h"

namespace common {

namespace {

// Gives the pointer back when a release has been handled, however the handler ended: a handler
// that fails must not leave every later click going to this window.
class PointerRelease {
 public:
  PointerRelease(HWND window, bool kept) : window_(kept ? window : nullptr) {}
  ~PointerRelease() {
    if (window_ != nullptr && GetCapture() == window_) ReleaseCapture();
  }
  PointerRelease(const PointerRelease&) = delete;
  PointerRelease& operator=(const PointerRelease&) = delete;

 private:
  HWND window_;
};

}  // namespace

void SurfaceWindow::Present() {
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void SurfaceWindow::Present(const RECT& area) {
  if (Handle()) InvalidateRect(Handle(), &area, FALSE);
}

void SurfaceWindow::StartPointerTracking() {
  if (Handle() == nullptr) return;
  tracking_ = true;
  ArmPointerNotices();
}

void SurfaceWindow::StopPointerTracking() { tracking_ = false; }

void SurfaceWindow::ArmPointerNotices() const {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = Handle();
  track.dwHoverTime = 1;
  TrackMouseEvent(&track);
}

void SurfaceWindow::LeftButtonUp() {
  const PointerRelease release(Handle(), keepsPointer_);
  if (tracking_) OnLeftButtonUp();
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
    case WM_MOUSEMOVE:
      // Hover comes once per arming: asked for again at every move, it repeats while the
      // pointer moves over the window.
      if (tracking_) ArmPointerNotices();
      break;
    case WM_MOUSEHOVER:
      if (tracking_) OnPointerOver();
      break;
    case WM_MOUSELEAVE:
      if (tracking_) OnPointerOut();
      break;
    case WM_LBUTTONDOWN:
      if (keepsPointer_) SetCapture(Handle());
      if (tracking_) OnLeftButtonDown();
      break;
    case WM_LBUTTONUP:
      LeftButtonUp();
      break;
    case WM_NCDESTROY:
      tracking_ = false;
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace common

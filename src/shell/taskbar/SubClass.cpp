#include "shell/taskbar/SubClass.h"

#include <map>

namespace SubClass {

namespace {

// UI thread only: every hook, event and registry change happens on the thread that owns the
// watched windows.
std::map<HWND, CTrackMouse*>& Registry() {
  static std::map<HWND, CTrackMouse*> registry;
  return registry;
}

}  // namespace

CTrackMouse* Find(HWND window) {
  auto it = Registry().find(window);
  return it == Registry().end() ? nullptr : it->second;
}

int Count() { return static_cast<int>(Registry().size()); }

bool Add(HWND window, CTrackMouse* tracker) { return Registry().emplace(window, tracker).second; }

void Remove(HWND window, CTrackMouse* tracker) {
  auto it = Registry().find(window);
  if (it != Registry().end() && it->second == tracker) Registry().erase(it);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  CTrackMouse* tracker = Find(window);
  if (tracker == nullptr) return 0;
  return tracker->HandleMessage(msg, wParam, lParam);
}

}  // namespace SubClass

CTrackMouse::CTrackMouse(Events events) : events_(std::move(events)) {}

CTrackMouse::~CTrackMouse() { SetTrackObject(nullptr); }

void CTrackMouse::SetTrackObject(HWND window) {
  if (window != nullptr) {
    if (tracking_) StopTracking();
    window_ = window;
    StartTracking();
  } else {
    StopTracking();
    window_ = nullptr;
  }
}

int CTrackMouse::StartTracking() {
  if (window_ == nullptr) return 0;
  if (tracking_) StopTracking();
  // A window already watched by another tracker stays with that one: hooking it twice would
  // chain the shared procedure to itself and lose the window's own procedure.
  if (!SubClass::Add(window_, this)) return 0;
  previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubClass::WindowProc)));
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = window_;
  track.dwHoverTime = 1;
  TrackMouseEvent(&track);
  tracking_ = true;
  return 0;
}

int CTrackMouse::StopTracking() {
  if (window_ == nullptr || !tracking_) return 0;
  if (IsWindow(window_)) SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  SubClass::Remove(window_, this);
  tracking_ = false;
  return 0;
}

void CTrackMouse::Raise(const std::function<void()>& event) {
  if (event) event();
}

LRESULT CTrackMouse::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The handlers below may unhook the window; the call onwards then goes to what is in place.
  HWND window = window_;
  WNDPROC own = previous_;
  try {
    switch (msg) {
      case WM_MOUSEMOVE:
        StartTracking();  // unhook and hook again: re-arms the hover and leave notices
        break;
      case WM_LBUTTONDOWN:
        Raise(events_.MouseLeftDown);
        break;
      case WM_LBUTTONUP:
        Raise(events_.MouseLeftUp);
        break;
      case WM_MOUSEHOVER:
        Raise(events_.MouseOver);
        break;
      case WM_MOUSELEAVE:
        Raise(events_.MouseOut);
        break;
      default:
        break;
    }
  } catch (...) {
    // An error inside a host's handler is dropped on purpose: the message is not passed on.
    return 0;
  }
  if (SubClass::Find(window) != this) {
    // Unhooked (or the tracker replaced) during the handler: the window's own procedure is
    // back in place.
    own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (own == &SubClass::WindowProc) return 0;
  }
  return CallWindowProcW(own, window, msg, wParam, lParam);
}

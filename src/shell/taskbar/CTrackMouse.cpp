#include "shell/taskbar/CTrackMouse.h"

#include "shell/taskbar/SubClass.h"

CTrackMouse::CTrackMouse(Events events) : events_(std::move(events)) {}

CTrackMouse::~CTrackMouse() { SetTrackObject(nullptr); }

void CTrackMouse::SetTrackObject(HWND window) {
  if (window != nullptr) {
    if (tracking_ && window != window_) StopTracking();
    window_ = window;
    StartTracking();
  } else {
    StopTracking();
    window_ = nullptr;
  }
}

int CTrackMouse::StartTracking() {
  if (window_ == nullptr) return 0;
  // A window already watched by another tracker stays with that one.
  if (!tracking_ && !SubClass::Add(window_, this)) return 0;
  tracking_ = true;
  Arm();
  return 0;
}

int CTrackMouse::StopTracking() {
  if (window_ == nullptr || !tracking_) return 0;
  SubClass::Remove(window_, this);
  tracking_ = false;
  return 0;
}

void CTrackMouse::Arm() const {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = window_;
  track.dwHoverTime = 1;
  TrackMouseEvent(&track);
}

void CTrackMouse::Raise(const std::function<void()>& event) {
  if (event) event();
}

bool CTrackMouse::HandleMessage(UINT msg) {
  try {
    switch (msg) {
      case WM_MOUSEMOVE:
        Arm();  // hover and leave notices again, so that hover repeats while the pointer moves
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
    return false;
  }
  return true;
}

#pragma once
// Hover and click notices for plain drawing surfaces. A CTrackMouse hooks the window procedure
// of one watched window, asks the system for hover and leave notices, turns messages into four
// events and passes every message on to the window's own procedure. The registry finds the
// tracker of a window; there is at most one per window.
#include <windows.h>

#include <functional>

// An event handler may stop the tracking, but must not destroy the tracker that raised it;
// hosts defer such work until the handler has returned.
class CTrackMouse {
 public:
  struct Events {
    std::function<void()> MouseOver;
    std::function<void()> MouseOut;
    std::function<void()> MouseLeftDown;
    std::function<void()> MouseLeftUp;
  };

  explicit CTrackMouse(Events events);
  ~CTrackMouse();  // unhooks the window
  CTrackMouse(const CTrackMouse&) = delete;
  CTrackMouse& operator=(const CTrackMouse&) = delete;

  // Setting a window hooks it; setting null unhooks the current one.
  void SetTrackObject(HWND window);
  HWND TrackObject() const { return window_; }
  bool Tracking() const { return tracking_; }

  int StartTracking();
  int StopTracking();

  // Handles one message of the watched window (called by the shared window procedure).
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Raise(const std::function<void()>& event);

  Events events_;
  HWND window_ = nullptr;
  bool tracking_ = false;
  WNDPROC previous_ = nullptr;
};

namespace SubClass {

// The tracker that watches a window, or null.
CTrackMouse* Find(HWND window);
// Number of windows being watched.
int Count();

// The one window procedure of every watched window.
LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace SubClass

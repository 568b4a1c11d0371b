#pragma once
// Hover and click notices for a plain drawing surface. A CTrackMouse hooks one watched window
// through the platform's per-window subclassing, asks the system for hover and leave notices
// (again at every mouse move, so that hover keeps coming while the pointer moves), turns
// messages into four events and passes every message on to the window's own procedure.
#include <windows.h>

#include <functional>

// UI thread only. An event handler may stop the tracking, but must not destroy the tracker
// that raised it; hosts defer such work until the handler has returned.
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

  // Hooks the window (once) and arms the hover and leave notices; returns 0.
  int StartTracking();
  // Unhooks the window; returns 0.
  int StopTracking();

  // Handles one message of the watched window before the window's own procedure sees it
  // (called by the shared subclass procedure). False when a handler failed: the message is then
  // answered with 0 and not passed on.
  bool HandleMessage(UINT msg);

 private:
  void Arm() const;
  static void Raise(const std::function<void()>& event);

  Events events_;
  HWND window_ = nullptr;
  bool tracking_ = false;
};

#pragma once
// The hover tracker a skinned button keeps inside itself: it watches one drawing surface and
// raises MouseOver, MouseOut, MouseLeftDown and MouseLeftUp to its host.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "shell/taskbar/CTrackMouse.h"

class TrackMouse {
 public:
  // Values of CurrentState.
  enum : int16_t { kCreated = 0, kWatching = 7, kClosed = 8 };

  explicit TrackMouse(CTrackMouse::Events events) : events_(std::move(events)) {}

  // Starts watching the window with a new tracker (the previous one, if any, unhooks first).
  void Watch(HWND surface);
  // Stops watching; only while watching.
  void CloseWatch();

  int16_t CurrentState() const { return currentState_; }

 private:
  CTrackMouse::Events events_;
  std::unique_ptr<CTrackMouse> tmLink;
  int16_t currentState_ = kCreated;
};

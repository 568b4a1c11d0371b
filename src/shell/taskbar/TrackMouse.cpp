#include "shell/taskbar/TrackMouse.h"

void TrackMouse::Watch(HWND surface) {
  tmLink.reset();  // the old tracker unhooks its window before the new one hooks
  tmLink = std::make_unique<CTrackMouse>(events_);
  tmLink->SetTrackObject(surface);
  currentState_ = kWatching;
}

void TrackMouse::CloseWatch() {
  if (currentState_ != kWatching) return;
  tmLink->SetTrackObject(nullptr);
  currentState_ = kClosed;
}

#pragma once
// "Let pending window events run": one PeekMessage/DispatchMessage pass over the calling
// thread's queue, with keys routed exactly as the message loop routes them (shortcut and dialog
// keys of the window they are meant for), so that a key pressed while a rebuild, a fade or a scan
// lets events run does what it does at any other time. Callers that can be re-entered through it
// guard themselves with ReentryGuard.

#include <windows.h>

namespace common {

void PumpPendingMessages();

// Lets pending events run from inside a long loop: at the first Step (unless `atFirstStep` is
// false) and then whenever `intervalMs` have passed, so that the loop stays responsive without
// paying for a pass over the queue at every one of its steps.
class PeriodicPump {
 public:
  explicit PeriodicPump(DWORD intervalMs, bool atFirstStep = true)
      : interval_(intervalMs), last_(GetTickCount()), pumped_(!atFirstStep) {}
  void Step() {
    if (pumped_ && GetTickCount() - last_ < interval_) return;
    PumpPendingMessages();
    pumped_ = true;
    last_ = GetTickCount();
  }

 private:
  DWORD interval_;
  DWORD last_;
  bool pumped_;
};

// Marks a section that must not be re-entered while it pumps messages. Entered() is false for
// the nested attempt, which must then do nothing.
class ReentryGuard {
 public:
  explicit ReentryGuard(bool& busyFlag) : flag_(busyFlag), entered_(!busyFlag) {
    if (entered_) flag_ = true;
  }
  ~ReentryGuard() {
    if (entered_) flag_ = false;
  }
  ReentryGuard(const ReentryGuard&) = delete;
  ReentryGuard& operator=(const ReentryGuard&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool& flag_;
  bool entered_;
};

}  // namespace common

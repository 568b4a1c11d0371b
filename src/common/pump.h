#pragma once
// "Let pending window events run": one PeekMessage/DispatchMessage pass over the calling
// thread's queue. Callers that can be re-entered through it guard themselves with ReentryGuard.

#include <windows.h>

#include <functional>

namespace common {

void PumpPendingMessages();

// The same, with a filter that sees every message first and may take it (accelerators, dialog
// keys): a message for which the filter returns true is not dispatched.
void PumpPendingMessages(const std::function<bool(MSG& msg)>& filter);

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

#include "shell/startmenu/MenuFade.h"

#include "common/pump.h"
#include "shell/core/HandleWindows.h"

void MenuFade::SetAlpha(HWND window, int alpha) {
  HandleWindows::SetWindowAlpha(window, static_cast<uint8_t>(alpha));
  last_ = alpha;
  if (onStep) onStep(alpha);
}

void MenuFade::FadeIn(HWND window) { Run(window, Direction::kIn, false); }

void MenuFade::FadeOut(HWND window, bool eventsFirst) { Run(window, Direction::kOut, eventsFirst); }

void MenuFade::Run(HWND window, Direction direction, bool eventsFirst) {
  if (running_) {
    // A fade asked for while one runs (the start button clicked during the fade-out, the pointer
    // over the desktop during the fade-in) turns the running one around instead of starting a
    // second loop: two loops would fight over the opacity, and an older fade-out ending after a
    // newer fade-in would hide the menu the user has just opened.
    if (direction != direction_)
      alpha_ = direction == Direction::kIn ? last_ + in_.step : last_ - out_.step;
    direction_ = direction;
    if (direction == Direction::kIn) ShowWindow(window, SW_SHOWNA);
    return;
  }
  common::ReentryGuard guard(running_);
  direction_ = direction;
  if (direction == Direction::kIn) {
    SetAlpha(window, 0);
    ShowWindow(window, SW_SHOWNA);
    alpha_ = in_.first;
  } else {
    alpha_ = 255;
    last_ = 255;
    // Inside the guard: a fade-in asked for now turns this fade-out around.
    if (eventsFirst) common::PumpPendingMessages();
  }
  for (;;) {
    if (!IsWindow(window)) return;  // unloaded while its events ran
    const bool in = direction_ == Direction::kIn;
    if (in ? alpha_ > 255 : alpha_ < 0) break;
    // The next step is chosen before this one is set: a request that turns the fade around
    // (from here on) sets it anew.
    const int alpha = alpha_;
    alpha_ += in ? in_.step : -out_.step;
    SetAlpha(window, alpha);
    common::PumpPendingMessages();
  }
  if (direction_ == Direction::kIn) {
    SetAlpha(window, 255);
  } else {
    SetAlpha(window, 0);
    ShowWindow(window, SW_HIDE);
  }
}

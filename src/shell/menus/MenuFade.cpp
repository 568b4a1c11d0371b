#include "shell/menus/MenuFade.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/pump.h"
#include "shell/core/HandleWindows.h"

namespace {

int StepCount(int from, int step) { return from / std::max(step, 1) + 1; }

}  // namespace

MenuFade::MenuFade(Steps in, Steps out) : in_(in), out_(out), clock_(RealClock()) {}

MenuFade::Clock MenuFade::RealClock() {
  return {[] { return GetTickCount(); },
          [](DWORD ms) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
            common::PumpPendingMessages();
          }};
}

void MenuFade::SetAlpha(HWND window, int alpha) {
  HandleWindows::SetWindowAlpha(window, static_cast<uint8_t>(alpha));
  last_ = alpha;
  if (onStep) onStep(alpha);
}

void MenuFade::FadeIn(HWND window) { Run(window, Direction::kIn, false); }

void MenuFade::FadeOut(HWND window, bool eventsFirst) { Run(window, Direction::kOut, eventsFirst); }

bool MenuFade::Finished() const {
  return direction_ == Direction::kIn ? alpha_ > 255 : alpha_ < 0;
}

void MenuFade::Advance() { alpha_ += direction_ == Direction::kIn ? in_.step : -out_.step; }

double MenuFade::Interval() const {
  const Steps& steps = direction_ == Direction::kIn ? in_ : out_;
  const int count = direction_ == Direction::kIn ? StepCount(255 - steps.first, steps.step)
                                                 : StepCount(255, steps.step);
  return static_cast<double>(steps.durationMs) / std::max(count - 1, 1);
}

double MenuFade::Elapsed() const { return static_cast<double>(clock_.now() - began_); }

void MenuFade::WaitForNextStep() {
  due_ += Interval();
  for (double early = due_ - Elapsed(); early > 0; early = due_ - Elapsed())
    clock_.waitLettingEventsRun(static_cast<DWORD>(std::ceil(early)));
  // Behind time: the steps that should have been shown meanwhile are left out.
  while (!Finished() && Elapsed() - due_ >= Interval()) {
    Advance();
    due_ += Interval();
  }
}

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
  began_ = clock_.now();
  due_ = 0;
  for (;;) {
    if (!IsWindow(window)) return;  // unloaded while its events ran
    if (Finished()) break;
    // The next step is chosen before this one is set: a request that turns the fade around
    // (from here on) sets it anew.
    const int alpha = alpha_;
    Advance();
    SetAlpha(window, alpha);
    common::PumpPendingMessages();
    if (!Finished()) WaitForNextStep();
  }
  if (!IsWindow(window)) return;
  if (direction_ == Direction::kIn) {
    SetAlpha(window, 255);
  } else {
    SetAlpha(window, 0);
    ShowWindow(window, SW_HIDE);
  }
}

#pragma once
// The opacity animation of the menu windows. A fade-in makes the window layered at opacity 0,
// shows it without activating it and steps the opacity up from `first` by `step` as long as it
// stays within 255, then sets 255. A fade-out steps it down from 255 by `step` as long as it
// stays at or above 0, then sets 0 and hides the window. Pending window events run after every
// step, so the shell stays responsive while a menu fades.
#include <windows.h>

#include <cstdint>
#include <functional>

class MenuFade {
 public:
  struct Steps {
    int first;  // opacity of the first step of a fade-in
    int step;   // change per step
  };

  MenuFade(Steps in, Steps out) : in_(in), out_(out) {}

  void FadeIn(HWND window);
  // `eventsFirst`: let pending window events run once before the first step.
  void FadeOut(HWND window, bool eventsFirst = false);

  bool Running() const { return running_; }

  // Called after each step's opacity is set, before the events run (for measurements).
  std::function<void(int alpha)> onStep;

 private:
  enum class Direction { kIn, kOut };
  void Run(HWND window, Direction direction, bool eventsFirst);
  void SetAlpha(HWND window, int alpha);

  Steps in_;
  Steps out_;
  bool running_ = false;
  Direction direction_ = Direction::kIn;
  int alpha_ = 0;  // the next step's opacity
  int last_ = 0;   // the opacity set last
};

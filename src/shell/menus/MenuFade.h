#pragma once
// The opacity animation of the pop-up menus. A fade-in makes the window layered at opacity 0,
// shows it without activating it and steps the opacity up from `first` by `step` as long as it
// stays within 255, then sets 255. A fade-out steps it down from 255 by `step` as long as it
// stays at or above 0, then sets 0 and hides the window.
//
// The steps are paced by time, not by the speed of the machine: a whole fade takes `durationMs`.
// Pending window events run after every step and while the fade waits for the next one, so the
// shell stays responsive; a fade that falls behind (a slow machine, a long event) leaves out the
// steps whose time has passed.
#include <windows.h>

#include <cstdint>
#include <functional>

class MenuFade {
 public:
  struct Steps {
    int first;         // opacity of the first step of a fade-in
    int step;          // change per step
    DWORD durationMs;  // the time from the first step to the last
  };

  // Where the fade takes its time from: the real clock and a wait that lets events run, or a
  // test's own.
  struct Clock {
    std::function<DWORD()> now;
    std::function<void(DWORD ms)> waitLettingEventsRun;
  };

  MenuFade(Steps in, Steps out);

  void FadeIn(HWND window);
  // `eventsFirst`: let pending window events run once before the first step.
  void FadeOut(HWND window, bool eventsFirst = false);

  bool Running() const { return running_; }

  void SetClock(Clock clock) { clock_ = std::move(clock); }
  static Clock RealClock();

  // Called after each step's opacity is set, before the events run (for measurements).
  std::function<void(int alpha)> onStep;

 private:
  enum class Direction { kIn, kOut };
  void Run(HWND window, Direction direction, bool eventsFirst);
  void SetAlpha(HWND window, int alpha);
  bool Finished() const;
  void Advance();
  double Interval() const;  // ms from one step to the next
  double Elapsed() const;   // ms since the fade began
  // Waits until the next step is due; steps whose time has passed meanwhile are left out.
  void WaitForNextStep();

  Steps in_;
  Steps out_;
  Clock clock_;
  bool running_ = false;
  Direction direction_ = Direction::kIn;
  int alpha_ = 0;  // the next step's opacity
  int last_ = 0;     // the opacity set last
  DWORD began_ = 0;  // the clock when the fade began
  double due_ = 0;   // when the next step is due, in ms after began_
};

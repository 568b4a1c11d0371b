#pragma once
// The windows that asked for attention: each flashes on its task button, lit with the hover
// picture for half a second and normal for half a second, from the moment it asked until the
// window is activated or goes. Logic only: no window; times are tick counts in milliseconds.
// UI thread only.
#include <windows.h>

#include <functional>
#include <map>

class FlashingTasks {
 public:
  static constexpr DWORD kHalfPeriodMs = 500;

  // The window asks for attention; asking again while it flashes changes nothing.
  void Start(HWND window, DWORD now);
  // The window was activated, or is gone: it flashes no more.
  void Stop(HWND window);
  bool Flashing(HWND window) const { return started_.count(window) != 0; }
  bool Any() const { return !started_.empty(); }
  // Forgets every window for which `keep` is false (windows that are gone).
  void KeepOnly(const std::function<bool(HWND)>& keep);
  // Whether the window's button shows the lit picture at `now` (false when it does not flash).
  bool LitAt(HWND window, DWORD now) const;

 private:
  std::map<HWND, DWORD> started_;
};

#include "shell/taskbar/FlashingTasks.h"

#include <iterator>

void FlashingTasks::Start(HWND window, DWORD now) {
  if (window != nullptr) started_.emplace(window, now);
}

void FlashingTasks::Stop(HWND window) { started_.erase(window); }

bool FlashingTasks::LitAt(HWND window, DWORD now) const {
  const auto found = started_.find(window);
  if (found == started_.end()) return false;
  // Lit first, so that the button answers at once; tick counts wrap, their difference does not.
  return ((now - found->second) / kHalfPeriodMs) % 2 == 0;
}

void FlashingTasks::KeepOnly(const std::function<bool(HWND)>& keep) {
  for (auto it = started_.begin(); it != started_.end();)
    it = keep(it->first) ? std::next(it) : started_.erase(it);
}

#include "shell/taskbar/SubClass.h"

#include <map>

#include "shell/taskbar/CTrackMouse.h"

namespace SubClass {

namespace {

// UI thread only: every hook, event and registry change happens on the thread that owns the
// watched windows.
std::map<HWND, CTrackMouse*>& Registry() {
  static std::map<HWND, CTrackMouse*> registry;
  return registry;
}

}  // namespace

CTrackMouse* Find(HWND window) {
  auto it = Registry().find(window);
  return it == Registry().end() ? nullptr : it->second;
}

int Count() { return static_cast<int>(Registry().size()); }

bool Add(HWND window, CTrackMouse* tracker) {
  if (!Registry().emplace(window, tracker).second) return false;
  if (SetWindowSubclass(window, &WindowProc, kSubclassId, 0)) return true;
  Registry().erase(window);
  return false;
}

void Remove(HWND window, CTrackMouse* tracker) {
  auto it = Registry().find(window);
  if (it == Registry().end() || it->second != tracker) return;
  Registry().erase(it);
  if (IsWindow(window)) RemoveWindowSubclass(window, &WindowProc, kSubclassId);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
  CTrackMouse* tracker = Find(window);
  if (msg == WM_NCDESTROY) {
    // Nothing of a tracker outlives the window it watches.
    if (tracker) tracker->StopTracking();
  } else if (tracker && !tracker->HandleMessage(msg)) {
    return 0;
  }
  // The handler may have stopped the tracking; the message still goes on to the window.
  return DefSubclassProc(window, msg, wParam, lParam);
}

}  // namespace SubClass

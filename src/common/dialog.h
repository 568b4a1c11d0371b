#pragma once
// What every window with controls that the keyboard walks has in common: Tab and Shift+Tab move
// between its controls and Enter presses its default button, its shortcut keys run their
// commands (both through the message loop's keyboard routing, for as long as the window
// exists), and the control that had the focus gets it back when the user returns to the
// window. A window holds one and passes it WM_ACTIVATE and WM_SETFOCUS.
#include <windows.h>

namespace common {

class DialogHelper {
 public:
  // Routes the window's dialog keys (and `shortcuts`, when given) and makes `firstFocus` the
  // control that gets the focus with the window.
  void Attach(HWND window, HWND firstFocus, HACCEL shortcuts = nullptr);

  // The control that has the focus, or gets it back when the window does.
  HWND FocusControl() const { return focused_; }
  // Gives the focus to that control now.
  void GiveFocus() const;

  // WM_ACTIVATE: remembers the focused control when the window goes inactive; false, the
  // window's own handling goes on. WM_SETFOCUS: passes the focus on to that control; true, the
  // message is answered (with 0). Any other message: false.
  bool OnMessage(UINT message, WPARAM wParam);

 private:
  HWND window_ = nullptr;
  HWND focused_ = nullptr;
};

}  // namespace common

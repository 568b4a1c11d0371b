#pragma once
// Window operations of the shell: the command set applied to top-level windows, the desktop work
// area, hiding and showing the Windows taskbar, and menu opacity. Thin wrappers over the window
// manager with fixed flags; none reports an error, a refused call leaves things as they are.
#include <windows.h>

#include <cstdint>
#include <string>

namespace HandleWindows {

// Commands of WindowCommand.
enum : int32_t {
  kClose = 0,             // WM_CLOSE
  kShow = 1,              // SW_SHOW
  kHide = 2,              // SW_HIDE
  kMaximizeToFront = 3,   // SW_SHOWMAXIMIZED, topmost, active
  kMinimize = 4,          // SW_MINIMIZE
};

// The property that marks the shell's own window of the Windows taskbar's class (its end of the
// notification protocol): the operations here never take it for the Windows taskbar.
constexpr wchar_t kShellTrayMark[] = L"ZephraShellTray";

void WindowCommand(HWND window, int32_t command);
// Applies the command to the first top-level window of the class that is not the shell's own, if
// there is one.
void WindowCommandByClass(const std::wstring& className, int32_t command);
// The first top-level window of the class that is not the shell's own, or none.
HWND FindForeignWindow(const std::wstring& className);
// The Windows taskbar's window.
HWND FindWindowsTaskbar();

void SetWorkArea(int16_t left, int16_t top, int16_t right, int16_t bottom);

// Height in twips of whatever lies below the current work area (the Windows taskbar at the
// bottom; 0 when it is docked elsewhere).
int16_t GetTrayHeight();

// Shows the Windows taskbar (and the taskbars of further screens) and sets the work area to the
// screen minus a bottom strip of `trayHeight` pixels.
void RestoreTaskbar(double trayHeight);

// Hides the Windows taskbar, and the taskbars that newer Windows shows on every further screen,
// without moving them or changing their place in the z-order.
void HideTaskbar();

// Minimised windows are kept out of sight, where a taskbar stands for them; the system tells a
// shell about windows only once this is so. What was there before is kept for the give-back.
void HideMinimizedWindows();
// Puts back the arrangement of minimised windows that HideMinimizedWindows found, if it changed
// it; nothing otherwise. Safe to call from the crash handler.
void RestoreMinimizedWindows();

// Makes the window layered with the given opacity. The extended style is replaced by
// WS_EX_LAYERED alone: every other extended style bit is cleared.
void SetWindowAlpha(HWND window, uint8_t alpha);

}  // namespace HandleWindows

// ZephraShell: the replacement desktop. The life of the process is the life of the desktop
// window.
#include <windows.h>

#include "shell/core/CrashGuard.h"
#include "shell/core/Form1.h"
#include "shell/core/rwini.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CrashGuard::Install();

  const rwini::IniFile config{rwini::GetIniPath()};
  Form1 desktop(config, ShellServices::Real());
  if (!desktop.Load()) return 1;

#ifdef ZEPHRA_CRASH_TEST
  // Test build only: die of an access violation once the desktop is up, to prove that the
  // Windows taskbar and the work area come back.
  SetTimer(nullptr, 0, 1500, nullptr);
#endif

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
#ifdef ZEPHRA_CRASH_TEST
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) *static_cast<volatile int*>(nullptr) = 1;
#endif
    // Tab moves the focus between the desktop's controls.
    if (IsDialogMessageW(desktop.Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

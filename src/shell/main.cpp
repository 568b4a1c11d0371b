// ZephraShell: the replacement desktop. The life of the process is the life of the desktop
// window.
#include <windows.h>

#include "common/keyboard.h"
#include "shell/core/CrashGuard.h"
#include "shell/core/Form1.h"
#include "shell/core/rwini.h"

#ifdef ZEPHRA_CRASH_TEST
static DWORD WINAPI CrashSoon(void*) {
  Sleep(1500);
  *static_cast<volatile int*>(nullptr) = 1;
  return 0;
}
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CrashGuard::Install();

  const rwini::IniFile config{rwini::GetIniPath()};
  Form1 desktop(config, ShellServices::Real());
  if (!desktop.Load()) return 1;

#ifdef ZEPHRA_CRASH_TEST
  // Test build only: die of an access violation once the desktop is up, to prove that the
  // Windows taskbar and the work area come back.
  CreateThread(nullptr, 0, &CrashSoon, nullptr, 0, nullptr);
#endif

  return common::RunMessageLoop();
}

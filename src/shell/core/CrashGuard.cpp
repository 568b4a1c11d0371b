#include "shell/core/CrashGuard.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <exception>

#include "shell/core/HandleWindows.h"
#include "shell/core/StartKeys.h"

namespace CrashGuard {

namespace {

std::atomic<bool> armed{false};
std::atomic<double> savedTrayHeight{0.0};
std::atomic<bool> givingBack{false};
std::function<void()>& BeforeGiveBack() {
  static std::function<void()> action;
  return action;
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* /*info*/) {
  GiveBackDesktop();
  return EXCEPTION_EXECUTE_HANDLER;  // end the process quietly
}

void OnTerminate() {
  GiveBackDesktop();
  std::abort();
}

}  // namespace

void Install() {
  SetUnhandledExceptionFilter(&OnUnhandledException);
  std::set_terminate(&OnTerminate);
}

void Arm(double trayHeight) {
  savedTrayHeight = trayHeight;
  armed = true;
}

void Disarm() { armed = false; }
void SetBeforeGiveBack(std::function<void()> action) { BeforeGiveBack() = std::move(action); }
bool Armed() { return armed; }

void GiveBackDesktop() {
  if (!armed || givingBack.exchange(true)) return;  // once, even if the give-back itself fails
  // The keys first: a hook whose thread is stopped here would hold up every key press of the
  // session until the process is gone.
  StartKeyHook::RemoveAfterCrash();
  if (BeforeGiveBack()) {
    try {
      BeforeGiveBack()();
    } catch (...) {
      // The taskbar and the work area go back whatever happened here.
    }
  }
  HandleWindows::RestoreTaskbar(savedTrayHeight);
  HandleWindows::WindowCommandByClass(L"explorer.exe", HandleWindows::kShow);
  HandleWindows::WindowCommandByClass(L"Shell_traywnd", HandleWindows::kShow);
  HandleWindows::RestoreMinimizedWindows();
  armed = false;
  givingBack = false;
}

}  // namespace CrashGuard

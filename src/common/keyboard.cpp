#include "common/keyboard.h"

#include <map>

namespace common {

namespace {

struct Entry {
  HACCEL accelerators;
  bool dialogKeys;
};

// UI thread only.
std::map<HWND, Entry>& Registry() {
  static std::map<HWND, Entry> registry;
  return registry;
}

}  // namespace

void RegisterKeyboard(HWND window, HACCEL accelerators, bool dialogKeys) {
  Registry()[window] = {accelerators, dialogKeys};
}

void UnregisterKeyboard(HWND window) { Registry().erase(window); }

bool TranslateKeyboard(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND active = GetActiveWindow();
  auto it = Registry().find(active);
  if (it == Registry().end()) return false;
  if (it->second.accelerators && TranslateAcceleratorW(active, it->second.accelerators, &msg))
    return true;
  return it->second.dialogKeys && IsDialogMessageW(active, &msg);
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (TranslateKeyboard(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace common

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
  if (window != nullptr) Registry()[window] = {accelerators, dialogKeys};
}

void UnregisterKeyboard(HWND window) { Registry().erase(window); }

bool KeyboardRegistered(HWND window) { return Registry().count(window) != 0; }

bool TranslateKeyboard(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || msg.hwnd == nullptr) return false;
  // Keys go to the control with the focus; its top-level window says what they do.
  HWND window = GetAncestor(msg.hwnd, GA_ROOT);
  auto it = Registry().find(window);
  if (it == Registry().end()) return false;
  const Entry entry = it->second;  // a shortcut's command may end the window and its entry
  if (entry.accelerators && TranslateAcceleratorW(window, entry.accelerators, &msg)) return true;
  return entry.dialogKeys && IsWindow(window) && IsDialogMessageW(window, &msg);
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

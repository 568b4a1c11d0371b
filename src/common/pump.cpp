#include "common/pump.h"

#include <windows.h>

namespace common {

void PumpPendingMessages() { PumpPendingMessages(nullptr); }

void PumpPendingMessages(const std::function<bool(MSG& msg)>& filter) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the main loop to see.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (filter && filter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace common

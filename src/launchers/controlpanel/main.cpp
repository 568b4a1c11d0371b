// Palomid: thirteen buttons that open Control Panel applets and the dial-up dialog. The life of
// the process is the life of its one window.
#include <windows.h>

#include "launchers/controlpanel/Form1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  palomid::Form1 form(palomid::PalomidServices::Real());
  if (!form.Load(show)) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and the arrow keys move the focus between the buttons.
    if (form.Handle() && IsDialogMessageW(form.Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// Palomid: thirteen buttons that open Control Panel applets and the dial-up dialog. The life of
// the process is the life of its one window.
#include <windows.h>

#include "common/keyboard.h"
#include "launchers/controlpanel/Form1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  palomid::Form1 form(palomid::PalomidServices::Real());
  if (!form.Load(show)) return 1;

  return common::RunMessageLoop();
}

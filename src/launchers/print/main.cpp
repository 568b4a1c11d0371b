// Prindle: prints a document through the "print" verb of its file type. The life of the process
// is the life of its one window.
#include <windows.h>

#include "common/com.h"
#include "common/keyboard.h"
#include "launchers/print/Form1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  // The print verb may be served by shell extensions, which expect COM on the calling thread.
  const common::ComApartment com;
  prindle::Form1 form(prindle::PrindleServices::Real());
  if (!form.Load(show)) return 1;

  return common::RunMessageLoop();
}

// Sanivo: the system checker. One instance at a time; the life of the process is the life of
// its main window.
#include <windows.h>

#include "checker/app/SingleInstance.h"
#include "checker/app/TForm1.h"
#include "common/com.h"
#include "common/keyboard.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  const SingleInstance instance(L"Sanivo");
  if (!instance.First()) return 0;  // a second start: no window, no message

  // The shell link objects of the disk scans live in this thread.
  const common::ComApartment com;
  int exitCode = 0;
  {
    TForm1 form(CheckerServices::Real());
    if (form.Create()) {
      form.Show(showCommand);
      exitCode = common::RunMessageLoop();
    }
  }
  return exitCode;
}

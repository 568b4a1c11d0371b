// Prindle: prints a document through the "print" verb of its file type. The life of the process
// is the life of its one window.
#include <objbase.h>
#include <windows.h>

#include "common/keyboard.h"
#include "launchers/print/Form1.h"

namespace {

// The print verb may be served by shell extensions, which expect COM on the calling thread.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ok_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  ComApartment com;
  prindle::Form1 form(prindle::PrindleServices::Real());
  if (!form.Load(show)) return 1;

  return common::RunMessageLoop();
}

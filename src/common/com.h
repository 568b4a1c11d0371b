#pragma once
// COM for the calling thread while the object lives: a single-threaded apartment, as the shell's
// objects (links, verbs, extensions) expect. Programs that use it link ole32.
#include <objbase.h>

namespace common {

class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace common

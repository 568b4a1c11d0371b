#pragma once
// What a 32-bit program needs on 64-bit Windows, where it runs under WOW64: whether it does, and
// a way to see the real System32 folder instead of the redirected one. Windows XP (32-bit) has
// none of these functions; they are looked up at run time and do nothing there.
#include <windows.h>

namespace common {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE process, PBOOL wow64);
using Wow64DisableFunction = BOOL(WINAPI*)(PVOID* oldValue);
using Wow64RevertFunction = BOOL(WINAPI*)(PVOID oldValue);

// True when this program is a 32-bit program running on 64-bit Windows. False for a 64-bit
// program, on 32-bit Windows, when the system lacks IsWow64Process and when the query fails.
bool IsWow64();
// The same through a given IsWow64Process (nullptr: missing); tests give their own.
bool IsWow64(IsWow64ProcessFunction isWow64Process);

// Turns the file-system redirection of WOW64 off for the calling thread while it lives, so that
// paths below the Windows folder name the real files, and turns it back on at its end. Create
// and destroy it in the same thread, and keep its scope short: the system's own loading of DLLs
// in that thread is redirected no more either. Where Windows lacks the functions (32-bit XP,
// where there is no redirection) or turning it off fails, it does nothing and Active() is false.
class Wow64RedirectionOff {
 public:
  Wow64RedirectionOff();
  // Through given functions (nullptr: missing); tests give their own.
  Wow64RedirectionOff(Wow64DisableFunction disable, Wow64RevertFunction revert);
  ~Wow64RedirectionOff();
  Wow64RedirectionOff(const Wow64RedirectionOff&) = delete;
  Wow64RedirectionOff& operator=(const Wow64RedirectionOff&) = delete;

  bool Active() const { return active_; }

 private:
  Wow64RevertFunction revert_ = nullptr;
  PVOID oldValue_ = nullptr;
  bool active_ = false;
};

}  // namespace common

#include "common/wow64.h"

#include "common/lookup.h"

namespace common {

namespace {

constexpr wchar_t kKernel32[] = L"kernel32.dll";

}  // namespace

bool IsWow64() { return IsWow64(LookUp<IsWow64ProcessFunction>(kKernel32, "IsWow64Process")); }

bool IsWow64(IsWow64ProcessFunction isWow64Process) {
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

Wow64RedirectionOff::Wow64RedirectionOff()
    : Wow64RedirectionOff(LookUp<Wow64DisableFunction>(kKernel32, "Wow64DisableWow64FsRedirection"),
                          LookUp<Wow64RevertFunction>(kKernel32, "Wow64RevertWow64FsRedirection")) {
}

Wow64RedirectionOff::Wow64RedirectionOff(Wow64DisableFunction disable, Wow64RevertFunction revert)
    : revert_(revert) {
  // Without a way back, redirection is never turned off.
  active_ = disable && revert && disable(&oldValue_);
}

Wow64RedirectionOff::~Wow64RedirectionOff() {
  if (active_) revert_(oldValue_);
}

}  // namespace common

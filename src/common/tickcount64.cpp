#include "common/tickcount64.h"

#include "common/lookup.h"

namespace common {

namespace {

// Plain atomics with constant initial values: the thread library may ask for the time before any
// constructor of ours has run.
static_assert(std::atomic<uint64_t>::is_always_lock_free);
std::atomic<uint64_t> extendedCount{0};
std::atomic<TickCount64Function> systemFunction{nullptr};
std::atomic<bool> lookedUp{false};

}  // namespace

uint64_t ExtendTickCount(std::atomic<uint64_t>& state, TickCountFunction tickCount) {
  uint64_t last = state.load(std::memory_order_acquire);
  for (;;) {
    const DWORD now = tickCount();
    const uint64_t next = last + static_cast<DWORD>(now - static_cast<DWORD>(last));
    if (next == last || state.compare_exchange_weak(last, next, std::memory_order_acq_rel,
                                                    std::memory_order_acquire)) {
      return next;
    }
  }
}

TickCount64Function SystemTickCount64() {
  // Looking up twice in a race does no harm: both find the same.
  if (!lookedUp.load(std::memory_order_acquire)) {
    systemFunction.store(LookUp<TickCount64Function>(L"kernel32.dll", "GetTickCount64"),
                         std::memory_order_relaxed);
    lookedUp.store(true, std::memory_order_release);
  }
  return systemFunction.load(std::memory_order_relaxed);
}

uint64_t TickCount64() {
  if (const TickCount64Function system = SystemTickCount64()) return system();
  return ExtendTickCount(extendedCount, &GetTickCount);
}

}  // namespace common

namespace {

ULONGLONG WINAPI TickCount64ForImport() { return common::TickCount64(); }

}  // namespace

// The import slot of GetTickCount64 under its linker name. Being defined here, in an object file
// every program links, it keeps the linker from taking kernel32's slot, and with it the import.
#if defined(__i386__)
#define ZEPHRA_GETTICKCOUNT64_SLOT "__imp__GetTickCount64@0"
#else
#define ZEPHRA_GETTICKCOUNT64_SLOT "__imp_GetTickCount64"
#endif
extern "C" __attribute__((used)) common::TickCount64Function const zephraGetTickCount64Slot asm(
    ZEPHRA_GETTICKCOUNT64_SLOT) = &TickCount64ForImport;

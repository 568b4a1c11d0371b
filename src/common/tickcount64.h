#pragma once
// GetTickCount64 on every Windows we run on. Windows XP lacks it, yet the toolchain's thread
// library (behind std::thread, std::mutex and std::condition_variable) imports it for its timed
// waits, and a program with an import its Windows lacks does not start. So every program links
// tickcount64.cpp, which fills that import's slot itself: with the system's GetTickCount64 where
// there is one, and where not with GetTickCount's 32-bit count carried on across its wraps.
#include <windows.h>

#include <atomic>
#include <cstdint>

namespace common {

using TickCountFunction = DWORD(WINAPI*)();
using TickCount64Function = ULONGLONG(WINAPI*)();

// Milliseconds since Windows started, from any thread; what the thread library gets when it asks
// for GetTickCount64.
uint64_t TickCount64();

// The system's GetTickCount64, or nullptr where Windows lacks it (XP) and TickCount64 extends
// the 32-bit count instead.
TickCount64Function SystemTickCount64();

// Brings the 64-bit count `state` up to a new reading of the 32-bit count and returns it. The low
// 32 bits of `state` are the last reading; the count moves on by the distance from it, across a
// wrap too, so it never goes back. Safe from any thread: a reading is taken after the state it
// is measured against, and a state changed meanwhile by another thread is read again. It counts
// right as long as it is asked at least once every 49.7 days; a longer pause loses whole wraps.
uint64_t ExtendTickCount(std::atomic<uint64_t>& state, TickCountFunction tickCount);

}  // namespace common

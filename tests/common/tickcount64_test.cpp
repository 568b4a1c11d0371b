#include "common/tickcount64.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// A 32-bit count the test sets, or that moves on by one at each reading.
std::atomic<DWORD> fakeTicks{0};
std::atomic<bool> fakeRuns{false};
DWORD WINAPI FakeTickCount() { return fakeRuns ? fakeTicks++ : fakeTicks.load(); }

TEST(TickCount64, CarriesTheCountAcrossWraps) {
  struct Step {
    DWORD reading;
    uint64_t expected;
  };
  const Step steps[] = {
      {5000, 5000},                   // the first reading is the count itself
      {5000, 5000},                   // no time passed
      {0xFFFFFF00u, 0xFFFFFF00u},     // just before the wrap
      {0x00000100u, 0x100000100ull},  // past it
      {0xFFFFFFFFu, 0x1FFFFFFFFull},  // a whole lap later, just before the next
      {0x00000000u, 0x200000000ull},  // and past that one too
  };
  std::atomic<uint64_t> state{0};
  fakeRuns = false;
  for (const Step& step : steps) {
    fakeTicks = step.reading;
    EXPECT_EQ(common::ExtendTickCount(state, &FakeTickCount), step.expected) << step.reading;
  }
}

TEST(TickCount64, NeverGoesBackWhenThreadsReadAtOnce) {
  constexpr int kThreads = 4;
  constexpr int kReadings = 20000;
  std::atomic<uint64_t> state{0xFFFF0000u};  // the wrap comes within the run
  fakeTicks = 0xFFFF0000u;
  fakeRuns = true;
  std::vector<bool> monotonic(kThreads, false);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      uint64_t last = 0;
      bool ok = true;
      for (int i = 0; i < kReadings; ++i) {
        const uint64_t now = common::ExtendTickCount(state, &FakeTickCount);
        ok = ok && now >= last;
        last = now;
      }
      monotonic[t] = ok;
    });
  }
  for (std::thread& thread : threads) thread.join();
  fakeRuns = false;
  for (int t = 0; t < kThreads; ++t) EXPECT_TRUE(monotonic[t]) << "thread " << t;
  // Over 65536 readings from 0xFFFF0000: one wrap, and the count ends at a reading taken.
  EXPECT_EQ(state.load() >> 32, 1u);
  EXPECT_LT(static_cast<DWORD>(state.load()), fakeTicks.load());
}

TEST(TickCount64, FollowsTheSystemCountWhereThereIsOne) {
  // Wine has GetTickCount64, as Windows from Vista on; XP has not and gets the extended count.
  const common::TickCount64Function system = common::SystemTickCount64();
  ASSERT_NE(system, nullptr);
  const uint64_t before = system();
  const uint64_t ours = common::TickCount64();
  EXPECT_LE(before, ours);
  EXPECT_LE(ours, system());
}

TEST(TickCount64, TimedWaitsOfTheThreadLibraryRunOnIt) {
  // std::condition_variable's timed wait asks the thread library's GetTickCount64, which is
  // ours: the wait ends, with a time-out, and not before its time.
  std::mutex mutex;
  std::condition_variable never;
  std::unique_lock lock(mutex);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(never.wait_for(lock, std::chrono::milliseconds(30)), std::cv_status::timeout);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
}

}  // namespace

#pragma once
// Timing for the benchmark programs: a millisecond clock, a wait that measures, and the line
// that reports a series.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace testing_support {

// Milliseconds of the performance counter.
inline double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Waits in 1 ms steps, this program's own windows answering, until `done`: the milliseconds
// since `start`, or a negative number after `limitMs`.
template <typename Done>
double TimeUntil(double start, Done done, double limitMs = 3000) {
  while (NowMs() - start < limitMs) {
    MSG msg;  // no wait here: the step is the 1 ms sleep below
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (done()) return NowMs() - start;
    Sleep(1);
  }
  return -1;
}

// "<what>: median, worst, best (n of all within 3 s)"; negative times are the ones that never
// came.
inline void ReportTimes(const char* what, std::vector<double> times) {
  const size_t all = times.size();
  std::erase_if(times, [](double t) { return t < 0; });
  if (times.empty()) {
    std::printf("%s: never within 3 s (%zu tries)\n", what, all);
    return;
  }
  std::sort(times.begin(), times.end());
  std::printf("%s: median %.1f ms, worst %.1f ms, best %.1f ms (%zu of %zu within 3 s)\n", what,
              times[times.size() / 2], times.back(), times.front(), times.size(), all);
}

}  // namespace testing_support

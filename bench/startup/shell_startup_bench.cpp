// Start-up of ZephraShell against the bare floor program: time from process start to the first
// painted desktop, and the shell's private memory once it is up. Run it in the "shell" desktop:
//   scripts/wine.sh --desktop=shell build/win64/bin/shell_startup_bench.exe [runs]
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "e2e/process.h"
#include "support/testing.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Committed private memory of a process, by walking its address space (Wine leaves the
// process counters' PrivateUsage at 0).
double CommittedPrivateKb(HANDLE process) {
  size_t total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (const char* address = nullptr;
       VirtualQueryEx(process, address, &info, sizeof(info)) == sizeof(info);
       address = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return static_cast<double>(total) / 1024.0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Starts one program, polls the screen until the desktop's colours show at both edges, and
// returns the time that took (negative when they never showed).
double TimeToPaintedDesktop(e2e::ProgramUnderTest& program) {
  const COLORREF left = RGB(19, 31, 67), right = RGB(39, 66, 124);  // the gradient's edges
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (!program.Start()) return -1;
  // Poll the screen without pumping this process's messages in between.
  for (int i = 0; i < 20000; ++i) {
    if (e2e::ScreenPixel(1023, 400) == right && e2e::ScreenPixel(0, 400) == left) {
      QueryPerformanceCounter(&end);
      return Milliseconds(start, end);
    }
    Sleep(1);
  }
  return -1;
}

void WaitForEmptyScreen() {
  testing_support::WaitFor([] { return e2e::ScreenPixel(1023, 400) != RGB(39, 66, 124); }, 5000);
}

void Report(const char* name, const std::vector<double>& times) {
  std::printf("%s: process start to painted desktop: median %.1f ms, min %.1f ms, max %.1f ms\n",
              name, Median(times), *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()));
}

}  // namespace

// Alternates the shell with the bare floor program (bench/floor), so that both see the same
// machine load, and reports both and their ratio.
int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  if (!e2e::WaitForWindowsTaskbar(10000)) std::printf("(no Windows taskbar in this desktop)\n");
  std::vector<double> startTimes, floorTimes, privateKb, workingKb;
  for (int run = 0; run < runs; ++run) {
    {
      testing_support::TempFolder folder;
      e2e::ProgramUnderTest floor(folder.Path(), L"floor_desktop.exe");
      const double ms = TimeToPaintedDesktop(floor);
      if (ms < 0) {
        std::printf("run %d: the floor program never painted\n", run);
        return 1;
      }
      floorTimes.push_back(ms);
      PostMessageW(floor.WaitForWindow(L"ZephraFloorDesktop", 2000), WM_CLOSE, 0, 0);
      floor.WaitForExit(10000);
      WaitForEmptyScreen();
    }
    testing_support::TempFolder folder;
    e2e::ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
    const double ms = TimeToPaintedDesktop(shell);
    if (ms < 0) {
      std::printf("run %d: the desktop was never painted\n", run);
      return 1;
    }
    startTimes.push_back(ms);
    testing_support::PumpFor(500);  // let start-up settle before measuring memory
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, shell.ProcessId());
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (process &&
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof(memory))) {
      privateKb.push_back(memory.PrivateUsage ? static_cast<double>(memory.PrivateUsage) / 1024.0
                                              : CommittedPrivateKb(process));
      workingKb.push_back(static_cast<double>(memory.WorkingSetSize) / 1024.0);
    }
    if (process) CloseHandle(process);
    HWND desktop = shell.WaitForWindow(L"ZephraShellDesktop", 2000);
    HWND exitButton = FindWindowExW(desktop, nullptr, L"BUTTON", nullptr);
    PostMessageW(exitButton, BM_CLICK, 0, 0);
    shell.WaitForExit(10000);
    WaitForEmptyScreen();
  }
  std::printf("runs: %d (alternated)\n", runs);
  Report("ZephraShell", startTimes);
  Report("floor", floorTimes);
  std::printf("ratio of the medians: %.2f\n", Median(startTimes) / Median(floorTimes));
  if (!privateKb.empty())
    std::printf(
        "ZephraShell private committed memory after start-up: median %.0f KiB (working set "
        "%.0f KiB)\n",
        Median(privateKb), Median(workingKb));
  return 0;
}

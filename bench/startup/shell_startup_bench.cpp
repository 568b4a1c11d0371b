// Start-up of ZephraShell: time from process start to the first painted desktop, and the
// shell's private memory once it is up. Run it in the "shell" desktop:
//   scripts/wine.sh --desktop=shell build/win64/bin/shell_startup_bench.exe [runs]
#include <windows.h>
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

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  if (!e2e::WaitForWindowsTaskbar(10000)) std::printf("(no Windows taskbar in this desktop)\n");
  const COLORREF painted = RGB(39, 66, 124);  // the gradient's right edge
  std::vector<double> startTimes, privateKb, workingKb;
  for (int run = 0; run < runs; ++run) {
    testing_support::TempFolder folder;
    e2e::ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!shell.Start()) {
      std::printf("cannot start ZephraShell.exe\n");
      return 1;
    }
    // Poll the screen without pumping this process's messages in between.
    bool seen = false;
    for (int i = 0; i < 20000 && !seen; ++i) {
      seen = e2e::ScreenPixel(1023, 400) == painted && e2e::ScreenPixel(0, 400) == RGB(19, 31, 67);
      if (!seen) Sleep(1);
    }
    QueryPerformanceCounter(&end);
    if (!seen) {
      std::printf("run %d: the desktop was never painted\n", run);
      return 1;
    }
    startTimes.push_back(Milliseconds(start, end));
    testing_support::PumpFor(500);  // let start-up settle before measuring memory
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, shell.ProcessId());
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (process && GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
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
    // Wait until the screen shows the empty desktop again before the next run.
    testing_support::WaitFor([&] { return e2e::ScreenPixel(1023, 400) != painted; }, 5000);
  }
  std::printf("runs: %d\n", runs);
  std::printf("process start to painted desktop: median %.1f ms, min %.1f ms, max %.1f ms\n",
              Median(startTimes), *std::min_element(startTimes.begin(), startTimes.end()),
              *std::max_element(startTimes.begin(), startTimes.end()));
  if (!privateKb.empty())
    std::printf("private committed memory after start-up: median %.0f KiB (working set %.0f KiB)\n",
                Median(privateKb), Median(workingKb));
  return 0;
}

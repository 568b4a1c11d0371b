// Prints how long Prindle and Palomid take from process start to a visible window, and to
// close again after WM_CLOSE. The programs are taken from beside this one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/paths.h"
#include "support/controls.h"

namespace {

// The process's first visible top-level window of that class, or null.
HWND VisibleWindow(DWORD processId, const wchar_t* className) {
  for (HWND w : testing_support::VisibleWindowsOf(processId))
    if (testing_support::ClassOf(w) == className) return w;
  return nullptr;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

void Measure(const wchar_t* exeName, const wchar_t* className, int runs) {
  const std::wstring path = common::ProgramDirectory() + L"\\" + exeName;
  std::vector<double> starts, closes;
  for (int i = 0; i < runs; ++i) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring line = L"\"" + path + L"\"";
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      std::printf("%ls: cannot start (error %lu)\n", exeName, GetLastError());
      return;
    }
    common::KernelHandle process(info.hProcess);
    common::KernelHandle thread(info.hThread);
    HWND window = nullptr;
    for (int waited = 0; !window && waited < 10000; ++waited) {
      window = VisibleWindow(info.dwProcessId, className);
      if (!window) Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    if (!window) {
      std::printf("%ls: no window\n", exeName);
      TerminateProcess(process.Get(), 1);
      return;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.Get(), 10000);
    QueryPerformanceCounter(&t2);
    starts.push_back(Milliseconds(t0, t1));
    closes.push_back(Milliseconds(t1, t2));
  }
  std::sort(starts.begin(), starts.end());
  std::sort(closes.begin(), closes.end());
  std::printf(
      "%ls (%d runs): start to visible window median %.1f ms (min %.1f, max %.1f); "
      "close median %.1f ms\n",
      exeName, runs, starts[starts.size() / 2], starts.front(), starts.back(),
      closes[closes.size() / 2]);
}

}  // namespace

int main() {
  Measure(L"Prindle.exe", L"PrindleForm1", 15);
  Measure(L"Palomid.exe", L"PalomidForm1", 15);
  return 0;
}

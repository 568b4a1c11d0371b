// Cost of the taskbar's work: one poll tick with 50 top-level windows on the desktop (no
// change, so no rebuild), and one full rebuild with 10 tasks (icons read and encoded).
//   scripts/wine.sh build/win64/bin/taskbar_bench.exe
#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "shell/taskbar/TaskBar.h"
#include "support/timing.h"

namespace {

using testing_support::NowMs;

std::vector<HWND> MakeWindows(int count) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));
  wc.lpszClassName = L"ZephraBenchTask";
  RegisterClassExW(&wc);
  std::vector<HWND> windows;
  for (int i = 0; i < count; ++i) {
    const std::wstring caption = L"任务窗口 " + std::to_wstring(i);
    windows.push_back(CreateWindowExW(0, L"ZephraBenchTask", caption.c_str(),
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50 + i, 50 + i, 300, 200,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  }
  return windows;
}

void Destroy(std::vector<HWND>& windows) {
  for (HWND w : windows) DestroyWindow(w);
  windows.clear();
}

}  // namespace

int main() {
  HWND host = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 714,
                              1024, 54, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  TaskBar bar;
  bar.Create(host, 0, 0, 1024);
  bar.AddButton(1, true, true);
  for (int32_t n = 2; n <= 7; ++n) bar.AddButton(n, false, true);
  bar.AddButton(0, false, true);

  std::vector<HWND> windows = MakeWindows(50);
  bar.LoadTasks();
  std::printf("tasks on the desktop: %d\n", bar.Tasks().KnownTaskCount());
  const int ticks = 2000;
  double start = NowMs();
  for (int i = 0; i < ticks; ++i) bar.PollTick();
  std::printf("poll tick with 50 top-level windows: %.3f ms\n", (NowMs() - start) / ticks);
  start = NowMs();
  for (int i = 0; i < ticks; ++i) bar.ClockTick();
  std::printf("clock tick: %.3f ms\n", (NowMs() - start) / ticks);
  Destroy(windows);

  windows = MakeWindows(10);
  const int rebuilds = 20;
  start = NowMs();
  for (int i = 0; i < rebuilds; ++i) bar.LoadTasks();
  std::printf("full rebuild with %d tasks: %.1f ms\n", bar.Tasks().KnownTaskCount(),
              (NowMs() - start) / rebuilds);
  bar.SubClassOff();
  Destroy(windows);
  return 0;
}

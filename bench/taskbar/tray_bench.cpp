// The notification area's figures:
// - from a program's NIM_ADD to its icon on the screen, with the real shell in the "shell"
//   desktop (this program is the program with the icon: another process to the shell), median
//   and worst of N;
// - painting the strip's notification area with 30 icons (in this process, on the strip's
//   memory surface), per paint.
//   scripts/wine.sh --desktop=shell build/win64/bin/tray_bench.exe [N]
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "e2e/process.h"
#include "shell/taskbar/TaskBar.h"
#include "support/testing.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Waits (1 ms steps, this program's own windows answering) until `done`; the time it took, or a
// negative number after 3 s.
template <typename Done>
double TimeUntil(double start, Done done) {
  while (Now() - start < 3000) {
    testing_support::PumpFor(0);
    if (done()) return Now() - start;
    Sleep(1);
  }
  return -1;
}

// The one icon's cell on the screen: left of the clock, centred in the strip.
constexpr RECT kCell = {1024 - 150 - 3 - 19, 768 - 54 + 19, 1024 - 150 - 3 - 3, 768 - 54 + 35};

bool Painted(const std::vector<uint32_t>& now, const std::vector<uint32_t>& empty) {
  int differing = 0;
  for (size_t i = 0; i < now.size() && i < empty.size(); ++i) differing += now[i] != empty[i];
  return differing > 20;
}

void Report(const char* what, std::vector<double> times) {
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

int AddToScreen(int runs) {
  testing_support::TempFolder folder;
  e2e::ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
  if (!shell.Start()) return 1;
  HWND desktop = shell.WaitForWindow(L"ZephraShellDesktop", 10000);
  if (!desktop) {
    std::printf("the shell did not come\n");
    return 1;
  }
  testing_support::PumpFor(1500);  // started and settled
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = owner;
  data.uID = 1;
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = LoadIconW(nullptr, IDI_WARNING);
  lstrcpynW(data.szTip, L"测量", 64);
  const std::vector<uint32_t> empty = e2e::ScreenPart(kCell);
  std::vector<double> shown;
  for (int i = 0; i < runs; ++i) {
    // At any moment of the shell's 100 ms ticks.
    testing_support::PumpFor(std::rand() % 100);
    const double start = Now();
    if (!Shell_NotifyIconW(NIM_ADD, &data)) {
      std::printf("NIM_ADD refused\n");
      break;
    }
    shown.push_back(TimeUntil(start, [&] { return Painted(e2e::ScreenPart(kCell), empty); }));
    Shell_NotifyIconW(NIM_DELETE, &data);
    TimeUntil(Now(), [&] { return !Painted(e2e::ScreenPart(kCell), empty); });
  }
  std::printf("%d icons added one at a time\n", runs);
  Report("NIM_ADD to the icon on the screen", shown);
  DestroyWindow(owner);
  PostMessageW(FindWindowExW(desktop, nullptr, L"BUTTON", nullptr), BM_CLICK, 0, 0);
  shell.WaitForExit(10000);
  return 0;
}

void PaintWithIcons(int icons) {
  HWND host = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 714, 1024, 54, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  TaskBar bar;
  if (!bar.Create(host, 0, 0, 1024)) return;
  const HICON picture = LoadIconW(nullptr, IDI_INFORMATION);
  for (int i = 0; i < icons; ++i) {
    tray::NotifyRequest request;
    request.owner = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner));
    request.id = static_cast<uint32_t>(i + 1);
    request.flags = tray::NotifyFlag::Icon | tray::NotifyFlag::Tip;
    request.icon = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(picture));
    request.tip = u"图标";
    bar.Tray().Apply(request);
  }
  testing_support::WaitFor(
      [&] { return bar.Layout().NotificationArea().Width() == bar.Tray().NeededWidth(); }, 3000);
  constexpr int kPaints = 200;
  const double start = Now();
  for (int i = 0; i < kPaints; ++i) bar.Tray().Paint();
  std::printf("the notification area with %zu icons (%d px wide) painted: %.3f ms per paint\n",
              bar.Tray().Icons().Visible().size(), bar.Layout().NotificationArea().Width(),
              (Now() - start) / kPaints);
  bar.Destroy();
  DestroyWindow(owner);
  DestroyWindow(host);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  PaintWithIcons(30);
  return AddToScreen(runs);
}

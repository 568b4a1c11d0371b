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
#include "support/timing.h"

namespace {

using testing_support::NowMs;
using testing_support::ReportTimes;
using testing_support::TimeUntil;

// The one icon's cell on the screen: left of the clock, centred in the strip.
constexpr RECT kCell = {1024 - 150 - 3 - 19, 768 - 54 + 19, 1024 - 150 - 3 - 3, 768 - 54 + 35};

bool Painted(const std::vector<uint32_t>& now, const std::vector<uint32_t>& empty) {
  int differing = 0;
  for (size_t i = 0; i < now.size() && i < empty.size(); ++i) differing += now[i] != empty[i];
  return differing > 20;
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
    const double start = NowMs();
    if (!Shell_NotifyIconW(NIM_ADD, &data)) {
      std::printf("NIM_ADD refused\n");
      break;
    }
    shown.push_back(TimeUntil(start, [&] { return Painted(e2e::ScreenPart(kCell), empty); }));
    Shell_NotifyIconW(NIM_DELETE, &data);
    TimeUntil(NowMs(), [&] { return !Painted(e2e::ScreenPart(kCell), empty); });
  }
  std::printf("%d icons added one at a time\n", runs);
  ReportTimes("NIM_ADD to the icon on the screen", shown);
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
  const double start = NowMs();
  for (int i = 0; i < kPaints; ++i) bar.Tray().Paint();
  std::printf("the notification area with %zu icons (%d px wide) painted: %.3f ms per paint\n",
              bar.Tray().Icons().Visible().size(), bar.Layout().NotificationArea().Width(),
              (NowMs() - start) / kPaints);
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

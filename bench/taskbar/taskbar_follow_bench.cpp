// How soon the real shell's taskbar follows a window: from the window's creation to its task
// button painted with its caption, and from a title change to the new caption on the screen.
// Median and worst of N windows, one at a time, made by this program (another program's windows
// to the shell). Run it in the "shell" desktop, optionally naming another build of the shell put
// beside it, to compare:
//   scripts/wine.sh --desktop=shell build/win64/bin/taskbar_follow_bench.exe [N] [other.exe]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/process.h"
#include "support/testing.h"
#include "support/timing.h"

namespace {

using testing_support::NowMs;
using testing_support::ReportTimes;
using testing_support::TimeUntil;

std::vector<HWND> VisibleButtons(HWND bar) {
  std::vector<HWND> buttons;
  for (HWND b = FindWindowExW(bar, nullptr, L"ZephraTaskButton", nullptr); b;
       b = FindWindowExW(bar, b, L"ZephraTaskButton", nullptr))
    if (IsWindowVisible(b)) buttons.push_back(b);
  return buttons;
}

RECT ScreenRectOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

// A caption is drawn in black on the light face.
bool CaptionPainted(const std::vector<uint32_t>& pixels) {
  int dark = 0;
  for (uint32_t p : pixels) dark += (p & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90 && (p >> 16) < 90;
  return dark > 10;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  if (!e2e::WaitForWindowsTaskbar(10000)) std::printf("(no Windows taskbar in this desktop)\n");
  testing_support::TempFolder folder;
  // Another build of the shell, put beside this program, to compare.
  const std::string name = argc > 2 ? argv[2] : "ZephraShell.exe";
  const std::wstring exe(name.begin(), name.end());
  e2e::ProgramUnderTest shell(folder.Path(), exe);
  if (!shell.Start()) return 1;
  HWND desktop = shell.WaitForWindow(L"ZephraShellDesktop", 10000);
  HWND bar = desktop ? FindWindowExW(desktop, nullptr, L"ZephraTaskBar", nullptr) : nullptr;
  if (!bar) {
    std::printf("the shell's taskbar did not come\n");
    return 1;
  }
  testing_support::PumpFor(1500);  // started and settled
  if (!VisibleButtons(bar).empty()) std::printf("(other tasks on the desktop)\n");
  {
    const double start = NowMs();
    for (int i = 0; i < 20; ++i) e2e::ScreenPart({400, 720, 550, 744});
    std::printf("(one look at the screen costs %.1f ms)\n", (NowMs() - start) / 20);
  }

  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = L"ZephraFollowBench";
  RegisterClassW(&wc);

  std::vector<double> created, retitled;
  for (int i = 0; i < runs; ++i) {
    const std::wstring caption = L"窗口 " + std::to_wstring(i);
    const double start = NowMs();
    HWND window = CreateWindowExW(0, wc.lpszClassName, caption.c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200 + i, 100, 300, 200, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    HWND button = nullptr;
    created.push_back(TimeUntil(start, [&] {
      const std::vector<HWND> buttons = VisibleButtons(bar);
      if (buttons.size() != 1) return false;
      button = buttons[0];
      return CaptionPainted(e2e::ScreenPart(ScreenRectOf(button)));
    }));
    if (button) {
      const RECT place = ScreenRectOf(button);
      const std::vector<uint32_t> before = e2e::ScreenPart(place);
      const std::wstring next = L"新标题 " + std::to_wstring(i);
      // At any moment of the poll's period, not right after the tick that showed the button.
      testing_support::PumpFor(std::rand() % 100);
      const double renamed = NowMs();
      SetWindowTextW(window, next.c_str());
      retitled.push_back(TimeUntil(renamed, [&] {
        return e2e::TaskButtonCaptioned(bar, next) != nullptr && e2e::ScreenPart(place) != before;
      }));
    }
    DestroyWindow(window);
    TimeUntil(NowMs(), [&] { return VisibleButtons(bar).empty(); });
    testing_support::PumpFor(50);
  }
  std::printf("%d windows, one at a time, shell %ls\n", runs, exe.c_str());
  ReportTimes("window made to its button painted", created);
  ReportTimes("title changed to the new caption painted", retitled);

  PostMessageW(FindWindowExW(desktop, nullptr, L"BUTTON", nullptr), BM_CLICK, 0, 0);
  shell.WaitForExit(10000);
  return 0;
}

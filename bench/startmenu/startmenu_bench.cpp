// The start menu's fades: how long the fade-in (opacity 0 to 255 in steps of 5) and the fade-out
// take, and how long a submenu's fade-in (100 to 250 in steps of 10) takes, on a menu in this
// process; then, with the real ZephraShell, the time from a click on the start button to a fully
// opaque menu and from a movement over the desktop to a hidden menu. Run it in the "shell"
// desktop:
//   scripts/wine.sh --desktop=shell build/win64/bin/startmenu_bench.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "e2e/process.h"
#include "shell/startmenu/FrmStartMenu.h"
#include "support/testing.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> ms) {
  if (ms.empty()) {
    std::printf("%-52s no measurement\n", what);
    return;
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%-52s median %7.1f ms  min %7.1f  max %7.1f  (%zu runs)\n", what, ms[ms.size() / 2],
              ms.front(), ms.back(), ms.size());
}

double Timed(const std::function<void()>& action) {
  const double start = Now();
  action();
  return Now() - start;
}

BYTE Alpha(HWND w) {
  BYTE alpha = 0;
  GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr);
  return alpha;
}

// Polls without running this process's messages; false after 10 s.
bool Until(const std::function<bool()>& done) {
  const double limit = Now() + 10000;
  while (!done()) {
    if (Now() > limit) return false;
    Sleep(0);
  }
  return true;
}

void SendPointer(int x, int y, DWORD buttons) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &input, sizeof(input));
}

void InProcess(int runs) {
  testing_support::TempFolder folder;
  const rwini::IniFile ini{folder.File(L"SysInfo.ini")};
  FrmStartMenu menu(ini, {});
  menu.Load();
  menu.SetLeft(0);
  menu.SetTop(3810);
  SetCursorPos(900, 100);
  std::vector<double> in, out, sub;
  for (int i = 0; i < runs; ++i) {
    in.push_back(Timed([&] { menu.ShowForm(); }));
    sub.push_back(Timed([&] { menu.Button_MouseOver(static_cast<int16_t>(1 + i % 2)); }));
    out.push_back(Timed([&] { menu.HideForm(); }));
  }
  Report("start menu fade-in (ShowForm, 52 steps)", in);
  Report("start menu fade-out (HideForm, 52 steps)", out);
  Report("submenu opened by hovering (fade-in, 16 steps)", sub);
}

void RealShell(int runs) {
  testing_support::TempFolder folder;
  e2e::ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
  if (!shell.Start() || !shell.WaitForWindow(L"ZephraShellDesktop", 10000)) {
    std::printf("cannot start ZephraShell.exe\n");
    return;
  }
  testing_support::PumpFor(500);
  HWND menu = FindWindowW(L"ZephraStartMenu", nullptr);
  if (menu == nullptr) {
    std::printf("no start menu window\n");
    return;
  }
  std::vector<double> open, close;
  for (int i = 0; i < runs; ++i) {
    SendPointer(20, 741, 0);  // onto the start button, and let the pointer settle there
    Sleep(300);
    const double click = Now();
    SendPointer(20, 741, MOUSEEVENTF_LEFTDOWN);
    SendPointer(20, 741, MOUSEEVENTF_LEFTUP);
    if (Until([&] { return IsWindowVisible(menu) && Alpha(menu) == 255; }))
      open.push_back(Now() - click);
    Sleep(100);
    const double move = Now();
    SendPointer(600, 300, 0);
    SendPointer(601, 301, 0);
    if (Until([&] { return !IsWindowVisible(menu); })) close.push_back(Now() - move);
    Sleep(100);
  }
  Report("ZephraShell: start-button click to opaque menu", open);
  Report("ZephraShell: desktop movement to hidden menu", close);
  SendPointer(44, 22, MOUSEEVENTF_LEFTDOWN);  // the exit button
  SendPointer(44, 22, MOUSEEVENTF_LEFTUP);
  shell.WaitForExit(10000);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  if (!e2e::WaitForWindowsTaskbar(10000)) std::printf("(no Windows taskbar in this desktop)\n");
  InProcess(runs);
  RealShell(runs);
  return 0;
}

// The start menu of the real ZephraShell, driven with the real pointer: the start button opens
// it, resting on a category opens the submenu, a click on a link starts the configured program,
// and a movement over the desktop closes both menus.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/text.h"
#include "e2e/process.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::TempFolder;
using testing_support::WaitFor;

constexpr wchar_t kDesktopClass[] = L"ZephraShellDesktop";

// A real pointer movement to a screen point, in two steps so that the window under it sees the
// pointer move inside it.
void MoveTo(int x, int y) {
  for (int step = 0; step < 2; ++step) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x + step) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (y + step) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    testing_support::PumpFor(30);
  }
}

BYTE Alpha(HWND w) {
  BYTE alpha = 0;
  GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr);
  return alpha;
}

TEST(StartMenuEndToEnd, StartButtonSubmenuLinkAndDesktopClose) {
  HWND tray = e2e::WaitForWindowsTaskbar(10000);
  ASSERT_NE(tray, nullptr);
  TempFolder folder;
  const std::wstring standIn = folder.File(L"standin.exe");
  ASSERT_TRUE(CopyFileW(testing_support::BesideProgram(L"zephra_recorder.exe").c_str(),
                        standIn.c_str(), FALSE));
  testing_support::WriteFileBytes(folder.File(L"SysInfo.ini"),
                                  "[Zephra]\r\nKS3_Caption=" + common::ToAnsi(L"办公软件") +
                                      "\r\nKS3_2_Caption=" + common::ToAnsi(L"记录程序") +
                                      "\r\nKS3_2_Link=" + common::ToAnsi(standIn) + "\r\n");
  ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  ASSERT_NE(shell.WaitForWindow(kDesktopClass, 10000), nullptr);
  testing_support::PumpFor(300);

  // Loaded at start (a moment after the desktop shows, longer under load), hidden, its bottom
  // edge on the taskbar.
  HWND menu = nullptr;
  WaitFor(
      [&] { return (menu = e2e::FindWindowOf(shell.ProcessId(), L"ZephraStartMenu")) != nullptr; },
      5000);
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(IsWindowVisible(menu));
  RECT r = {};
  // Placed once its entries are made, a moment after the desktop shows.
  WaitFor([&] { return GetWindowRect(menu, &r) && r.bottom == 714; }, 5000);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 254);
  EXPECT_EQ(r.right, 194);
  EXPECT_EQ(r.bottom, 714);

  // A click on the start button fades it in to full opacity, above everything. (The pointer
  // goes there first and settles: an X pointer still elsewhere could otherwise report it back
  // over the desktop during the fade, which would rightly close the menu again.)
  MoveTo(20, 741);
  testing_support::PumpFor(300);
  e2e::ClickAt(20, 741);
  auto topmost = [](HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(
      WaitFor([&] { return IsWindowVisible(menu) && Alpha(menu) == 255 && topmost(menu); }, 10000))
      << "visible " << IsWindowVisible(menu) << " alpha " << int(Alpha(menu)) << " topmost "
      << topmost(menu);

  // Resting on entry 3 (rows 333 ... 357) opens its submenu 2 pixels above the entry, 5 pixels
  // over the menu's right edge.
  MoveTo(60, 344);
  HWND sub = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        sub = e2e::FindWindowOf(shell.ProcessId(), L"ZephraSubMenu", L"SubMenu_KSZ3");
        return sub != nullptr && IsWindowVisible(sub) && Alpha(sub) == 255;
      },
      10000));
  GetWindowRect(sub, &r);
  EXPECT_EQ(r.left, 189);
  EXPECT_EQ(r.top, 331);
  EXPECT_EQ(r.right - r.left, 196);
  EXPECT_EQ(r.bottom - r.top, 156);

  // Into the submenu, onto its second link (rows 360 ... 384), where a click starts the link.
  MoveTo(250, 371);
  testing_support::PumpFor(200);
  e2e::SaveScreenshot(testing_support::BesideProgram(L"startmenu-e2e.png"));
  e2e::ClickAt(250, 372);
  const std::wstring log = folder.File(L"standin.log");
  ASSERT_TRUE(WaitFor([&] { return !testing_support::ReadFileBytes(log).empty(); }, 10000));
  EXPECT_NE(testing_support::ReadFileBytes(log).find("standin.exe"), std::string::npos);
  testing_support::PumpFor(200);
  EXPECT_TRUE(IsWindowVisible(menu)) << "a click leaves the menus open";
  EXPECT_TRUE(IsWindowVisible(sub));

  // The next movement over the desktop closes both.
  MoveTo(600, 300);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(menu) && !IsWindowVisible(sub); }, 10000));
  EXPECT_EQ(Alpha(menu), 0);

  // Opened again, its last entry "退出软件" (rows 687 ... 713) ends the shell.
  MoveTo(20, 741);
  testing_support::PumpFor(300);
  e2e::ClickAt(20, 741);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(menu) && topmost(menu); }, 10000));
  MoveTo(60, 700);
  testing_support::PumpFor(200);
  e2e::ClickAt(60, 700);
  EXPECT_TRUE(shell.WaitForExit(10000));
  EXPECT_EQ(shell.ExitCode(), 0u);
  EXPECT_TRUE(IsWindowVisible(tray));
}

}  // namespace

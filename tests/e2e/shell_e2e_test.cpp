// ZephraShell started for real in the "shell" desktop, next to Wine's own taskbar window.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/text.h"
#include "e2e/process.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::TempFolder;

constexpr wchar_t kDesktopClass[] = L"ZephraShellDesktop";

HWND ChildButton(HWND parent) { return FindWindowExW(parent, nullptr, L"BUTTON", nullptr); }

class ShellEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    tray_ = e2e::WaitForWindowsTaskbar(10000);
    ASSERT_NE(tray_, nullptr) << "the desktop \"shell\" has a Windows taskbar window";
    GetWindowRect(tray_, &trayRect_);
  }
  void TearDown() override {
    // Whatever happened, the next test starts with the Windows taskbar showing.
    if (tray_ && !IsWindowVisible(tray_)) ShowWindow(tray_, SW_SHOWNA);
  }

  HWND tray_ = nullptr;
  RECT trayRect_ = {};
  TempFolder folder_;
};

TEST_F(ShellEndToEnd, StartsAsTheDesktopAndGivesItBackOnExit) {
  ProgramUnderTest shell(folder_.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  HWND desktop = shell.WaitForWindow(kDesktopClass, 10000);
  ASSERT_NE(desktop, nullptr);

  // Once the desktop has painted itself, the Windows taskbar is hidden, not moved.
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return e2e::ScreenPixel(0, 400) == RGB(19, 31, 67) && !IsWindowVisible(tray_); },
      5000));

  // The desktop covers the screen with the gradient, from 0x431F13 at the left edge to
  // 0x7C4227 at the right edge.
  RECT rect;
  GetWindowRect(desktop, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 1024);
  EXPECT_EQ(rect.bottom, 768);
  EXPECT_EQ(e2e::ScreenPixel(0, 400), RGB(19, 31, 67));
  EXPECT_EQ(e2e::ScreenPixel(1023, 400), RGB(39, 66, 124));
  EXPECT_EQ(e2e::ScreenPixel(512, 700), RGB(29, 49, 96));

  // The exit button, with its caption and the keyboard focus.
  HWND button = ChildButton(desktop);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(testing_support::WindowText(button), L"退出v1.0");
  GetWindowRect(button, &rect);
  EXPECT_EQ(rect.left, 11);
  EXPECT_EQ(rect.top, 12);
  EXPECT_EQ(rect.right - rect.left, 66);
  EXPECT_EQ(rect.bottom - rect.top, 21);
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  ASSERT_TRUE(GetGUIThreadInfo(shell.ThreadId(), &gui));
  EXPECT_EQ(gui.hwndFocus, button);

  // SysInfo.ini was made beside the shell with the keys read at start, left empty: the start
  // menu's categories, then the desktop icons.
  std::string keys = "[Zephra]\r\n";
  for (int n = 1; n <= 10; ++n) keys += "KS" + std::to_string(n) + "_Caption=\r\n";
  for (int n = 1; n <= 5; ++n) keys += "ZM" + std::to_string(n) + "_Caption=\r\n";
  EXPECT_EQ(testing_support::ReadFileBytes(folder_.File(L"SysInfo.ini")), keys);

  // A click on the exit button ends the shell and shows the Windows taskbar where it was.
  e2e::ClickAt(11 + 33, 12 + 10);
  ASSERT_TRUE(shell.WaitForExit(10000));
  EXPECT_EQ(shell.ExitCode(), 0u);
  EXPECT_TRUE(IsWindowVisible(tray_));
  RECT after;
  GetWindowRect(tray_, &after);
  EXPECT_TRUE(EqualRect(&after, &trayRect_));
}

TEST_F(ShellEndToEnd, DesktopIconsShowTheirCaptionsAndOpenTheirLinks) {
  CopyFileW(testing_support::BesideProgram(L"zephra_recorder.exe").c_str(),
            folder_.File(L"standin.exe").c_str(), FALSE);
  testing_support::WriteFileBytes(
      folder_.File(L"SysInfo.ini"),
      "[Zephra]\r\nZM1_Caption=" + common::ToAnsi(L"我的电脑") +
          "\r\nZM2_Link=" + common::ToAnsi(folder_.File(L"standin.exe")) + "\r\n");
  ProgramUnderTest shell(folder_.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  ASSERT_NE(shell.WaitForWindow(kDesktopClass, 10000), nullptr);
  // White caption pixels under the first icon's picture (on a busy machine the icons come a
  // moment after the desktop), gradient where the mask is.
  const auto whitePixels = [] {
    int white = 0;
    for (int y = 48 + 48; y < 48 + 73; ++y)
      for (int x = 22; x < 72; ++x) white += e2e::ScreenPixel(x, y) == RGB(255, 255, 255);
    return white;
  };
  EXPECT_TRUE(testing_support::WaitFor([&] { return whitePixels() > 20; }, 5000))
      << whitePixels() << " white pixels";
  EXPECT_EQ(e2e::ScreenPixel(22 + 49, 48 + 2), e2e::ScreenPixel(22 + 49, 45));

  // A click on the second icon's picture opens ZM2_Link.
  e2e::ClickAt(22 + 25, 126 + 20);
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return !testing_support::ReadFileBytes(folder_.File(L"standin.log")).empty(); },
      10000));
  e2e::ClickAt(11 + 33, 12 + 10);
  EXPECT_TRUE(shell.WaitForExit(10000));
}

TEST_F(ShellEndToEnd, TaskbarShowsApplicationsAndOpensQuickLaunchLinks) {
  CopyFileW(testing_support::BesideProgram(L"zephra_recorder.exe").c_str(),
            folder_.File(L"quick.exe").c_str(), FALSE);
  testing_support::WriteFileBytes(
      folder_.File(L"SysInfo.ini"),
      "[Zephra]\r\nKS_A_Link=" + common::ToAnsi(folder_.File(L"quick.exe")) + "\r\n");
  ProgramUnderTest shell(folder_.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  ASSERT_NE(shell.WaitForWindow(kDesktopClass, 10000), nullptr);

  // The strip along the bottom edge: a border row, then the light band.
  const int top = 768 - 54;
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return e2e::ScreenPixel(700, top) == static_cast<COLORREF>(10066329); }, 5000));
  EXPECT_EQ(e2e::ScreenPixel(700, top + 30), static_cast<COLORREF>(15132390));
  EXPECT_EQ(e2e::ScreenPixel(0, top + 30), static_cast<COLORREF>(10066329));

  // An application starts: its task button appears within a poll tick or two.
  ProgramUnderTest app(folder_.Path(), L"Palomid.exe");
  ASSERT_TRUE(app.Start());
  HWND appWindow = app.WaitForWindow(L"PalomidForm1", 10000);
  ASSERT_NE(appWindow, nullptr);
  const int buttonX = 378, buttonY = top + 5;
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return e2e::ScreenPixel(buttonX, buttonY + 10) == static_cast<COLORREF>(6052956); },
      3000))
      << "the task button's dark left edge";

  e2e::SaveScreenshot(testing_support::BesideProgram(L"taskbar-e2e.png"));
  // The button follows the pointer once its icon is read: wait until it lights up under it
  // (its light body, 50 brighter, turns white).
  int nudge = 0;
  EXPECT_TRUE(testing_support::WaitFor(
      [&] {
        e2e::MoveTo(buttonX + 80 + (++nudge % 2), buttonY + 12);
        testing_support::PumpFor(100);
        return e2e::ScreenPixel(buttonX + 200, buttonY + 12) == RGB(255, 255, 255);
      },
      10000))
      << "the task button lights up under the pointer";
  // A click on it minimises the window, a second brings it back maximised and on top.
  e2e::ClickAt(buttonX + 80, buttonY + 12);
  EXPECT_TRUE(testing_support::WaitFor([&] { return IsIconic(appWindow) != FALSE; }, 3000));
  e2e::ClickAt(buttonX + 80, buttonY + 12);
  EXPECT_TRUE(testing_support::WaitFor([&] { return IsZoomed(appWindow) != FALSE; }, 3000));
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return (GetWindowLongPtrW(appWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 3000));

  // The application ends: its button goes.
  PostMessageW(appWindow, WM_CLOSE, 0, 0);
  ASSERT_TRUE(app.WaitForExit(5000));
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return e2e::ScreenPixel(buttonX, buttonY + 10) == static_cast<COLORREF>(15132390); },
      3000));

  // Quick-launch button 2 opens KS_A_Link, read at the click.
  e2e::ClickAt(52 + 25, top + 25);
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return !testing_support::ReadFileBytes(folder_.File(L"quick.log")).empty(); }, 5000));

  e2e::ClickAt(11 + 33, 12 + 10);
  EXPECT_TRUE(shell.WaitForExit(10000));
}

TEST_F(ShellEndToEnd, ARetitledWindowsButtonShowsItsNewCaption) {
  ProgramUnderTest shell(folder_.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  HWND desktop = shell.WaitForWindow(kDesktopClass, 10000);
  ASSERT_NE(desktop, nullptr);
  HWND bar = FindWindowExW(desktop, nullptr, L"ZephraTaskBar", nullptr);
  // A window of this process: another program's to the shell.
  HWND window = CreateWindowExW(0, L"STATIC", L"旧的标题", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200,
                                100, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND button = nullptr;
  ASSERT_TRUE(testing_support::WaitFor(
      [&] { return (button = e2e::TaskButtonCaptioned(bar, L"旧的标题")) != nullptr; }, 3000));
  testing_support::PumpFor(300);  // painted
  RECT place;
  GetWindowRect(button, &place);
  const std::vector<uint32_t> before = e2e::ScreenPart(place);

  SetWindowTextW(window, L"改过的新标题");
  EXPECT_TRUE(testing_support::WaitFor(
      [&] {
        return e2e::TaskButtonCaptioned(bar, L"改过的新标题") == button &&
               e2e::ScreenPart(place) != before;
      },
      3000))
      << "the same button, its new caption on the screen";

  DestroyWindow(window);
  EXPECT_TRUE(testing_support::WaitFor([&] { return !IsWindowVisible(button); }, 3000));
  e2e::ClickAt(11 + 33, 12 + 10);
  EXPECT_TRUE(shell.WaitForExit(10000));
}

TEST_F(ShellEndToEnd, RightClickOnTheStripOpensTheLookMenuWhoseEntriesSwitchTheLook) {
  ProgramUnderTest shell(folder_.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  HWND desktop = shell.WaitForWindow(kDesktopClass, 10000);
  ASSERT_NE(desktop, nullptr);
  testing_support::PumpFor(500);
  const int top = 768 - 54;
  e2e::RightClickAt(600, top + 30);
  HWND menu = nullptr;
  ASSERT_TRUE(testing_support::WaitFor(
      [&] {
        menu = FindWindowW(L"ZephraTaskBarMenu", nullptr);
        return menu && IsWindowVisible(menu);
      },
      10000));
  RECT r = {};
  GetWindowRect(menu, &r);
  EXPECT_EQ(r.left, 600);
  EXPECT_EQ(r.bottom, top);
  testing_support::PumpFor(300);
  e2e::SaveScreenshot(testing_support::BesideProgram(L"taskbarmenu-e2e.png"));

  // "立体灰" (the third entry) turns the strip grey at once and closes the menu.
  e2e::ClickAt(650, r.top + 54 + 12);
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return e2e::ScreenPixel(700, top) == static_cast<COLORREF>(8947848); }, 5000))
      << e2e::ScreenPixel(700, top);
  EXPECT_TRUE(testing_support::WaitFor([&] { return !IsWindowVisible(menu); }, 3000));
  e2e::SaveScreenshot(testing_support::BesideProgram(L"taskbar-grey-e2e.png"));
  // Opened again at the right edge it stays on the screen; "Zephra" brings the flat look back.
  e2e::RightClickAt(1020, top + 30);
  ASSERT_TRUE(testing_support::WaitFor([&] { return IsWindowVisible(menu) != FALSE; }, 10000));
  GetWindowRect(menu, &r);
  EXPECT_EQ(r.right, 1024);
  testing_support::PumpFor(300);
  e2e::ClickAt(r.left + 50, r.top + 29 + 12);
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return e2e::ScreenPixel(700, top) == static_cast<COLORREF>(10066329); }, 5000));

  e2e::ClickAt(11 + 33, 12 + 10);
  EXPECT_TRUE(shell.WaitForExit(10000));
}

TEST_F(ShellEndToEnd, ACrashStillGivesTheTaskbarBack) {
  ProgramUnderTest shell(folder_.Path(), L"ZephraShellCrashTest.exe");
  ASSERT_TRUE(shell.Start());
  ASSERT_NE(shell.WaitForWindow(kDesktopClass, 10000), nullptr);
  EXPECT_FALSE(IsWindowVisible(tray_));
  ASSERT_TRUE(shell.WaitForExit(10000)) << "the test build crashes soon after start";
  EXPECT_EQ(shell.ExitCode(), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_TRUE(IsWindowVisible(tray_));
  RECT after;
  GetWindowRect(tray_, &after);
  EXPECT_TRUE(EqualRect(&after, &trayRect_));
}

}  // namespace

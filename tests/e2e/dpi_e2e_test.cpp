// ZephraShell started for real at 120 dpi: the strip, the work area's edge and the start menu's
// bottom edge meet, the menu's entries stand without bands, the icons' boxes grew.
#include <gtest/gtest.h>
#include <windows.h>

#include "e2e/process.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::TempFolder;
using testing_support::WaitFor;

// The logical dpi that programs started from now on read at their start; the setting before
// comes back at the end.
class LogPixels {
 public:
  explicit LogPixels(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key_, nullptr);
    DWORD size = sizeof(saved_);
    had_ = RegQueryValueExW(key_, kName, nullptr, nullptr, reinterpret_cast<BYTE*>(&saved_),
                            &size) == ERROR_SUCCESS;
    RegSetValueExW(key_, kName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  }
  ~LogPixels() {
    if (had_)
      RegSetValueExW(key_, kName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved_),
                     sizeof(saved_));
    else
      RegDeleteValueW(key_, kName);
    RegCloseKey(key_);
  }

 private:
  static constexpr wchar_t kName[] = L"LogPixels";
  HKEY key_ = nullptr;
  DWORD saved_ = 0;
  bool had_ = false;
};

TEST(ShellAt120Dpi, StripMenuAndIconsMeetWithoutGapsOrBands) {
  HWND tray = e2e::WaitForWindowsTaskbar(10000);
  ASSERT_NE(tray, nullptr);
  TempFolder folder;
  testing_support::WriteFileBytes(folder.File(L"SysInfo.ini"), "[Zephra]\r\nZM1_Caption=ABCD\r\n");
  ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
  {
    const LogPixels dpi(120);
    ASSERT_TRUE(shell.Start());
    ASSERT_NE(shell.WaitForWindow(L"ZephraShellDesktop", 10000), nullptr);
  }
  HWND bar = nullptr, menu = nullptr;
  RECT barRect = {}, menuRect = {};
  WaitFor([&] {
    return (bar = FindWindowExW(shell.WaitForWindow(L"ZephraShellDesktop", 100), nullptr,
                                L"ZephraTaskBar", nullptr)) != nullptr;
  });
  WaitFor([&] {
    menu = e2e::FindWindowOf(shell.ProcessId(), L"ZephraStartMenu");
    // Made at the top left first, then placed above the strip.
    return menu && GetWindowRect(menu, &menuRect) && menuRect.top > 0;
  });
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(menu, nullptr);
  GetWindowRect(bar, &barRect);
  EXPECT_EQ(barRect.top, 768 - 54);
  EXPECT_EQ(barRect.bottom, 768);
  EXPECT_EQ(menuRect.bottom, 714);
  EXPECT_EQ(menuRect.bottom - menuRect.top, 460);
  EXPECT_EQ(menuRect.right - menuRect.left, 242);  // 2910 twips at 12 twips per pixel

  // The desktop icons' boxes are 750 x 1095 twips: 62 x 91 pixels, the control 7 taller.
  HWND icon = FindWindowExW(GetParent(bar), nullptr, L"ZephraDesktopIcon", nullptr);
  ASSERT_NE(icon, nullptr);
  RECT iconRect = {};
  GetWindowRect(icon, &iconRect);
  EXPECT_EQ(iconRect.right - iconRect.left, 62);
  EXPECT_EQ(iconRect.bottom - iconRect.top, 98);

  // Shown: every row of the menu's right edge is the entries' dark edge, no black band, and the
  // strip's first row follows right below the menu's last.
  e2e::MoveTo(20, 741);  // settled there first: a move reported over the desktop closes it
  testing_support::PumpFor(300);
  e2e::ClickAt(20, 741);
  WaitFor([&] { return IsWindowVisible(menu) != FALSE; });
  // Faded in: the entries' dark edge down to the menu's last row.
  EXPECT_TRUE(WaitFor(
      [&] { return e2e::ScreenPixel(menuRect.right - 1, 713) == RGB(0x5C, 0x5C, 0x5C); }, 5000));
  int black = 0;
  for (int y = menuRect.top; y < menuRect.bottom; ++y)
    black += e2e::ScreenPixel(menuRect.right - 1, y) == RGB(0, 0, 0);
  EXPECT_EQ(black, 0);

  e2e::ClickAt(44, 22);  // the exit button
  EXPECT_TRUE(shell.WaitForExit(10000));
  if (tray && !IsWindowVisible(tray)) ShowWindow(tray, SW_SHOWNA);
}

}  // namespace

// The real ZephraShell used from the keyboard and alongside an application, as a new user would:
// dialog keys on the desktop, focus coming back to the desktop, and the start menu giving way to
// the window the user turns to.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "e2e/process.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::PumpFor;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WaitFor;

constexpr wchar_t kDesktopClass[] = L"ZephraShellDesktop";
constexpr int kStripTop = 768 - 54;

void Press(WORD key) {
  INPUT input[2] = {};
  for (int i = 0; i < 2; ++i) {
    input[i].type = INPUT_KEYBOARD;
    input[i].ki.wVk = key;
    input[i].ki.dwFlags = i == 0 ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(2, input, sizeof(INPUT));
  PumpFor(150);
}

// The control with the keyboard focus in the program's UI thread.
HWND FocusOf(const ProgramUnderTest& program) {
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  return GetGUIThreadInfo(program.ThreadId(), &gui) ? gui.hwndFocus : nullptr;
}

// While the test runs, web addresses ("http:") open with the recording stand-in, which writes
// the address to its log; the prefix's own handler comes back at the end.
class HttpOpensWith {
 public:
  explicit HttpOpensWith(const std::wstring& exePath) {
    RegCreateKeyExW(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                    nullptr);
    wchar_t saved[1024] = {};
    DWORD size = sizeof(saved) - sizeof(wchar_t);
    had_ = RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(saved),
                            &size) == ERROR_SUCCESS;
    saved_ = saved;
    Set(L"\"" + exePath + L"\" \"%1\"");
  }
  ~HttpOpensWith() {
    if (had_)
      Set(saved_);
    else
      RegDeleteValueW(key_, nullptr);
    RegCloseKey(key_);
  }
  HttpOpensWith(const HttpOpensWith&) = delete;
  HttpOpensWith& operator=(const HttpOpensWith&) = delete;

 private:
  static constexpr wchar_t kKey[] = L"http\\shell\\open\\command";
  void Set(const std::wstring& value) {
    RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  HKEY key_ = nullptr;
  bool had_ = false;
  std::wstring saved_;
};

int Lines(const std::wstring& log) {
  const std::string text = ReadFileBytes(log);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class DesktopFocusEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    tray_ = e2e::WaitForWindowsTaskbar(10000);
    ASSERT_NE(tray_, nullptr);
  }
  void TearDown() override {
    if (tray_ && !IsWindowVisible(tray_)) ShowWindow(tray_, SW_SHOWNA);
  }
  // A copy of the recording stand-in under that name; its log is "<name>.log".
  std::wstring StandIn(const std::wstring& name) {
    const std::wstring path = folder_.File(name + L".exe");
    CopyFileW(testing_support::BesideProgram(L"zephra_recorder.exe").c_str(), path.c_str(), FALSE);
    return path;
  }
  void StartShell(const std::string& ini) {
    testing_support::WriteFileBytes(folder_.File(L"SysInfo.ini"), "[Zephra]\r\n" + ini);
    ASSERT_TRUE(shell_.Start());
    ASSERT_NE(shell_.WaitForWindow(kDesktopClass, 10000), nullptr);
    PumpFor(500);
  }
  // Opens the start menu with the start button and presses its entry `index` (0 at the top).
  void PressStartMenuEntry(size_t index) {
    e2e::MoveTo(20, 741);
    PumpFor(200);
    e2e::ClickAt(20, 741);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
          menu = e2e::FindWindowOf(shell_.ProcessId(), L"ZephraStartMenu");
          return menu && IsWindowVisible(menu);
        },
        10000));
    std::vector<RECT> entries;
    for (HWND e = FindWindowExW(menu, nullptr, L"ZephraMenuButton", nullptr); e;
         e = FindWindowExW(menu, e, L"ZephraMenuButton", nullptr)) {
      RECT r = {};
      GetWindowRect(e, &r);
      entries.push_back(r);
    }
    std::sort(entries.begin(), entries.end(),
              [](const RECT& a, const RECT& b) { return a.top < b.top; });
    ASSERT_LT(index, entries.size());
    const RECT& r = entries[index];
    e2e::MoveTo(r.left + 40, (r.top + r.bottom) / 2);
    PumpFor(300);
    e2e::ClickAt(r.left + 40, (r.top + r.bottom) / 2);
  }
  // The window of that class that the start menu's entry opens; a second try when the busy
  // shell let the menu go before the press.
  HWND OpenFromStartMenu(size_t index, const wchar_t* className) {
    HWND window = nullptr;
    for (int attempt = 0; attempt < 3 && window == nullptr; ++attempt) {
      SetForegroundWindow(shell_.WaitForWindow(kDesktopClass, 1000));
      PressStartMenuEntry(index);
      WaitFor(
          [&] { return (window = e2e::FindWindowOf(shell_.ProcessId(), className)) != nullptr; },
          5000);
    }
    return window;
  }
  void EndShell() {
    e2e::ClickAt(11 + 33, 12 + 10);
    EXPECT_TRUE(shell_.WaitForExit(10000));
  }

  HWND tray_ = nullptr;
  TempFolder folder_;
  ProgramUnderTest shell_{folder_.Path(), L"ZephraShell.exe"};
};

TEST_F(DesktopFocusEndToEnd, DialogKeysLeaveTheShellAndItsButtonsAlone) {
  const std::wstring icon = StandIn(L"icon"), quick = StandIn(L"quick");
  StartShell("ZM1_Link=" + common::ToAnsi(icon) + "\r\nKS_A_Link=" + common::ToAnsi(quick) +
             "\r\n");
  // The desktop is the foreground window, as after the user's first click on it (under Wine's
  // virtual desktop a click leaves the foreground with Wine's own desktop window), and the exit
  // button has the focus.
  SetForegroundWindow(shell_.WaitForWindow(kDesktopClass, 1000));
  PumpFor(300);
  const WORD keys[] = {VK_ESCAPE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
  // The exit button has the focus; then the taskbar; then the first icon, whose link opens
  // once as the Tab key brings the focus to it.
  for (int control = 0; control < 3; ++control) {
    if (control > 0) Press(VK_TAB);
    for (WORD key : keys) Press(key);
    if (control > 0) Press(VK_RETURN);
  }
  EXPECT_TRUE(WaitFor([&] { return Lines(folder_.File(L"icon.log")) == 1; }, 5000));
  PumpFor(300);
  EXPECT_EQ(Lines(folder_.File(L"icon.log")), 1);
  ASSERT_TRUE(shell_.Running()) << "Enter on an icon or on the taskbar does not end the shell";
  // The quick-launch buttons still work.
  e2e::ClickAt(52 + 25, kStripTop + 25);
  EXPECT_TRUE(WaitFor([&] { return Lines(folder_.File(L"quick.log")) == 1; }, 5000));
  EndShell();
}

TEST_F(DesktopFocusEndToEnd, AnIconOpensItsLinkOncePerClickNotWhenTheDesktopComesBack) {
  const std::wstring icon = StandIn(L"icon");
  StartShell("ZM2_Link=" + common::ToAnsi(icon) + "\r\n");
  const std::wstring log = folder_.File(L"icon.log");
  e2e::ClickAt(22 + 25, 126 + 20);
  ASSERT_TRUE(WaitFor([&] { return Lines(log) == 1; }, 5000));

  // An application opens and closes again: the desktop becomes active again.
  ProgramUnderTest app(folder_.Path(), L"Palomid.exe");
  ASSERT_TRUE(app.Start());
  HWND appWindow = app.WaitForWindow(L"PalomidForm1", 10000);
  ASSERT_NE(appWindow, nullptr);
  PumpFor(300);
  PostMessageW(appWindow, WM_CLOSE, 0, 0);
  ASSERT_TRUE(app.WaitForExit(5000));
  PumpFor(500);
  // A click on the taskbar, away from its buttons.
  e2e::ClickAt(700, kStripTop + 40);
  PumpFor(500);
  EXPECT_EQ(Lines(log), 1);

  // The user's next click on the icon opens it again, once.
  e2e::ClickAt(22 + 25, 126 + 20);
  EXPECT_TRUE(WaitFor([&] { return Lines(log) == 2; }, 5000));
  PumpFor(300);
  EXPECT_EQ(Lines(log), 2);
  EndShell();
}

TEST_F(DesktopFocusEndToEnd, StartMenuAndSubmenuGoWhenTheUserTurnsToAnApplication) {
  StartShell("KS3_Caption=" + common::ToAnsi(L"办公软件") + "\r\n");
  ProgramUnderTest app(folder_.Path(), L"Palomid.exe");
  ASSERT_TRUE(app.Start());
  HWND appWindow = app.WaitForWindow(L"PalomidForm1", 10000);
  ASSERT_NE(appWindow, nullptr);
  SetWindowPos(appWindow, nullptr, 500, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpFor(300);

  e2e::MoveTo(20, 741);
  PumpFor(300);
  e2e::ClickAt(20, 741);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        menu = FindWindowW(L"ZephraStartMenu", nullptr);
        return menu && IsWindowVisible(menu);
      },
      10000));
  e2e::MoveTo(60, 344);  // entry 3 opens its submenu
  HWND sub = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        sub = FindWindowW(L"ZephraSubMenu", L"SubMenu_KSZ3");
        return sub && IsWindowVisible(sub);
      },
      10000));
  PumpFor(500);

  // A click into the application's window, where it has no control.
  RECT rect = {};
  GetWindowRect(appWindow, &rect);
  e2e::ClickAt(rect.left + 180, rect.top + 70);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(menu) && !IsWindowVisible(sub); }, 2000))
      << "menu " << IsWindowVisible(menu) << " submenu " << IsWindowVisible(sub);
  EndShell();
}

// A crowd of application windows that keeps changing keeps the taskbar rebuilding, and a rebuild
// lets events run: keys typed meanwhile still reach the dialog keys of the run dialog and the
// shortcuts of the search bar.
TEST_F(DesktopFocusEndToEnd, KeysReachTheRunDialogAndTheSearchBarWhileTheTaskbarRebuilds) {
  const std::wstring standIn = StandIn(L"run"), browser = StandIn(L"browser");
  HttpOpensWith http(browser);
  StartShell("");
  auto crowd = std::make_unique<ProgramUnderTest>(folder_.Path(), L"zephra_crowd.exe");
  ASSERT_TRUE(crowd->Start(L"150 0 150"));
  ASSERT_NE(crowd->WaitForWindow(L"ZephraCrowdWindow", 10000), nullptr);
  PumpFor(1000);

  HWND run = OpenFromStartMenu(15, L"ZephraRunDialog");  // 系统运行...
  ASSERT_NE(run, nullptr);
  HWND text = GetDlgItem(run, 11);
  SendMessageW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(standIn.c_str()));
  RECT box = {};
  GetWindowRect(text, &box);
  e2e::ClickAt((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  // A click leaves the foreground with Wine's desktop window: the keys need the dialog there.
  SetForegroundWindow(run);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == run; }, 5000));
  ASSERT_TRUE(WaitFor([&] { return FocusOf(shell_) == text; }, 5000))
      << GetDlgCtrlID(FocusOf(shell_)) << " " << GetForegroundWindow() << " " << run;
  // Tab goes round the text box, OK and Cancel; Enter presses OK, which runs the text.
  const int tabStops[] = {IDOK, 12, 11};
  for (int id : tabStops) {
    Press(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return GetDlgCtrlID(FocusOf(shell_)) == id; }, 5000)) << id;
  }
  // The crowd's window that keeps coming and going can take Wine's foreground meanwhile.
  SetForegroundWindow(run);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == run; }, 5000));
  Press(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return Lines(folder_.File(L"run.log")) == 1; }, 20000));
  PostMessageW(run, WM_CLOSE, 0, 0);

  HWND bar = OpenFromStartMenu(12, L"ZephraSearchBar");  // 网络搜索
  ASSERT_NE(bar, nullptr);
  SendMessageW(FindWindowExW(bar, nullptr, L"EDIT", nullptr), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"zephra"));
  SetForegroundWindow(bar);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == bar; }, 5000));
  for (WORD key : {VK_F1, VK_F2, VK_F3, VK_F4}) Press(key);
  const std::wstring log = folder_.File(L"browser.log");
  EXPECT_TRUE(WaitFor([&] { return Lines(log) == 4; }, 15000)) << Lines(log);
  const std::string addresses = ReadFileBytes(log);
  for (const char* host : {"www.google.com", "search.yahoo.com", "www.baidu.com", "www.gougou.com"})
    EXPECT_NE(addresses.find(host), std::string::npos) << host;
  EXPECT_TRUE(shell_.Running());
  PostMessageW(bar, WM_CLOSE, 0, 0);
  crowd.reset();  // its windows go, and the exit button is free again
  PumpFor(500);
  EndShell();
}

}  // namespace

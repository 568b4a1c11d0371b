#include "shell/core/Form1.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "common/keyboard.h"
#include "common/text.h"
#include "shell/core/CrashGuard.h"
#include "shell/core/StartKeys.h"
#include "support/testing.h"

namespace {

using testing_support::FakeTray;
using testing_support::PumpFor;
using testing_support::TempFolder;
using testing_support::WindowText;
using testing_support::WorkArea;
using testing_support::WorkAreaGuard;
using testing_support::WriteFileBytes;

struct Recorder {
  std::vector<std::wstring> links;
  std::vector<HWND> owners;
  int quits = 0;
  std::function<void()> atQuit;

  ShellServices Services() {
    ShellServices s;
    s.openLink = [this](HWND owner, const std::wstring& link) {
      owners.push_back(owner);
      links.push_back(link);
    };
    s.quitLoop = [this] {
      ++quits;
      if (atQuit) atQuit();
    };
    return s;
  }
};

class DesktopWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    ini_.path = folder_.File(L"SysInfo.ini");
    form_ = std::make_unique<Form1>(ini_, recorder_.Services());
  }
  void TearDown() override {
    form_.reset();
    CrashGuard::Disarm();
  }

  WorkAreaGuard workArea_;
  TempFolder folder_;
  rwini::IniFile ini_;
  Recorder recorder_;
  std::unique_ptr<Form1> form_;
};

TEST_F(DesktopWindowTest, StartTakesTheDesktopOverAndCoversTheScreen) {
  FakeTray tray(30);
  ASSERT_TRUE(form_->Load());

  EXPECT_FLOAT_EQ(form_->TrayHeight(), 30.0f);
  const RECT area = WorkArea();
  EXPECT_EQ(area.left, 0);
  EXPECT_EQ(area.top, 0);
  EXPECT_EQ(area.right, 1024);
  EXPECT_EQ(area.bottom, 714);
  EXPECT_FALSE(tray.Visible());
  EXPECT_TRUE(CrashGuard::Armed());

  HWND desktop = form_->Handle();
  EXPECT_TRUE(IsWindowVisible(desktop));
  RECT rect;
  GetWindowRect(desktop, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 1024);
  EXPECT_EQ(rect.bottom, 768);
  // Kept out of task lists: owned, and no WS_EX_APPWINDOW.
  EXPECT_NE(GetWindow(desktop, GW_OWNER), nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(desktop, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(WindowText(desktop), L"Form1");
}

TEST_F(DesktopWindowTest, BackgroundIsTheGradientFromEdgeToEdge) {
  FakeTray tray(30);
  ASSERT_TRUE(form_->Load());
  const common::MemorySurface& surface = form_->Surface();
  ASSERT_EQ(surface.Width(), 1024);
  ASSERT_EQ(surface.Height(), 768);
  EXPECT_EQ(surface.ColorAt(0, 0), 0x431F13u);
  EXPECT_EQ(surface.ColorAt(0, 767), 0x431F13u);
  EXPECT_EQ(surface.ColorAt(1023, 400), 0x7C4227u);
  EXPECT_EQ(surface.ColorAt(512, 700), 0x60311Du);  // 29, 49, 96
}

TEST_F(DesktopWindowTest, ExitButtonHasItsPlaceCaptionAndTheFocus) {
  FakeTray tray(30);
  ASSERT_TRUE(form_->Load());
  HWND button = form_->ExitButton();
  EXPECT_TRUE(testing_support::WaitFor([&] { return GetFocus() == button; }));
  RECT rect;
  GetWindowRect(button, &rect);
  EXPECT_EQ(rect.left, 11);
  EXPECT_EQ(rect.top, 12);
  EXPECT_EQ(rect.right - rect.left, 66);
  EXPECT_EQ(rect.bottom - rect.top, 21);
  EXPECT_EQ(WindowText(button), L"退出v" + form_->GetMyVersion());
  EXPECT_EQ(GetFocus(), button);
}

// The exit ends the message loop instead of the process: the program's own teardown runs. By
// then the Windows taskbar and the work area are back and every window of the shell is gone.
TEST_F(DesktopWindowTest, ExitGivesTheDesktopBackUnloadsEveryWindowThenEndsTheLoop) {
  FakeTray tray(30);
  ASSERT_TRUE(form_->Load());
  SendMessageW(form_->TaskBar1().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(600, 20));
  SendMessageW(form_->TaskBar1().Handle(), WM_RBUTTONUP, 0, MAKELPARAM(600, 20));
  form_->StartMenu().Button_MouseOver(3);
  const std::vector<HWND> windows = {form_->Handle(), form_->TaskBar1().Handle(),
                                     form_->TaskBar1().Tasks().TaskButton(0).Handle(),
                                     form_->StartMenu().Handle(), form_->StartMenu().xForm().Handle(),
                                     form_->TaskBarMenu().Handle()};
  int alive = -1;
  bool trayBack = false;
  LONG workAreaBottom = 0;
  recorder_.atQuit = [&] {
    alive = 0;
    for (HWND w : windows) alive += IsWindow(w) != FALSE;
    trayBack = tray.Visible();
    workAreaBottom = WorkArea().bottom;
  };
  SendMessageW(form_->ExitButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(recorder_.quits, 1);
  EXPECT_EQ(alive, 0);
  EXPECT_TRUE(trayBack);
  EXPECT_EQ(tray.Rect().top, 738);
  EXPECT_EQ(workAreaBottom, 738);  // the Windows taskbar's 30 pixels, not the shell's 54
  EXPECT_FALSE(CrashGuard::Armed());
  EXPECT_FALSE(form_->TaskBarMenu().Button(0).PointerTracking());
}

TEST_F(DesktopWindowTest, DialogKeysOnEveryFocusableControlDoNothingButEnterOnTheExitButton) {
  FakeTray tray(30);
  ASSERT_TRUE(form_->Load());
  PumpFor(20);
  std::vector<HWND> controls = {form_->ExitButton(), form_->TaskBar1().Handle()};
  for (int i = 0; i < 5; ++i) controls.push_back(form_->Icon(i).Handle());
  auto press = [](HWND focus, WPARAM key) {
    MSG msg = {focus, WM_KEYDOWN, key, 0, 0, {}};
    if (!common::TranslateKeyboard(msg)) DispatchMessageW(&msg);
  };
  for (HWND control : controls) {
    for (const WPARAM key : {VK_ESCAPE, VK_RETURN, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
      if (control == form_->ExitButton() && key == VK_RETURN) continue;  // below
      SetForegroundWindow(form_->Handle());
      SetFocus(control);
      const size_t links = recorder_.links.size();
      press(control, key);
      EXPECT_EQ(GetFocus(), control) << key;
      EXPECT_EQ(recorder_.links.size(), links) << key;
      EXPECT_EQ(recorder_.quits, 0) << key;
      for (const TaskBar_Container& button : form_->TaskBar1().fClassList())
        EXPECT_TRUE(button.Enabled) << key;
    }
  }
  SetFocus(form_->ExitButton());
  press(form_->ExitButton(), VK_RETURN);
  EXPECT_EQ(recorder_.quits, 1);
}

TEST_F(DesktopWindowTest, ANewWindowsTaskbarIsHiddenAgainAtMostOnceASecond) {
  FakeTray tray(30);
  ASSERT_TRUE(form_->Load());
  const UINT created = RegisterWindowMessageW(L"TaskbarCreated");
  RECT explorers = {0, 0, 1024, 738};
  auto explorerStarts = [&] {
    ShowWindow(tray.Handle(), SW_SHOWNA);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &explorers, 0);
    SendMessageW(form_->Handle(), created, 0, 0);
  };
  explorerStarts();
  EXPECT_FALSE(tray.Visible());
  EXPECT_EQ(WorkArea().bottom, 714);
  // Again within the second, and again: once more when the second is over.
  explorerStarts();
  explorerStarts();
  EXPECT_TRUE(tray.Visible());
  EXPECT_TRUE(testing_support::WaitFor([&] { return !tray.Visible(); }, 3000));
  EXPECT_EQ(WorkArea().bottom, 714);
}

TEST_F(DesktopWindowTest, SystemCloseShowsTheTaskbarButKeepsTheStripReserved) {
  FakeTray tray(30);
  ASSERT_TRUE(form_->Load());
  SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(testing_support::WaitFor([&] { return form_->Handle() == nullptr; }));
  EXPECT_TRUE(tray.Visible());
  EXPECT_EQ(WorkArea().bottom, 714);
  EXPECT_EQ(recorder_.quits, 1);
}

TEST_F(DesktopWindowTest, QuickLaunchOpensTheLinkReadAtTheClick) {
  ASSERT_TRUE(form_->Load());
  WriteFileBytes(ini_.path, "[Zephra]\r\nKS_A_Link=notepad.exe\r\nPrindle_Link=" +
                                common::ToAnsi(L"C:\\工具\\Prindle.exe") + "\r\n");
  form_->TaskBarButtonClicked(2, 1);
  form_->TaskBarButtonClicked(7, 1);
  WriteFileBytes(ini_.path, "[Zephra]\r\nKS_A_Link=winver.exe\r\n");
  form_->TaskBarButtonClicked(2, 2);
  const std::vector<std::wstring> expected = {L"notepad.exe", L"C:\\工具\\Prindle.exe",
                                              L"winver.exe"};
  EXPECT_EQ(recorder_.links, expected);
  EXPECT_EQ(recorder_.owners.at(0), form_->Handle());
}

TEST_F(DesktopWindowTest, EachQuickLaunchButtonReadsItsOwnKey) {
  ASSERT_TRUE(form_->Load());
  WriteFileBytes(ini_.path,
                 "[Zephra]\r\nKS_A_Link=a\r\nKS_B_Link=b\r\nKS_C_Link=c\r\nKS_D_Link=d\r\n"
                 "KS_E_Link=e\r\nPrindle_Link=p\r\n");
  for (int16_t i = 2; i <= 7; ++i) form_->TaskBarButtonClicked(i, 1);
  const std::vector<std::wstring> expected = {L"a", L"b", L"c", L"d", L"e", L"p"};
  EXPECT_EQ(recorder_.links, expected);
}

TEST_F(DesktopWindowTest, EmptyLinkIsHandedOnAndWrittenBack) {
  ASSERT_TRUE(form_->Load());
  form_->TaskBarButtonClicked(7, 1);
  ASSERT_EQ(recorder_.links.size(), 1u);
  EXPECT_EQ(recorder_.links[0], L"");
  EXPECT_NE(testing_support::ReadFileBytes(ini_.path).find("\r\nPrindle_Link=\r\n"),
            std::string::npos);
}

TEST_F(DesktopWindowTest, ButtonsOutsideOneToSevenDoNothing) {
  ASSERT_TRUE(form_->Load());
  for (int16_t i : {0, 8, -1, 100}) form_->TaskBarButtonClicked(i, 1);
  EXPECT_TRUE(recorder_.links.empty());
  EXPECT_FALSE(form_->MenuShown());
  EXPECT_EQ(testing_support::ReadFileBytes(ini_.path).find("_Link"), std::string::npos);
}

TEST_F(DesktopWindowTest, StartButtonOpensTheMenuAndADesktopMouseMoveClosesIt) {
  ASSERT_TRUE(form_->Load());
  SetCursorPos(20, 745);  // on the start button, as after a click on it
  PumpFor(50);
  form_->TaskBarButtonClicked(1, 1);
  EXPECT_TRUE(form_->MenuShown());
  EXPECT_TRUE(IsWindowVisible(form_->StartMenu().Handle()));
  EXPECT_TRUE(recorder_.links.empty());
  SendMessageW(form_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(500, 300));
  EXPECT_FALSE(form_->MenuShown());
  EXPECT_FALSE(IsWindowVisible(form_->StartMenu().Handle()));
}

TEST_F(DesktopWindowTest, StaysBehindOtherWindows) {
  ASSERT_TRUE(form_->Load());
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowPos(form_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  auto otherAbove = [&] {
    for (HWND w = GetWindow(form_->Handle(), GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
      if (w == other) return true;
    return false;
  };
  EXPECT_TRUE(testing_support::WaitFor(otherAbove));
  DestroyWindow(other);
}

TEST(CrashGuardTest, GivesTheTaskbarAndWorkAreaBackOnlyWhenArmed) {
  WorkAreaGuard guard;
  FakeTray tray(30);
  ShowWindow(tray.Handle(), SW_HIDE);
  RECT reserved = {0, 0, 1024, 714};
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &reserved, 0);

  CrashGuard::GiveBackDesktop();  // not armed: nothing
  EXPECT_FALSE(tray.Visible());

  StartKeyHook keys;
  ASSERT_TRUE(keys.Install(tray.Handle(), WM_NULL));
  CrashGuard::Arm(30);
  CrashGuard::GiveBackDesktop();
  EXPECT_TRUE(tray.Visible());
  EXPECT_EQ(WorkArea().bottom, 738);
  EXPECT_FALSE(CrashGuard::Armed());
  EXPECT_FALSE(keys.Installed()) << "no key of the session waits for a crashed shell";
}

}  // namespace

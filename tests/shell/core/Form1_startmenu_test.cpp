// The start menu as the desktop window loads, opens, closes and unloads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/core/CrashGuard.h"
#include "shell/core/Form1.h"
#include "support/testing.h"

namespace {

using testing_support::FakeTray;
using testing_support::PumpFor;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WorkAreaGuard;

class DesktopStartMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_.path = folder_.File(L"SysInfo.ini");
    ShellServices s;
    s.openLink = [this](HWND, const std::wstring& link) { links_.push_back(link); };
    s.startCommand = [this](const std::wstring& line, int) { commands_.push_back(line); };
    s.quitLoop = [this] { ++ended_; };
    form_ = std::make_unique<Form1>(ini_, s);
    ASSERT_TRUE(form_->Load());
    SetCursorPos(20, 745);  // on the start button
    PumpFor(50);
  }
  void TearDown() override {
    form_.reset();
    CrashGuard::Disarm();
  }
  FrmStartMenu& Menu() { return form_->StartMenu(); }
  void DesktopMove() { SendMessageW(form_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(600, 300)); }

  WorkAreaGuard workArea_;
  FakeTray tray_{30};
  TempFolder folder_;
  rwini::IniFile ini_;
  std::vector<std::wstring> links_;
  std::vector<std::wstring> commands_;
  int ended_ = 0;
  std::unique_ptr<Form1> form_;
};

TEST_F(DesktopStartMenuTest, LoadedHiddenAtStartWithItsBottomOnTheTaskbar) {
  HWND menu = Menu().Handle();
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(IsWindowVisible(menu));
  RECT r;
  GetWindowRect(menu, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.bottom, 714);
  RECT bar;
  GetWindowRect(form_->TaskBar1().Handle(), &bar);
  EXPECT_EQ(r.bottom, bar.top);
  // The categories' captions are read at start, before the desktop icons'.
  const std::string file = ReadFileBytes(ini_.path);
  EXPECT_EQ(file.rfind("[Zephra]\r\nKS1_Caption=\r\nKS2_Caption=\r\n", 0), 0u);
  EXPECT_LT(file.find("KS10_Caption="), file.find("ZM1_Caption="));
}

TEST_F(DesktopStartMenuTest, StartButtonOpensTheMenuOnTopAndADesktopMoveClosesBoth) {
  form_->TaskBarButtonClicked(1, 1);
  HWND menu = Menu().Handle();
  EXPECT_TRUE(form_->MenuShown());
  EXPECT_TRUE(IsWindowVisible(menu));
  EXPECT_TRUE(GetWindowLongPtrW(menu, GWL_EXSTYLE) & WS_EX_TOPMOST);
  BYTE alpha = 0;
  GetLayeredWindowAttributes(menu, nullptr, &alpha, nullptr);
  EXPECT_EQ(alpha, 255);

  Menu().Button_MouseOver(8);
  SubMenuWindow& sub = Menu().xForm();
  ASSERT_TRUE(sub.Visible());
  DesktopMove();
  EXPECT_FALSE(sub.Visible());
  EXPECT_FALSE(IsWindowVisible(menu));
  EXPECT_FALSE(Menu().ButtonOver());
  EXPECT_FALSE(form_->MenuShown());
  GetLayeredWindowAttributes(menu, nullptr, &alpha, nullptr);
  EXPECT_EQ(alpha, 0);
}

TEST_F(DesktopStartMenuTest, TheStartKeysOpenTheMenuAndCloseItWithItsSubmenu) {
  EXPECT_TRUE(form_->StartKeysHooked());
  form_->ToggleStartMenu();
  EXPECT_TRUE(form_->MenuShown());
  EXPECT_TRUE(IsWindowVisible(Menu().Handle()));
  Menu().Button_MouseOver(3);
  ASSERT_TRUE(Menu().xForm().Visible());
  form_->ToggleStartMenu();
  EXPECT_FALSE(Menu().xForm().Visible());
  EXPECT_FALSE(IsWindowVisible(Menu().Handle()));
  EXPECT_FALSE(form_->MenuShown());
}

TEST_F(DesktopStartMenuTest, ADesktopMoveDuringTheFadeInLeavesTheMenuClosed) {
  // The pointer crosses the desktop while the menu is still fading in.
  PostMessageW(form_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(600, 300));
  form_->TaskBarButtonClicked(1, 1);
  EXPECT_FALSE(form_->MenuShown());
  EXPECT_FALSE(IsWindowVisible(Menu().Handle())) << "not shown again, unseen, by MeTop";
  // And the next click opens it as usual.
  form_->TaskBarButtonClicked(1, 1);
  EXPECT_TRUE(IsWindowVisible(Menu().Handle()));
}

TEST_F(DesktopStartMenuTest, ASubmenuOpenedAfterTheMenuClosedIsClosedByTheNextDesktopMove) {
  // The hover flag alone makes the desktop close the menus, whatever MenuShown says.
  Menu().ShowForm();
  Menu().Button_MouseOver(2);
  ASSERT_FALSE(form_->MenuShown());
  DesktopMove();
  EXPECT_FALSE(Menu().xForm().Visible());
  EXPECT_FALSE(IsWindowVisible(Menu().Handle()));
}

TEST_F(DesktopStartMenuTest, ExitEntryUnloadsEverythingAndEndsTheShell) {
  form_->TaskBarButtonClicked(1, 1);
  Menu().Button_MouseOver(4);
  HWND internet = Menu().xForm().Handle();
  Menu().Button_MouseUp(15);
  HWND run = Menu().RunDialog().Handle();
  Menu().Button_MouseUp(17);
  EXPECT_TRUE(testing_support::WaitFor([&] { return ended_ == 1; }));
  EXPECT_EQ(form_->Handle(), nullptr);
  EXPECT_EQ(Menu().Handle(), nullptr);
  EXPECT_FALSE(IsWindow(internet));
  EXPECT_FALSE(IsWindow(run));
  EXPECT_TRUE(tray_.Visible());
  for (int i = 0; i < FrmStartMenu::kEntries; ++i) EXPECT_FALSE(Menu().Button(i).PointerTracking());
  EXPECT_FALSE(form_->StartKeysHooked());
}

TEST_F(DesktopStartMenuTest, LogOffEntryStartsItsCommandLine) {
  Menu().Button_MouseUp(16);
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(commands_[0], L"rundll32.exe url.dll,FileProtocolHandler shutdown -l -t 30");
}

}  // namespace

#include "shell/startmenu/FrmStartMenu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/screen.h"
#include "common/text.h"
#include "shell/startmenu/SubMenu_KSZ.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WindowText;
using testing_support::WriteFileBytes;

constexpr uint32_t kFace = 15132390, kBlue = 11557709;

struct Calls {
  std::vector<std::wstring> links;
  std::vector<HWND> owners;
  std::vector<std::wstring> commands;
  std::vector<int> shows;
  int ended = 0;

  FrmStartMenu::Services Services() {
    FrmStartMenu::Services s;
    s.openLink = [this](HWND owner, const std::wstring& link) {
      owners.push_back(owner);
      links.push_back(link);
    };
    s.startCommand = [this](const std::wstring& line, int show) {
      commands.push_back(line);
      shows.push_back(show);
    };
    s.endShell = [this] { ++ended; };
    return s;
  }
};

BYTE Alpha(HWND window) {
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags)) return 0;
  return alpha;
}

// A clock that is never behind: a fade shows every one of its steps, and waiting for the next one
// only moves the clock on.
MenuFade::Clock NeverBehind() {
  auto now = std::make_shared<DWORD>(0);
  return {[now] { return *now; }, [now](DWORD ms) { *now += ms; }};
}

RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

class StartMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_.path = folder_.File(L"SysInfo.ini");
    // Keep the real pointer away from the menus: only the test's messages move things.
    SetCursorPos(900, 100);
  }
  void Load(const std::string& file = "[Zephra]\r\n") {
    WriteFileBytes(ini_.path, file);
    menu_ = std::make_unique<FrmStartMenu>(ini_, calls_.Services());
    ASSERT_TRUE(menu_->Load());
    // Where the desktop puts it on a 1024 x 768 screen: bottom edge on the taskbar's top edge.
    menu_->SetLeft(0);
    menu_->SetTop(768 * 15 - menu_->ScaleHeight() - 54 * 15);
  }
  void TearDown() override { menu_.reset(); }

  TempFolder folder_;
  rwini::IniFile ini_;
  Calls calls_;
  std::unique_ptr<FrmStartMenu> menu_;
};

TEST_F(StartMenuTest, EighteenEntriesStackedIntoA194By460Window) {
  Load();
  HWND w = menu_->Handle();
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 194);
  EXPECT_EQ(client.bottom, 460);
  EXPECT_EQ(menu_->ScaleHeight(), 6900);
  EXPECT_EQ(menu_->Width(), 2910);
  const RECT place = ScreenRect(w);
  EXPECT_EQ(place.left, 0);
  EXPECT_EQ(place.top, 254);
  EXPECT_EQ(place.bottom, 714);
  EXPECT_FALSE(IsWindowVisible(w));

  int top = 0;
  for (int i = 0; i < FrmStartMenu::kEntries; ++i) {
    MenuButton& b = menu_->Button(i);
    // Edge to edge, each as high as its body and its separator lines.
    const int height = MenuButton::kBodyHeight +
                       MenuButton::kSeparatorHeight * (int{b.CapTop()} + int{b.CapBottom()});
    EXPECT_EQ(b.Top(), top * 15.0) << i;
    EXPECT_EQ(b.Height(), height * 15.0) << i;
    RECT r = ScreenRect(b.Handle());
    EXPECT_EQ(r.top - place.top, top) << i;
    EXPECT_EQ(r.bottom - r.top, height) << i;
    EXPECT_EQ(r.right - r.left, 194) << i;
    EXPECT_TRUE(GetWindowLongPtrW(b.Handle(), GWL_STYLE) & WS_VISIBLE) << i;
    EXPECT_EQ(b.Icon(), 18 - i) << i;
    EXPECT_EQ(b.Arrow(), i >= 1 && i <= 10) << i;
    EXPECT_EQ(b.CapTop(), i == 0 || i == 15) << i;
    EXPECT_EQ(b.CapBottom(), i == 0 || i == 15 || i == 17) << i;
    EXPECT_TRUE(b.PointerTracking()) << i;
    top += height;
  }
  EXPECT_EQ(top, 460);
}

TEST_F(StartMenuTest, CaptionsOfTheCategoriesComeFromTheFileTheOthersAreFixed) {
  Load("[Zephra]\r\nKS1_Caption=" + common::ToAnsi(L"常用工具") + "\r\nKS10_Caption=Ten\r\n");
  EXPECT_EQ(menu_->Button(0).Caption(), L"Lumora");
  EXPECT_EQ(menu_->Button(1).Caption(), L"常用工具");
  EXPECT_EQ(menu_->Button(2).Caption(), L"");
  EXPECT_EQ(menu_->Button(10).Caption(), L"Ten");
  const wchar_t* fixed[] = {L"软件交流",    L"网络搜索", L"软件帮助", L"软件更新",
                            L"系统运行...", L"系统注销", L"退出软件"};
  for (int i = 11; i <= 17; ++i) EXPECT_EQ(menu_->Button(i).Caption(), fixed[i - 11]);
  // The missing keys are written back, empty; the present ones are left as they are.
  const std::string file = ReadFileBytes(ini_.path);
  EXPECT_NE(file.find("\r\nKS2_Caption=\r\n"), std::string::npos);
  EXPECT_NE(file.find("\r\nKS9_Caption=\r\n"), std::string::npos);
  EXPECT_NE(file.find("KS10_Caption=Ten\r\n"), std::string::npos);
  EXPECT_EQ(file.find("_Link"), std::string::npos) << "links are read only when clicked";
}

TEST_F(StartMenuTest, KeptOutOfTheTaskbarAndNeverActivated) {
  Load();
  HWND w = menu_->Handle();
  EXPECT_EQ(WindowText(w), L"Form2");
  EXPECT_NE(GetWindow(w, GW_OWNER), nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  HWND before = GetForegroundWindow();
  menu_->ShowForm();
  menu_->MeTop();
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(SendMessageW(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(w),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  EXPECT_EQ(GetForegroundWindow(), before);
}

TEST_F(StartMenuTest, FadesInFromZeroAndOutToZeroInStepsOfFive) {
  Load();
  HWND w = menu_->Handle();
  std::vector<int> steps;
  menu_->Fade().SetClock(NeverBehind());
  menu_->Fade().onStep = [&](int alpha) { steps.push_back(alpha); };
  menu_->ShowForm();
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(Alpha(w), 255);
  std::vector<int> expected = {0};
  for (int a = 0; a <= 255; a += 5) expected.push_back(a);
  expected.push_back(255);
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(expected.size(), 54u);  // the hidden start, 52 steps, the last

  steps.clear();
  menu_->HideForm();
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(Alpha(w), 0);
  expected.clear();
  for (int a = 255; a >= 0; a -= 5) expected.push_back(a);
  expected.push_back(0);
  EXPECT_EQ(steps, expected);
}

TEST_F(StartMenuTest, ACloseDuringTheFadeInTurnsItAround) {
  Load();
  HWND w = menu_->Handle();
  std::vector<int> steps;
  bool asked = false;
  menu_->Fade().SetClock(NeverBehind());
  menu_->Fade().onStep = [&](int alpha) {
    steps.push_back(alpha);
    if (alpha == 100 && !asked) {
      asked = true;
      menu_->HideForm();  // as a desktop mouse move among the fade's events would
    }
  };
  menu_->ShowForm();
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(Alpha(w), 0);
  ASSERT_GE(steps.size(), 4u);
  // Up to 100, then straight down from there: no second loop, no jump back to 255.
  int peak = 0;
  for (int a : steps) peak = std::max(peak, a);
  EXPECT_EQ(peak, 100);
  EXPECT_EQ(steps.back(), 0);
}

TEST_F(StartMenuTest, AnOpenDuringTheFadeOutTurnsItAround) {
  Load();
  HWND w = menu_->Handle();
  menu_->ShowForm();
  bool asked = false;
  menu_->Fade().SetClock(NeverBehind());
  menu_->Fade().onStep = [&](int alpha) {
    if (alpha == 150 && !asked) {
      asked = true;
      menu_->ShowForm();  // the start button clicked again while the menu fades out
    }
  };
  menu_->HideForm();
  EXPECT_TRUE(IsWindowVisible(w)) << "the newer request wins";
  EXPECT_EQ(Alpha(w), 255);
}

TEST_F(StartMenuTest, HoveringACategoryOpensItsSubmenuBesideTheEntry) {
  Load();
  menu_->ShowForm();
  menu_->Button_MouseOver(3);
  SubMenuWindow& sub = menu_->xForm();
  EXPECT_EQ(sub.Name(), L"SubMenu_KSZ3");
  EXPECT_TRUE(sub.Visible());
  EXPECT_TRUE(menu_->ButtonOver());
  EXPECT_EQ(sub.ButtonIndex(), 3);
  EXPECT_EQ(Alpha(sub.Handle()), 255);
  EXPECT_TRUE(GetWindowLongPtrW(sub.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Two pixels above the entry's top edge, five pixels (75 twips) into the menu's right edge.
  const RECT r = ScreenRect(sub.Handle());
  EXPECT_EQ(r.top, 254 + 29 + 25 + 25 - 2);
  EXPECT_EQ(r.left, 194 - 5);
  EXPECT_EQ(r.right - r.left, 196);
  EXPECT_EQ(r.bottom - r.top, 156);
  EXPECT_EQ(menu_->CurrentIndex(), 3);
  EXPECT_EQ(menu_->PreviousIndex(), 0);
}

TEST_F(StartMenuTest, EachCategoryHasItsOwnSubmenuAndEntryFourTheInternetOne) {
  Load();
  menu_->ShowForm();
  for (int16_t i = 1; i <= 10; ++i) {
    menu_->Button_MouseOver(i);
    const std::wstring expected =
        i == 4 ? L"SubMenu_Internet" : L"SubMenu_KSZ" + std::to_wstring(i);
    EXPECT_EQ(menu_->xForm().Name(), expected);
    EXPECT_EQ(WindowText(menu_->xForm().Handle()), expected);
    int shown = 0;
    for (int16_t j = 1; j <= 10; ++j) shown += menu_->SubmenuFor(j).Visible();
    EXPECT_EQ(shown, 1) << "only the current submenu shows";
  }
  EXPECT_EQ(menu_->SubmenuFor(0).Name(), L"SubMenu_Unkown");
  EXPECT_EQ(menu_->SubmenuFor(11).Name(), L"SubMenu_Unkown");
  EXPECT_EQ(&menu_->SubmenuFor(5), &menu_->SubmenuFor(5)) << "one shared instance";
}

TEST_F(StartMenuTest, HoverRulesWithTheirQuirks) {
  Load();
  menu_->ShowForm();
  SubMenuWindow& placeholder = menu_->xForm();
  EXPECT_EQ(placeholder.Name(), L"frmMenu");

  // Entry 0 first after load: nothing at all happens (it is already the current index).
  menu_->Button_MouseOver(0);
  EXPECT_EQ(&menu_->xForm(), &placeholder);
  EXPECT_FALSE(menu_->ButtonOver());

  // A category, then back onto it from its submenu: the submenu stays.
  menu_->Button_MouseOver(3);
  SubMenuWindow& three = menu_->xForm();
  menu_->Button_MouseOver(3);
  EXPECT_TRUE(three.Visible());

  // A fixed entry hides the submenu and opens none; the hover flag stays; entry 3 normal.
  menu_->Button(3).LoadGUI_OVER();
  menu_->Button_MouseOver(12);
  EXPECT_FALSE(three.Visible());
  EXPECT_TRUE(menu_->ButtonOver());
  EXPECT_EQ(menu_->Button(3).Surface().ColorAt(100, 1), kFace);
  EXPECT_EQ(menu_->PreviousIndex(), 3);
  EXPECT_EQ(menu_->CurrentIndex(), 12);

  // Closed and opened again: the entry hovered last opens nothing ...
  menu_->Button_MouseOver(5);
  SubMenuWindow& five = menu_->xForm();
  menu_->HideForm();
  EXPECT_FALSE(five.Visible());
  menu_->ShowForm();
  menu_->Button_MouseOver(5);
  EXPECT_FALSE(five.Visible());
  // ... until another entry was hovered.
  menu_->Button_MouseOver(6);
  EXPECT_EQ(menu_->xForm().Name(), L"SubMenu_KSZ6");
  menu_->Button_MouseOver(5);
  EXPECT_TRUE(five.Visible());
}

TEST_F(StartMenuTest, ThePointerMovingOnDuringASubmenuFadeLeavesOneSubmenuWithItsOwnIndex) {
  Load();
  menu_->ShowForm();
  SubMenuWindow& three = menu_->SubmenuFor(3);
  bool moved = false;
  three.Fade().SetClock(NeverBehind());
  three.Fade().onStep = [&](int alpha) {
    if (alpha == 120 && !moved) {
      moved = true;
      menu_->Button_MouseOver(5);  // the pointer is on entry 5 before submenu 3 is opaque
    }
  };
  menu_->Button_MouseOver(3);
  ASSERT_TRUE(moved);
  SubMenuWindow& five = menu_->xForm();
  EXPECT_EQ(five.Name(), L"SubMenu_KSZ5");
  EXPECT_TRUE(five.Visible());
  EXPECT_EQ(five.ButtonIndex(), 5);
  EXPECT_FALSE(three.Visible());
}

TEST_F(StartMenuTest, FixedEntriesOpenTheMakersPagesAndTheLogOffCommand) {
  Load();
  HWND w = menu_->Handle();
  for (int16_t i : {0, 11, 13, 14}) menu_->Button_MouseUp(i);
  const std::vector<std::wstring> expected = {
      L"http://www.lumorasoft.cn/",
      L"http://www.lumorasoft.cn/gbook/index.asp?username=ZephraShell",
      L"http://www.lumorasoft.cn/gbook/index.asp?username=ZephraShell",
      L"http://www.lumorasoft.cn/gbook/index.asp?username=ZephraShell"};
  EXPECT_EQ(calls_.links, expected);
  for (HWND owner : calls_.owners) EXPECT_EQ(owner, w);

  menu_->Button_MouseUp(16);
  ASSERT_EQ(calls_.commands.size(), 1u);
  EXPECT_EQ(calls_.commands[0], L"rundll32.exe url.dll,FileProtocolHandler shutdown -l -t 30");
  EXPECT_EQ(calls_.shows[0], SW_SHOWNORMAL);

  // Categories: a click opens nothing.
  for (int16_t i = 1; i <= 10; ++i) menu_->Button_MouseUp(i);
  EXPECT_EQ(calls_.links.size(), 4u);
  EXPECT_EQ(calls_.commands.size(), 1u);
  EXPECT_EQ(calls_.ended, 0);
}

TEST_F(StartMenuTest, RunAndSearchEntriesShowTheirWindows) {
  Load();
  menu_->ShowForm();
  menu_->MeTop();
  menu_->Button_MouseUp(15);
  HWND run = menu_->RunDialog().Handle();
  ASSERT_NE(run, nullptr);
  EXPECT_TRUE(IsWindowVisible(run));
  EXPECT_EQ(WindowText(run), L"系统运行...");
  menu_->Button_MouseUp(15);
  EXPECT_EQ(menu_->RunDialog().Handle(), run) << "the open dialog is shown again";
  // The run dialog's command line.
  SetWindowTextW(menu_->RunDialog().Text1(), L"C:\\Program Files ..");
  SendMessageW(menu_->RunDialog().Command1(), BM_CLICK, 0, 0);
  ASSERT_EQ(calls_.commands.size(), 1u);
  EXPECT_EQ(calls_.commands[0], L"rundll32.exe url.dll,FileProtocolHandler C:\\Program Files ..");

  menu_->Button_MouseUp(12);
  HWND bar = menu_->SearchBar().Handle();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetWindow(bar, GW_OWNER), nullptr) << "not in the taskbar";
  // Its searches go out through the menu's "open".
  SetWindowTextW(menu_->SearchBar().Text1(), L"abc def");
  HMENU web = GetSubMenu(GetMenu(bar), 1);
  SendMessageW(bar, WM_COMMAND, GetMenuItemID(web, 2), 0);
  ASSERT_EQ(calls_.links.size(), 1u);
  EXPECT_EQ(calls_.links[0], L"http://www.baidu.com/baidu?wd=abc def");
  EXPECT_EQ(calls_.owners[0], bar);
  EXPECT_TRUE(IsWindowVisible(menu_->Handle())) << "a click closes nothing";
}

TEST_F(StartMenuTest, ExitEntryEndsTheShellOnceTheClickIsHandled) {
  Load();
  menu_->ShowForm();
  menu_->Button(17).SubClassMe();
  HWND entry = menu_->Button(17).Handle();
  SendMessageW(entry, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
  SendMessageW(entry, WM_LBUTTONUP, 0, MAKELPARAM(50, 10));
  EXPECT_EQ(calls_.ended, 0) << "not inside the entry's own click";
  EXPECT_TRUE(testing_support::WaitFor([&] { return calls_.ended == 1; }));
}

TEST_F(StartMenuTest, RealPointerMessagesDriveTheMenu) {
  Load();
  menu_->ShowForm();
  HWND entry = menu_->Button(7).Handle();
  SendMessageW(entry, WM_MOUSEHOVER, 0, MAKELPARAM(50, 10));
  EXPECT_EQ(menu_->xForm().Name(), L"SubMenu_KSZ7");
  EXPECT_EQ(menu_->Button(7).Surface().ColorAt(100, 1), kBlue);
  SendMessageW(menu_->Button(13).Handle(), WM_MOUSEHOVER, 0, MAKELPARAM(50, 10));
  SendMessageW(menu_->Button(13).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
  SendMessageW(menu_->Button(13).Handle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 10));
  ASSERT_EQ(calls_.links.size(), 1u);
  EXPECT_EQ(calls_.links[0], L"http://www.lumorasoft.cn/gbook/index.asp?username=ZephraShell");
}

TEST_F(StartMenuTest, UnloadStopsTrackingAndClosesEveryWindow) {
  Load();
  menu_->ShowForm();
  menu_->Button_MouseOver(4);
  menu_->Button_MouseOver(2);
  HWND internet = menu_->SubmenuFor(4).Handle();
  HWND two = menu_->SubmenuFor(2).Handle();
  menu_->Button_MouseUp(15);
  menu_->UnloadAll();
  for (int i = 0; i < FrmStartMenu::kEntries; ++i) EXPECT_FALSE(menu_->Button(i).PointerTracking());
  menu_->UnloadXForm();
  EXPECT_FALSE(IsWindow(two));
  EXPECT_EQ(menu_->Button(2).Surface().ColorAt(100, 1), kFace) << "its opener painted normal";
  menu_->Unload();
  EXPECT_EQ(menu_->Handle(), nullptr);
  EXPECT_FALSE(IsWindow(internet));
  menu_->UnloadRemaining();
  EXPECT_EQ(menu_->RunDialog().Handle(), nullptr);
}

}  // namespace

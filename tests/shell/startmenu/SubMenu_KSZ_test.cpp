#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "shell/startmenu/FrmStartMenu.h"
#include "shell/startmenu/SubMenu_KSZ.h"
#include "shell/startmenu/SubMenu_Unkown.h"
#include "support/testing.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

constexpr uint32_t kFace = 15132390, kBlue = 11557709;

class SubMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_.path = folder_.File(L"SysInfo.ini");
    SetCursorPos(900, 100);
  }
  void Load(const std::string& file) {
    WriteFileBytes(ini_.path, file);
    FrmStartMenu::Services s;
    s.openLink = [this](HWND owner, const std::wstring& link) {
      owners_.push_back(owner);
      links_.push_back(link);
    };
    menu_ = std::make_unique<FrmStartMenu>(ini_, s);
    ASSERT_TRUE(menu_->Load());
    menu_->SetLeft(0);
    menu_->SetTop(3810);
    menu_->ShowForm();
  }
  SubMenu_KSZ& Open(int16_t entry) {
    menu_->Button_MouseOver(entry);
    return static_cast<SubMenu_KSZ&>(menu_->xForm());
  }
  void Hover(HWND w) { SendMessageW(w, WM_MOUSEHOVER, 0, MAKELPARAM(40, 10)); }
  void Click(HWND w) {
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 10));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(40, 10));
  }
  // The band's first row below the entry's top separator, if any.
  uint32_t Band(int entry) {
    MenuButton& b = menu_->Button(entry);
    return b.Surface().ColorAt(100, b.CapTop() ? 3 : 1);
  }

  TempFolder folder_;
  rwini::IniFile ini_;
  std::vector<std::wstring> links_;
  std::vector<HWND> owners_;
  std::unique_ptr<FrmStartMenu> menu_;
};

TEST_F(SubMenuTest, SixLinkEntriesCaptionedFromTheFileAtLoad) {
  Load("[Zephra]\r\nKS3_1_Caption=" + common::ToAnsi(L"记事本") + "\r\nKS3_6_Caption=Six\r\n");
  SubMenu_KSZ& sub = Open(3);
  RECT client;
  GetClientRect(sub.Handle(), &client);
  EXPECT_EQ(client.right, 196);
  EXPECT_EQ(client.bottom, 156);
  EXPECT_NE(GetWindow(sub.Handle(), GW_OWNER), nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(sub.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

  const int heights[] = {29, 25, 25, 25, 25, 27};
  int top = 0;
  for (int i = 0; i < 6; ++i) {
    MenuButton& b = sub.Button(i);
    EXPECT_EQ(b.Top(), top * 15.0) << i;
    EXPECT_EQ(b.Height(), heights[i] * 15.0) << i;
    EXPECT_EQ(b.Icon(), 0);
    EXPECT_FALSE(b.Arrow());
    EXPECT_TRUE(b.PointerTracking());
    top += heights[i];
  }
  EXPECT_EQ(sub.Button(0).Caption(), L"记事本");
  EXPECT_EQ(sub.Button(2).Caption(), L"") << "every entry exists, unconfigured ones empty";
  EXPECT_EQ(sub.Button(5).Caption(), L"Six");
  const std::string file = ReadFileBytes(ini_.path);
  EXPECT_NE(file.find("\r\nKS3_2_Caption=\r\n"), std::string::npos);
  EXPECT_EQ(file.find("KS3_1_Link"), std::string::npos);

  // Captions are read once: an edit shows only when the window is loaded again.
  WriteFileBytes(ini_.path, "[Zephra]\r\nKS3_1_Caption=Changed\r\n");
  menu_->Button_MouseOver(12);
  menu_->Button_MouseOver(3);
  EXPECT_EQ(sub.Button(0).Caption(), L"记事本");
}

TEST_F(SubMenuTest, EntryFourIsTheInternetSubmenuWithTheKeysOfCategoryFour) {
  Load("[Zephra]\r\nKS4_1_Caption=Web\r\nKS4_6_Link=http://example.org/\r\n");
  SubMenu_KSZ& sub = Open(4);
  EXPECT_EQ(sub.Name(), L"SubMenu_Internet");
  EXPECT_EQ(sub.Category(), 4);
  EXPECT_EQ(sub.Button(0).Caption(), L"Web");
  Click(sub.Button(5).Handle());
  ASSERT_EQ(links_.size(), 1u);
  EXPECT_EQ(links_[0], L"http://example.org/");
}

TEST_F(SubMenuTest, AClickOpensTheLinkAsTheFileSaysAtThatMoment) {
  Load("[Zephra]\r\nKS10_6_Link=" + common::ToAnsi(L"C:\\工具\\a.exe") + "\r\n");
  SubMenu_KSZ& sub = Open(10);
  Click(sub.Button(5).Handle());
  WriteFileBytes(ini_.path, "[Zephra]\r\nKS10_6_Link=notepad.exe\r\nKS10_1_Link=calc.exe\r\n");
  Click(sub.Button(5).Handle());
  Click(sub.Button(0).Handle());
  const std::vector<std::wstring> expected = {L"C:\\工具\\a.exe", L"notepad.exe", L"calc.exe"};
  EXPECT_EQ(links_, expected);
  for (HWND owner : owners_) EXPECT_EQ(owner, sub.Handle());
  // Both windows stay open.
  EXPECT_TRUE(sub.Visible());
  EXPECT_TRUE(IsWindowVisible(menu_->Handle()));
}

TEST_F(SubMenuTest, AnEmptyLinkIsHandedOnAndWrittenBack) {
  Load("[Zephra]\r\n");
  SubMenu_KSZ& sub = Open(2);
  Click(sub.Button(3).Handle());
  ASSERT_EQ(links_.size(), 1u);
  EXPECT_EQ(links_[0], L"");
  EXPECT_NE(ReadFileBytes(ini_.path).find("\r\nKS2_4_Link=\r\n"), std::string::npos);
}

TEST_F(SubMenuTest, TheOpeningEntryStaysHighlightedWhileThePointerIsInTheSubmenu) {
  Load("[Zephra]\r\n");
  SubMenu_KSZ& sub = Open(3);
  // On the way into the submenu the pointer left entry 3, which went back to normal.
  SendMessageW(menu_->Button(3).Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Band(3), kFace);
  Hover(sub.Button(1).Handle());
  EXPECT_EQ(Band(3), kBlue);
  SendMessageW(sub.Button(1).Handle(), WM_MOUSELEAVE, 0, 0);
  menu_->Button(3).LoadGUI();
  SendMessageW(sub.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // over the window itself
  EXPECT_EQ(Band(3), kBlue);
  // Back onto entry 3: its submenu stays open.
  Hover(menu_->Button(3).Handle());
  EXPECT_TRUE(sub.Visible());
  EXPECT_EQ(Band(0), kFace);
}

TEST_F(SubMenuTest, ACloseRequestHidesRepaintsTheOpenerAndStopsTracking) {
  Load("[Zephra]\r\n");
  SubMenu_KSZ& sub = Open(6);
  menu_->Button(6).LoadGUI_OVER();
  SendMessageW(sub.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(sub.Loaded());
  EXPECT_EQ(Band(6), kFace);
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(sub.Button(i).PointerTracking());
}

TEST_F(SubMenuTest, TheFallbackSubmenuHasOneEntryThatDoesNothing) {
  Load("[Zephra]\r\n");
  auto& fallback = static_cast<SubMenu_Unkown&>(menu_->SubmenuFor(11));
  EXPECT_EQ(fallback.Name(), L"SubMenu_Unkown");
  RECT client;
  GetClientRect(fallback.Handle(), &client);
  EXPECT_EQ(client.right, 185);
  EXPECT_EQ(client.bottom, 29);
  MenuButton& only = fallback.MenuButton1();
  EXPECT_EQ(only.Caption(), L"开始未知子菜单...");
  EXPECT_EQ(only.Icon(), 19);
  EXPECT_TRUE(only.CapTop());
  EXPECT_TRUE(only.CapBottom());
  fallback.SetButtonIndex(9);
  Hover(only.Handle());
  EXPECT_EQ(Band(9), kBlue);
  Click(only.Handle());
  EXPECT_TRUE(links_.empty());
}

}  // namespace

#include "shell/startmenu/SouSuoNet.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/keyboard.h"
#include "shell/startmenu/SearchServices.h"
#include "support/testing.h"

namespace {

using testing_support::WindowText;

TEST(SearchServices, AddressesArePrefixAndQueryUnchanged) {
  const auto& s = SearchServices();
  EXPECT_EQ(SearchAddress(s[3], L"abc"), L"http://www.baidu.com/baidu?wd=abc");
  EXPECT_EQ(SearchAddress(s[3], L""), L"http://www.baidu.com/baidu?wd=");
  EXPECT_EQ(SearchAddress(s[1], L"a b  c"), L"http://www.google.com/search?q=a b  c");
  EXPECT_EQ(SearchAddress(s[0], L"播放器"), L"http://www.onlinedown.net/search.asp?keyword=播放器");
  EXPECT_EQ(SearchAddress(s[2], L"x"), L"http://search.yahoo.com/search/cn?p=x");
  EXPECT_EQ(SearchAddress(s[4], L"x"), L"http://www.gougou.com/search?search=x");
}

class SearchBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    bar_.Destroy();
    DestroyWindow(owner_);
  }
  // Real key strokes through the input queue.
  void Key(WORD key, bool control = false) {
    std::vector<INPUT> input;
    auto add = [&](WORD vk, DWORD flags) {
      INPUT i = {};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = vk;
      i.ki.dwFlags = flags;
      input.push_back(i);
    };
    if (control) add(VK_CONTROL, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (control) add(VK_CONTROL, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    testing_support::PumpFor(50);
  }

  HWND owner_ = nullptr;
  std::vector<std::wstring> opened_;
  std::vector<HWND> owners_;
  SouSuoNet bar_{[this](HWND owner, const std::wstring& address) {
    owners_.push_back(owner);
    opened_.push_back(address);
  }};
};

TEST_F(SearchBarTest, TopmostOutOfTheTaskbarWithItsMenus) {
  bar_.ShowBar(owner_);
  HWND w = bar_.Handle();
  EXPECT_EQ(WindowText(w), L"网络快搜 - Lumora软件");
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(w, GW_OWNER), owner_);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 183);
  EXPECT_EQ(client.bottom, 24);
  EXPECT_NE(SendMessageW(w, WM_GETICON, ICON_SMALL, 0), 0);

  HMENU bar = GetMenu(w);
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  wchar_t text[64];
  const wchar_t* tops[] = {L"软件", L"网页", L"影视"};
  for (int i = 0; i < 3; ++i) {
    GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, tops[i]);
  }
  GetMenuStringW(GetSubMenu(bar, 1), 2, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"百度\tF3");
  GetMenuStringW(GetSubMenu(bar, 0), 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"华军\tCtrl+H");
}

TEST_F(SearchBarTest, ShortcutKeysSearchAndTheBarStaysOpen) {
  bar_.ShowBar(owner_);
  SetForegroundWindow(bar_.Handle());
  SetWindowTextW(bar_.Text1(), L"abc");
  SetFocus(bar_.Text1());
  Key(VK_F3);
  Key(VK_F1);
  Key(VK_F2);
  Key(VK_F4);
  Key('H', true);
  const std::vector<std::wstring> expected = {
      L"http://www.baidu.com/baidu?wd=abc", L"http://www.google.com/search?q=abc",
      L"http://search.yahoo.com/search/cn?p=abc", L"http://www.gougou.com/search?search=abc",
      L"http://www.onlinedown.net/search.asp?keyword=abc"};
  EXPECT_EQ(opened_, expected);
  ASSERT_FALSE(owners_.empty());
  EXPECT_EQ(owners_[0], bar_.Handle());
  EXPECT_TRUE(bar_.Loaded());
  EXPECT_EQ(WindowText(bar_.Text1()), L"abc");
}

TEST_F(SearchBarTest, AClickedItemSearchesAndACloseStartsAnew) {
  bar_.ShowBar(owner_);
  SetWindowTextW(bar_.Text1(), L"电影 名字");
  HMENU films = GetSubMenu(GetMenu(bar_.Handle()), 2);
  SendMessageW(bar_.Handle(), WM_COMMAND, GetMenuItemID(films, 0), 0);
  EXPECT_EQ(opened_, std::vector<std::wstring>{L"http://www.gougou.com/search?search=电影 名字"});
  SendMessageW(bar_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(bar_.Loaded());
  bar_.ShowBar(owner_);
  EXPECT_EQ(WindowText(bar_.Text1()), L"");
  EXPECT_TRUE(GetWindowLongPtrW(bar_.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace

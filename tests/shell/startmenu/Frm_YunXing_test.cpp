#include "shell/startmenu/Frm_YunXing.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/keyboard.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;
using testing_support::WindowText;

struct Started {
  std::wstring commandLine;
  int show;
};

class RunDialogTest : public ::testing::Test {
 protected:
  Frm_YunXing dialog_{[this](const std::wstring& line, int show) {
    started_.push_back({line, show});
  }};
  std::vector<Started> started_;

  RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog_.Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // The picture's size, the text box over the picture's input field.
  void ExpectTextBoxOverThePicturesField() {
    RECT client;
    GetClientRect(dialog_.Handle(), &client);
    EXPECT_EQ(client.right, 348);
    EXPECT_EQ(client.bottom, 148);
    const RECT text = ChildRect(dialog_.Text1());
    EXPECT_EQ(text.left, 69);
    EXPECT_EQ(text.top, 61);
    EXPECT_EQ(text.right - text.left, 265);
    EXPECT_EQ(text.bottom - text.top, 19);
  }
  // A key as the message loop would see it: routed first, then dispatched.
  void Key(WPARAM key) {
    for (UINT message : {WM_KEYDOWN, WM_CHAR, WM_KEYUP}) {
      if (message == WM_CHAR && key != VK_RETURN && key != VK_ESCAPE) continue;
      MSG msg = {GetFocus(), message, message == WM_CHAR ? (key == VK_RETURN ? 13u : 27u) : key,
                 0,          0,       {}};
      if (!common::TranslateKeyboard(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
};

TEST_F(RunDialogTest, LooksLikeTheSystemsRunDialog) {
  dialog_.ShowDialog();
  HWND w = dialog_.Handle();
  ASSERT_TRUE(testing_support::WaitFor([&] { return GetFocus() == dialog_.Text1(); }));
  EXPECT_EQ(WindowText(w), L"系统运行...");
  EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);  // has its own taskbar button
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_THICKFRAME);
  ExpectTextBoxOverThePicturesField();
  const RECT ok = ChildRect(dialog_.Command1());
  EXPECT_EQ(ok.left, 176);
  EXPECT_EQ(ok.top, 112);
  EXPECT_EQ(ok.right - ok.left, 73);
  EXPECT_EQ(ChildRect(dialog_.Command2()).left, 260);
  EXPECT_EQ(WindowText(dialog_.Command1()), L"确定");
  EXPECT_EQ(WindowText(dialog_.Command2()), L"取消");
  EXPECT_EQ(WindowText(dialog_.Label1()),
            L"说明：1.直接按回车，打开本软件所在目录；2.输入两个点，打开本软件的上一级目录");
  EXPECT_EQ(GetFocus(), dialog_.Text1());
}

// At 120 dpi the dialog keeps the picture's pixels: the text box still lies exactly over the
// picture's input field, with the 12-pixel text the field was drawn for.
TEST_F(RunDialogTest, KeepsThePicturesPixelsAt120Dpi) {
  testing_support::DpiOverride dpi(120);
  dialog_.ShowDialog();
  ExpectTextBoxOverThePicturesField();
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog_.Text1(), WM_GETFONT, 0, 0)), sizeof(font),
             &font);
  EXPECT_EQ(font.lfHeight, -12);
}

TEST_F(RunDialogTest, EnterRunsTheTextUnchangedAndTheDialogStays) {
  dialog_.ShowDialog();
  SetWindowTextW(dialog_.Text1(), L"  C:\\Program Files\\工具\\app.exe -x  ");
  SetFocus(dialog_.Text1());
  Key(VK_RETURN);
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0].commandLine,
            L"rundll32.exe url.dll,FileProtocolHandler   C:\\Program Files\\工具\\app.exe -x  ");
  EXPECT_EQ(started_[0].show, SW_SHOWNORMAL);
  EXPECT_TRUE(IsWindowVisible(dialog_.Handle()));
  EXPECT_EQ(WindowText(dialog_.Text1()), L"  C:\\Program Files\\工具\\app.exe -x  ");
}

TEST_F(RunDialogTest, EmptyTextIsRunToo) {
  dialog_.ShowDialog();
  SendMessageW(dialog_.Command1(), BM_CLICK, 0, 0);
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0].commandLine, L"rundll32.exe url.dll,FileProtocolHandler ");
}

TEST_F(RunDialogTest, EscapeDoesNothingCancelCloses) {
  dialog_.ShowDialog();
  SetFocus(dialog_.Text1());
  Key(VK_ESCAPE);
  EXPECT_TRUE(dialog_.Loaded());
  EXPECT_TRUE(started_.empty());
  SendMessageW(dialog_.Command2(), BM_CLICK, 0, 0);
  EXPECT_FALSE(dialog_.Loaded());
}

TEST_F(RunDialogTest, ShownAgainKeepsItsTextAfterACloseStartsEmpty) {
  dialog_.ShowDialog();
  SetWindowTextW(dialog_.Text1(), L"notepad");
  HWND first = dialog_.Handle();
  dialog_.ShowDialog();
  EXPECT_EQ(dialog_.Handle(), first);
  EXPECT_EQ(WindowText(dialog_.Text1()), L"notepad");
  SendMessageW(dialog_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(dialog_.Loaded());
  dialog_.ShowDialog();
  EXPECT_TRUE(dialog_.Loaded());
  EXPECT_EQ(WindowText(dialog_.Text1()), L"");
}

}  // namespace

#include "shell/taskbar/EnumTasks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/handles.h"
#include "common/surface.h"
#include "common/text.h"
#include "shell/taskbar/ModEnumTasks.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;

// A top-level window of the test, with an icon answer chosen per test.
struct IconAnswers {
  HICON small = nullptr, big = nullptr, drag = nullptr;
};

LRESULT CALLBACK IconProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* answers = reinterpret_cast<IconAnswers*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (answers && msg == WM_GETICON)
    return reinterpret_cast<LRESULT>(wParam == ICON_SMALL ? answers->small : answers->big);
  if (answers && msg == WM_QUERYDRAGICON) return reinterpret_cast<LRESULT>(answers->drag);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class TestWindow {
 public:
  TestWindow(const std::wstring& caption, DWORD style, DWORD exStyle, HWND owner = nullptr,
             const wchar_t* className = L"ZephraTaskTest", HICON classIcon = nullptr,
             HICON classSmall = nullptr) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = IconProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    wc.hIcon = classIcon;
    wc.hIconSm = classSmall;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(exStyle, className, caption.c_str(), style, 100, 100, 200, 100, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TestWindow() { DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

bool Listed(const EnumTasks& tasks, HWND window) {
  const int count = std::stoi(tasks.RunningAppCount());
  for (int16_t i = 0; i < count; ++i)
    if (tasks.GetAppHWND(i) == common::HandleToText(window)) return true;
  return false;
}

int16_t PositionOf(const EnumTasks& tasks, HWND window) {
  const int count = std::stoi(tasks.RunningAppCount());
  for (int16_t i = 0; i < count; ++i)
    if (tasks.GetAppHWND(i) == common::HandleToText(window)) return i;
  return -1;
}

TEST(TaskRule, OnRealWindowsOfEachKind) {
  TestWindow plain(L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
  TestWindow tool(L"tool", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW | WS_EX_APPWINDOW);
  TestWindow owned(L"owned", WS_POPUP | WS_VISIBLE, 0, plain.Get());
  TestWindow ownedApp(L"owned app", WS_POPUP | WS_VISIBLE, WS_EX_APPWINDOW, plain.Get());
  TestWindow hidden(L"hidden", WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW);
  TestWindow minimised(L"min", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE, 0);

  EnumTasks tasks;
  tasks.GetWindows();
  EXPECT_TRUE(Listed(tasks, plain.Get()));
  EXPECT_EQ(tasks.GetAppName(PositionOf(tasks, plain.Get())), L"");  // empty caption, still a task
  EXPECT_FALSE(Listed(tasks, tool.Get()));
  EXPECT_FALSE(Listed(tasks, owned.Get()));
  EXPECT_TRUE(Listed(tasks, ownedApp.Get()));
  EXPECT_FALSE(Listed(tasks, hidden.Get()));
  EXPECT_TRUE(Listed(tasks, minimised.Get()));
}

TEST(TaskList, CaptionsAreCutAt254Bytes) {
  TestWindow ascii(std::wstring(300, L'a'), WS_POPUP | WS_VISIBLE, 0);
  TestWindow chinese(std::wstring(20, L'任'), WS_POPUP | WS_VISIBLE, 0);
  TestWindow longChinese(std::wstring(130, L'务'), WS_POPUP | WS_VISIBLE, 0);
  EnumTasks tasks;
  tasks.GetWindows();
  EXPECT_EQ(tasks.GetAppName(PositionOf(tasks, ascii.Get())), std::wstring(254, L'a'));
  EXPECT_EQ(tasks.GetAppName(PositionOf(tasks, chinese.Get())), std::wstring(20, L'任'));
  // 254 bytes hold 127 two-byte characters.
  EXPECT_EQ(tasks.GetAppName(PositionOf(tasks, longChinese.Get())), std::wstring(127, L'务'));
}

TEST(TaskList, FollowsTheStackingOrderAndIsStableBetweenRefreshes) {
  TestWindow back(L"back", WS_POPUP | WS_VISIBLE, 0);
  TestWindow front(L"front", WS_POPUP | WS_VISIBLE, 0);
  EnumTasks tasks;
  tasks.GetWindows();
  EXPECT_LT(PositionOf(tasks, front.Get()), PositionOf(tasks, back.Get()));
  EnumTasks again;
  again.GetWindows();
  EXPECT_EQ(again.RunningAppCount(), tasks.RunningAppCount());
  for (int16_t i = 0; i < std::stoi(tasks.RunningAppCount()); ++i)
    EXPECT_EQ(again.GetAppHWND(i), tasks.GetAppHWND(i));

  SetWindowPos(back.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowTextW(front.Get(), L"renamed");
  // Nothing follows the windows until the next refresh.
  EXPECT_EQ(tasks.GetAppName(PositionOf(tasks, front.Get())), L"front");
  tasks.GetWindows();
  EXPECT_LT(PositionOf(tasks, back.Get()), PositionOf(tasks, front.Get()));
  EXPECT_EQ(tasks.GetAppName(PositionOf(tasks, front.Get())), L"renamed");
}

TEST(TaskList, EmptyAndOutOfRange) {
  EnumTasks tasks;
  EXPECT_EQ(tasks.RunningAppCount(), L"0");
  EXPECT_EQ(tasks.GetAppName(0), L"");
  EXPECT_EQ(tasks.GetAppHWND(-1), L"");
  common::MemorySurface surface;
  surface.Resize(24, 24, 0xFFFFFF);
  tasks.GetIcon(surface.Dc(), 3);  // nothing to draw
  EXPECT_EQ(surface.ColorAt(5, 5), 0xFFFFFFu);
}

// An icon of one colour, 16 x 16 or 32 x 32.
common::IconHandle SolidIcon(int size, COLORREF color) {
  common::MemorySurface image;
  image.Resize(size, size, color);
  common::Bitmap colorBits(static_cast<HBITMAP>(
      CopyImage(GetCurrentObject(image.Dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, 0)));
  std::vector<BYTE> maskBytes(static_cast<size_t>(size * size / 8), 0);  // all opaque
  common::Bitmap mask(CreateBitmap(size, size, 1, 1, maskBytes.data()));
  ICONINFO info = {TRUE, 0, 0, mask.Get(), colorBits.Get()};
  return common::IconHandle(CreateIconIndirect(&info));
}

uint32_t DrawnColor(HWND window) {
  common::MemorySurface surface;
  surface.Resize(24, 24, 0xFFFFFF);
  EnumTasks::DrawIcon(surface.Dc(), window, 0, 0);
  GdiFlush();
  // Inside the 16 x 16 square, and nothing beyond it.
  EXPECT_EQ(surface.ColorAt(20, 20), 0xFFFFFFu);
  return surface.ColorAt(8, 8);
}

TEST(TaskIcons, EachStepOfTheLookupOnTheTestsOwnWindows) {
  common::IconHandle red = SolidIcon(16, RGB(255, 0, 0));
  common::IconHandle green = SolidIcon(32, RGB(0, 255, 0));
  common::IconHandle blue = SolidIcon(32, RGB(0, 0, 255));
  common::IconHandle grey = SolidIcon(16, RGB(128, 128, 128));
  IconAnswers answers;

  TestWindow byMessage(L"m", WS_POPUP, 0, nullptr, L"ZephraIconA");
  SetWindowLongPtrW(byMessage.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&answers));
  answers.small = red.Get();
  answers.big = green.Get();
  EXPECT_EQ(DrawnColor(byMessage.Get()), 0x0000FFu);  // the small icon first
  answers.small = nullptr;
  EXPECT_EQ(DrawnColor(byMessage.Get()), 0x00FF00u);  // then the big one, scaled to 16
  answers.big = nullptr;
  answers.drag = grey.Get();
  EXPECT_EQ(DrawnColor(byMessage.Get()), 0x808080u);  // the drag icon last
  answers.drag = nullptr;
  EXPECT_EQ(DrawnColor(byMessage.Get()), 0xFFFFFFu);  // none: the surface stays as it was

  TestWindow byClass(L"c", WS_POPUP, 0, nullptr, L"ZephraIconB", blue.Get(), nullptr);
  EXPECT_EQ(DrawnColor(byClass.Get()), 0xFF0000u);
  TestWindow bySmallClass(L"s", WS_POPUP, 0, nullptr, L"ZephraIconC", blue.Get(), red.Get());
  EXPECT_EQ(DrawnColor(bySmallClass.Get()), 0x0000FFu);

  EXPECT_EQ(EnumTasks::GetIcons(nullptr), nullptr);
}

}  // namespace

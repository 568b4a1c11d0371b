#include "shell/core/HandleWindows.h"

#include <gtest/gtest.h>

#include "common/screen.h"
#include "support/testing.h"

namespace {

using testing_support::FakeTray;
using testing_support::PumpFor;
using testing_support::WorkArea;
using testing_support::WorkAreaGuard;

constexpr wchar_t kClass[] = L"ZephraHandleWindowsTest";

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) SetPropW(hwnd, L"closed", reinterpret_cast<HANDLE>(1));
  if (message == WM_CLOSE) return 0;  // keep the window to look at it
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class TestWindow {
 public:
  explicit TestWindow(DWORD exStyle = 0, DWORD style = WS_OVERLAPPEDWINDOW) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(exStyle, kClass, L"test", style, 50, 50, 300, 200,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TestWindow() { DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST(WindowCommand, EachCommandOnARealWindow) {
  TestWindow window;
  HWND w = window.Get();

  HandleWindows::WindowCommand(w, HandleWindows::kShow);
  EXPECT_TRUE(IsWindowVisible(w));
  HandleWindows::WindowCommand(w, HandleWindows::kHide);
  EXPECT_FALSE(IsWindowVisible(w));

  HandleWindows::WindowCommand(w, HandleWindows::kMaximizeToFront);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(IsZoomed(w));
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);

  HandleWindows::WindowCommand(w, HandleWindows::kMinimize);
  EXPECT_TRUE(IsIconic(w));

  // Unknown commands leave the window exactly as it is.
  HandleWindows::WindowCommand(w, 5);
  HandleWindows::WindowCommand(w, -1);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetPropW(w, L"closed"), nullptr);

  HandleWindows::WindowCommand(w, HandleWindows::kClose);
  EXPECT_NE(GetPropW(w, L"closed"), nullptr);
}

TEST(WindowCommand, ByClassTouchesTheFirstWindowOfThatClassOnly) {
  TestWindow window;
  HandleWindows::WindowCommandByClass(kClass, HandleWindows::kShow);
  EXPECT_TRUE(IsWindowVisible(window.Get()));
  HandleWindows::WindowCommandByClass(L"NoWindowHasThisClass", HandleWindows::kHide);
  EXPECT_TRUE(IsWindowVisible(window.Get()));
}

TEST(SetWindowAlpha, ReplacesTheWholeExtendedStyle) {
  TestWindow window(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP);
  HandleWindows::SetWindowAlpha(window.Get(), 128);
  EXPECT_EQ(GetWindowLongPtrW(window.Get(), GWL_EXSTYLE) & ~WS_EX_TOPMOST, WS_EX_LAYERED);
  // (The window manager keeps WS_EX_TOPMOST apart from the style bits that are written.)
  EXPECT_FALSE(GetWindowLongPtrW(window.Get(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(window.Get(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
}

class WorkAreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(common::TwipsPerPixelX(), 15.0) << "the test screen runs at 96 dpi";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  }
  WorkAreaGuard guard_;
};

TEST_F(WorkAreaTest, TaskbarAtTheBottomIsMeasuredAndGivenBack) {
  FakeTray tray(30);
  EXPECT_EQ(HandleWindows::GetTrayHeight(), 450);  // twips

  HandleWindows::SetWorkArea(0, 0, 1024, 714);
  EXPECT_EQ(WorkArea().bottom, 714);

  ShowWindow(tray.Handle(), SW_HIDE);
  HandleWindows::RestoreTaskbar(30);
  const RECT area = WorkArea();
  EXPECT_EQ(area.left, 0);
  EXPECT_EQ(area.top, 0);
  EXPECT_EQ(area.right, 1024);
  EXPECT_EQ(area.bottom, 738);
  EXPECT_TRUE(tray.Visible());
  // Shown again where it was, not moved or shrunk.
  EXPECT_EQ(tray.Rect().top, 738);
  EXPECT_EQ(tray.Rect().bottom, 768);
}

TEST_F(WorkAreaTest, TaskbarElsewhereMeasuresZeroAndGivesBackTheFullScreen) {
  FakeTray tray(30);  // (so that the desktop's own taskbar window is left alone)
  RECT full = {0, 30, 1024, 768};  // a taskbar docked at the top
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &full, 0);
  EXPECT_EQ(HandleWindows::GetTrayHeight(), 0);
  HandleWindows::RestoreTaskbar(0);
  const RECT area = WorkArea();
  EXPECT_EQ(area.top, 0);
  EXPECT_EQ(area.bottom, 768);
}

TEST_F(WorkAreaTest, HidingTheTaskbarKeepsItsPlace) {
  FakeTray tray(30);
  HandleWindows::HideTaskbar();
  EXPECT_FALSE(tray.Visible());
  EXPECT_EQ(tray.Rect().top, 738);
  EXPECT_EQ(tray.Rect().right, 1024);
}

TEST_F(WorkAreaTest, TheTaskbarsOfFurtherScreensGoAndComeBackWithTheMainOne) {
  FakeTray tray(30);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Shell_SecondaryTrayWnd";
  RegisterClassW(&wc);
  HWND secondary[2];
  for (HWND& w : secondary)
    w = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 738,
                        1024, 30, nullptr, nullptr, wc.hInstance, nullptr);
  HandleWindows::HideTaskbar();
  for (HWND w : secondary) EXPECT_FALSE(IsWindowVisible(w));
  HandleWindows::RestoreTaskbar(30);
  for (HWND w : secondary) {
    EXPECT_TRUE(IsWindowVisible(w));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.top, 738);  // where it was
    DestroyWindow(w);
  }
}

TEST(MinimizedWindows, HiddenForTheShellAndGivenBackAsTheyWere) {
  MINIMIZEDMETRICS metrics = {};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETMINIMIZEDMETRICS, sizeof(metrics), &metrics, 0));
  const int before = metrics.iArrange;
  auto arrangement = [] {
    MINIMIZEDMETRICS now = {};
    now.cbSize = sizeof(now);
    SystemParametersInfoW(SPI_GETMINIMIZEDMETRICS, sizeof(now), &now, 0);
    return now.iArrange;
  };
  for (const int shown : {ARW_BOTTOMLEFT, ARW_BOTTOMLEFT | ARW_HIDE}) {
    metrics.iArrange = shown;
    SystemParametersInfoW(SPI_SETMINIMIZEDMETRICS, sizeof(metrics), &metrics, 0);
    HandleWindows::HideMinimizedWindows();
    EXPECT_EQ(arrangement(), ARW_BOTTOMLEFT | ARW_HIDE) << shown;
    HandleWindows::RestoreMinimizedWindows();
    EXPECT_EQ(arrangement(), shown);
  }
  metrics.iArrange = before;
  SystemParametersInfoW(SPI_SETMINIMIZEDMETRICS, sizeof(metrics), &metrics, 0);
}

}  // namespace

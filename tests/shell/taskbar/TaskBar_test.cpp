#include "shell/taskbar/TaskBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "common/text.h"
#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"
#include "shell/taskbar/ModEnumTasks.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;

// A top-level window of the test that counts as a task.
class TaskWindow {
 public:
  explicit TaskWindow(const std::wstring& caption, HICON classIcon = nullptr) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = classIcon;
    const std::wstring name =
        L"ZephraTask" + std::to_wstring(reinterpret_cast<uintptr_t>(classIcon));
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, name.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                            100, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TaskWindow() { DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// The tasks on the desktop that are not the test's own, described for a failure message.
std::wstring ForeignTasks() {
  std::wstring text;
  for (const auto& task : ModEnumTasks::EnumerateTasks()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(task.window, &pid);
    if (pid == GetCurrentProcessId()) continue;
    wchar_t cls[128] = {};
    GetClassNameW(task.window, cls, 128);
    text += std::wstring(cls) + L" \"" + task.caption + L"\" ";
  }
  return text;
}

class TaskBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ForeignTasks(), L"") << "the tests' desktop has no tasks but the tests' own";
    host_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 714, 1024,
                            54, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(bar_.Create(host_, 0, 0, 1024));
    bar_.SetButtonClicked([this](int16_t i, int16_t b) { clicks_.push_back({i, b}); });
    bar_.AddButton(1, true, true);
    for (int32_t n = 2; n <= 7; ++n) bar_.AddButton(n, false, true);
    bar_.AddButton(0, false, true);
  }
  void TearDown() override {
    bar_.SubClassOff();
    bar_.Destroy();
    DestroyWindow(host_);
  }

  void Move(int x, int y = 20) { SendMessageW(bar_.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  void Press(UINT message, int x, int y = 20) {
    SendMessageW(bar_.Handle(), message, 0,
                 MAKELPARAM(static_cast<int16_t>(x), static_cast<int16_t>(y)));
  }

  // The strip as a given button should look: background band, then the image drawn in one look.
  void ExpectButtonLooks(int16_t position, int16_t offset, bool enabled, int16_t brightness) {
    const TaskBar_Container& r = bar_.fClassList()[static_cast<size_t>(position - 1)];
    common::MemorySurface expected;
    expected.Resize(bar_.Surface().Width(), bar_.Surface().Height(), 0);
    const SkinRules rules = SkinRules::TaskBar(bar_.TaskBarColor());
    PaintSkin(expected, rules, static_cast<int16_t>(r.Right - r.Left),
              SkinImages::TaskBarBackground(bar_.Style()), r.Left, 0, true, 0);
    PaintSkin(expected, rules, 1, SkinImages::QuickLaunch(r.IconIndex),
              static_cast<int16_t>(r.Left + offset), offset, enabled, brightness);
    if (r.Arrow)
      PaintSkin(expected, rules, 1, SkinImages::ArrowOverlay(),
                static_cast<int16_t>(r.Left + offset), offset, true, 0);
    int differing = 0;
    for (int y = 0; y < 54; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        differing += bar_.Surface().ColorAt(x, y) != expected.ColorAt(x, y);
    EXPECT_EQ(differing, 0) << "button " << position;
  }

  struct Click {
    int16_t index, button;
    bool operator==(const Click&) const = default;
  };
  HWND host_ = nullptr;
  TaskBar bar_;
  std::vector<Click> clicks_;
};

TEST_F(TaskBarTest, TheStripIsItsBorderAndBandAndThePointerReachesTheFixedButtons) {
  EXPECT_EQ(bar_.Height(), 54);
  // The strip's flat look: border columns and the light band between.
  EXPECT_EQ(bar_.Surface().ColorAt(0, 20), 10066329u);
  EXPECT_EQ(bar_.Surface().ColorAt(1023, 20), 10066329u);
  EXPECT_EQ(bar_.Surface().ColorAt(700, 0), 10066329u);
  EXPECT_EQ(bar_.Surface().ColorAt(700, 20), 15132390u);
  EXPECT_EQ(bar_.Layout().FixedButtons().right, bar_.fClassList().back().Right);
  ExpectButtonLooks(2, 0, true, 0);
  Move(60);
  EXPECT_EQ(bar_.HighlightedPosition(), 2);
  ExpectButtonLooks(2, 2, true, 50);
  Move(600);  // away from every button
  EXPECT_EQ(bar_.HighlightedPosition(), -1);
  ExpectButtonLooks(2, 0, true, 0);
}

TEST_F(TaskBarTest, RepaintLeavesEveryButtonNormalAndTheGripWaiting) {
  bar_.SetStyle(TaskBarStyle::Grey3D);  // the new look's band covers the buttons until they are painted again
  bar_.Repaint();
  for (int16_t p = 1; p <= 7; ++p) ExpectButtonLooks(p, 0, true, 0);
  EXPECT_EQ(bar_.HighlightedPosition(), 8);
  bar_.ResetLastButton();  // the next pointer move over the desktop draws the grip
  ExpectButtonLooks(8, 0, true, 0);
  EXPECT_EQ(bar_.HighlightedPosition(), -1);
}

TEST_F(TaskBarTest, OnlyTheReleaseCounts) {
  Press(WM_LBUTTONDOWN, 60);
  ExpectButtonLooks(2, 2, true, 0);  // pressed: moved, colours kept
  Press(WM_LBUTTONUP, 170);          // released over button 4
  Press(WM_LBUTTONDOWN, 60);
  Press(WM_LBUTTONUP, 170, -30);  // above the strip, within button 4's x range
  Press(WM_RBUTTONDOWN, 10);
  Press(WM_RBUTTONUP, 10);
  Press(WM_MBUTTONDOWN, 600);
  Press(WM_MBUTTONUP, 600);  // away from every button: nothing
  const std::vector<Click> expected = {{4, 1}, {4, 1}, {1, 2}};
  EXPECT_EQ(clicks_, expected);
}

TEST_F(TaskBarTest, ClockShowsDateAndTimeAtTheRightEnd) {
  bar_.ClockTick();
  int text = 0;
  for (int y = 5; y < 50; ++y)
    for (int x = 1024 - 60; x < 1024 - 4; ++x) text += bar_.Surface().ColorAt(x, y) != 15132390u;
  EXPECT_GT(text, 30);
  EXPECT_EQ(bar_.Surface().ColorAt(1023, 20), 10066329u);  // the border stays
}

TEST_F(TaskBarTest, FiveTasksStandInTwoRowsInsideTheTaskArea) {
  std::vector<std::unique_ptr<TaskWindow>> windows;
  for (int i = 0; i < 5; ++i)
    windows.push_back(std::make_unique<TaskWindow>(L"任务 " + std::to_wstring(i)));
  bar_.LoadTasks();
  ASSERT_EQ(bar_.Tasks().KnownTaskCount(), 5) << "only the test's own windows are tasks here";
  ASSERT_EQ(bar_.Tasks().ButtonElementCount(), 6);
  const StripLayout::Area area = bar_.Layout().TaskArea();
  std::vector<RECT> places;
  for (int i = 0; i < 5; ++i) {
    RECT r;
    GetWindowRect(bar_.Tasks().TaskButton(i).Handle(), &r);
    MapWindowPoints(nullptr, bar_.Handle(), reinterpret_cast<POINT*>(&r), 2);
    places.push_back(r);
    EXPECT_EQ(r.bottom - r.top, 24) << i;
    EXPECT_GE(r.left, area.left) << i;
    EXPECT_LE(r.right, area.right) << i;
    EXPECT_TRUE(IsWindowVisible(bar_.Tasks().TaskButton(i).Handle())) << i;
  }
  // Three in the first row, two below them, edge to edge from the same left edge.
  EXPECT_EQ(places[0].left, area.left + 2);
  for (int i : {1, 2, 4}) {
    EXPECT_EQ(places[i].left, places[i - 1].right) << i;
    EXPECT_EQ(places[i].top, places[i - 1].top) << i;
  }
  EXPECT_EQ(places[3].left, places[0].left);
  EXPECT_EQ(places[3].top, places[0].bottom);
  EXPECT_FALSE(IsWindowVisible(bar_.Tasks().TaskButton(5).Handle()));  // the spare element
}

// A task window that counts the icon questions it is asked, each class with an icon of its own.
class AskedWindow {
  static constexpr wchar_t kAsked[] = L"asked";

 public:
  AskedWindow(const std::wstring& caption, const wchar_t* className = L"ZephraAskedTask") {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, className, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                            100, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~AskedWindow() { DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }
  int Asked() const { return static_cast<int>(reinterpret_cast<intptr_t>(GetPropW(hwnd_, kAsked))); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETICON) {
      const intptr_t asked = reinterpret_cast<intptr_t>(GetPropW(hwnd, kAsked));
      SetPropW(hwnd, kAsked, reinterpret_cast<HANDLE>(asked + 1));
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  HWND hwnd_;
};

TEST_F(TaskBarTest, APollChangesTheButtonsOfTheWindowsThatChangedAndNoOther) {
  std::vector<std::unique_ptr<AskedWindow>> windows;
  for (const wchar_t* caption : {L"一", L"二", L"三"})
    windows.push_back(std::make_unique<AskedWindow>(caption));
  windows.push_back(std::make_unique<AskedWindow>(L"图标", L"ZephraAskedTask2"));
  bar_.LoadTasks();
  ASSERT_EQ(bar_.Tasks().KnownTaskCount(), 4);
  common::IconHandle other(CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32515))));
  AskedWindow* changed = nullptr;
  const struct {
    const char* what;
    std::function<void()> act;
  } steps[] = {
      {"a window came",
       [&] {
         windows.push_back(std::make_unique<AskedWindow>(L"四"));
         changed = windows.back().get();
       }},
      {"a window was retitled",
       [&] {
         changed = windows[1].get();
         SetWindowTextW(changed->Get(), L"改名");
       }},
      {"its class icon changed",
       [&] {
         changed = windows[3].get();
         SetClassLongPtrW(changed->Get(), GCLP_HICONSM, reinterpret_cast<LONG_PTR>(other.Get()));
       }},
      {"a window went", [&] { windows.erase(windows.begin()); changed = nullptr; }},
  };
  for (const auto& step : steps) {
    // Who has which button, and how often each window was asked for its icon.
    std::vector<std::pair<HWND, HWND>> before;
    for (int i = 0; i < bar_.Tasks().KnownTaskCount(); ++i)
      before.push_back({bar_.Tasks().TaskButton(i).intHWND(), bar_.Tasks().TaskButton(i).Handle()});
    std::map<HWND, int> asked;
    for (const auto& w : windows) asked[w->Get()] = w->Asked();
    step.act();
    const std::string image =
        changed && bar_.Tasks().ButtonOf(changed->Get()) ? bar_.Tasks().ButtonOf(changed->Get())->Image() : "";
    bar_.PollTick();
    bar_.Tasks().FetchIcons();  // what the poll leaves for right after it

    ASSERT_EQ(bar_.Tasks().KnownTaskCount(), static_cast<int>(windows.size())) << step.what;
    ASSERT_EQ(bar_.Tasks().ButtonElementCount(), bar_.Tasks().KnownTaskCount() + 1) << step.what;
    // The buttons that stay keep their window, place in the row and icon; none was made again.
    int position = 0;
    for (const auto& [window, button] : before) {
      if (!IsWindow(window)) continue;
      EXPECT_EQ(bar_.Tasks().TaskButton(position++).Handle(), button) << step.what;
    }
    for (const auto& w : windows) {
      TaskBarButton* button = bar_.Tasks().ButtonOf(w->Get());
      ASSERT_NE(button, nullptr) << step.what;
      EXPECT_TRUE(IsWindowVisible(button->Handle())) << step.what;
      EXPECT_EQ(button->Caption(), testing_support::WindowText(w->Get())) << step.what;
      if (w.get() != changed) {
        EXPECT_EQ(w->Asked(), asked[w->Get()]) << step.what << ": not asked again";
      }
    }
    if (changed == windows[3].get()) {
      EXPECT_NE(bar_.Tasks().ButtonOf(changed->Get())->Image(), image) << step.what << ": its icon";
    }
  }
  // The window that came has the last button.
  EXPECT_EQ(bar_.Tasks().TaskButton(bar_.Tasks().KnownTaskCount() - 1).Caption(), L"四");
}

// The system's word on a window, as a synthetic shell message to the task area's window.
void ShellSays(TaskBar& bar, WPARAM what, HWND window) {
  TaskEvents& events = bar.Tasks().Events();
  SendMessageW(events.Handle(), events.ShellMessage(), what, reinterpret_cast<LPARAM>(window));
}

TEST_F(TaskBarTest, WhatTheSystemSaysOfAWindowReachesItsButtonBeforeThePoll) {
  bar_.LoadTasks();
  KillTimer(bar_.Handle(), TaskBar::kPollTimer);  // only the events may bring the changes
  std::unique_ptr<AskedWindow> window;
  common::IconHandle other(CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32515))));
  std::string image;
  auto windowEvent = [&](DWORD event) {
    bar_.Tasks().Events().OnWindowEvent(event, window->Get(), OBJID_WINDOW, CHILDID_SELF);
  };
  auto button = [&] { return window ? bar_.Tasks().ButtonOf(window->Get()) : nullptr; };
  const struct {
    const char* what;
    std::function<void()> act;
    std::function<bool()> done;
  } cases[] = {
      {"made (window event)",
       [&] {
         window = std::make_unique<AskedWindow>(L"新窗口");
         windowEvent(EVENT_OBJECT_CREATE);
       },
       [&] { return button() && button()->Caption() == L"新窗口" && !button()->Image().empty(); }},
      {"renamed (window event)",
       [&] {
         SetWindowTextW(window->Get(), L"新标题");
         windowEvent(EVENT_OBJECT_NAMECHANGE);
       },
       [&] { return button()->Caption() == L"新标题"; }},
      {"its icon redrawn (shell message)",
       [&] {
         image = button()->Image();
         SendMessageW(window->Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(other.Get()));
         ShellSays(bar_, HSHELL_REDRAW, window->Get());
       },
       [&] { return button()->Image() != image; }},
      {"gone (shell message)",
       [&] {
         ShowWindow(window->Get(), SW_HIDE);
         ShellSays(bar_, HSHELL_WINDOWDESTROYED, window->Get());
       },
       [&] { return bar_.Tasks().KnownTaskCount() == 0; }},
      {"shown again (window event)", [&] { ShowWindow(window->Get(), SW_SHOWNA); windowEvent(EVENT_OBJECT_SHOW); },
       [&] { return bar_.Tasks().KnownTaskCount() == 1; }},
  };
  for (const auto& c : cases) {
    c.act();
    EXPECT_TRUE(testing_support::WaitFor(c.done, 2000)) << c.what;
  }
}

TEST_F(TaskBarTest, AFlashingWindowsButtonShowsTheLitFaceUntilTheWindowIsActivated) {
  TaskWindow flashing(L"请注意"), front(L"前面");
  bar_.LoadTasks();
  KillTimer(bar_.Handle(), TaskBar::kPollTimer);
  auto face = [&] {
    const common::MemorySurface& surface = bar_.Tasks().ButtonOf(flashing.Get())->Surface();
    return surface.ColorAt(surface.Width() - 8, 2);  // the body, clear of icon and caption
  };
  const uint32_t normal = face();
  const struct {
    const char* activated;
    std::function<void()> act;
  } cases[] = {
      {"by the system's word", [&] { ShellSays(bar_, HSHELL_WINDOWACTIVATED, flashing.Get()); }},
      {"found in front by the poll",
       [&] {
         SetForegroundWindow(flashing.Get());
         bar_.PollTick();
       }},
  };
  for (const auto& c : cases) {
    SetForegroundWindow(front.Get());
    ShellSays(bar_, HSHELL_FLASH, flashing.Get());
    EXPECT_TRUE(bar_.Tasks().ButtonOf(flashing.Get())->FlashLit()) << c.activated;
    EXPECT_NE(face(), normal) << c.activated;
    bar_.PollTick();  // another window in front: it goes on
    EXPECT_TRUE(bar_.Tasks().Flashing().Flashing(flashing.Get())) << c.activated;
    c.act();
    EXPECT_FALSE(bar_.Tasks().ButtonOf(flashing.Get())->FlashLit()) << c.activated;
    EXPECT_EQ(face(), normal) << c.activated;
  }
}

TEST_F(TaskBarTest, NoTaskLeftHidesTheLastButton) {
  {
    TaskWindow only(L"唯一");
    bar_.LoadTasks();
    ASSERT_EQ(bar_.Tasks().KnownTaskCount(), 1);
    EXPECT_TRUE(IsWindowVisible(bar_.Tasks().TaskButton(0).Handle()));
  }
  bar_.PollTick();
  EXPECT_EQ(bar_.Tasks().KnownTaskCount(), 0);
  EXPECT_FALSE(IsWindowVisible(bar_.Tasks().TaskButton(0).Handle()));
}

TEST_F(TaskBarTest, ATaskButtonShowsTheWindowsIconAndCaption) {
  HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32515));  // a system icon with colour
  TaskWindow window(L"记事本 - 文档", icon);
  bar_.LoadTasks();
  ASSERT_EQ(bar_.Tasks().KnownTaskCount(), 1);
  TaskBarButton& button = bar_.Tasks().TaskButton(0);
  EXPECT_EQ(button.Caption(), L"记事本 - 文档");
  EXPECT_EQ(button.intHWND(), window.Get());
  EXPECT_EQ(button.OffSet(), 25);
  ASSERT_FALSE(button.Image().empty());
  EXPECT_EQ(button.Image().rfind(" 23,", 0), 0u);  // a 24-row capture
  int iconPixels = 0;
  for (int y = 3; y < 19; ++y)
    for (int x = 9; x < 25; ++x) iconPixels += button.Surface().ColorAt(x, y) != 15132390u;
  EXPECT_GT(iconPixels, 20);
}

TEST_F(TaskBarTest, AClickOnATaskButtonMinimisesAndRestores) {
  TaskWindow window(L"窗口");
  bar_.LoadTasks();
  ASSERT_EQ(bar_.Tasks().KnownTaskCount(), 1);
  HWND button = bar_.Tasks().TaskButton(0).Handle();
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  EXPECT_TRUE(bar_.Tasks().TaskButton(0).Lit());
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
  EXPECT_TRUE(IsIconic(window.Get()));
  EXPECT_FALSE(bar_.Tasks().TaskButton(0).Lit());
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
  EXPECT_TRUE(IsZoomed(window.Get()));
  EXPECT_TRUE(GetWindowLongPtrW(window.Get(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
  EXPECT_TRUE(IsIconic(window.Get()));  // a maximised window is minimised, not restored first
}

TEST_F(TaskBarTest, APollTickInsideAReleaseHandlerWaitsForItToEnd) {
  TaskWindow window(L"窗口");
  bar_.LoadTasks();
  HWND button = bar_.Tasks().TaskButton(0).Handle();
  auto extra = std::make_unique<TaskWindow>(L"新窗口");
  // The tick is already queued when the release arrives; the handler lets it run.
  PostMessageW(bar_.Handle(), WM_TIMER, TaskBar::kPollTimer, 0);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
  EXPECT_EQ(bar_.Tasks().KnownTaskCount(), 1);  // no rebuild under the running handler
  EXPECT_TRUE(IsIconic(window.Get()));
  bar_.PollTick();
  EXPECT_EQ(bar_.Tasks().KnownTaskCount(), 2);
}

TEST_F(TaskBarTest, MovingOntoATaskButtonKeepsTheFixedHighlight) {
  TaskWindow window(L"窗口");
  bar_.LoadTasks();
  Move(60);
  SendMessageW(bar_.Tasks().TaskButton(0).Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(bar_.HighlightedPosition(), 2);
}

TEST_F(TaskBarTest, LongCaptionsAreClippedWithoutEllipsis) {
  TaskWindow window(std::wstring(120, L'W'));
  bar_.LoadTasks();
  const common::MemorySurface& face = bar_.Tasks().TaskButton(0).Surface();
  const int width = face.Width();
  int textInMargin = 0, textBefore = 0;
  for (int y = 4; y < 20; ++y) {
    for (int x = width - 4; x < width - 2; ++x) textInMargin += face.ColorAt(x, y) != 15132390u;
    for (int x = width - 30; x < width - 4; ++x) textBefore += face.ColorAt(x, y) != 15132390u;
  }
  EXPECT_EQ(textInMargin, 0);
  EXPECT_GT(textBefore, 20);  // text runs right up to the margin: no "..." and no gap
}

TEST_F(TaskBarTest, TheThreeDLookMakesTallerTaskButtons) {
  bar_.SetStyle(TaskBarStyle::Grey3D);
  EXPECT_EQ(bar_.Surface().ColorAt(700, 0), 8947848u);
  TaskWindow a(L"a"), b(L"b"), c(L"c");
  bar_.LoadTasks();
  ASSERT_EQ(bar_.Tasks().KnownTaskCount(), 3);
  RECT r;
  GetWindowRect(bar_.Tasks().TaskButton(2).Handle(), &r);
  MapWindowPoints(nullptr, bar_.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.bottom - r.top, 27);
  EXPECT_EQ(r.top, 32);  // reaches below the strip and is cut off
  // The corners of the 3D face show the surface's own colour.
  EXPECT_EQ(bar_.Tasks().TaskButton(0).Surface().ColorAt(0, 0), TaskBarButton::kBackColor);
}

// At 120 and 144 dpi the strip stays as high as its images and the task buttons of both looks
// keep their pixel heights and rows, their captions inside the face.
class TaskBarAtDpi : public TaskBarTest, public ::testing::WithParamInterface<int> {
 protected:
  TaskBarAtDpi() : dpi_(GetParam()) {}
  testing_support::DpiOverride dpi_;
};

TEST_P(TaskBarAtDpi, StripAndTaskButtonsKeepTheirPixelHeights) {
  RECT strip;
  GetClientRect(bar_.Handle(), &strip);
  EXPECT_EQ(strip.bottom, 54);
  EXPECT_EQ(bar_.Surface().Height(), 54);
  const struct {
    int16_t style;
    int height;
  } looks[] = {{1, 24}, {0, 27}};
  for (const auto& look : looks) {
    bar_.SetStyle(look.style);
    std::vector<std::unique_ptr<TaskWindow>> windows;
    for (int i = 0; i < 5; ++i) windows.push_back(std::make_unique<TaskWindow>(L"Wg 任务"));
    bar_.LoadTasks();
    ASSERT_EQ(bar_.Tasks().KnownTaskCount(), 5);
    for (int i = 0; i < 5; ++i) {
      const TaskBarButton& button = bar_.Tasks().TaskButton(i);
      RECT r;
      GetWindowRect(button.Handle(), &r);
      MapWindowPoints(nullptr, bar_.Handle(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ(r.top, i < 3 ? 5 : 5 + look.height) << look.style << " " << i;
      EXPECT_EQ(r.bottom - r.top, look.height) << look.style << " " << i;
      EXPECT_EQ(button.Surface().Height(), look.height) << look.style << " " << i;
    }
    // The row ends left of the clock's share of the strip, which grows with its text.
    RECT rowEnd;
    GetWindowRect(bar_.Tasks().TaskButton(2).Handle(), &rowEnd);
    MapWindowPoints(nullptr, bar_.Handle(), reinterpret_cast<POINT*>(&rowEnd), 2);
    EXPECT_LE(rowEnd.right, 1024 - (GetParam() == 120 ? 188 : 225)) << look.style;
    // The caption (black) lies between the face's first and last rows.
    const common::MemorySurface& face = bar_.Tasks().TaskButton(0).Surface();
    int first = -1, last = -1;
    for (int y = 0; y < face.Height(); ++y)
      for (int x = 29; x < face.Width() - 4; ++x)
        if (face.ColorAt(x, y) == 0) {
          if (first < 0) first = y;
          last = y;
        }
    EXPECT_GT(first, 0) << look.style;
    EXPECT_LT(last, look.height - 1) << look.style;
    windows.clear();
    bar_.LoadTasks();  // no task left: the next look's buttons are made anew
  }
}

INSTANTIATE_TEST_SUITE_P(LargerSettings, TaskBarAtDpi, ::testing::Values(120, 144));

// Calls the taskbar's Repaint from among the events that a rebuild or a release lets run.
class RepaintPoker {
 public:
  explicit RepaintPoker(TaskBar& bar) : bar_(bar) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZephraRepaintPoker";
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~RepaintPoker() { DestroyWindow(hwnd_); }
  void PokeSoon() { PostMessageW(hwnd_, WM_APP, 0, 0); }
  int poked = 0;
  int highlightedRightAfter = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<RepaintPoker*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_APP && self) {
      ++self->poked;
      self->bar_.Repaint();
      self->highlightedRightAfter = self->bar_.HighlightedPosition();
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  TaskBar& bar_;
  HWND hwnd_ = nullptr;
};

TEST_F(TaskBarTest, ARepaintAskedForWhileEventsRunWaitsForTheRebuildOrReleaseToEnd) {
  TaskWindow a(L"a"), b(L"b");
  RepaintPoker poker(bar_);
  const struct {
    const char* during;
    std::function<void()> act;
  } cases[] = {
      {"a rebuild", [&] { bar_.LoadTasks(); }},
      {"a release",
       [&] {
         HWND button = bar_.Tasks().TaskButton(1).Handle();
         SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
         SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
       }},
  };
  for (const auto& c : cases) {
    bar_.LoadTasks();
    bar_.ResetLastButton();
    poker.poked = 0;
    poker.PokeSoon();
    c.act();
    EXPECT_EQ(poker.poked, 1) << c.during;
    EXPECT_EQ(poker.highlightedRightAfter, -1) << c.during << ": not repainted under it";
    EXPECT_EQ(bar_.Tasks().ReleasesRunning(), 0) << c.during;
    EXPECT_TRUE(testing_support::WaitFor([&] { return bar_.HighlightedPosition() == 8; }))
        << c.during << ": repainted afterwards";
    EXPECT_EQ(bar_.Tasks().ButtonElementCount(), 3) << c.during;
  }
  ShowWindow(a.Get(), SW_RESTORE);
  ShowWindow(b.Get(), SW_RESTORE);
}

}  // namespace

#include "shell/taskbar/FrmTaskBarMenu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/testing.h"

namespace {

using testing_support::PumpFor;

BYTE Alpha(HWND w) {
  BYTE alpha = 0;
  GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr);
  return alpha;
}

RECT PlaceOf(HWND w) {
  RECT r = {};
  GetWindowRect(w, &r);
  return r;
}

class TaskBarMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 714, 1024,
                            54, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(bar_.Create(host_, 0, 0, 1024));
    bar_.AddButton(1, true, true);
    for (int32_t n = 2; n <= 7; ++n) bar_.AddButton(n, false, true);
    bar_.AddButton(0, false, true);
    bar_.SetButtonClicked([this](int16_t i, int16_t b) { clicks_.push_back(i * 10 + b); });
    bar_.SetMenu(&menu_);
  }
  void TearDown() override {
    menu_.Unload();
    bar_.SubClassOff();
    bar_.Destroy();
    DestroyWindow(host_);
  }
  void RightClick(int x) {
    SendMessageW(bar_.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, 20));
    SendMessageW(bar_.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(x, 20));
  }

  HWND host_ = nullptr;
  TaskBar bar_;
  std::vector<std::wstring> messages_;
  std::vector<int> clicks_;
  FrmTaskBarMenu menu_{bar_, [this](const std::wstring& text) { messages_.push_back(text); }};
};

TEST_F(TaskBarMenuTest, SixStackedEntriesMadeAtTheFirstRightClick) {
  EXPECT_EQ(menu_.Handle(), nullptr);
  RightClick(500);
  ASSERT_NE(menu_.Handle(), nullptr);
  const struct {
    const wchar_t* caption;
    bool capTop, capBottom;
  } entries[] = {
      {L"自定义颜色", true, true}, {L"Zephra", false, false}, {L"立体灰", false, false},
      {L"XP蓝色", false, false},   {L"XP绿色", false, false}, {L"XP银色", false, true},
  };
  const RECT window = PlaceOf(menu_.Handle());
  int bottom = window.top;
  for (int i = 0; i < FrmTaskBarMenu::kEntries; ++i) {
    MenuButton& entry = menu_.Button(i);
    EXPECT_EQ(entry.Caption(), entries[i].caption) << i;
    EXPECT_EQ(entry.CapTop(), entries[i].capTop) << i;
    EXPECT_EQ(entry.CapBottom(), entries[i].capBottom) << i;
    const RECT r = PlaceOf(entry.Handle());
    EXPECT_EQ(r.top, bottom) << i << ": edge to edge";
    EXPECT_EQ(r.right - r.left, window.right - window.left) << i;
    EXPECT_TRUE(entry.PointerTracking()) << i;
    bottom = r.bottom;
  }
  EXPECT_EQ(bottom, window.bottom);
  EXPECT_EQ(window.right - window.left, 120);
  // Not in any task list: owned, without WS_EX_APPWINDOW.
  EXPECT_NE(GetWindow(menu_.Handle(), GW_OWNER), nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(menu_.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(TaskBarMenuTest, OpensAboveTheStripAtThePointerInsideTheScreenAndFadesIn) {
  const struct {
    int x, left;
  } cases[] = {{500, 500}, {0, 0}, {904, 904}, {1000, 904}, {1023, 904}};
  for (const auto& c : cases) {
    RightClick(c.x);
    const RECT r = PlaceOf(menu_.Handle());
    EXPECT_EQ(r.left, c.left) << c.x;
    EXPECT_EQ(r.bottom, 714) << c.x;
    EXPECT_TRUE(IsWindowVisible(menu_.Handle())) << c.x;
    EXPECT_EQ(Alpha(menu_.Handle()), 255) << c.x;
  }
  // A right click on the start button also draws it pressed and reports its release.
  EXPECT_EQ(clicks_, std::vector<int>{});
  RightClick(20);
  EXPECT_EQ(clicks_, std::vector<int>{12});
}

TEST_F(TaskBarMenuTest, FadeInRunsSixteenStepsFromOneHundred) {
  std::vector<int> steps;
  // A clock that is never behind: every step is shown.
  auto now = std::make_shared<DWORD>(0);
  menu_.Fade().SetClock({[now] { return *now; }, [now](DWORD ms) { *now += ms; }});
  menu_.Fade().onStep = [&](int alpha) { steps.push_back(alpha); };
  RightClick(300);
  std::vector<int> expected = {0};
  for (int a = 100; a <= 250; a += 10) expected.push_back(a);
  expected.push_back(255);
  EXPECT_EQ(steps, expected);
}

TEST_F(TaskBarMenuTest, AnEntryActsOnTheLeftButtonGoingDownAndHidesTheMenu) {
  const struct {
    int entry;
    const wchar_t* message;  // null: the look changes
    int32_t style;
  } cases[] = {
      {0, L"自定义功能完善中...", 1},
      {2, nullptr, 0},
      {2, nullptr, 0},  // the active look chosen again: rebuilt all the same
      {3, L"XP蓝色功能完善中...", 0},
      {4, L"XP绿色功能完善中...", 0},
      {5, L"XP银色功能完善中...", 0},
      {1, nullptr, 1},
  };
  for (const auto& c : cases) {
    RightClick(400);
    messages_.clear();
    bar_.ResetLastButton();
    SendMessageW(menu_.Button(c.entry).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    EXPECT_FALSE(IsWindowVisible(menu_.Handle())) << c.entry;
    EXPECT_EQ(messages_,
              c.message ? std::vector<std::wstring>{c.message} : std::vector<std::wstring>{})
        << c.entry;
    EXPECT_EQ(bar_.Style(), c.style) << c.entry;
    EXPECT_EQ(bar_.Tasks().TaskButton(0).Style(), c.style) << c.entry;
    // A rebuild ends with the grip as the highlighted position.
    EXPECT_EQ(bar_.HighlightedPosition(), c.message ? -1 : 8) << c.entry;
  }
}

TEST_F(TaskBarMenuTest, UnloadStopsTheEntriesAndDestroysTheWindow) {
  RightClick(400);
  HWND window = menu_.Handle();
  menu_.Unload();
  EXPECT_FALSE(IsWindow(window));
  for (int i = 0; i < FrmTaskBarMenu::kEntries; ++i)
    EXPECT_FALSE(menu_.Button(i).PointerTracking()) << i;
}

}  // namespace

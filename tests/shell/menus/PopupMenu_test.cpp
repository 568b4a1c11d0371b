#include "shell/menus/PopupMenu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

RECT PlaceOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

// A menu of three entries, as the shell's menus are made: from a table.
class ThreeEntries : public PopupMenu {
 public:
  ThreeEntries() : PopupMenu({L"ZephraPopupProbe", L"probe", kSmallMenuFadeIn, kSmallMenuFadeOut}) {}
  ~ThreeEntries() override { Destroy(); }
  std::vector<int16_t> pressed;

 protected:
  void LoadContent() override {
    MenuButton::Events events;
    events.MouseDown = [this](int16_t i) { pressed.push_back(i); };
    StackEntries({{L"一", true, true}, {L"二", false, false, true, 3}, {L"三", false, true}}, 1800,
                 events);
  }
};

TEST(PopupMenu, EntriesFromTheTableStandEdgeToEdgeAndFillTheWindow) {
  ThreeEntries menu;
  ASSERT_TRUE(menu.Load());
  ASSERT_EQ(menu.EntryCount(), 3);
  const RECT window = PlaceOf(menu.Handle());
  int bottom = window.top;
  for (int i = 0; i < menu.EntryCount(); ++i) {
    const RECT entry = PlaceOf(menu.Button(i).Handle());
    EXPECT_EQ(entry.top, bottom) << i;
    EXPECT_EQ(entry.left, window.left) << i;
    EXPECT_EQ(entry.right, window.right) << i;
    EXPECT_TRUE(menu.Button(i).PointerTracking()) << i;
    bottom = entry.bottom;
  }
  EXPECT_EQ(bottom, window.bottom);
  EXPECT_TRUE(menu.Button(1).Arrow());
  EXPECT_EQ(menu.Button(1).Icon(), 3);
  SendMessageW(menu.Button(2).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(menu.pressed, std::vector<int16_t>{2});
}

TEST(PopupMenu, KeptOutOfTaskListsNeverActivatedAndUnloadedWithItsEntries) {
  ThreeEntries menu;
  ASSERT_TRUE(menu.Load());
  HWND w = menu.Handle();
  EXPECT_NE(menu.Owner(), nullptr);
  EXPECT_FALSE(IsWindowVisible(menu.Owner()));
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_EQ(SendMessageW(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(w),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  menu.Move(1500, 3000);
  EXPECT_EQ(PlaceOf(w).left, 100);
  EXPECT_EQ(PlaceOf(w).top, 200);
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(menu.Entry(0), nullptr);
  EXPECT_FALSE(menu.Button(0).PointerTracking());
}

// The fade's steps follow a clock: a machine that is fast waits between them, a slow one leaves
// out the steps whose time has passed; either way the fade takes its duration.
TEST(MenuFade, StepsArePacedByTimeNotByTheMachine) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  const MenuFade::Steps in = PopupMenu::kSmallMenuFadeIn;  // 100 ... 250 by 10, then 255
  const struct {
    const char* machine;
    DWORD msPerStep;  // what setting one step costs
    int minSteps, maxSteps;
  } cases[] = {{"fast", 0, 16, 16}, {"slow", 11, 4, 8}};
  for (const auto& c : cases) {
    DWORD now = 1000;
    DWORD waited = 0;
    MenuFade fade(in, PopupMenu::kSmallMenuFadeOut);
    fade.SetClock({[&] { return now; },
                   [&](DWORD ms) {
                     waited += ms;
                     now += ms;
                   }});
    std::vector<int> steps;
    fade.onStep = [&](int alpha) {
      steps.push_back(alpha);
      now += c.msPerStep;
    };
    fade.FadeIn(window);
    ASSERT_GE(steps.size(), 3u) << c.machine;
    EXPECT_EQ(steps.front(), 0) << c.machine << ": hidden at first";
    EXPECT_EQ(steps.back(), 255) << c.machine;
    const std::vector<int> shown(steps.begin() + 1, steps.end() - 1);
    EXPECT_GE(static_cast<int>(shown.size()), c.minSteps) << c.machine;
    EXPECT_LE(static_cast<int>(shown.size()), c.maxSteps) << c.machine;
    for (size_t i = 0; i < shown.size(); ++i) {
      EXPECT_EQ((shown[i] - in.first) % in.step, 0) << c.machine << " " << shown[i];
      if (i > 0) {
        EXPECT_GT(shown[i], shown[i - 1]) << c.machine;
      }
    }
    EXPECT_EQ(shown.front(), 100) << c.machine;
    if (c.msPerStep == 0) {
      EXPECT_GE(waited, in.durationMs) << c.machine;
      EXPECT_LE(waited, in.durationMs + 4) << c.machine;
    } else {
      EXPECT_EQ(waited, 0u) << c.machine << ": never waits when behind";
    }
  }
  DestroyWindow(window);
}

}  // namespace

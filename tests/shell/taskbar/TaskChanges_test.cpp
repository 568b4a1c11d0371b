#include "shell/taskbar/TaskChanges.h"

#include <gtest/gtest.h>

#include "shell/taskbar/FlashingTasks.h"

namespace {

using Task = ModEnumTasks::Task;
using Kept = TaskChanges::Kept;

HWND W(uintptr_t n) { return reinterpret_cast<HWND>(n); }
HICON I(uintptr_t n) { return reinterpret_cast<HICON>(n); }

TEST(TaskChanges, OnlyWhatChangedIsNamed) {
  const std::vector<Task> shown = {{W(1), L"一", I(7)}, {W(2), L"二", I(7)}, {W(3), L"三", I(7)}};
  const struct {
    const char* what;
    std::vector<Task> now;
    std::vector<size_t> gone = {}, come = {};
    std::vector<Kept> retitled = {}, reiconed = {};
  } cases[] = {
      // The stacking order changes at every activation: it is no change of the buttons.
      {"same windows, other order", {{W(3), L"三", I(7)}, {W(1), L"一", I(7)}, {W(2), L"二", I(7)}}},
      {"one came, listed first",
       {{W(9), L"新", I(7)}, {W(1), L"一", I(7)}, {W(2), L"二", I(7)}, {W(3), L"三", I(7)}},
       {},
       {0}},
      {"two went", {{W(2), L"二", I(7)}}, {0, 2}},
      {"retitled and a new icon",
       {{W(2), L"改名", I(7)}, {W(1), L"一", I(7)}, {W(3), L"三", I(8)}},
       {},
       {},
       {{1, 0}},
       {{2, 2}}},
      // A window gone while another came between two looks: the count alone would not tell.
      {"one went, one came", {{W(1), L"一", I(7)}, {W(4), L"四", I(7)}, {W(3), L"三", I(7)}},
       {1},
       {1}},
      {"all went", {}, {0, 1, 2}},
  };
  for (const auto& c : cases) {
    const TaskChanges changes = CompareTasks(shown, c.now);
    EXPECT_EQ(changes.gone, c.gone) << c.what;
    EXPECT_EQ(changes.come, c.come) << c.what;
    EXPECT_EQ(changes.retitled, c.retitled) << c.what;
    EXPECT_EQ(changes.reiconed, c.reiconed) << c.what;
    EXPECT_EQ(changes.Any(), !c.gone.empty() || !c.come.empty() || !c.retitled.empty() ||
                                 !c.reiconed.empty())
        << c.what;
  }
  EXPECT_EQ(CompareTasks({}, shown).come, (std::vector<size_t>{0, 1, 2}));
}

TEST(FlashingTasks, LitHalfASecondThenNormalUntilStopped) {
  FlashingTasks flashing;
  const DWORD start = 0xFFFFFF00;  // the tick count wraps during the flash
  flashing.Start(W(1), start);
  flashing.Start(W(1), start + 300);  // asking again keeps the rhythm
  const struct {
    DWORD after;
    bool lit;
  } phases[] = {{0, true}, {499, true}, {500, false}, {999, false}, {1000, true}, {2600, false}};
  for (const auto& p : phases) EXPECT_EQ(flashing.LitAt(W(1), start + p.after), p.lit) << p.after;
  EXPECT_FALSE(flashing.LitAt(W(2), start));

  flashing.Start(W(2), start);
  flashing.KeepOnly([](HWND w) { return w != W(2); });  // gone
  EXPECT_FALSE(flashing.Flashing(W(2)));
  flashing.Stop(W(1));  // activated
  EXPECT_FALSE(flashing.Any());
  EXPECT_FALSE(flashing.LitAt(W(1), start));
}

}  // namespace

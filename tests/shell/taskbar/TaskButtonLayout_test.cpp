#include "shell/taskbar/TaskButtonLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

std::vector<TaskButtonLayout::Place> Lay(int count, int stripWidth = 1024, int16_t height = 24) {
  TaskButtonLayout layout;
  layout.Begin({376, stripWidth - 150}, count);  // the clock's share at 96 dpi
  std::vector<TaskButtonLayout::Place> places;
  for (int i = 0; i < count; ++i) places.push_back(layout.Next(count, height));
  return places;
}

TEST(TaskButtonLayout, FiveTasksOnA1024PixelStrip) {
  const auto p = Lay(5);
  const int lefts[] = {378, 534, 690, 378, 534};
  const int tops[] = {5, 5, 5, 29, 29};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(p[i].left, lefts[i]) << i;
    EXPECT_EQ(p[i].top, tops[i]) << i;
    EXPECT_EQ(p[i].width, 156) << i;
  }
}

TEST(TaskButtonLayout, OneAndTwoTasks) {
  const auto one = Lay(1);
  EXPECT_EQ(one[0].width, 498 - 30);
  EXPECT_EQ(one[0].top, 5);
  const auto two = Lay(2);
  EXPECT_EQ(two[0].width, 468);
  EXPECT_EQ(two[1].width, 468);
  EXPECT_EQ(two[0].top, 5);
  EXPECT_EQ(two[1].top, 29);  // the second one starts the second row
  EXPECT_EQ(two[1].left, 378);
}

TEST(TaskButtonLayout, ManyTasksNeverMakeAThirdRow) {
  for (int count : {7, 20, 31, 40, 60}) {
    std::set<int> tops;
    for (const auto& place : Lay(count)) tops.insert(place.top);
    EXPECT_LE(tops.size(), 2u) << count;
    EXPECT_EQ(*tops.begin(), 5) << count;
  }
  // Narrower than 30 pixels: the first row takes more than half.
  const auto p = Lay(40);
  int first = 0;
  for (const auto& place : p) first += place.top == 5;
  EXPECT_GT(first, 20);
}

TEST(TaskButtonLayout, TheThreeDLookIsTallerSoItsSecondRowStartsLower) {
  const auto p = Lay(4, 1024, 27);
  EXPECT_EQ(p[2].top, 32);
}

}  // namespace

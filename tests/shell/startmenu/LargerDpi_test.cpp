// The start menu and a submenu at 120 and 144 dpi: entries stand edge to edge and each is painted
// down to its last row; the submenu sits 2 pixels above its entry and 5 pixels into the menu.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/screen.h"
#include "shell/startmenu/FrmStartMenu.h"
#include "shell/startmenu/SubMenu_KSZ.h"
#include "support/testing.h"

namespace {

using testing_support::DpiOverride;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

constexpr uint32_t kOuterEdge = 6052956;  // the right edge column of body and separators

RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

// Entries of a column: each starts where the one above ends, is `heights[i]` pixels high and
// shows the skin's outer edge in every row of its right edge (an unpainted row is black).
template <typename Column>
void ExpectEdgeToEdge(Column& column, const std::vector<int>& heights, int width) {
  const int top = ScreenRect(column.Handle()).top;
  int y = top;
  for (size_t i = 0; i < heights.size(); ++i) {
    const MenuButton& b = column.Button(static_cast<int>(i));
    const RECT r = ScreenRect(b.Handle());
    EXPECT_EQ(r.top, y) << i;
    EXPECT_EQ(r.bottom - r.top, heights[i]) << i;
    EXPECT_EQ(r.right - r.left, width) << i;
    ASSERT_EQ(b.Surface().Height(), heights[i]) << i;
    for (int row = 0; row < heights[i]; ++row)
      EXPECT_EQ(b.Surface().ColorAt(width - 1, row), kOuterEdge) << i << " row " << row;
    y = r.bottom;
  }
  EXPECT_EQ(ScreenRect(column.Handle()).bottom, y);
}

class StartMenuAtDpi : public ::testing::TestWithParam<int> {
 protected:
  StartMenuAtDpi() : dpi_(GetParam()) {}
  void SetUp() override {
    SetCursorPos(900, 100);
    ini_.path = folder_.File(L"SysInfo.ini");
    WriteFileBytes(ini_.path, "[Zephra]\r\n");
    menu_ = std::make_unique<FrmStartMenu>(ini_, FrmStartMenu::Services{});
    ASSERT_TRUE(menu_->Load());
    // As the desktop places it on a 1024 x 768 screen: bottom edge on the 54-pixel strip.
    menu_->SetLeft(0);
    menu_->SetTop(common::PixelsToTwipsY(768 - 54) - menu_->ScaleHeight());
  }
  void TearDown() override { menu_.reset(); }

  DpiOverride dpi_;
  TempFolder folder_;
  rwini::IniFile ini_;
  std::unique_ptr<FrmStartMenu> menu_;
};

TEST_P(StartMenuAtDpi, EntriesStandEdgeToEdgeWithoutBands) {
  const std::vector<int> heights = {29, 25, 25, 25, 25, 25, 25, 25, 25,
                                    25, 25, 25, 25, 25, 25, 29, 25, 27};
  const int width = common::TwipsToPixelsX(FrmStartMenu::kEntryWidth);
  EXPECT_EQ(width, GetParam() == 120 ? 242 : 291);
  ExpectEdgeToEdge(*menu_, heights, width);
  const RECT place = ScreenRect(menu_->Handle());
  EXPECT_EQ(place.bottom, 714);
  EXPECT_EQ(place.bottom - place.top, 460);
}

TEST_P(StartMenuAtDpi, SubmenuTwoPixelsAboveItsEntryFivePixelsIntoTheMenu) {
  menu_->ShowForm();
  menu_->Button_MouseOver(3);
  auto& sub = static_cast<SubMenu_KSZ&>(menu_->xForm());
  const RECT menu = ScreenRect(menu_->Handle());
  const RECT r = ScreenRect(sub.Handle());
  EXPECT_EQ(r.top, ScreenRect(menu_->Button(3).Handle()).top - 2);
  EXPECT_EQ(r.left, menu.right - 5);
  ExpectEdgeToEdge(sub, {29, 25, 25, 25, 25, 27}, common::TwipsToPixelsX(SubMenu_KSZ::kEntryWidth));
}

INSTANTIATE_TEST_SUITE_P(LargerSettings, StartMenuAtDpi, ::testing::Values(120, 144));

}  // namespace

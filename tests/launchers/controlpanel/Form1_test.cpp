#include "launchers/controlpanel/Form1.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/screen.h"
#include "support/controls.h"
#include "support/testing.h"

namespace {

using testing_support::PlaceInParent;
using testing_support::PumpFor;
using testing_support::WindowText;

struct Recorder {
  std::vector<std::pair<std::wstring, int>> started;
  std::vector<std::wstring> shown;
  int quits = 0;
  bool fail = false;

  palomid::PalomidServices Services() {
    palomid::PalomidServices s;
    s.startCommand = [this](const std::wstring& commandLine, int windowStyle) {
      started.emplace_back(commandLine, windowStyle);
      common::StartResult result;
      result.started = !fail;
      result.error = fail ? ERROR_FILE_NOT_FOUND : 0;
      return result;
    };
    s.showError = [this](HWND, const std::wstring& text, const std::wstring&) {
      shown.push_back(text);
    };
    s.quit = [this] { ++quits; };
    return s;
  }
};

struct ButtonPlace {
  const wchar_t* caption;
  int left, top;
};

// Pixels on a 96-dpi screen: 1330 x 400 twips make 89 x 27.
const ButtonPlace kButtons[13] = {
    {L"Palomid", 12, 16},  {L"辅助选项", 12, 64},    {L"显示", 12, 96},
    {L"键盘", 12, 128},    {L"鼠标", 12, 160},       {L"声音", 12, 192},
    {L"背景", 128, 64},    {L"外观", 128, 96},       {L"屏幕保护", 128, 128},
    {L"设置", 128, 160},   {L"日期/时间", 248, 144}, {L"拨号连接", 248, 64},
    {L"IE设置", 248, 104},
};

class PalomidWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_DOUBLE_EQ(common::TwipsPerPixelX(), 15.0) << "the tests' screen has 96 dpi";
    form_ = std::make_unique<palomid::Form1>(recorder_.Services());
    ASSERT_TRUE(form_->Load(SW_SHOWNORMAL));
    PumpFor(30);
  }

  Recorder recorder_;
  std::unique_ptr<palomid::Form1> form_;
};

TEST_F(PalomidWindowTest, WindowHasItsTitleFrameAndClientSize) {
  EXPECT_EQ(WindowText(form_->Handle()), L"Palomid - LumoraShell");
  const LONG_PTR style = GetWindowLongPtrW(form_->Handle(), GWL_STYLE);
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  RECT client;
  GetClientRect(form_->Handle(), &client);
  EXPECT_EQ(client.right, 355);
  EXPECT_EQ(client.bottom, 234);
}

TEST_F(PalomidWindowTest, ThirteenButtonsStandAtTheirPlacesInIndexOrder) {
  std::vector<HWND> buttons;
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(i);
    HWND button = form_->Command1(i);
    ASSERT_NE(button, nullptr);
    buttons.push_back(button);
    EXPECT_EQ(WindowText(button), kButtons[i].caption);
    const RECT r = PlaceInParent(button);
    EXPECT_EQ(r.left, kButtons[i].left);
    EXPECT_EQ(r.top, kButtons[i].top);
    EXPECT_EQ(r.right - r.left, 89);
    EXPECT_EQ(r.bottom - r.top, 27);
  }
  EXPECT_EQ(form_->Command1(13), nullptr);
  EXPECT_EQ(GetFocus(), buttons[0]);
  EXPECT_EQ(testing_support::TabOrder(form_->Handle(), buttons[0]), buttons);
}

TEST_F(PalomidWindowTest, ThreeFramesAreDrawnAroundTheColumns) {
  // Also after the window was minimised and restored.
  ShowWindow(form_->Handle(), SW_MINIMIZE);
  ShowWindow(form_->Handle(), SW_RESTORE);
  const common::MemorySurface& surface = form_->Surface();
  ASSERT_TRUE(testing_support::WaitFor([&] { return surface.Width() == 355; }));
  const uint32_t line = GetSysColor(COLOR_WINDOWTEXT), face = GetSysColor(COLOR_BTNFACE);
  // Left 120, 1800, 3600 twips; top 120; widths 1455, 1575, 1575; height 3255.
  const int lefts[3] = {8, 120, 240}, widths[3] = {97, 105, 105};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const int left = lefts[k], right = lefts[k] + widths[k] - 1, top = 8, bottom = 8 + 217 - 1;
    EXPECT_EQ(surface.ColorAt(left, 100), line);
    EXPECT_EQ(surface.ColorAt(right, 100), line);
    EXPECT_EQ(surface.ColorAt(left + 50, top), line);
    EXPECT_EQ(surface.ColorAt(left + 50, bottom), line);
    EXPECT_EQ(surface.ColorAt(left - 1, 100), face);
    EXPECT_EQ(surface.ColorAt(right + 1, 100), face);
    EXPECT_EQ(surface.ColorAt(left + 1, 100), face);
    EXPECT_EQ(surface.ColorAt(left + 50, bottom + 1), face);
  }
}

TEST_F(PalomidWindowTest, EachButtonStartsTheCommandOfItsIndex) {
  for (int i = 0; i < 13; ++i) SendMessageW(form_->Command1(i), BM_CLICK, 0, 0);
  SendMessageW(form_->Command1(12), BM_CLICK, 0, 0);
  ASSERT_EQ(recorder_.started.size(), 14u);
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(recorder_.started[i].first, palomid::Command1Table()[i].commandLine) << i;
    EXPECT_EQ(recorder_.started[i].second, i == 11 ? 1 : 2) << i;
  }
  EXPECT_EQ(recorder_.started[13], recorder_.started[12]);
}

TEST_F(PalomidWindowTest, AFailedStartIsShownAndTheWindowStays) {
  recorder_.fail = true;
  SendMessageW(form_->Command1(8), BM_CLICK, 0, 0);
  ASSERT_EQ(recorder_.shown.size(), 1u);
  EXPECT_NE(recorder_.shown[0].find(L"desk.cpl,,1"), std::wstring::npos);
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_EQ(recorder_.quits, 0);
}

TEST_F(PalomidWindowTest, ClosingTheWindowEndsTheProgram) {
  SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form_->Handle(), nullptr);
  EXPECT_EQ(recorder_.quits, 1);
}

}  // namespace

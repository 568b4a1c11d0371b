#include "shell/core/ctlIcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "common/text.h"
#include "shell/core/CrashGuard.h"
#include "shell/core/Form1.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;
using testing_support::TempFolder;
using testing_support::WorkAreaGuard;
using testing_support::WriteFileBytes;

// A plain parent window for icons tested on their own.
class Host {
 public:
  Host() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~Host() { DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

common::Bitmap RedPicture() {
  common::MemorySurface surface;
  surface.Resize(48, 48, 0x0000FF);
  return common::Bitmap(static_cast<HBITMAP>(CopyImage(GetCurrentObject(surface.Dc(), OBJ_BITMAP),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

struct FocusLog {
  std::vector<int> gained, lost;
  ctlIcon::Events Events() {
    return {[this](int i) { gained.push_back(i); }, [this](int i) { lost.push_back(i); }};
  }
};

int LowestRowWithColor(const common::MemorySurface& face, uint32_t color) {
  for (int y = face.Height() - 1; y >= 0; --y)
    for (int x = 0; x < face.Width(); ++x)
      if (face.ColorAt(x, y) == color) return y;
  return -1;
}

TEST(DesktopIcon, EveryCaptionSetTakesAtLeastTwoLines) {
  Host host;
  FocusLog log;
  ctlIcon icon(0, log.Events());
  ASSERT_TRUE(icon.Create(host.Get(), 0, 0, nullptr, L"保存的"));
  EXPECT_EQ(icon.Caption(), L"保存的");  // saved properties are taken as they are
  icon.SetCaption(L"我的电脑");
  EXPECT_EQ(icon.Caption(), L"我的电脑\r\n");
  icon.SetCaption(L"第一行\r\n第二行");
  EXPECT_EQ(icon.Caption(), L"第一行\r\n第二行");
  icon.SetCaption(L"");
  EXPECT_EQ(icon.Caption(), L"\r\n");
}

TEST(DesktopIcon, FaceIsPictureAndCaptionOnTheMask) {
  Host host;
  FocusLog log;
  ctlIcon icon(0, log.Events());
  common::Bitmap picture = RedPicture();
  ASSERT_TRUE(icon.Create(host.Get(), 0, 0, picture.Get(), L""));
  icon.SetCaption(L"回收站");
  const common::MemorySurface& face = icon.Surface();
  ASSERT_EQ(face.Width(), 50);
  ASSERT_EQ(face.Height(), 73);
  EXPECT_EQ(face.ColorAt(10, 10), 0x0000FFu);           // the picture, top left
  EXPECT_EQ(face.ColorAt(49, 5), ctlIcon::kMaskColor);  // beside it: the mask
  // The caption stands below the picture, inside the box. (Where it ends depends on whether the
  // platform's text measure counts the appended empty line: Windows does, Wine does not.)
  const int white = LowestRowWithColor(face, 0xFFFFFF);
  const int black = LowestRowWithColor(face, 0x000000);
  EXPECT_GT(white, 48);
  EXPECT_LT(white, 73);
  EXPECT_EQ(black, white + 1);  // the shadow is one pixel lower

  RECT rect;
  GetWindowRect(icon.Handle(), &rect);
  EXPECT_EQ(rect.right - rect.left, 50);
  EXPECT_EQ(rect.bottom - rect.top, 80);
}

TEST(DesktopIcon, TwoLineCaptionEndsAtTheBottomEdge) {
  Host host;
  FocusLog log;
  ctlIcon icon(0, log.Events());
  ASSERT_TRUE(icon.Create(host.Get(), 0, 0, nullptr, L""));
  icon.SetCaption(L"系统\r\n检查");
  const int white = LowestRowWithColor(icon.Surface(), 0xFFFFFF);
  EXPECT_GE(white, 73 - 5);
}

// At the larger dpi settings the box grows with the caption's font: a four-character caption
// stays inside it, clear of both sides, and ends inside its bottom edge.
TEST(DesktopIcon, CaptionStaysInsideTheBoxAtLargerDpi) {
  const struct { int dpi, width, height; } cases[] = {{96, 50, 73}, {120, 62, 91}, {144, 75, 110}};
  for (const auto& c : cases) {
    testing_support::DpiOverride dpi(c.dpi);
    Host host;
    FocusLog log;
    ctlIcon icon(0, log.Events());
    ASSERT_TRUE(icon.Create(host.Get(), 0, 0, nullptr, L""));
    icon.SetCaption(L"我的电脑");
    const common::MemorySurface& face = icon.Surface();
    ASSERT_EQ(face.Width(), c.width) << c.dpi;
    ASSERT_EQ(face.Height(), c.height) << c.dpi;
    RECT rect;
    GetWindowRect(icon.Handle(), &rect);
    EXPECT_EQ(rect.right - rect.left, c.width) << c.dpi;
    EXPECT_EQ(rect.bottom - rect.top, c.height + ctlIcon::kExtraHeight) << c.dpi;
    int left = face.Width(), right = -1;
    for (int y = 0; y < face.Height(); ++y)
      for (int x = 0; x < face.Width(); ++x)
        if (face.ColorAt(x, y) == 0xFFFFFF) left = std::min(left, x), right = std::max(right, x);
    EXPECT_GT(left, 0) << c.dpi;
    EXPECT_LT(right, face.Width() - 1) << c.dpi;
    EXPECT_LT(LowestRowWithColor(face, 0x000000), face.Height()) << c.dpi;
  }
}

TEST(DesktopIcon, MaskPixelsAreNotPartOfTheControl) {
  Host host;
  FocusLog log;
  ctlIcon icon(0, log.Events());
  common::Bitmap picture = RedPicture();
  ASSERT_TRUE(icon.Create(host.Get(), 0, 0, picture.Get(), L""));
  icon.SetCaption(L"我的文档");
  common::GdiObject<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(icon.Handle(), shape.Get()), ERROR);
  EXPECT_TRUE(PtInRegion(shape.Get(), 10, 10));   // picture
  EXPECT_FALSE(PtInRegion(shape.Get(), 49, 5));   // magenta
  EXPECT_FALSE(PtInRegion(shape.Get(), 25, 76));  // below the box
}

TEST(DesktopIcon, OpensOnlyForFocusFromAnotherControlOrTheFirstClickAfterwards) {
  Host host;
  FocusLog log;
  ctlIcon first(0, log.Events()), second(1, log.Events());
  ASSERT_TRUE(first.Create(host.Get(), 0, 0, nullptr, L""));
  ASSERT_TRUE(second.Create(host.Get(), 0, 90, nullptr, L""));
  HWND button = common::CreateControl(L"BUTTON", L"", WS_VISIBLE, 60, 0, 40, 20, host.Get(), 101);
  SetForegroundWindow(host.Get());
  auto click = [](const ctlIcon& icon) {
    SendMessageW(icon.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<int> gained;  // all gained so far
  };
  const Step steps[] = {
      {"from the button", [&] { SetFocus(button), SetFocus(first.Handle()); }, {0}},
      {"from the other icon", [&] { SetFocus(second.Handle()); }, {0, 1}},
      {"a click on the focused icon", [&] { click(second); }, {0, 1}},
      {"handed back by the window",
       [&] { SetFocus(host.Get()), SetFocus(second.Handle()); },
       {0, 1}},
      {"handed back after nothing", [&] { SetFocus(nullptr), SetFocus(second.Handle()); }, {0, 1}},
      {"the first click after that", [&] { click(second); }, {0, 1, 1}},
      {"a second click", [&] { click(second); }, {0, 1, 1}},
      {"a click on the other icon", [&] { click(first); }, {0, 1, 1, 0}},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(log.gained, step.gained) << step.what;
  }
  EXPECT_EQ(log.lost, (std::vector<int>{0, 1, 1}));
}

class DesktopIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_.path = folder_.File(L"SysInfo.ini");
    ShellServices services;
    services.openLink = [this](HWND, const std::wstring& link) { links_.push_back(link); };
    services.quitLoop = [] {};
    form_ = std::make_unique<Form1>(ini_, services);
  }
  void TearDown() override {
    form_.reset();
    CrashGuard::Disarm();
  }
  WorkAreaGuard workArea_;
  TempFolder folder_;
  rwini::IniFile ini_;
  std::vector<std::wstring> links_;
  std::unique_ptr<Form1> form_;
};

TEST_F(DesktopIcons, CaptionsComeFromTheConfigurationAndTheIconsStandAtTheLeft) {
  WriteFileBytes(ini_.path, "[Zephra]\r\nZM1_Caption=" + common::ToAnsi(L"我的电脑") +
                                "\r\nZM3_Caption=Web\r\n");
  ASSERT_TRUE(form_->Load());
  EXPECT_EQ(form_->Icon(0).Caption(), L"我的电脑\r\n");
  EXPECT_EQ(form_->Icon(1).Caption(), L"\r\n");
  EXPECT_EQ(form_->Icon(2).Caption(), L"Web\r\n");
  const int tops[] = {48, 126, 208, 287, 370};
  for (int i = 0; i < 5; ++i) {
    RECT rect;
    GetWindowRect(form_->Icon(i).Handle(), &rect);
    EXPECT_EQ(rect.left, 22) << i;
    EXPECT_EQ(rect.top, tops[i]) << i;
  }
  // Every caption key read was written back when missing; no link was read yet.
  const std::string file = testing_support::ReadFileBytes(ini_.path);
  EXPECT_NE(file.find("ZM2_Caption=\r\n"), std::string::npos);
  EXPECT_NE(file.find("ZM5_Caption=\r\n"), std::string::npos);
  EXPECT_EQ(file.find("_Link"), std::string::npos);
}

TEST_F(DesktopIcons, TabbingFromTheExitButtonOverTheTaskbarOpensEachIconsLink) {
  WriteFileBytes(ini_.path, "[Zephra]\r\nZM1_Link=one.exe\r\nZM2_Link=two.exe\r\n");
  ASSERT_TRUE(form_->Load());
  SetForegroundWindow(form_->Handle());
  SetFocus(form_->ExitButton());
  // Exit button, taskbar, then the icons.
  MSG tab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(form_->Handle(), &tab));
  EXPECT_EQ(GetFocus(), form_->TaskBar1().Handle());
  for (int i = 0; i < 2; ++i) {
    tab.hwnd = GetFocus();
    EXPECT_TRUE(IsDialogMessageW(form_->Handle(), &tab));
  }
  EXPECT_EQ(GetFocus(), form_->Icon(1).Handle());
  EXPECT_EQ(links_, (std::vector<std::wstring>{L"one.exe", L"two.exe"}));
}

TEST_F(DesktopIcons, PointerOverTheMaskIsOverTheDesktop) {
  ASSERT_TRUE(form_->Load());
  PumpFor(30);
  form_->TaskBarButtonClicked(Position(FixedButton::Start), static_cast<int16_t>(MouseButton::Left));
  HWND icon = form_->Icon(0).Handle();
  EXPECT_EQ(WindowFromPoint({22 + 10, 48 + 10}), icon);            // the picture
  EXPECT_EQ(WindowFromPoint({22 + 49, 48 + 2}), form_->Handle());  // magenta beside it
  SendMessageW(icon, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(form_->MenuShown());
}

}  // namespace

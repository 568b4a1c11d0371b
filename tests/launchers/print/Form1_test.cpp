#include "launchers/print/Form1.h"

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

struct PrintCall {
  HWND owner;
  std::wstring verb;
  std::wstring file;
  int show;
};

struct Recorder {
  std::vector<PrintCall> calls;
  int quits = 0;

  prindle::PrindleServices Services() {
    prindle::PrindleServices s;
    s.shellExecute = [this](HWND owner, const std::wstring& verb, const std::wstring& file,
                            int show) {
      calls.push_back({owner, verb, file, show});
    };
    s.quit = [this] { ++quits; };
    return s;
  }
};

void ExpectPlace(HWND control, int left, int top, int width, int height) {
  const RECT r = PlaceInParent(control);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST(PrintAnyFile, HandsThePathUnchangedToThePrintVerbWithShowCommandSeven) {
  Recorder recorder;
  const auto services = recorder.Services();
  HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  prindle::PrintAnyFile(owner, L"C:\\My Documents\\年度 报告.doc", services);
  prindle::PrintAnyFile(owner, L"  C:\\a.txt ", services);        // no trimming
  prindle::PrintAnyFile(owner, L"\"C:\\quoted.txt\"", services);  // quotes stay the user's
  ASSERT_EQ(recorder.calls.size(), 3u);
  EXPECT_EQ(recorder.calls[0].owner, owner);
  EXPECT_EQ(recorder.calls[0].verb, L"print");
  EXPECT_EQ(recorder.calls[0].file, L"C:\\My Documents\\年度 报告.doc");
  EXPECT_EQ(recorder.calls[0].show, 7);
  EXPECT_EQ(recorder.calls[1].file, L"  C:\\a.txt ");
  EXPECT_EQ(recorder.calls[2].file, L"\"C:\\quoted.txt\"");
}

class PrindleWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_DOUBLE_EQ(common::TwipsPerPixelX(), 15.0) << "the tests' screen has 96 dpi";
    form_ = std::make_unique<prindle::Form1>(recorder_.Services());
    ASSERT_TRUE(form_->Load(SW_SHOWNORMAL));
    PumpFor(30);
  }

  void Type(const std::wstring& text) {
    SendMessageW(form_->Text1(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    PumpFor(20);
  }

  Recorder recorder_;
  std::unique_ptr<prindle::Form1> form_;
};

TEST_F(PrindleWindowTest, WindowHasItsTitleFrameAndClientSize) {
  HWND window = form_->Handle();
  EXPECT_EQ(WindowText(window), L"打印调用 - LumoraShell");
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 347);
  EXPECT_EQ(client.bottom, 147);
}

TEST_F(PrindleWindowTest, ControlsStandAtTheirPlacesWithTheirCaptionsAndFocusOrder) {
  ExpectPlace(form_->Label2(), 68, 28, 269, 13);
  ExpectPlace(form_->Text1(), 68, 60, 269, 21);
  ExpectPlace(form_->Command1(), 180, 116, 77, 21);
  ExpectPlace(form_->Command2(), 260, 116, 77, 21);
  const RECT image = form_->Image1Rect();
  EXPECT_EQ(image.left, 8);
  EXPECT_EQ(image.top, 12);
  EXPECT_EQ(image.right - image.left, 48);
  EXPECT_EQ(image.bottom - image.top, 48);

  EXPECT_EQ(WindowText(form_->Label2()), L"请键入文档绝对路径，单击打印后将为您打印它。");
  EXPECT_EQ(WindowText(form_->Text1()), L"");
  EXPECT_EQ(WindowText(form_->Command1()), L"开始打印");
  EXPECT_EQ(WindowText(form_->Command2()), L"关闭");
  EXPECT_EQ(testing_support::ClassOf(form_->Text1()), L"Edit");
  EXPECT_FALSE(GetWindowLongPtrW(form_->Text1(), GWL_STYLE) & ES_MULTILINE);

  EXPECT_EQ(GetFocus(), form_->Text1());
  const std::vector<HWND> order = {form_->Text1(), form_->Command1(), form_->Command2()};
  EXPECT_EQ(testing_support::TabOrder(form_->Handle(), form_->Text1()), order);
}

TEST_F(PrindleWindowTest, PictureAndIconArePaintedAndTheRestIsTheWindowFace) {
  const common::MemorySurface& surface = form_->Surface();
  ASSERT_EQ(surface.Width(), 347);
  ASSERT_EQ(surface.Height(), 147);
  // The picture's accent line along the top edge.
  EXPECT_EQ(surface.ColorAt(200, 0), static_cast<uint32_t>(RGB(114, 159, 207)));
  // The icon covers the middle of Image1 with the printer's dark body, unlike the pale sky.
  const RECT image = form_->Image1Rect();
  const uint32_t centre = surface.ColorAt(image.left + 24, image.top + 34);
  EXPECT_LT(GetRValue(centre) + GetGValue(centre) + GetBValue(centre), 3 * 230);

  // Made larger, the window shows its face colour beyond the picture.
  SetWindowPos(form_->Handle(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return surface.ColorAt(400, 200) == GetSysColor(COLOR_BTNFACE); }));
  EXPECT_EQ(surface.ColorAt(200, 0), static_cast<uint32_t>(RGB(114, 159, 207)));
}

TEST_F(PrindleWindowTest, PrintHandsTheTypedTextToThePrintVerbEachTime) {
  Type(L"C:\\Documents and Settings\\用户\\My Report.doc");
  Click(form_->Command1());
  Click(form_->Command1());
  ASSERT_EQ(recorder_.calls.size(), 2u);
  for (const PrintCall& call : recorder_.calls) {
    EXPECT_EQ(call.owner, form_->Handle());
    EXPECT_EQ(call.verb, L"print");
    EXPECT_EQ(call.file, L"C:\\Documents and Settings\\用户\\My Report.doc");
    EXPECT_EQ(call.show, SW_SHOWMINNOACTIVE);
  }
  // The window stays open for the next document.
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_EQ(recorder_.quits, 0);
}

TEST_F(PrindleWindowTest, EnterAndEscapeInTheTextBoxDoNotPrint) {
  SetFocus(form_->Text1());
  Type(L"C:\\a.txt");
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    MSG msg = {form_->Text1(), WM_KEYDOWN, key, 0, 0, {}};
    if (!IsDialogMessageW(form_->Handle(), &msg)) DispatchMessageW(&msg);
  }
  PumpFor(20);
  EXPECT_TRUE(recorder_.calls.empty());
  EXPECT_TRUE(IsWindow(form_->Handle()));
}

TEST_F(PrindleWindowTest, EmptyPathFailsQuietlyThroughTheRealPrintVerb) {
  // With the real services: the system refuses an empty name, and nothing is shown.
  prindle::Form1 real(
      prindle::PrindleServices{prindle::PrindleServices::Real().shellExecute, [] {}});
  ASSERT_TRUE(real.Load(SW_SHOWNORMAL));
  PumpFor(30);
  const auto before = testing_support::VisibleWindowsOf(GetCurrentProcessId());
  Click(real.Command1());
  PumpFor(300);
  EXPECT_EQ(testing_support::VisibleWindowsOf(GetCurrentProcessId()), before);
  EXPECT_TRUE(IsWindowVisible(real.Handle()));
  EXPECT_EQ(WindowText(real.Text1()), L"");
}

TEST_F(PrindleWindowTest, CloseButtonClosesTheWindowAndEndsTheProgram) {
  Click(form_->Command2());
  EXPECT_EQ(form_->Handle(), nullptr);
  EXPECT_EQ(recorder_.quits, 1);
  EXPECT_TRUE(recorder_.calls.empty());
}

}  // namespace

// At 120 dpi the window outgrows its 347-pixel picture: the label's background follows the face,
// the picture where it lies under the label and the plain face beyond it (never the picture
// started again).
TEST(PrindleAt120Dpi, LabelBackgroundIsTheFaceBehindIt) {
  testing_support::DpiOverride dpi(120);
  Recorder recorder;
  prindle::Form1 form(recorder.Services());
  ASSERT_TRUE(form.Load(SW_SHOWNORMAL));
  RECT label;
  GetWindowRect(form.Label2(), &label);
  MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&label), 2);
  ASSERT_GT(label.right, 347 + 20);
  common::MemorySurface painted;
  painted.Resize(label.right - label.left, label.bottom - label.top);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(painted.Dc()),
                   reinterpret_cast<LPARAM>(form.Label2())));
  RECT all = {0, 0, painted.Width(), painted.Height()};
  FillRect(painted.Dc(), &all, brush);
  GdiFlush();
  const common::MemorySurface& face = form.Surface();
  const int beyond = 347 - static_cast<int>(label.left);  // the first column past the picture
  for (const int x : {10, beyond - 1, beyond + 10, painted.Width() - 1})
    EXPECT_EQ(painted.ColorAt(x, 5), face.ColorAt(label.left + x, label.top + 5)) << x;
  EXPECT_EQ(painted.ColorAt(painted.Width() - 1, 5), GetSysColor(COLOR_BTNFACE));
}

#include "shell/core/RipPicture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/handles.h"
#include "shell/core/SkinPainter.h"

namespace {

constexpr int32_t kWhite = 0xFFFFFF;

std::string AllTransparent() {
  std::string text = " 23";
  for (int i = 0; i < 576; ++i) text += ",-1";
  return text;
}

TEST(RipPicture, AllTransparentPictureGivesTheHeaderAndOnlyMinusOnes) {
  common::MemorySurface picture;
  ASSERT_TRUE(picture.Resize(24, 24, kWhite));
  EXPECT_EQ(RipPicture(picture, kWhite), AllTransparent());
}

TEST(RipPicture, WritesColumnsTopToBottomWithABlankBeforeEachNumberNotNegative) {
  common::MemorySurface picture;
  ASSERT_TRUE(picture.Resize(2, 3, kWhite));
  picture.SetColor(0, 1, 0);
  picture.SetColor(1, 0, 6052956);
  picture.SetColor(1, 2, 255);
  EXPECT_EQ(RipPicture(picture, kWhite), " 2,-1, 0,-1, 6052956,-1, 255");
  // Another transparent colour: white is then an ordinary colour.
  EXPECT_EQ(RipPicture(picture, 0), " 2, 16777215,-1, 16777215, 6052956, 16777215, 255");
}

// A real icon drawn into the capture surface as the taskbar does it: 16 x 16 at the top left of
// a white 24 x 24 picture. Its text paints the same picture again.
TEST(RipPicture, RealIconRoundTripsThroughThePainter) {
  common::MemorySurface picture;
  ASSERT_TRUE(picture.Resize(24, 24, kWhite));
  HICON icon = LoadIconW(nullptr, IDI_WARNING);  // shared system icon, not destroyed
  ASSERT_NE(icon, nullptr);
  ASSERT_TRUE(DrawIconEx(picture.Dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
  GdiFlush();

  const std::string text = RipPicture(picture, kWhite);
  const auto image = SkinImage::Parse(text);
  ASSERT_EQ(image.Rows(), 24);
  ASSERT_EQ(image.Columns(), 24);
  int drawn = 0;
  for (int x = 0; x < 24; ++x) {
    for (int y = 0; y < 24; ++y) {
      const int32_t v = image.At(x, y);
      if (x >= 16 || y >= 16) {
        EXPECT_EQ(v, -1) << x << "," << y;
      }
      if (v != -1) ++drawn;
    }
  }
  EXPECT_GT(drawn, 60);  // the warning sign covers a good part of the square

  common::MemorySurface copy;
  ASSERT_TRUE(copy.Resize(24, 24, kWhite));
  EXPECT_EQ(PaintSkin(copy, SkinRules::Control(), 1, text, 0, 0, true, 0), 23);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) ASSERT_EQ(copy.ColorAt(x, y), picture.ColorAt(x, y));
}

// Window events run while the picture is read; an encoding started from one of them gets
// nothing instead of reading (and, in the taskbar, redrawing) the picture under the first.
class NestedEncoder {
 public:
  explicit NestedEncoder(const common::MemorySurface& picture) : picture_(picture) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &NestedEncoder::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZephraNestedEncoderTest";
    RegisterClassW(&wc);
    window_.Reset(CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr));
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  void Post() { PostMessageW(window_.Get(), WM_APP, 0, 0); }
  int calls = 0;
  std::string nested = "not run";

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
      auto* self = reinterpret_cast<NestedEncoder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      ++self->calls;
      self->nested = RipPicture(self->picture_, kWhite);
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  const common::MemorySurface& picture_;
  common::WindowHandle window_;
};

TEST(RipPicture, LetsEventsRunAndIsNeverReentered) {
  common::MemorySurface picture;
  ASSERT_TRUE(picture.Resize(24, 24, kWhite));
  NestedEncoder encoder(picture);
  encoder.Post();
  EXPECT_EQ(RipPicture(picture, kWhite), AllTransparent());
  EXPECT_EQ(encoder.calls, 1);
  EXPECT_EQ(encoder.nested, "");
  // Once the first encoding has ended, the next runs normally.
  EXPECT_EQ(RipPicture(picture, kWhite), AllTransparent());
}

}  // namespace

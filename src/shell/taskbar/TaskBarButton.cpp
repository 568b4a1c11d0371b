#include "shell/taskbar/TaskBarButton.h"

#include <algorithm>

#include "common/font.h"
#include "common/pump.h"
#include "common/screen.h"
#include "common/text.h"
#include "shell/core/HandleWindows.h"
#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"

namespace {
// The lit face under the pointer (and of a flashing button), the dark one while pressed.
constexpr int16_t kLitBrightness = 50, kDarkBrightness = -50;
}  // namespace

TaskBarButton::TaskBarButton(Host host) : host_(std::move(host)) {
  KeepPointerWhilePressed(true);  // the release reaches the button even off it
}

TaskBarButton::~TaskBarButton() { Destroy(); }

bool TaskBarButton::Create(HWND parent, int32_t style) {
  style_ = style;
  font_ = common::CreatePointFont(L"Tahoma", 8.25, FW_BOLD, ANSI_CHARSET);
  ClassSpec windowClass;
  windowClass.name = L"ZephraTaskButton";
  if (!Window::Create(windowClass, 0, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, FaceHeight(),
                      parent))
    return false;
  LoadGUI();
  return true;
}

void TaskBarButton::Reset(int32_t style) {
  ShowWindow(Handle(), SW_HIDE);
  window_ = nullptr;
  caption_.clear();
  SetWindowTextW(Handle(), L"");
  image_.clear();
  offSet_ = 0;
  flashLit_ = false;
  SetStyle(style);
}

void TaskBarButton::SetStyle(int32_t strStyle) {
  style_ = strStyle;
  LoadGUI();
}

void TaskBarButton::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  SetWindowTextW(Handle(), caption_.c_str());
  common::MemorySurface& surface = DrawingSurface();
  surface.FillRect(0, 0, surface.Width(), surface.Height(), kBackColor);
  LoadGUI();
  WriteCaption(caption_, offSet_);
}

int16_t TaskBarButton::PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX,
                                 int16_t OffsetY, int16_t Brightness) {
  return ::PaintSkin(DrawingSurface(), SkinRules::Control(), RunLength, Skin, OffsetX, OffsetY,
                     true, Brightness);
}

void TaskBarButton::PaintFace(int16_t brightness) {
  RECT rect;
  GetClientRect(Handle(), &rect);
  const int width = rect.right;
  const auto w = static_cast<int16_t>(width);
  PaintSkin(1, SkinImages::TaskButtonLeft(style_), 0, 0, brightness);
  PaintSkin(static_cast<int16_t>(w - 4), SkinImages::TaskButtonBody(style_), 2, 0, brightness);
  PaintSkin(1, SkinImages::TaskButtonRight(style_), static_cast<int16_t>(w - 2), 0, brightness);
  WriteCaption(caption_, offSet_);
  ::PaintSkin(DrawingSurface(), SkinRules::Control(), 1, image_, 9, 3, true, brightness);
  Present();
}

void TaskBarButton::LoadGUI() {
  if (!Handle()) return;
  lit_ = 0;
  RECT rect;
  GetClientRect(Handle(), &rect);
  // The face is as high as its look; the surface covers the whole control.
  if (rect.bottom != FaceHeight()) {
    SetWindowPos(Handle(), nullptr, 0, 0, rect.right, FaceHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  common::MemorySurface& surface = DrawingSurface();
  if (surface.Width() != rect.right || surface.Height() != FaceHeight())
    surface.Resize(std::max<int>(rect.right, 1), FaceHeight(), kBackColor);
  PaintFace(flashLit_ ? kLitBrightness : 0);
}

void TaskBarButton::ShowFlash(bool lit) {
  if (lit == flashLit_) return;
  flashLit_ = lit;
  if (lit_ == 0 && Handle()) PaintFace(lit ? kLitBrightness : 0);
}

void TaskBarButton::WriteCaption(const std::wstring& Caption, int16_t Offest) {
  common::MemorySurface& surface = DrawingSurface();
  if (surface.Empty()) return;
  const std::string text = common::ToAnsi(Caption);
  const int n = static_cast<int>(text.size());
  const int width = surface.Width(), height = surface.Height();
  HDC dc = surface.Dc();
  common::ScopedSelect font(dc, font_.Get());
  RECT measure = {4, 0, width - 4 - Offest, height};
  const int h = DrawTextA(dc, text.c_str(), n, &measure, DT_CALCRECT | DT_CENTER);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT place = {Offest + 4, static_cast<LONG>(common::RoundHalfEven(height / 2.0 - h / 2.0)),
                width - 4, h + height};
  // Left and top aligned, clipped at 4 pixels from the right edge, no ellipsis.
  DrawTextA(dc, text.c_str(), n, &place, 0);
  GdiFlush();
  Present();
}

void TaskBarButton::PrintIcon(const std::string& Icon) {
  ::PaintSkin(DrawingSurface(), SkinRules::Control(), 1, Icon, 9, 3, true, 0);
  Present();
}

void TaskBarButton::OnPointerOver() {
  if (lit_ != 0) return;  // already lit: repeated hover notices change nothing
  lit_ = -1;
  PaintFace(kLitBrightness);
}

void TaskBarButton::OnLeftButtonDown() {
  lit_ = -1;
  PaintFace(kDarkBrightness);
}

namespace {

// The taskbar counts the releases in progress from the start of one to its end, however it ends:
// a count left raised would stop every later rebuild. It keeps its own copy of the taskbar's
// calls, which outlive the button.
class ReleaseInProgress {
 public:
  explicit ReleaseInProgress(const TaskBarButton::Host& host) : host_(host) {
    if (host_.releaseBegins) host_.releaseBegins();
  }
  ~ReleaseInProgress() {
    if (host_.releaseEnds) host_.releaseEnds();
  }
  ReleaseInProgress(const ReleaseInProgress&) = delete;
  ReleaseInProgress& operator=(const ReleaseInProgress&) = delete;

 private:
  TaskBarButton::Host host_;
};

}  // namespace

void TaskBarButton::OnLeftButtonUp() {
  const ReleaseInProgress release(host_);
  // The handle is taken before pending messages run: a poll tick in between may refill the
  // button for another task.
  const HWND window = window_;
  LoadGUI();
  common::PumpPendingMessages();
  lit_ = 0;
  WindowAction(window);
}

void TaskBarButton::WindowAction(HWND window) {
  if (IsIconic(window))
    HandleWindows::WindowCommand(window, HandleWindows::kMaximizeToFront);
  else
    HandleWindows::WindowCommand(window, HandleWindows::kMinimize);
}

void TaskBarButton::Compose(int /*width*/, int /*height*/) { LoadGUI(); }

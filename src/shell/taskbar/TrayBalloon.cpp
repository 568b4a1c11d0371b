#include "shell/taskbar/TrayBalloon.h"

#include <algorithm>

#include "common/font.h"
#include "common/screen.h"

namespace {

// The balloon's measures at 96 dpi, grown with the dpi as its text does.
constexpr int kWidth = 280;
constexpr int kMargin = 8;
constexpr int kGap = 6;
// What NIIF_ says of the picture.
constexpr uint32_t kPictureMask = 0x0F;
constexpr uint32_t kInfoPicture = 1, kWarningPicture = 2, kErrorPicture = 3, kUserPicture = 4;
constexpr uint32_t kLargePicture = 0x20;  // NIIF_LARGE_ICON

constexpr COLORREF kBorder = RGB(118, 118, 118);

int Scaled(int pixels) { return MulDiv(pixels, common::LogicalDpiX(), 96); }

}  // namespace

TrayBalloon::~TrayBalloon() { Destroy(); }

bool TrayBalloon::EnsureWindow() {
  if (Handle() != nullptr) return true;
  titleFont_ = common::CreatePointFont(L"宋体", 9, FW_BOLD, GB2312_CHARSET);
  textFont_ = common::CreateSongTiFont(9);
  ClassSpec windowClass;
  windowClass.name = L"ZephraTrayBalloon";
  // Above everything, never in a task list, never taking the activation.
  return Create(windowClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"", WS_POPUP, 0,
                0, 1, 1, nullptr);
}

SIZE TrayBalloon::Measure() {
  const int width = Scaled(kWidth);
  const int textLeft = Scaled(kMargin) + (picture_ ? pictureSize_ + Scaled(kGap) : 0);
  RECT title = {textLeft, 0, width - Scaled(kMargin), 0};
  RECT text = title;
  common::WindowDc screen(nullptr);
  {
    common::ScopedSelect font(screen.Get(), titleFont_.Get());
    DrawTextW(screen.Get(), title_.c_str(), static_cast<int>(title_.size()), &title,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  {
    common::ScopedSelect font(screen.Get(), textFont_.Get());
    DrawTextW(screen.Get(), text_.c_str(), static_cast<int>(text_.size()), &text,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const int textHeight = (title.bottom - title.top) + Scaled(kGap) + (text.bottom - text.top);
  const int height = 2 * Scaled(kMargin) + std::max(textHeight, pictureSize_);
  return {width, height};
}

bool TrayBalloon::Show(const TrayBalloonRequest& request, POINT anchor, HICON userIcon) {
  if (!EnsureWindow()) return false;
  title_ = request.title;
  text_ = request.text;
  const bool large = (request.infoFlags & kLargePicture) != 0;
  pictureSize_ = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
  ownPicture_.Reset();
  switch (request.infoFlags & kPictureMask) {
    case kInfoPicture:
      picture_ = LoadIconW(nullptr, IDI_INFORMATION);
      break;
    case kWarningPicture:
      picture_ = LoadIconW(nullptr, IDI_WARNING);
      break;
    case kErrorPicture:
      picture_ = LoadIconW(nullptr, IDI_ERROR);
      break;
    case kUserPicture:
      ownPicture_.Reset(userIcon ? CopyIcon(userIcon) : nullptr);
      picture_ = ownPicture_.Get();
      break;
    default:
      picture_ = nullptr;
      break;
  }
  const SIZE size = Measure();
  // Its lower edge on the anchor, centred on it as far as the screen lets it.
  const int screenWidth = common::ScreenWidthPixels();
  const int left = std::clamp(static_cast<int>(anchor.x - size.cx / 2), 0,
                              std::max(screenWidth - static_cast<int>(size.cx), 0));
  const int top = std::max(static_cast<int>(anchor.y - size.cy), 0);
  SetWindowPos(Handle(), HWND_TOPMOST, left, top, size.cx, size.cy,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Compose(size.cx, size.cy);  // also when the size stayed the same
  SetTimer(Handle(), kTimer, request.timeoutMs, nullptr);
  return true;
}

void TrayBalloon::Hide() {
  if (Handle() == nullptr) return;
  KillTimer(Handle(), kTimer);
  ShowWindow(Handle(), SW_HIDE);
}

void TrayBalloon::Finish(End end) {
  Hide();
  if (ended_) ended_(end);
}

void TrayBalloon::Compose(int width, int height) {
  if (width <= 0 || height <= 0) return;
  common::MemorySurface& surface = DrawingSurface();
  surface.Resize(width, height, GetSysColor(COLOR_INFOBK));
  // A one-pixel frame.
  surface.FillRect(0, 0, width, 1, kBorder);
  surface.FillRect(0, height - 1, width, height, kBorder);
  surface.FillRect(0, 0, 1, height, kBorder);
  surface.FillRect(width - 1, 0, width, height, kBorder);
  HDC dc = surface.Dc();
  const int margin = Scaled(kMargin);
  if (picture_)
    DrawIconEx(dc, margin, margin, picture_, pictureSize_, pictureSize_, 0, nullptr, DI_NORMAL);
  const int textLeft = margin + (picture_ ? pictureSize_ + Scaled(kGap) : 0);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  RECT title = {textLeft, margin, width - margin, height - margin};
  {
    common::ScopedSelect font(dc, titleFont_.Get());
    DrawTextW(dc, title_.c_str(), static_cast<int>(title_.size()), &title,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    DrawTextW(dc, title_.c_str(), static_cast<int>(title_.size()), &title,
              DT_WORDBREAK | DT_NOPREFIX);
  }
  RECT text = {textLeft, title.bottom + (title_.empty() ? 0 : Scaled(kGap)), width - margin,
               height - margin};
  {
    common::ScopedSelect font(dc, textFont_.Get());
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text,
              DT_WORDBREAK | DT_NOPREFIX);
  }
  GdiFlush();
  Present();
}

LRESULT TrayBalloon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONUP:
      Finish(End::Clicked);
      return 0;
    case WM_TIMER:
      if (wParam == kTimer) Finish(End::TimedOut);
      return 0;
    case WM_DESTROY:
      KillTimer(Handle(), kTimer);
      return 0;
    default:
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
  }
}

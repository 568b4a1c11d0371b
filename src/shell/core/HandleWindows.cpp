#include "shell/core/HandleWindows.h"

#include "common/screen.h"
#include "common/text.h"

namespace HandleWindows {

void WindowCommand(HWND window, int32_t command) {
  switch (command) {
    case kClose:
      SendMessageA(window, WM_CLOSE, 0, 0);
      break;
    case kShow:
      ShowWindow(window, SW_SHOW);
      break;
    case kHide:
      ShowWindow(window, SW_HIDE);
      break;
    case kMaximizeToFront:
      ShowWindow(window, SW_SHOWMAXIMIZED);
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      SetActiveWindow(window);
      break;
    case kMinimize:
      ShowWindow(window, SW_MINIMIZE);
      break;
    default:
      break;
  }
}

HWND FindForeignWindow(const std::wstring& className) {
  const std::string name = common::ToAnsi(className);
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, name.c_str(), nullptr)) != nullptr)
    if (GetPropW(window, kShellTrayMark) == nullptr) return window;
  return nullptr;
}

HWND FindWindowsTaskbar() { return FindForeignWindow(L"Shell_traywnd"); }

void WindowCommandByClass(const std::wstring& className, int32_t command) {
  HWND window = FindForeignWindow(className);
  if (window != nullptr) WindowCommand(window, command);
}

void SetWorkArea(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  RECT area = {left, top, right, bottom};
  // Neither written to the user profile nor broadcast.
  SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
}

int16_t GetTrayHeight() {
  RECT area = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  // The horizontal twips per pixel serves both ways, as on every ordinary screen.
  const double tpp = common::TwipsPerPixelX();
  const double screenHeight = common::ScreenHeightPixels() * common::TwipsPerPixelY() / tpp;
  return static_cast<int16_t>(common::RoundHalfEven((screenHeight - area.bottom) * tpp));
}

void RestoreTaskbar(double trayHeight) {
  HWND tray = FindWindowsTaskbar();
  // Showing a window never moves or sizes it; the flags say so for platforms that would.
  const UINT show = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;
  if (tray) SetWindowPos(tray, nullptr, 0, 0, 0, 0, show);
  const auto width = static_cast<int16_t>(common::ScreenWidthPixels());
  const auto height =
      static_cast<int16_t>(common::RoundHalfEven(common::ScreenHeightPixels() - trayHeight));
  SetWorkArea(0, 0, width, height);
  if (tray) SetWindowPos(tray, nullptr, 0, 0, 0, 0, show);
}

void HideTaskbar() {
  HWND tray = FindWindowsTaskbar();
  if (tray)
    SetWindowPos(tray, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetWindowAlpha(HWND window, uint8_t alpha) {
  SetWindowLongPtrA(window, GWL_EXSTYLE, WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

}  // namespace HandleWindows

#include "shell/core/HandleWindows.h"

#include <atomic>

#include "common/screen.h"
#include "common/text.h"

namespace HandleWindows {

namespace {

// Windows 8 and later: one more taskbar per further screen.
constexpr char kSecondaryTrayClass[] = "Shell_SecondaryTrayWnd";
constexpr int kNoSavedArrangement = -1;
// The arrangement of minimised windows before the shell hid them; read by the crash handler.
std::atomic<int> savedArrangement{kNoSavedArrangement};

// Every top-level window of the secondary taskbars' class.
template <typename Action>
void ForEachSecondaryTaskbar(Action action) {
  for (HWND tray = FindWindowExA(nullptr, nullptr, kSecondaryTrayClass, nullptr); tray != nullptr;
       tray = FindWindowExA(nullptr, tray, kSecondaryTrayClass, nullptr))
    action(tray);
}

}  // namespace

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
  ForEachSecondaryTaskbar([show](HWND secondary) {
    SetWindowPos(secondary, nullptr, 0, 0, 0, 0, show | SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

void HideTaskbar() {
  const UINT hide = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  HWND tray = FindWindowsTaskbar();
  if (tray) SetWindowPos(tray, nullptr, 0, 0, 0, 0, hide);
  ForEachSecondaryTaskbar(
      [hide](HWND secondary) { SetWindowPos(secondary, nullptr, 0, 0, 0, 0, hide); });
}

void HideMinimizedWindows() {
  MINIMIZEDMETRICS metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETMINIMIZEDMETRICS, sizeof(metrics), &metrics, 0)) return;
  if (metrics.iArrange & ARW_HIDE) return;  // so already (Explorer sets it too)
  const int before = metrics.iArrange;
  metrics.iArrange |= ARW_HIDE;
  // For this session only, like the work area.
  if (SystemParametersInfoW(SPI_SETMINIMIZEDMETRICS, sizeof(metrics), &metrics, 0))
    savedArrangement = before;
}

void RestoreMinimizedWindows() {
  const int before = savedArrangement.exchange(kNoSavedArrangement);
  if (before == kNoSavedArrangement) return;
  MINIMIZEDMETRICS metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETMINIMIZEDMETRICS, sizeof(metrics), &metrics, 0)) return;
  metrics.iArrange = before;
  SystemParametersInfoW(SPI_SETMINIMIZEDMETRICS, sizeof(metrics), &metrics, 0);
}

void SetWindowAlpha(HWND window, uint8_t alpha) {
  SetWindowLongPtrA(window, GWL_EXSTYLE, WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

}  // namespace HandleWindows

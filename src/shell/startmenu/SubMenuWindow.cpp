#include "shell/startmenu/SubMenuWindow.h"

#include <utility>

#include "common/screen.h"
#include "shell/startmenu/MenuButton.h"

namespace {
constexpr wchar_t kClassName[] = L"ZephraSubMenu";
}  // namespace

SubMenuWindow::SubMenuWindow(std::wstring name, EntryLookup startMenuEntry)
    : name_(std::move(name)), startMenuEntry_(std::move(startMenuEntry)) {}

SubMenuWindow::~SubMenuWindow() { Destroy(); }

bool SubMenuWindow::Load(HWND owner) {
  if (Loaded()) return true;
  ClassSpec windowClass;
  windowClass.name = kClassName;
  // Owned and without WS_EX_APPWINDOW: no taskbar button, no place in the task list.
  if (!Create(windowClass, 0, name_, WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, owner)) return false;
  const SIZE size = LoadContent();
  widthTwips_ = size.cx;
  heightTwips_ = size.cy;
  SetWindowPos(Handle(), nullptr, 0, 0, common::TwipsToPixelsX(widthTwips_),
               common::TwipsToPixelsY(heightTwips_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void SubMenuWindow::ShowForm() {
  if (Loaded()) fade_.FadeIn(Handle());
}

void SubMenuWindow::Hide() {
  if (Loaded()) ShowWindow(Handle(), SW_HIDE);
}

void SubMenuWindow::ZOrder() {
  if (Loaded())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SubMenuWindow::MakeTopmost() {
  if (Loaded())
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void SubMenuWindow::SetLeft(double twips) {
  leftTwips_ = twips;
  Place();
}

void SubMenuWindow::SetTop(double twips) {
  topTwips_ = twips;
  Place();
}

void SubMenuWindow::Place() {
  if (Loaded())
    SetWindowPos(Handle(), nullptr, common::TwipsToPixelsX(leftTwips_),
                 common::TwipsToPixelsY(topTwips_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SubMenuWindow::HighlightOpener() {
  if (!startMenuEntry_) return;
  if (MenuButton* entry = startMenuEntry_(buttonIndex_)) entry->LoadGUI_OVER();
}

void SubMenuWindow::Unload() {
  if (!Loaded()) return;
  Hide();
  if (startMenuEntry_) {
    if (MenuButton* entry = startMenuEntry_(buttonIndex_)) entry->LoadGUI();
  }
  StopTracking();
  Destroy();
}

LRESULT SubMenuWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      // A click on a menu leaves the activation where it is, as menus do.
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
      HighlightOpener();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

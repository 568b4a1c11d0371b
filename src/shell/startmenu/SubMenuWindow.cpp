#include "shell/startmenu/SubMenuWindow.h"

#include <utility>

SubMenuWindow::SubMenuWindow(std::wstring name, EntryLookup startMenuEntry)
    : PopupMenu({L"ZephraSubMenu", name, kSmallMenuFadeIn, kSmallMenuFadeOut}),
      name_(std::move(name)),
      startMenuEntry_(std::move(startMenuEntry)) {}

SubMenuWindow::~SubMenuWindow() { Destroy(); }

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
  UnloadAll();
  Destroy();
}

LRESULT SubMenuWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    HighlightOpener();
    return 0;
  }
  return PopupMenu::HandleMessage(message, wParam, lParam);
}

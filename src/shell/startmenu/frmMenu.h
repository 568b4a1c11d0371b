#pragma once
// The empty, never shown window that the start menu holds as its current submenu before any
// submenu was opened, so that hiding "the current submenu" always has a window to hide.
#include "shell/startmenu/SubMenuWindow.h"

class frmMenu : public SubMenuWindow {
 public:
  frmMenu() : SubMenuWindow(L"frmMenu", nullptr) {}
  ~frmMenu() override { Destroy(); }
};

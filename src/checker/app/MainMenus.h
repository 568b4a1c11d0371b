#pragma once
// MainMenu1 (the menu bar: 文件, Sanivo, 帮助), PopupMenu1 (the result list's pop-up menu), their
// shortcut keys and the pictures beside their items (ImageList1).
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "common/handles.h"

class MainMenus {
 public:
  bool Create();

  // The menu bar; the window it is given to destroys it.
  HMENU TakeBar() { return bar_.Release(); }
  HMENU Bar() const { return barHandle_; }
  HMENU Popup() const { return popup_.Get(); }
  HACCEL Accelerators() const { return accelerators_.Get(); }

  // Caption of an item without its shortcut text, and the shortcut text ("Ctrl+S").
  std::wstring Caption(HMENU menu, int command) const;
  std::wstring Shortcut(HMENU menu, int command) const;
  // New caption; the shortcut text stays.
  void SetCaption(HMENU menu, int command, const std::wstring& caption);
  bool Enabled(HMENU menu, int command) const;
  void Enable(HMENU menu, int command, bool enabled);

  // Picture of an item in ImageList1, -1 for none.
  static int ImageOf(int command);
  // The pictures are drawn on request (WM_MEASUREITEM, WM_DRAWITEM for menus); true when handled.
  static bool Measure(MEASUREITEMSTRUCT* item);
  static bool Draw(const DRAWITEMSTRUCT* item, HIMAGELIST images);

 private:
  common::MenuHandle bar_, popup_;
  HMENU barHandle_ = nullptr;
  common::AcceleratorTable accelerators_;
};

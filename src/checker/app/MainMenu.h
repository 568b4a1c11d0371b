#pragma once
// MainMenu1 (the menu bar: 文件, Sanivo, 帮助), PopupMenu1 (the result list's pop-up menu), their
// shortcut keys and the pictures beside their items (ImageList1).
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "common/handles.h"

struct MenuTraits {
  using Type = HMENU;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { DestroyMenu(h); }
};
struct AcceleratorTraits {
  using Type = HACCEL;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { DestroyAcceleratorTable(h); }
};
using MenuHandle = common::UniqueHandle<MenuTraits>;
using AcceleratorTable = common::UniqueHandle<AcceleratorTraits>;

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
  MenuHandle bar_, popup_;
  HMENU barHandle_ = nullptr;
  AcceleratorTable accelerators_;
};

#pragma once
// What every window that the start menu shows beside itself has in common, beyond being a pop-up
// menu: a name, the index of the start-menu entry that opened it (ButtonIndex), and that entry
// kept highlighted while the pointer is in the window. The start menu places it (twips), fades it
// in with ShowForm, brings it to the front, makes it topmost and hides it by making it invisible.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "shell/menus/PopupMenu.h"

class SubMenuWindow : public PopupMenu {
 public:
  // The start menu's entry of an index, or null when there is none (any more).
  using EntryLookup = std::function<MenuButton*(int16_t index)>;

  SubMenuWindow(std::wstring name, EntryLookup startMenuEntry);
  ~SubMenuWindow() override;

  // The window's name; it is also its (never visible) title.
  const std::wstring& Name() const { return name_; }

  // A close request: invisible, the opening entry painted normal again, tracking of the
  // entries stopped, then the window is destroyed.
  void Unload() override;

  // The index of the start-menu entry that opened the window; 0 until it is first shown.
  int16_t ButtonIndex() const { return buttonIndex_; }
  void SetButtonIndex(int16_t index) { buttonIndex_ = index; }

 protected:
  // Keeps the opening entry highlighted while the pointer is in this window.
  void HighlightOpener();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring name_;
  EntryLookup startMenuEntry_;
  int16_t buttonIndex_ = 0;
};

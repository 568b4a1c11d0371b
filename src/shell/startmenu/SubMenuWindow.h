#pragma once
// What every window that the start menu shows beside itself has in common: a borderless popup,
// owned by the menus' hidden owner (so not in the taskbar), that never takes the activation
// from the window the user works in. The start menu places it (twips), fades it in with
// ShowForm, brings it to the front, makes it topmost, tells it which entry opened it
// (ButtonIndex) and hides it by making it invisible.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/window.h"
#include "shell/startmenu/MenuFade.h"

class MenuButton;

class SubMenuWindow : public common::Window {
 public:
  // The start menu's entry of an index, or null when there is none (any more).
  using EntryLookup = std::function<MenuButton*(int16_t index)>;

  SubMenuWindow(std::wstring name, EntryLookup startMenuEntry);
  ~SubMenuWindow() override;

  // The window's name; it is also its (never visible) title.
  const std::wstring& Name() const { return name_; }

  // Creates the window and its entries, hidden; false if the platform refused. Once only.
  bool Load(HWND owner);
  bool Loaded() const { return Handle() != nullptr; }

  // Fades the window in: visible at once at opacity 100, up by 10 to 250, then opaque.
  void ShowForm();
  // Invisible at once, no fade.
  void Hide();
  bool Visible() const { return Handle() != nullptr && IsWindowVisible(Handle()); }
  void ZOrder();
  // SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE |
  // SWP_NOSIZE).
  void MakeTopmost();

  // Place and size in twips.
  double Left() const { return leftTwips_; }
  double Top() const { return topTwips_; }
  void SetLeft(double twips);
  void SetTop(double twips);
  double Width() const { return widthTwips_; }
  double Height() const { return heightTwips_; }

  // A close request: invisible, the opening entry painted normal again, tracking of the
  // entries stopped, then the window is destroyed.
  void Unload();

  // The index of the start-menu entry that opened the window; 0 until it is first shown.
  int16_t ButtonIndex() const { return buttonIndex_; }
  void SetButtonIndex(int16_t index) { buttonIndex_ = index; }

  MenuFade& Fade() { return fade_; }

 protected:
  // Creates the entries; the window takes the size it returns (twips).
  virtual SIZE LoadContent() { return {0, 0}; }
  // Stops the mouse tracking of the entries before the window goes.
  virtual void StopTracking() {}
  // Keeps the opening entry highlighted while the pointer is in this window.
  void HighlightOpener();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Place();

  std::wstring name_;
  EntryLookup startMenuEntry_;
  int16_t buttonIndex_ = 0;
  MenuFade fade_{{100, 10}, {255, 10}};
  double leftTwips_ = 0, topTwips_ = 0, widthTwips_ = 0, heightTwips_ = 0;
};

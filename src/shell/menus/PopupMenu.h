#pragma once
// What the shell's pop-up menus (the start menu, its submenus and the taskbar's look menu) have
// in common: a borderless pop-up owned by a hidden window, so that no taskbar or task list shows
// it, that never takes the activation from the window the user works in; a column of skinned
// entries stacked from a table, top to bottom, the window as large as they are; a place kept in
// twips; and a fade, paced by time, when it is shown. The window is made on first use and lives
// until it is unloaded. UI thread only.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/window.h"
#include "shell/menus/MenuButton.h"
#include "shell/menus/MenuFade.h"

class PopupMenu : public common::Window {
 public:
  // One row of a menu's table of entries.
  struct EntryDesign {
    std::wstring caption;
    bool capTop = false;
    bool capBottom = false;
    bool arrow = false;
    int32_t icon = 0;  // a built-in picture, 0 for none
  };

  // What makes one menu window different from another.
  struct Design {
    const wchar_t* className;
    std::wstring title;  // never shown
    MenuFade::Steps fadeIn;
    MenuFade::Steps fadeOut;
  };

  // The fades: the start menu's opacity runs from 0 in steps of 5, a smaller menu's from 100 in
  // steps of 10; both take about as long as a user saw them take on the machines we measured.
  static constexpr MenuFade::Steps kStartMenuFade{0, 5, 100};
  static constexpr MenuFade::Steps kSmallMenuFadeIn{100, 10, 50};
  static constexpr MenuFade::Steps kSmallMenuFadeOut{255, 10, 50};

  explicit PopupMenu(Design design);
  ~PopupMenu() override;

  // Makes the window and its entries, hidden; `owner` null: the menu makes a hidden owner of its
  // own. False if the platform refused. Once; later calls do nothing.
  bool Load(HWND owner = nullptr);
  bool Loaded() const { return Handle() != nullptr; }
  // The hidden window that owns this menu.
  HWND Owner() const;

  // Place in twips (the window's size follows its entries).
  double Left() const { return leftTwips_; }
  double Top() const { return topTwips_; }
  void SetLeft(double twips);
  void SetTop(double twips);
  void Move(double leftTwips, double topTwips);
  double Width() const { return widthTwips_; }
  double Height() const { return heightTwips_; }

  // Fades the window in.
  virtual void ShowForm();
  // Invisible at once, no fade.
  void Hide();
  bool Visible() const { return Loaded() && IsWindowVisible(Handle()); }
  // To the front of the z-order, not activated.
  void ZOrder();
  // Topmost and shown, not activated.
  void MakeTopmost();

  // Stops the entries' hover tracking.
  void UnloadAll();
  // Closing: invisible, the entries stop tracking, the window is destroyed.
  virtual void Unload();

  int EntryCount() const { return static_cast<int>(entries_.size()); }
  MenuButton& Button(int index) { return *entries_.at(static_cast<size_t>(index)); }
  // The entry of an index, or null when there is none or the window is unloaded.
  MenuButton* Entry(int16_t index);
  MenuFade& Fade() { return fade_; }

 protected:
  // Makes the entries, once the window exists (with StackEntries).
  virtual void LoadContent() {}
  // Makes one entry per row of `table`, `widthTwips` wide, each starting as a copy of the first
  // one's saved properties and placed right below the one above; the window takes their size.
  // Every entry tracks the pointer and raises `events` with its index.
  void StackEntries(const std::vector<EntryDesign>& table, double widthTwips,
                    const MenuButton::Events& events);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Place();

  Design design_;
  common::WindowHandle ownOwner_;  // when no owner was given
  std::vector<std::unique_ptr<MenuButton>> entries_;
  MenuFade fade_;
  double leftTwips_ = 0, topTwips_ = 0, widthTwips_ = 0, heightTwips_ = 0;
};

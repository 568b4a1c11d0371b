#pragma once
// The notification area of the strip, left of the clock: the icons that programs show through the
// notification protocol, painted into the strip's surface at the small-icon size in up to two
// rows, with a tooltip of each icon's tip and the balloons the icons ask for, one at a time. The
// mouse over an icon reaches its program as the program asked. Its width is the layout's share
// for it: none while no icon shows, and the strip then looks exactly as it does without it.
// UI thread only.
#include <windows.h>

#include <climits>
#include <functional>
#include <vector>

#include "common/handles.h"
#include "shell/taskbar/StripCanvas.h"
#include "shell/taskbar/StripLayout.h"
#include "shell/taskbar/TrayBalloon.h"
#include "shell/taskbar/TrayGrid.h"
#include "shell/taskbar/TrayIcons.h"

class NotificationArea {
 public:
  // The width the area needs changed: the strip lays itself out again (not from inside the
  // request that changed it).
  using WidthChanged = std::function<void()>;

  NotificationArea(StripCanvas& canvas, const StripLayout& layout, WidthChanged widthChanged);
  ~NotificationArea();
  NotificationArea(const NotificationArea&) = delete;
  NotificationArea& operator=(const NotificationArea&) = delete;

  // The strip's window, which the tooltip and the mouse belong to.
  void Create(HWND strip);

  // A notify-icon request of a program; its answer.
  bool Apply(const tray::NotifyRequest& request) { return icons_.Apply(request); }
  TrayIcons& Icons() { return icons_; }
  // Icons whose owner window is gone, go.
  void RemoveOrphans() { icons_.RemoveOrphans(); }

  // The width the icons shown need.
  int NeededWidth() const;
  // Paints the area's band and its icons into the strip (the layout's share for it), and as far
  // left as `clearFrom` when the area was wider before.
  void Paint(int clearFrom = INT_MAX);

  // A mouse message of the strip: true when it was over an icon and is the icon's (a move is
  // also the strip's, so that its buttons hear the pointer left them).
  bool OnMouse(UINT message, WPARAM wParam, LPARAM lParam);

  // NIM_SETFOCUS: the keyboard goes to the icon, and a focus rectangle shows it. The arrows move
  // it, Enter and Space choose the icon (NIN_KEYSELECT), the menu key and Shift+F10 ask for its
  // menu (WM_CONTEXTMENU); Escape, a click or the strip losing the keyboard end it.
  void FocusIcon(const TrayIcon& icon);
  // A keyboard message of the strip: true when it was the focused icon's.
  bool OnKey(UINT message, WPARAM key);
  // The strip lost the keyboard, or the pointer took over.
  void DropFocus();
  const TrayIcon* FocusedIcon() const { return focused_; }

  // Screen rectangle of icon `index` of the visible ones.
  RECT IconScreenRect(int index) const;
  TrayBalloon& Balloon() { return balloon_; }
  HWND Tooltip() const { return tooltip_.Get(); }

 private:
  TrayGrid Grid() const;
  int IconSize() const;
  void IconsChanged();
  void UpdateTooltips();
  void BalloonsChanged();
  void BalloonEnded(TrayBalloon::End end);
  POINT ScreenPoint(int x, int y) const;
  // The index of the focused icon among the shown ones, or -1.
  int FocusedIndex() const;
  void TellFocused(UINT event);

  StripCanvas& canvas_;
  const StripLayout& layout_;
  WidthChanged widthChanged_;
  HWND strip_ = nullptr;
  TrayIcons icons_;
  std::vector<TrayIcon*> shown_;  // the visible icons as last painted
  common::WindowHandle tooltip_;
  int tools_ = 0;  // tools the tooltip holds, ids 1 ... tools_
  // The icon a button went down on, and the last left press (for double clicks: the strip's
  // class has no double clicks of its own).
  TrayIcon* pressed_ = nullptr;
  TrayIcon* lastLeftDown_ = nullptr;
  const TrayIcon* focused_ = nullptr;  // the icon the keyboard is on (NIM_SETFOCUS)
  DWORD lastLeftDownTime_ = 0;
  POINT lastLeftDownAt_ = {};
  // The balloon shown, by its owner and id, and its serial number in the queue.
  TrayBalloon balloon_;
  bool balloonShown_ = false;
  TrayBalloonRequest shownBalloon_;
};

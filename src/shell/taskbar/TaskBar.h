#pragma once
// The shell's skinned taskbar strip, a window made of parts that one layout places: the fixed
// buttons at the left end (start button, six quick-launch buttons, a grip), the task area with
// one task button per task in up to two rows, room for a notification area, and the clock at the
// right end. The strip paints its background, runs the 100 ms clock and poll timers, routes the
// mouse to the fixed buttons, reports their clicks to the host and opens the look menu on a
// right click.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/surface_window.h"
#include "shell/taskbar/FixedButtons.h"
#include "shell/taskbar/NotificationArea.h"
#include "shell/taskbar/StripCanvas.h"
#include "shell/taskbar/StripLayout.h"
#include "shell/taskbar/TaskArea.h"
#include "shell/taskbar/TaskBarClock.h"

class PopupMenu;

// The mouse buttons as the taskbar's click reports them.
enum class MouseButton : int16_t { Left = 1, Right = 2, Middle = 4 };

class TaskBar : public common::SurfaceWindow {
 public:
  static constexpr int kHeightPixels = StripLayout::kHeight;
  static constexpr UINT kClockTimer = 1, kPollTimer = 2, kTickMs = 100;

  // ButtonClicked(Index, Button): a mouse button (MouseButton: 1 left, 2 right, 4 middle)
  // released over an enabled fixed button that has an image.
  using ClickHandler = std::function<void(int16_t Index, int16_t Button)>;

  TaskBar();
  ~TaskBar() override;

  bool Create(HWND parent, int x, int y, int width);
  void SetButtonClicked(ClickHandler handler) { buttonClicked_ = std::move(handler); }
  // The menu a right click opens; null: none.
  void SetMenu(PopupMenu* menu) { menu_ = menu; }

  int32_t Style() const { return canvas_.Style(); }
  void SetStyle(int32_t strStyle);
  void SetStyle(TaskBarStyle look) { SetStyle(StyleValue(look)); }
  // The colour of the strip's -2 pixels; LoadGUI sets it back to 15132390 (0xE6E6E6).
  int32_t TaskBarColor() const { return canvas_.TaskBarColor(); }
  void SetTaskBarColor(int32_t color) { canvas_.SetTaskBarColor(color); }

  // The strip's background over its whole width; also on every resize.
  void LoadGUI();

  // The fixed buttons, as the host adds, enables and resets them.
  const std::vector<TaskBar_Container>& fClassList() const { return fixed_.fClassList(); }
  void AddButton(int32_t Icon, bool Arrow, bool Enabled);
  int16_t GetButtonIndex(double x) const { return fixed_.GetButtonIndex(x); }
  void ResetLastButton() { fixed_.ResetLastButton(); }
  void ButtonEnable(int16_t Index, bool Enable) { fixed_.ButtonEnable(Index, Enable); }
  int16_t HighlightedPosition() const { return fixed_.HighlightedPosition(); }

  // Full rebuild of the task buttons; also starts both timers.
  void LoadTasks() { taskArea_.LoadTasks(); }
  // No task button stays tracking the pointer (at shut-down).
  void SubClassOff() { taskArea_.EmptyButtonBin(); }
  // Empties the task area, rebuilds it, then every fixed button in turn. Asked for while a
  // rebuild or a task button's release lets events run, it waits until they have ended.
  void Repaint();

  int Height() const { return kHeightPixels; }
  const StripLayout& Layout() const { return layout_; }
  FixedButtons& Fixed() { return fixed_; }
  TaskArea& Tasks() { return taskArea_; }
  TaskBarClock& Clock() { return clock_; }
  NotificationArea& Tray() { return tray_; }
  // The notification area moved or changed its width (for the tray window's child over it).
  void SetTrayMoved(std::function<void()> moved) { trayMoved_ = std::move(moved); }
  void ClockTick() { clock_.Tick(canvas_, layout_.Clock()); }
  void PollTick() { taskArea_.PollTick(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A new width: the strip's surface follows (always 54 pixels high) and LoadGUI paints it.
  void Compose(int width, int height) override;

 private:
  void MouseDown(MouseButton button, int x);
  void MouseUp(MouseButton button, int x);
  void OpenMenu(int x);
  // A Repaint that had to wait runs once the rebuild or release that held it up has ended.
  void RepaintIfPending();
  // The notification area takes the width its icons need; the task area follows.
  void LayOutTray();

  ClickHandler buttonClicked_;
  PopupMenu* menu_ = nullptr;
  bool repaintPending_ = false;
  std::function<void()> trayMoved_;

  StripLayout layout_;
  StripCanvas canvas_;
  FixedButtons fixed_;
  TaskBarClock clock_;
  NotificationArea tray_;
  TaskArea taskArea_;  // holds child windows: made last, gone first
};

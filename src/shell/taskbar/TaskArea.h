#pragma once
// The task area of the strip: one task button per task of the task list, in up to two rows,
// between the fixed buttons and the notification area. Its poll (every tick, and at once when the
// system reports a window made, gone, shown, hidden or renamed) compares the task list with what
// the buttons show: a window that came gets one button at the end, a window that went loses its
// own and the others close up, a caption or class icon that changed is shown on its button; no
// other button is made again. The poll sends no message to any window: icons are read right
// after it. A window that asks for attention makes its button flash until it is activated.
// The full rebuild (at start and for a new look) makes every button anew. A rebuild, a change of
// many buttons and a button's release let events run, and none of them is pulled from under
// itself by a tick, an event or a repaint that comes meanwhile. The buttons are child windows of
// the strip. UI thread only.
#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/surface.h"
#include "shell/taskbar/EnumTasks.h"
#include "shell/taskbar/FlashingTasks.h"
#include "shell/taskbar/ModEnumTasks.h"
#include "shell/taskbar/StripLayout.h"
#include "shell/taskbar/TaskBarButton.h"
#include "shell/taskbar/TaskButtonLayout.h"
#include "shell/taskbar/TaskChanges.h"
#include "shell/taskbar/TaskEvents.h"

class TaskArea {
 public:
  // What the strip hears of the task area.
  struct Host {
    // A rebuild begins (the clock starts ticking) and has made its buttons (the poll starts).
    std::function<void()> rebuildBegins;
    std::function<void()> rebuildEnds;
    // A rebuild or a button's release has ended: work that waited for it may run now.
    std::function<void()> settled;
  };

  // `layout` says where the area lies at each rebuild.
  TaskArea(const StripLayout& layout, Host host);
  TaskArea(const TaskArea&) = delete;
  TaskArea& operator=(const TaskArea&) = delete;

  // Makes element 0 of the buttons, invisible, in `strip` with the look `style`, and starts
  // hearing the system's window events.
  void Create(HWND strip, int32_t style);

  // Element 0's look, which new elements take.
  void SetStyle(int32_t style);

  void LoadTasks();
  void LoadTaskButton(int16_t Index);
  void LoadEmpytButton();
  void EmptyButtonBin();
  // One poll of the task list: the buttons follow what changed since the last one.
  void PollTick();
  // The task area changed its width: the buttons take their new places (nothing is made or read
  // again). Inside a rebuild or a release, the next look does it.
  void Relayout();
  // Reads the icons the last poll found missing or changed (what the poll leaves for after it).
  void FetchIcons();
  // The capture surface as an image string.
  std::string RipPicture(int32_t TransColor) const;

  // A rebuild or a button's release is letting events run and holds a button.
  bool Busy() const { return rebuilding_ || releasesRunning_ > 0; }
  bool Rebuilding() const { return rebuilding_; }
  int ReleasesRunning() const { return releasesRunning_; }
  int KnownTaskCount() const { return knownTaskCount_; }
  int ButtonElementCount() const { return static_cast<int>(TaskBarButton1.size()); }
  TaskBarButton& TaskButton(int element) {
    return *TaskBarButton1.at(static_cast<size_t>(element));
  }
  // The task button of a window, or null.
  TaskBarButton* ButtonOf(HWND window);
  // The tasks the buttons show, in the buttons' order.
  const std::vector<ModEnumTasks::Task>& Shown() const { return shown_; }
  // Where the system's messages about windows arrive (tests send theirs there).
  TaskEvents& Events() { return events_; }
  const FlashingTasks& Flashing() const { return flashing_; }

 private:
  // Comparing and applying (PollTick's work).
  void Apply(const TaskChanges& changes, const std::vector<ModEnumTasks::Task>& now);
  void RemoveButton(size_t position);
  void AddButton(const ModEnumTasks::Task& task);
  // Every button where the layout puts it for the number of tasks now.
  void PlaceButtons();
  // The icon of a window, captured and encoded as an image string.
  std::string CaptureIcon(HWND window);
  void WantIcon(HWND window);
  // Flashing buttons take the face of their half of the flash; activated windows stop.
  void ShowFlashes();
  // What the system's events mean to the buttons.
  void Came(HWND window);
  void Went(HWND window);
  void Retitled(HWND window);
  void Redrawn(HWND window);
  void FlashStarts(HWND window);
  void FlashStops(HWND window);
  int ShownAt(HWND window) const;
  // A rebuild or a change of the buttons has ended: what waited for it may run.
  void Settled();

  void Rebuild();
  // One pass over the task list; false when it may stop early and the number of tasks changed
  // while it ran (the buttons it made are then out of date).
  bool BuildButtons(bool mayRestart);
  void TrimSpares();
  std::unique_ptr<TaskBarButton> NewButton();

  const StripLayout& layout_;
  Host host_;
  HWND strip_ = nullptr;
  int32_t style_ = StyleValue(TaskBarStyle::Flat);
  int knownTaskCount_ = 0;
  TaskButtonLayout places_;
  bool rebuilding_ = false;       // a rebuild, a change of buttons or an icon read lets events run
  bool polling_ = false;          // a poll tick lets events run while it enumerates a crowd
  int releasesRunning_ = 0;       // task-button release handlers in progress
  bool lookAfterwards_ = false;   // a tick or an event came while the buttons were busy
  bool placeAfterwards_ = false;  // the area changed its width while the buttons were busy

  EnumTasks EnumTasks1;
  std::vector<ModEnumTasks::Task> shown_;  // what TaskBarButton1[0 ... count - 1] show
  std::deque<HWND> iconsWanted_;           // windows whose button waits for its icon
  FlashingTasks flashing_;
  bool flashesShown_ = false;  // a button may still show the lit half of a flash
  std::vector<std::unique_ptr<TaskBarButton>> TaskBarButton1;
  std::vector<std::unique_ptr<TaskBarButton>> spare_;  // hidden, for the next rebuild
  common::MemorySurface Picture1;  // capture surface for one task icon at a time
  TaskEvents events_;              // last: its events stop before the buttons go
};

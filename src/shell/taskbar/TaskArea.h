#pragma once
// The task area of the strip: one task button per task of the task list, in up to two rows,
// between the fixed buttons and the notification area. It polls the task list and rebuilds every
// button when the number of tasks changes; a rebuild and a button's release let events run, and
// neither is pulled from under itself by a tick or a repaint that comes meanwhile. The buttons
// are child windows of the strip. UI thread only.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/surface.h"
#include "shell/taskbar/EnumTasks.h"
#include "shell/taskbar/StripLayout.h"
#include "shell/taskbar/TaskBarButton.h"
#include "shell/taskbar/TaskButtonLayout.h"

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

  // Makes element 0 of the buttons, invisible, in `strip` with the look `style`.
  void Create(HWND strip, int32_t style);

  // Element 0's look, which new elements take.
  void SetStyle(int32_t style);

  void LoadTasks();
  void LoadTaskButton(int16_t Index);
  void LoadEmpytButton();
  void EmptyButtonBin();
  // One poll of the task list: a rebuild when the number of tasks changed.
  void PollTick();
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

 private:
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
  bool rebuilding_ = false;  // a rebuild lets events run while it reads icons
  bool polling_ = false;     // a poll tick lets events run while it enumerates a crowd
  int releasesRunning_ = 0;  // task-button release handlers in progress

  EnumTasks EnumTasks1;
  std::vector<std::unique_ptr<TaskBarButton>> TaskBarButton1;
  std::vector<std::unique_ptr<TaskBarButton>> spare_;  // hidden, for the next rebuild
  common::MemorySurface Picture1;  // capture surface for one task icon at a time
};

#pragma once
// What changed between the tasks the buttons show and the tasks there are now, so that the
// taskbar touches only the buttons concerned: windows that went lose their button, windows that
// came get one at the end (in the order they are listed now), and windows whose caption or class
// icon changed have their button updated. Logic only: no window.
#include <cstddef>
#include <vector>

#include "shell/taskbar/ModEnumTasks.h"

struct TaskChanges {
  // A window in both lists: its positions in each.
  struct Kept {
    size_t shown;
    size_t now;
    bool operator==(const Kept&) const = default;
  };
  std::vector<size_t> gone;     // positions in the shown list, ascending
  std::vector<size_t> come;     // positions in the new list, in its order
  std::vector<Kept> retitled;   // its caption changed
  std::vector<Kept> reiconed;   // its class icon changed

  bool CountChanges() const { return !gone.empty() || !come.empty(); }
  bool Any() const { return CountChanges() || !retitled.empty() || !reiconed.empty(); }
};

TaskChanges CompareTasks(const std::vector<ModEnumTasks::Task>& shown,
                         const std::vector<ModEnumTasks::Task>& now);

#include "shell/taskbar/TaskChanges.h"

#include <unordered_map>

TaskChanges CompareTasks(const std::vector<ModEnumTasks::Task>& shown,
                         const std::vector<ModEnumTasks::Task>& now) {
  TaskChanges changes;
  std::unordered_map<HWND, size_t> nowAt;
  nowAt.reserve(now.size());
  for (size_t i = 0; i < now.size(); ++i) nowAt.emplace(now[i].window, i);
  std::unordered_map<HWND, size_t> shownAt;
  shownAt.reserve(shown.size());
  for (size_t i = 0; i < shown.size(); ++i) {
    shownAt.emplace(shown[i].window, i);
    const auto found = nowAt.find(shown[i].window);
    if (found == nowAt.end()) {
      changes.gone.push_back(i);
      continue;
    }
    const ModEnumTasks::Task& task = now[found->second];
    if (task.caption != shown[i].caption) changes.retitled.push_back({i, found->second});
    if (task.classIcon != shown[i].classIcon) changes.reiconed.push_back({i, found->second});
  }
  for (size_t i = 0; i < now.size(); ++i)
    if (shownAt.find(now[i].window) == shownAt.end()) changes.come.push_back(i);
  return changes;
}

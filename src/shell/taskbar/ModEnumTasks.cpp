#include "shell/taskbar/ModEnumTasks.h"

#include "common/text.h"

namespace ModEnumTasks {

bool IsTask(HWND window) {
  if (!IsWindowVisible(window)) return false;
  const HWND owner = GetWindow(window, GW_OWNER);
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  if (owner == nullptr) return !(exStyle & WS_EX_TOOLWINDOW);
  return (exStyle & WS_EX_APPWINDOW) != 0;
}

std::wstring ReadCaption(HWND window) {
  char buffer[255] = {};
  const int copied = GetWindowTextA(window, buffer, 255);
  if (copied <= 0) return {};
  std::string bytes(buffer, static_cast<size_t>(copied));
  common::TrimIncompleteAnsi(bytes);
  return common::FromAnsi(bytes);
}

namespace {

BOOL CALLBACK AddTask(HWND window, LPARAM context) {
  if (IsTask(window))
    reinterpret_cast<std::vector<Task>*>(context)->push_back({window, ReadCaption(window)});
  return TRUE;  // never stop early
}

}  // namespace

std::vector<Task> EnumerateTasks() {
  std::vector<Task> tasks;
  EnumWindows(&AddTask, reinterpret_cast<LPARAM>(&tasks));
  return tasks;
}

}  // namespace ModEnumTasks

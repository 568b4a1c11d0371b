#pragma once
// Which top-level windows are tasks (running applications that get a taskbar button), and how
// their captions are read.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ModEnumTasks {

// Visible, and either unowned and not a tool window, or owned and marked as an application
// window. Nothing else counts: an empty caption or a minimised window is still a task.
bool IsTask(HWND window);

// The caption as GetWindowTextA gives it: at most 254 bytes of the ANSI code page. Reading it
// sends no message to any window, not even to one of another thread of the caller's own process,
// so a window that does not answer cannot hold the caller up.
std::wstring ReadCaption(HWND window);

// The small icon of the window's class, read without a message (what the taskbar compares to
// notice a changed icon at every poll); null when there is none or it cannot be read.
HICON ReadClassIcon(HWND window);

struct Task {
  HWND window = nullptr;
  std::wstring caption;
  HICON classIcon = nullptr;
};

// How many tasks there are now: the test of EnumerateTasks without reading a caption;
// `between` as there.
int CountTasks(const std::function<void()>& between = nullptr);

// Every task with its caption and class icon, in the order the system enumerates top-level
// windows (front to back). `between`,
// when given, is called between two windows (the taskbar lets pending events run there when a
// crowd of windows makes the pass long).
std::vector<Task> EnumerateTasks(const std::function<void()>& between = nullptr);

}  // namespace ModEnumTasks

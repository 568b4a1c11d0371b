#include "shell/taskbar/ModEnumTasks.h"

#include "common/text.h"

namespace ModEnumTasks {

namespace {
// The longest caption the task list keeps, in ANSI bytes.
constexpr size_t kCaptionBytes = 254;
}  // namespace

bool IsTask(HWND window) {
  if (!IsWindowVisible(window)) return false;
  const HWND owner = GetWindow(window, GW_OWNER);
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  if (owner == nullptr) return !(exStyle & WS_EX_TOOLWINDOW);
  return (exStyle & WS_EX_APPWINDOW) != 0;
}

std::wstring ReadCaption(HWND window) {
  // GetWindowTextA would send WM_GETTEXT to a window of another thread of this process; the
  // window manager's own copy of the text is read instead, and cut as GetWindowTextA cuts it:
  // at 254 bytes of the ANSI code page, never inside a double-byte character.
  wchar_t buffer[kCaptionBytes + 1] = {};
  const int copied = InternalGetWindowText(window, buffer, kCaptionBytes + 1);
  if (copied <= 0) return {};
  std::string bytes = common::ToAnsi(std::wstring(buffer, static_cast<size_t>(copied)));
  if (bytes.size() > kCaptionBytes) bytes.resize(kCaptionBytes);
  common::TrimIncompleteAnsi(bytes);
  return common::FromAnsi(bytes);
}

HICON ReadClassIcon(HWND window) {
  return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
}

namespace {

BOOL CALLBACK AddWindow(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;  // never stop early
}

}  // namespace

int CountTasks(const std::function<void()>& between) {
  std::vector<HWND> windows;
  EnumWindows(&AddWindow, reinterpret_cast<LPARAM>(&windows));
  int count = 0;
  for (HWND window : windows) {
    count += IsTask(window) ? 1 : 0;
    if (between) between();
  }
  return count;
}

std::vector<Task> EnumerateTasks(const std::function<void()>& between) {
  // The windows first, in one pass; then the tests and captions, window by window.
  std::vector<HWND> windows;
  EnumWindows(&AddWindow, reinterpret_cast<LPARAM>(&windows));
  std::vector<Task> tasks;
  for (HWND window : windows) {
    if (IsTask(window)) tasks.push_back({window, ReadCaption(window), ReadClassIcon(window)});
    if (between) between();
  }
  return tasks;
}

}  // namespace ModEnumTasks

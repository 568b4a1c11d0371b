#pragma once
// The task list of the taskbar: two parallel lists, window handles as signed 32-bit decimal
// text and captions, refreshed on request and stable in between. Icons are not stored; they are
// fetched from the window each time one is drawn.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/taskbar/ModEnumTasks.h"

class EnumTasks {
 public:
  // Time allowed to a window for an icon message. The rebuild asks every task on the UI thread,
  // so a window that does not answer must not hold it up: 25 ms, not a second, and a window that
  // let one message time out is asked no further message (a window that has only just stopped
  // answering is not yet "hung" to the system, so SMTO_ABORTIFHUNG alone does not help). Its
  // button then shows no icon, or its class's.
  static constexpr UINT kIconTimeoutMs = 25;

  // Empties the lists and lists every task anew.
  void GetWindows();
  // The same list as the tasks themselves (handle, caption, class icon).
  const std::vector<ModEnumTasks::Task>& Tasks() const { return tasks_; }

  // Number of tasks, as decimal text.
  std::wstring RunningAppCount() const;
  // Entries at a position; an empty text outside the list.
  std::wstring GetAppName(int16_t Index) const;
  std::wstring GetAppHWND(int16_t Index) const;

  // Draws the icon of the task at Index at the top-left corner of the DC.
  void GetIcon(HDC picture, int16_t Index) const;
  // Draws a window's icon at 16 x 16; nothing when it has none.
  static void DrawIcon(HDC hdc, HWND hwnd, int16_t x, int16_t y);
  // The window's small icon, else its class's small icon, big icon, class icon, drag icon;
  // null when none answers. The handles belong to the window or its class. At most one icon
  // message times out per call.
  static HICON GetIcons(HWND hwnd);

 private:
  std::vector<std::wstring> List1;  // handles
  std::vector<std::wstring> List2;  // captions
  std::vector<ModEnumTasks::Task> tasks_;
};

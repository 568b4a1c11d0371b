#pragma once
// What the system tells a shell about top-level windows sooner than the taskbar's poll would
// notice it, heard by a hidden window of the task area:
// - the shell messages (a window made or gone, its caption or icon redrawn, a window flashing
//   for attention, a window activated), once the window is registered for them;
// - the window events of other processes (a window made, gone, shown, hidden or renamed).
// Either may be missing (Wine gives no shell messages and, of the window events, only creations):
// the poll still finds every change within a tenth of a second, so the events only make it come
// sooner. The same window runs the task area's work that waits for the current message to end.
// UI thread only.
#include <windows.h>

#include <functional>

#include "common/handles.h"
#include "common/window.h"

class TaskEvents : public common::Window {
 public:
  // What the task area hears. Each gets the window concerned.
  struct Listener {
    std::function<void(HWND)> came;       // made or shown (a top-level window)
    std::function<void(HWND)> went;       // gone or hidden
    std::function<void(HWND)> retitled;   // its caption changed
    std::function<void(HWND)> redrawn;    // its caption or icon may have changed
    std::function<void(HWND)> flashing;   // it asks for attention
    std::function<void(HWND)> activated;  // it became the active window
    // Work asked for with LookSoon and FetchIconsSoon.
    std::function<void()> look;
    std::function<void()> fetchIcons;
  };

  explicit TaskEvents(Listener listener);
  ~TaskEvents() override;

  // Makes the window and asks for the shell messages and the window events; false when the
  // window cannot be made (the poll then does everything).
  bool Start();
  // Whether the system agreed to send them.
  bool ShellMessages() const { return registered_; }
  bool WindowEvents() const { return static_cast<bool>(shownHook_); }
  // The message number of the shell messages.
  UINT ShellMessage() const { return shellMessage_; }

  // One window event as the system reports it.
  void OnWindowEvent(DWORD event, HWND window, LONG object, LONG child);

  // Runs `look` / `fetchIcons` once the current message is handled; asked again before that,
  // still once.
  void LookSoon();
  void FetchIconsSoon();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static void CALLBACK WindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                   LONG child, DWORD thread, DWORD time);
  void OnShellMessage(WPARAM code, HWND window);
  void Stop();

  Listener listener_;
  UINT shellMessage_ = 0;
  bool registered_ = false;
  bool lookPosted_ = false;
  bool fetchPosted_ = false;
  common::WinEventHook shownHook_;    // made, gone, shown, hidden
  common::WinEventHook renamedHook_;  // renamed
};

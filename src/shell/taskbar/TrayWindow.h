#pragma once
// The shell's end of the notification protocol: a hidden top-level window of the class programs
// look for ("Shell_TrayWnd"), kept above the Windows taskbar's window of that class so that a
// search finds it first. It lies where the strip is, for programs that ask the taskbar's window
// where the taskbar is, and holds a child of the class "TrayNotifyWnd" over the notification
// area, for programs that place their pop-ups beside it. It hears:
// - WM_COPYDATA with notify-icon records (Windows' and Wine's), handed on decoded;
// - WM_COPYDATA with SHAppBarMessage requests: the taskbar's place, state and auto-hide bar are
//   answered from the strip; other programs' own app bars are passed on to the Windows taskbar's
//   window, which keeps serving them (the shell's strip is not an app bar among them).
// Everything that arrives is another program's data and is checked before it is used. The
// window is marked, so that the shell's search for the Windows taskbar passes it by. UI thread.
#include <windows.h>

#include <functional>

#include "common/window.h"
#include "shell/taskbar/NotifyRecord.h"

class TrayWindow : public common::Window {
 public:
  static constexpr const wchar_t* kClassName = L"Shell_TrayWnd";
  static constexpr const wchar_t* kNotifyClassName = L"TrayNotifyWnd";
  // How often icons of programs that ended without removing them are looked for.
  static constexpr UINT kOrphanTimer = 1, kOrphanMs = 1000;

  struct Host {
    std::function<bool(const tray::NotifyRequest&)> notify;
    std::function<RECT()> stripRect;  // the strip, in screen pixels
    std::function<void()> lookForOrphans;
  };

  TrayWindow() = default;
  ~TrayWindow() override;

  bool Create(Host host);
  // Back above a Windows taskbar window that was made again.
  void KeepFirst();
  // Lies where the strip is; the child covers `notifyArea` (screen pixels).
  void Place(const RECT& strip, const RECT& notifyArea);
  HWND NotifyChild() const { return notify_.Handle(); }

  // Tells every top-level window that a taskbar was made, so that programs add their icons
  // again (to whichever tray window is found first).
  static void AnnounceTaskbar();
  // True while AnnounceTaskbar runs: the notice the shell gets from itself is not a new Windows
  // taskbar.
  static bool Announcing();

  // The answer to one app-bar request (what SendMessage returns to its sender).
  LRESULT AnswerAppBar(const tray::AppBarRequest& request);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  class NotifyChildWindow : public common::Window {
   public:
    ~NotifyChildWindow() override { Destroy(); }
    bool Create(HWND parent);
  };

  LRESULT CopyData(HWND sender, const COPYDATASTRUCT& data);

  Host host_;
  NotifyChildWindow notify_;
};

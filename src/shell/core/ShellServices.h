#pragma once
// What the shell's windows do to the world outside themselves: open a configured link, start a
// command, end the message loop. The program uses the real ones; tests record the calls instead.
#include <windows.h>

#include <functional>
#include <string>

struct ShellServices {
  // ShellExecuteA(owner, "open", link, "", "", SW_SHOW); every error is ignored.
  std::function<void(HWND owner, const std::wstring& link)> openLink;
  // Starts a command line without waiting, its first window shown with `show`; a command that
  // cannot start is ignored.
  std::function<void(const std::wstring& commandLine, int show)> startCommand;
  // Ends the message loop: the program then returns from its entry point, and every window and
  // object still there is torn down on the way.
  std::function<void()> quitLoop;
  // A modal message box without owner, captioned "ZephraShell"; null: the real one.
  std::function<void(const std::wstring& text)> showMessage;

  static ShellServices Real();
};

#pragma once
// Starting documents, links and command lines.
#include <windows.h>

#include <string>

namespace common {

// ShellExecuteA(owner, verb, file, "", "", show); returns the platform's result code
// (greater than 32 on success).
INT_PTR ShellExecuteAnsi(HWND owner, const std::wstring& verb, const std::wstring& file, int show);

struct StartResult {
  bool started = false;
  DWORD error = 0;  // GetLastError() when not started
};

// Starts a command line without waiting for it, its first window shown with `show`.
StartResult StartCommandLine(const std::wstring& commandLine, int show);

// Text of a system error code, in the system's language, without the trailing line break.
std::wstring SystemErrorText(DWORD error);

}  // namespace common

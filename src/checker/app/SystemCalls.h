#pragma once
// The checker's calls into the system that the main window makes for the whole program.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// Starts a command line in a new console, shown normally, and waits without limit until the
// process has ended; its exit code, none when the command could not be started (or the wait
// failed). While it waits, `owner` is disabled (as under a modal dialog) and `pump` runs
// whenever messages arrive, so the windows keep painting and stay responsive to the system.
std::optional<DWORD> RunAndWait(const std::wstring& commandLine, HWND owner,
                                const std::function<void()>& pump);

// ShellExecuteA with the default verb, shown normally; the result is not looked at.
void OpenAddress(HWND owner, const std::wstring& address);

// The path of a special folder (CSIDL_...), empty when it cannot be obtained.
std::wstring GetSpecialFolder(HWND owner, int csidl);

// GetWindowsDirectoryA; nothing when the system cannot tell.
std::optional<std::wstring> WindowsDirectory();

// Number of entries in section "operating systems" of a boot.ini file (0 when it is missing).
int OperatingSystemCount(const std::wstring& bootIniPath);

#pragma once
// What the main window takes from the system, gathered in one place so that tests can put in
// versions of their own (another Windows version, a private settings folder, a runner that
// records command lines instead of starting them).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "checker/scanners/ScanHost.h"
#include "checker/scanners/TarqGetOSInfo.h"

struct CheckerServices {
  TTarqOSInfo::VersionQuery versionQuery = &TTarqOSInfo::SystemQuery;
  // Records the program's location in the registry (the file description writer).
  std::function<void()> recordProgramPath;
  std::function<std::optional<std::wstring>()> windowsDirectory;
  std::function<bool(const std::wstring& path)> fileExists;
  // Folder of Set.ini.
  std::wstring programDirectory;
  std::wstring bootIniPath = L"C:\\boot.ini";
  // The path of a special folder (CSIDL); the system's own when not given.
  std::function<std::wstring(HWND owner, int csidl)> specialFolder;
  // A message box without owner, caption "Sanivo".
  std::function<int(const std::wstring& text, UINT type)> messageBox;
  // The exit code of the command, none when it could not be started.
  std::function<std::optional<DWORD>(const std::wstring& commandLine, HWND owner,
                                     const std::function<void()>& pump)>
      runAndWait;
  // Hands a web or mail address to the system's default verb, shown normally; failures are the
  // system's to show or not.
  std::function<void(HWND owner, const std::wstring& address)> openAddress;
  // Where the HTML Help control's class registration is looked up.
  HKEY helpClasses = HKEY_CLASSES_ROOT;
  // The scanners a scan runs.
  std::function<ScannerSet()> scanners;
  // The end of the main window ends the message loop (the program; not a test).
  bool quitOnDestroy = true;

  // The real system, for the program.
  static CheckerServices Real();
};

#pragma once
// The file-system questions the scans ask, as replaceable functions: the real system for the
// program, a table of made-up drives and files for the tests of the path rules. Paths go to the
// system through its ANSI functions, as they came out of the registry. Any thread.
#include <windows.h>

#include <functional>
#include <string>

struct FileQueries {
  // GetDriveType of a root such as "C:\".
  std::function<UINT(const std::wstring& root)> DriveType;
  // Bit n set: drive letter 'A' + n exists.
  std::function<DWORD()> LogicalDrives;
  // An existing file that is not a directory.
  std::function<bool(const std::wstring& path)> FileExists;
  // An existing file or an existing directory.
  std::function<bool(const std::wstring& path)> PathExists;

  static FileQueries System();
};

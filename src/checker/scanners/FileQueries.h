#pragma once
// The file-system questions the scans ask, as replaceable functions: the real system for the
// program, a table of made-up drives and files for the tests of the path rules. Paths go to the
// system through its ANSI functions, as they came out of the registry. Any thread.
//
// The header needs no <windows.h>, so that the path rules built on it also compile on their own
// (the native fuzz build); the types are those of the platform (UINT, DWORD).
#include <functional>
#include <string>

// GetDriveType's answer for a fixed disk (DRIVE_FIXED).
inline constexpr unsigned kDriveFixed = 3;

struct FileQueries {
  // GetDriveType of a root such as "C:\".
  std::function<unsigned(const std::wstring& root)> DriveType;
  // Bit n set: drive letter 'A' + n exists.
  std::function<unsigned long()> LogicalDrives;
  // An existing file that is not a directory.
  std::function<bool(const std::wstring& path)> FileExists;
  // An existing file or an existing directory.
  std::function<bool(const std::wstring& path)> PathExists;

  static FileQueries System();
};

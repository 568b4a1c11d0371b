#pragma once
// The file-system questions the scans ask, as replaceable functions: the real system for the
// program, a table of made-up drives and files for the tests of the path rules. Paths go to the
// system through its ANSI functions, as they came out of the registry. Any thread.
//
// The header needs no <windows.h>, so that the path rules built on it also compile on their own
// (the native fuzz build); the types are those of the platform (UINT, DWORD).
#include <functional>
#include <string>
#include <vector>

// GetDriveType's answer for a fixed disk (DRIVE_FIXED).
inline constexpr unsigned kDriveFixed = 3;

// What the file system says about a path. Unknown: it cannot tell (the path is too long for the
// system's ANSI functions, access is denied, the device is not ready, ...).
enum class PathKind { Missing, File, Folder, Unknown };

struct FileQueries {
  // GetDriveType of a root such as "C:\".
  std::function<unsigned(const std::wstring& root)> DriveType;
  // Bit n set: drive letter 'A' + n exists.
  std::function<unsigned long()> LogicalDrives;
  // An existing file that is not a directory.
  std::function<bool(const std::wstring& path)> FileExists;
  // An existing file or an existing directory.
  std::function<bool(const std::wstring& path)> PathExists;
  // The texts a text holding environment variables ("%SystemRoot%\x.exe") stands for, expanded
  // as the system would for the programs that read it: more than one where a variable means two
  // folders (on 64-bit Windows %ProgramFiles% is one folder to 32-bit and another to 64-bit
  // programs). A variable that is not set stays as it is. Missing: nothing is expanded, and a
  // text holding a variable is not judged.
  std::function<std::vector<std::wstring>(const std::wstring& text)> Expand;

  // The real system. A path the system cannot tell about counts as existing, file and folder
  // alike: the scans report only what is known to be gone, since a report may end in a deletion.
  static FileQueries System();

  // `files`, asking the type of each drive root once: a drive keeps its type for the life of a
  // scan, and the system answers slowly (Wine asks its mount manager every time). The copy made
  // belongs to one thread.
  static FileQueries RememberingDriveTypes(FileQueries files);

  // FileExists and PathExists over `look`, which tells what a path is as this program sees it or,
  // with `redirectionOff`, with the file-system redirection of 64-bit Windows turned off. Under
  // that redirection (`wow64`: a 32-bit program on 64-bit Windows) "System32" shows the 32-bit
  // "SysWOW64"; registry paths come from 32-bit and 64-bit programs alike, so a path counts as
  // existing when either view has it.
  static FileQueries OverLook(
      std::function<PathKind(const std::wstring& path, bool redirectionOff)> look, bool wow64);
};

#pragma once
// The rules of the disk scans that need no walk: which folders are left out, and when a
// shortcut's target counts as gone. Any thread.
#include <string>
#include <vector>

#include "checker/scanners/FileQueries.h"

// What GetLinkTarget gives instead of a target of one to three characters (a drive root and the
// like): such a shortcut always counts as valid.
inline constexpr wchar_t kLinkMarker[] = L"tarq";

// A folder that the disk scans leave out with everything below it: its path, lower-cased,
// contains the lower-cased backup folder name (`bakPath`; an empty name adds nothing), "backup"
// or "system volume information".
bool SkippedDirectory(const std::wstring& path, const std::wstring& bakPath);

// A file name matches a find mask of '*' (any run of characters) and '?' (any one character),
// letter case aside; "*.*" matches every name, as it does for the system's find functions.
bool MatchesMask(const std::wstring& name, const std::wstring& mask);

// A 32-bit checker on 64-bit Windows sees the system through WOW64: the System32 folder shows
// the contents of SysWOW64, and the shell link object hands out targets below the 64-bit
// Program Files and System32 folders as paths below their 32-bit twins. A shortcut made for the
// 64-bit system (the Snipping Tool's, say) must not look broken for that reason alone.
struct Wow64Folders {
  bool active = false;           // a 32-bit program on 64-bit Windows; nothing else applies then
  std::wstring system32;         // the Windows folder's System32 (the 64-bit one, seen redirected)
  std::wstring sysWow64;         // the Windows folder's SysWOW64
  std::wstring programFiles;     // the 64-bit Program Files folder
  std::wstring programFilesX86;  // the 32-bit one, what %ProgramFiles% means to a 32-bit program

  // The folders of this process; not active on 32-bit Windows and in a 64-bit build.
  static Wow64Folders ForThisProcess(const std::wstring& winDir);
};

// The 64-bit paths that a target read by a 32-bit program may stand for: below SysWOW64 the same
// path below System32, below the 32-bit Program Files the same path below the 64-bit one. Empty
// when WOW64 is not active or neither applies.
std::vector<std::wstring> Wow64Alternatives(const std::wstring& target, const Wow64Folders& wow64);

// A shortcut is broken when its target is a path with a drive letter ("X:\...") on a local
// fixed drive, and names neither a file nor a folder there. Never broken: an empty target (a
// shell object, a printer), the marker, a network path ("\\server\..."), a path without a
// drive letter ("notepad.exe", which the system would also find on the search path), a target
// on a drive letter that is not there now or on a removable, CD-ROM, network or RAM drive (the
// disk may just be away), and a target whose text holds '?' or '*' (no
// file name can: a '?' stands for a character the ANSI code page could not hold, so the path
// as read is not the real one). Under WOW64 the target and its 64-bit alternatives are looked
// for with the file-system redirection off, as the 64-bit system that runs the shortcut sees
// them.
bool BrokenLinkTarget(const std::wstring& target, const FileQueries& files,
                      const Wow64Folders& wow64);

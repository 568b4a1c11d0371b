#pragma once
// The two disk scans of the check list: shortcut files on the fixed drives whose target is gone
// (ScanLinkFiles) and empty folders below the Start menu's Programs folder (Scan_Direrr). Both
// run in the UI thread, let window messages run as they go (the worker threads' rows and the
// Stop command come through them) and end at their next look at Scanning after a Stop.
//
// Messages run after every folder visited and every row added, and in between, while entries
// are listed and shortcuts read, at least every kPumpIntervalMs: a look at the message queue
// costs more than a folder entry, and the user sees no difference.
//
// Folders are listed through the system's wide functions, so that a name the ANSI code page
// cannot hold is neither mistaken for a wildcard nor cut; a path that the repair could not reach
// through the ANSI functions (such a name, or longer than MAX_PATH bytes) is never reported.
// Folders that are junctions or symbolic links are not followed: no walk in circles, no walk of
// another drive through a link.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checker/scanners/DiskRules.h"
#include "checker/scanners/FileQueries.h"
#include "checker/scanners/ScanHost.h"
#include "checker/scanners/ShellLink.h"

// UI thread only. One object serves one scan.
class DiskScans {
 public:
  // FindFiles' mode that checks every file found as a shortcut (the one mode there is).
  static constexpr int kCheckShortcuts = 3;

  DiskScans(ScanHost& host, FileQueries files, Wow64Folders wow64);
  ~DiskScans();
  DiskScans(const DiskScans&) = delete;
  DiskScans& operator=(const DiskScans&) = delete;

  // Every fixed drive from B: to Z:, each walked with the pending-scan count raised. On a system
  // of major version 4 with several operating systems it asks first, and anything but Yes skips
  // the check.
  void ScanLinkFiles();
  // Walks `directory` (ending in "\") and everything below it for files matching `mask`:
  // subfolders noted first, the folder's files checked, then the subfolders in order.
  void FindFiles(const std::wstring& directory, const std::wstring& mask, int mode);
  // Where the shortcut file points (ShellLinkReader::Target), or kLinkMarker for a target of one
  // to three characters.
  std::wstring GetLinkTarget(const std::wstring& path);
  // The row of a broken shortcut `file` in `directory` (ending in "\"); only while scanning.
  void ListView1_AddFile(const std::wstring& directory, const WIN32_FIND_DATAW& file,
                         const std::wstring& target);

  // The empty folders below the Programs folder, the Startup folder and the Programs folder
  // itself excepted.
  void Scan_Direrr();
  // Notes `directory` (without a trailing "\") in EmptyDirs when it was listed to its end and
  // holds nothing, then looks below it.
  void FindEmptyDirs(const std::wstring& directory);

 private:
  static constexpr DWORD kPumpIntervalMs = 10;

  void ProcessMessages();
  void KeepResponsive();
  void CheckShortcut(const std::wstring& directory, const WIN32_FIND_DATAW& file);
  bool LeftOut(const std::wstring& directory) const;

  ScanHost& host_;
  const FileQueries files_;
  const Wow64Folders wow64_;
  std::unique_ptr<ShellLinkReader> links_;  // made at the first shortcut, kept for the walk
  std::vector<std::wstring> emptyDirs_;     // EmptyDirs, filled only during Scan_Direrr
  DWORD lastPump_ = 0;                      // tick count of the last time messages ran
};

// The rule of the shortcut scan for one shortcut file, judged now: the scan and the repair's
// second look at a row use the same. The target a row gives (GetLinkTarget's) when the shortcut
// is broken (BrokenLinkTarget), it was not made for a folder and its target came through the
// ANSI shell link whole (ShellLinkReader::LoadedFacts); none otherwise.
std::optional<std::wstring> BrokenShortcutTarget(ShellLinkReader& links, const std::wstring& path,
                                                 const FileQueries& files,
                                                 const Wow64Folders& wow64);

// The folder was listed to its end and holds nothing at all, hidden and system entries
// included: the rule of the empty-folder scan.
bool FolderIsEmpty(const std::wstring& path);

// The scanners of the rows BrokenShortcuts and EmptyMenuFolders, on the real system.
void ScanLinkFiles(ScanHost& host);
void Scan_Direrr(ScanHost& host);

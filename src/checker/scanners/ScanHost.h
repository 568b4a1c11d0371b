#pragma once
// What the scanners see of the checker: the values the main window keeps for the whole run, and
// the main window's side of a scan for the synchronous scans that run in the UI thread.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "checker/scanners/ScanResultRow.h"
#include "checker/scanners/ScanThread.h"

// Process-wide values, owned by the main window. UI thread only; worker threads get copies of
// what they need when they are made.
struct ScanEnvironment {
  int MajorVersion = 0;       // of the Windows version
  std::wstring WinDir;        // the Windows directory
  HWND DesktopWnd = nullptr;  // owner for special-folder queries, taken when the window shows
  std::wstring BakPath = L"Backup";  // backup folder name; the disk scans skip such folders
  bool MultiOS = false;              // "C:\boot.ini" lists more than one operating system
  // The path of a special folder (CSIDL), empty when it cannot be obtained.
  std::function<std::wstring(HWND owner, int csidl)> GetSpecialFolder;
  // A message box without owner, caption "Sanivo"; the button pressed.
  std::function<int(const std::wstring& text, UINT type)> ShowMessage;
};

// The main window's side of a scan, for the scans that run in the UI thread. UI thread only.
class ScanHost {
 public:
  virtual ~ScanHost() = default;
  virtual void AddRow(const ScanResultRow& row) = 0;
  virtual void ShowStatus(const std::wstring& text) = 0;
  // Lets pending window messages run: serves the worker threads' hand-offs and lets the user
  // press Stop.
  virtual void ProcessMessages() = 0;
  // Cleared by Stop; the disk scans end at their next look at it.
  virtual bool Scanning() const = 0;
  // A scan activity that pumps messages keeps the count raised while it runs, so that a worker
  // thread ending meanwhile does not finish the scan.
  virtual void RaisePendingScans() = 0;
  virtual void LowerPendingScans() = 0;
  virtual const ScanEnvironment& Environment() const = 0;
};

// The rows of the check list, in their order, each named after what its scan looks for.
enum class CheckRowId : int {
  SoftwareKeys = 0,           // empty application keys
  MenuEntries = 1,            // context-menu handlers, shell verbs, Start-menu order entries
  ClassRegistrations = 2,     // class and file-type registrations (a worker thread)
  HelpFiles = 3,              // registered help files
  SharedDlls = 4,             // shared-DLL reference counts
  UninstallEntries = 5,       // uninstall entries
  Fonts = 6,                  // registered fonts
  CurrentUserReferences = 7,  // paths in HKEY_CURRENT_USER (a worker thread)
  AllUsersReferences = 8,     // paths in HKEY_USERS (a worker thread)
  MachineReferences = 9,      // paths in HKEY_LOCAL_MACHINE (a worker thread)
  BrokenShortcuts = 10,       // shortcut files on the fixed drives
  EmptyMenuFolders = 11,      // empty folders of the Start menu
  ProtectedSystemFiles = 12,  // the system file checker, on Windows 2000, XP and 2003 only
};

constexpr int RowIndex(CheckRowId row) { return static_cast<int>(row); }

// The scanners a scan runs, by check-list row. A scanner that is not there is skipped.
struct ScannerSet {
  // The registry reference rows (CurrentUserReferences, AllUsersReferences, MachineReferences):
  // one worker thread per root key (HKEY_CURRENT_USER, HKEY_USERS, HKEY_LOCAL_MACHINE).
  std::function<std::unique_ptr<TScanThread>(const ScanEnvironment&, HKEY rootKey)> registryThread;
  // ClassRegistrations: the class registration thread.
  std::function<std::unique_ptr<TScanThread>(const ScanEnvironment&)> classThread;

  // The scans that run in the UI thread, by their row (the worker-thread rows and the system
  // file checker have none).
  std::function<void(ScanHost&)>& Synchronous(CheckRowId row) {
    return synchronous_.at(static_cast<size_t>(RowIndex(row)));
  }
  const std::function<void(ScanHost&)>& Synchronous(CheckRowId row) const {
    return synchronous_.at(static_cast<size_t>(RowIndex(row)));
  }

 private:
  std::array<std::function<void(ScanHost&)>, RowIndex(CheckRowId::ProtectedSystemFiles)>
      synchronous_;
};

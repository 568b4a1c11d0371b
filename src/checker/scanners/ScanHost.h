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

// The scanners a scan runs, by check-list row. A scanner that is not there is skipped.
struct ScannerSet {
  static constexpr int kRowCount = 12;

  // Rows 7, 8, 9: one worker thread per root key (HKEY_CURRENT_USER, HKEY_USERS,
  // HKEY_LOCAL_MACHINE).
  std::function<std::unique_ptr<TScanThread>(const ScanEnvironment&, HKEY rootKey)> registryThread;
  // Row 2: the class registration thread.
  std::function<std::unique_ptr<TScanThread>(const ScanEnvironment&)> classThread;
  // Rows 0, 1, 3, 4, 5, 6, 10, 11: scans that run in the UI thread (the other entries stay
  // empty).
  std::array<std::function<void(ScanHost&)>, kRowCount> synchronous;
};

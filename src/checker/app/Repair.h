#pragma once
// Repair of result rows: the action each row asks for, the check that a row names nothing but
// what a scan could have reported, and the repair itself, with what it removes written down
// first (UndoJournal). Kept apart from the main window so that it can be tested without one.
// UI thread only.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "checker/scanners/ScanResultRow.h"

class UndoJournal;

// `Item` of the rows of the two disk scans.
inline constexpr wchar_t kShortcutFileItem[] = L"磁盘文件错误";
inline constexpr wchar_t kEmptyFolderItem[] = L"磁盘目录错误";

// What a row's repair does, by its `Item` and `KeyName`: delete the shortcut file, remove the
// empty folder, empty the key's unnamed value, delete the named value, or delete the key with
// its subkeys.
enum class RepairKind { ShortcutFile, EmptyFolder, DefaultValue, Value, Key };
RepairKind KindOf(const ScanResultRow& row);

// Where the scans look, for RepairAllowed.
struct RepairPlaces {
  // The Start menu's Programs folders: the empty-folder scan reports folders below them.
  std::vector<std::wstring> programFolders;
  // The Startup folders, which that scan never reports.
  std::vector<std::wstring> startupFolders;
  // Name of the backup folders, which the disk scans skip.
  std::wstring bakPath = L"Backup";
};

// True when the row names only what a scan could have reported, and nothing else:
// - a registry row needs a root name, a key path of non-empty components without ".." or "."
//   and texts without zeros and in the code page (anything else would reach another key);
// - a key row, in addition, a key of the shapes the scans report (an application key below
//   "Software", a class, a context-menu handler or verb of "*", "Directory", "Drive" or
//   "Folder", an uninstall entry, a Start-menu order entry), never a key directly below a root
//   and never one the system lives on ("Software\Microsoft", "Software\Classes\CLSID", ...);
// - a shortcut row, a ".lnk" file given by a full path on a drive;
// - an empty-folder row, a folder below the Programs folders of the Start menu, not the Startup
//   folder;
// - both disk rows, a path without "." or ".." components, without wildcards or stream names,
//   and outside the backup folders the scans skip.
bool RepairAllowed(const ScanResultRow& row, const RepairPlaces& places);

// The question before the repair of the selected row.
std::wstring RepairQuestion(const ScanResultRow& row);
// The history's record of a repaired row: its four texts, each followed by a blank but the last.
std::wstring RepairRecord(const ScanResultRow& row);

// Deletes every subkey of the key, depth first, and leaves the key for the caller; `pump` lets
// pending window messages run afterwards. True when anything below the key went.
bool Del_Key2000(HKEY root, const std::wstring& path, const std::function<void()>& pump);

enum class RepairOutcome {
  Repaired,
  Failed,          // the system would not remove it, for another reason
  Refused,         // RepairAllowed said no: for the system's safety
  Changed,         // the row no longer holds: the entry changed since the scan, nothing touched
  AccessDenied,    // no right to change it (Vista and later without administrator rights)
  NotWrittenDown,  // the undo journal could not take it first, so nothing was touched
  PartlyRemoved,   // a key whose deletion stopped half way: some subkeys went, the key stayed
};
struct RepairResult {
  RepairOutcome outcome = RepairOutcome::Failed;
  // What brings it back: the journal, or the copy of the shortcut; also for PartlyRemoved.
  std::wstring undoFile;
};

// Why a row was not repaired, in the words of the box that tells the user (empty for
// Repaired). `undoFile` names the journal for a key that was only partly removed.
std::wstring OutcomeText(const RepairResult& result, const ScanResultRow& row);

// The outcomes of repairing all rows, counted, and the status and history texts that report
// them: "全部修复完毕" and "修复了所有检查到的系统错误" when every row was repaired, else how many
// were repaired and how many were not, and why.
class RepairTally {
 public:
  void Add(RepairOutcome outcome);
  bool AllRepaired() const { return NotRepaired() == 0; }
  int Repaired() const { return count(RepairOutcome::Repaired); }
  int NotRepaired() const;
  std::wstring StatusText() const;
  std::wstring HistoryRecord() const;

 private:
  int count(RepairOutcome outcome) const { return counts_[static_cast<int>(outcome)]; }
  // "R 项为了系统的安全没有修复，C 项在检查之后已经改变……": the causes that occurred.
  std::wstring Causes() const;
  static constexpr int kOutcomes = static_cast<int>(RepairOutcome::PartlyRemoved) + 1;
  int counts_[kOutcomes] = {};
};

// The second look at a row at the moment of its repair: true when the scan that made it would
// make it again now (StillHolds, Recheck.h, for the program).
using RowCheck = std::function<bool(const ScanResultRow& row)>;

class Repairer {
 public:
  // `majorVersion` of Windows: 4 deletes a key with its subkeys in one step. `pump` runs inside
  // Del_Key2000. `stillHolds` is asked about every row right before anything of it is written
  // down or deleted; a row it does not confirm is left alone (RepairOutcome::Changed).
  Repairer(int majorVersion, RepairPlaces places, UndoJournal& journal, std::function<void()> pump,
           RowCheck stillHolds);

  RepairResult Repair(const ScanResultRow& row);

 private:
  RepairResult RepairFile(const std::wstring& path);
  RepairResult RepairFolder(const std::wstring& path);
  RepairResult RepairRegistry(const ScanResultRow& row);
  // The row's entry is as its repair leaves it already, by an earlier repair of this object or
  // its own (an unnamed value that is empty; the value of a user's key repaired through the
  // other of HKEY_CURRENT_USER and HKEY_USERS, which both scans report).
  bool AlreadyRepaired(const ScanResultRow& row) const;

  int majorVersion_;
  RepairPlaces places_;
  UndoJournal& journal_;
  std::function<void()> pump_;
  RowCheck stillHolds_;
  std::vector<ScanResultRow> repaired_;  // the value rows this object repaired
};

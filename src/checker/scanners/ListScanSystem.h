#pragma once
// What the registry list scans (check rows 0, 1 and 3 to 6) share: the registry roots and the
// file system they read, and the way a finding reaches the result list. UI thread only.
#include <windows.h>

#include <string>
#include <vector>

#include "checker/scanners/FileQueries.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/ScanHost.h"

// The registry roots and the file system of the list scans. The program reads the real roots in
// its own registry view (the 32-bit view of a 32-bit program on 64-bit Windows): repair finds a
// row's key again by its root name and path in that same view, so a row read in another view
// would make repair act on a different key. Tests give private trees that stand for the roots;
// the rows still name HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
struct ListScanSystem {
  HKEY Machine = HKEY_LOCAL_MACHINE;
  HKEY User = HKEY_CURRENT_USER;
  FileQueries Files = FileQueries::System();

  // A root key seen through a registry view: `flags` go with every open below it.
  using View = registry::View;
  // Further views of HKEY_LOCAL_MACHINE, read only to tell whether something is there, never
  // reported from: on 64-bit Windows a program's own view hides the keys of the programs of the
  // other bitness (a 32-bit program sees "Wow6432Node"), whose empty keys below
  // HKEY_CURRENT_USER (one view for both) would otherwise look orphaned, and whose classes
  // (a context-menu handler's CLSID) would look unregistered. None on 32-bit Windows.
  std::vector<View> OtherMachineViews = DefaultOtherMachineViews();

  // The other view of 64-bit Windows: the 64-bit one for a 32-bit program under WOW64
  // (KEY_WOW64_64KEY), the 32-bit one for a 64-bit program (KEY_WOW64_32KEY).
  static std::vector<View> DefaultOtherMachineViews();
};

inline const wchar_t kMachineName[] = L"HKEY_LOCAL_MACHINE";
inline const wchar_t kUserName[] = L"HKEY_CURRENT_USER";

// Appends a finding and lets pending window messages run: that is what serves the worker
// threads' hand-offs while a list scan runs, and what lets the user press Stop.
void AddRowAndPump(ScanHost& host, const ScanResultRow& row);

// The key name of a row that stands for one value: the value's name, or kDefaultValueName for a
// key's unnamed value. An empty key name would make the row stand for the whole key, and repair
// would delete the key instead of the one value.
std::wstring ValueKeyName(const std::wstring& valueName);

// "X:\" with X from C to Z in either case, at the start of the text.
bool BeginsWithDriveCToZ(const std::wstring& text);

// The text of a value, empty when it is missing, not text or unreadable.
std::wstring ValueText(const registry::Key& key, const std::wstring& name);

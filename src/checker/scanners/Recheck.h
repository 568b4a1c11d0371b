#pragma once
// The second look at a finding, at the moment of its repair: would the scan that made the row
// make it again now, by the same rule? What changed since the scan (a key that gained values, a
// value that now holds other data or names a file that is back, a shortcut whose target
// returned, a folder that got a file) is left alone. UI thread only.
#include <windows.h>

#include <vector>

#include "checker/scanners/DiskRules.h"
#include "checker/scanners/ListScanSystem.h"
#include "checker/scanners/ScanHost.h"
#include "checker/scanners/ScanResultRow.h"
#include "checker/scanners/TarqChkRegClassErr.h"

// What the scans read, for the second look: the program's gives the real system; tests give
// private trees that stand for the roots the rows name, as they do to the scans.
struct RecheckSystem {
  ListScanSystem lists;     // HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, their views, the file system
  HKEY users = HKEY_USERS;  // for the rows of the HKEY_USERS walk
  std::vector<ClassesView> classes = DefaultClassesViews();
  ScanEnvironment environment;  // the Windows version and folder, the special folders
  Wow64Folders wow64;

  // The real system as this process sees it.
  static RecheckSystem ForThisProcess(const ScanEnvironment& environment);
};

// True when the scan that made `row` would report it again now, by the rule that made it: an
// empty application key still empty, an uninstall entry, class, verb or handler still stale, a
// value still holding the same data and that data still naming a missing file (or, for a value
// row of the reference scan without data, its name still one), a shared DLL's count still 0, a
// shortcut still pointing to the same missing target, a folder still empty. False for a row of a
// shape that no scan makes.
bool StillHolds(const ScanResultRow& row, const RecheckSystem& system);

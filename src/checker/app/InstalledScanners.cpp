#include "checker/app/InstalledScanners.h"

#include "checker/scanners/DiskScans.h"

ScannerSet InstalledScanners() {
  // Each scanner joins the set here when it is written; a row without one is skipped, so a scan
  // of those rows honestly finds nothing.
  ScannerSet scanners;
  scanners.Synchronous(CheckRowId::BrokenShortcuts) = &ScanLinkFiles;
  scanners.Synchronous(CheckRowId::EmptyMenuFolders) = &Scan_Direrr;
  return scanners;
}

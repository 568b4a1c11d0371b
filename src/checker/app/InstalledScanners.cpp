#include "checker/app/InstalledScanners.h"

#include "checker/scanners/TarqChkRegClassErr.h"
#include "checker/scanners/TarqChkRegErr.h"

ScannerSet InstalledScanners() {
  // Each scanner joins the set here when it is written; a row without one is skipped, so a scan
  // of those rows honestly finds nothing.
  ScannerSet scanners;
  scanners.classThread = [](const ScanEnvironment& environment) {  // row 2
    return std::make_unique<TChkRegClassErr>(environment.MajorVersion, FileQueries::System());
  };
  scanners.registryThread = [](const ScanEnvironment& environment, HKEY root) {  // rows 7, 8, 9
    return std::make_unique<TChkRegErr>(root, environment.WinDir, FileQueries::System());
  };
  return scanners;
}

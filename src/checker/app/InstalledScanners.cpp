#include "checker/app/InstalledScanners.h"

#include "checker/scanners/DiskScans.h"
#include "checker/scanners/MenuScans.h"
#include "checker/scanners/SharedDllScan.h"
#include "checker/scanners/SoftwareScans.h"
#include "checker/scanners/TarqChkRegClassErr.h"
#include "checker/scanners/TarqChkRegErr.h"
#include "checker/scanners/UninstallScans.h"

ScannerSet InstalledScanners() {
  // Each scanner joins the set here when it is written; a row without one is skipped, so a scan
  // of those rows honestly finds nothing.
  ScannerSet scanners;
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [](ScanHost& host) { Scan_SoftwareErr(host); };
  scanners.Synchronous(CheckRowId::MenuEntries) = [](ScanHost& host) { ScanMenuEntries(host); };
  scanners.classThread = [](const ScanEnvironment& environment) {  // row 2
    return std::make_unique<TChkRegClassErr>(environment.MajorVersion, FileQueries::System());
  };
  scanners.Synchronous(CheckRowId::HelpFiles) = [](ScanHost& host) { Scan_HelpErr(host); };
  scanners.Synchronous(CheckRowId::SharedDlls) = [](ScanHost& host) { Scan_DLLerr(host); };
  scanners.Synchronous(CheckRowId::UninstallEntries) = [](ScanHost& host) {
    Scan_UninstallErr(host);
  };
  scanners.Synchronous(CheckRowId::Fonts) = [](ScanHost& host) { Scan_FontErr(host); };
  scanners.registryThread = [](const ScanEnvironment& environment, HKEY root) {  // rows 7, 8, 9
    return std::make_unique<TChkRegErr>(root, environment.WinDir, FileQueries::System());
  };
  scanners.Synchronous(CheckRowId::BrokenShortcuts) = [](ScanHost& host) { ScanLinkFiles(host); };
  scanners.Synchronous(CheckRowId::EmptyMenuFolders) = [](ScanHost& host) { Scan_Direrr(host); };
  return scanners;
}

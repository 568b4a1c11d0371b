#pragma once
// Check row 5: uninstall entries without values, or whose program is nowhere to be found. UI
// thread only; the scan runs to its end.
#include "checker/scanners/ListScanSystem.h"

void Scan_UninstallErr(ScanHost& host, const ListScanSystem& system = {});

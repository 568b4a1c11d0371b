#pragma once
// The scanners of this build of the program, by check-list row.
#include "checker/scanners/ScanHost.h"

ScannerSet InstalledScanners();

#pragma once
// Check row 4: shared DLLs whose reference count has come down to 0. UI thread only; it lets no
// window messages run.
#include "checker/scanners/ListScanSystem.h"

// The values of HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Shareddlls" with a
// count of 0, as a number or as decimal text; rows with image DllImage.
void Scan_DLLerr(ScanHost& host, const ListScanSystem& system = {});

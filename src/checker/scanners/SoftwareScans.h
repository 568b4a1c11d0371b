#pragma once
// Check rows 0, 3 and 6: empty application keys, help files and fonts that point nowhere. UI
// thread only; each scan runs to its end.
#include "checker/scanners/ListScanSystem.h"

// Keys below "Software" with nothing in them: of HKEY_LOCAL_MACHINE (but "Secure"), and of
// HKEY_CURRENT_USER unless HKEY_LOCAL_MACHINE has a key of that name with something in it.
void Scan_SoftwareErr(ScanHost& host, const ListScanSystem& system = {});

// Registered help files (HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\Help" and "...\HTML
// Help") that are not in the folder their value names.
void Scan_HelpErr(ScanHost& host, const ListScanSystem& system = {});

// Registered fonts whose file is neither in the Fonts folder nor where the value names it.
void Scan_FontErr(ScanHost& host, const ListScanSystem& system = {});

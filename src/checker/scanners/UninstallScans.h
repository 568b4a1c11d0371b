#pragma once
// Check row 5: uninstall entries without values, or whose program is nowhere to be found. UI
// thread only; the scan runs to its end.
#include <string>

#include "checker/scanners/ListScanSystem.h"

inline constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

void Scan_UninstallErr(ScanHost& host, const ListScanSystem& system = {});

// The rule of the scan, judging one entry (a subkey name of kUninstallKey) now: the scan and the
// repair's second look at a row use the same. An entry is stale when it has no value; when its
// one value is a path that is bad (IsBadUninstallPath) and, read as a command, starts no program
// that is found; or when it has a name and an uninstall command whose program is found neither
// where the command names it nor in the Windows folder, its "System" or its "System32". The
// command is judged after its environment variables are expanded, and never when its program
// lies on a drive that is not a local fixed one or on a network path, holds a character the
// code page could not hold, or when any leading part of the command is an existing program.
bool StaleUninstallEntry(const ListScanSystem& system, const std::wstring& winDir,
                         const std::wstring& name);

#pragma once
// Check row 1: the context-menu handlers and shell verbs of the folder-like classes, then the
// Start menu's order entries. UI thread only; each scan runs to its end.
#include <string>

#include "checker/scanners/ListScanSystem.h"

// Appends a row and lets pending window messages run.
void AddMenuErrItem(ScanHost& host, const std::wstring& item, const std::wstring& location,
                    const std::wstring& keyName, const std::wstring& description);

// Handlers of HKEY_LOCAL_MACHINE "Software\CLASSES\<className>\shellex\ContextMenuHandlers"
// whose class is not registered, and verbs of "...\<className>\shell" with nothing below them
// or whose command starts a missing program.
void Scan_ShellExErr(ScanHost& host, const std::wstring& className,
                     const ListScanSystem& system = {});

// Start-menu order entries of HKEY_CURRENT_USER whose Programs folder is gone.
void Scan_MenuOrderErr(ScanHost& host, const ListScanSystem& system = {});

// The whole row: Scan_ShellExErr for "*", "Directory", "Drive" and "Folder", then
// Scan_MenuOrderErr.
void ScanMenuEntries(ScanHost& host, const ListScanSystem& system = {});

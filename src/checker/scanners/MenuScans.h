#pragma once
// Check row 1: the context-menu handlers and shell verbs of the folder-like classes, then the
// Start menu's order entries. UI thread only; each scan runs to its end.
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// The rules of the scans above, each judging one entry now: the scans and the repair's second
// look at a row use the same. `classKey` is "Software\CLASSES" + one of the four classes.
//
// A handler whose default names a class, and neither that class nor the handler's own name is
// registered below "Software\CLASSES\CLSID" in any of the machine's registry views.
bool StaleContextMenuHandler(const ListScanSystem& system, const std::wstring& classKey,
                             const std::wstring& handler);
// A verb with nothing below it and no value that carries it (VerbRules), or whose command's
// program is missing.
bool StaleShellVerb(const ListScanSystem& system, const std::wstring& classKey,
                    const std::wstring& verb);
// The names of the first-level folders of the Programs folders of the Start menu, as the version
// has them; none when a folder cannot be read. `eachEntry` runs for every entry read.
std::optional<std::vector<std::wstring>> ProgramFolders(const ScanEnvironment& environment,
                                                        const std::function<void()>& eachEntry);
// The keys below which the Start-menu order entries are (of HKEY_CURRENT_USER).
const std::vector<std::wstring>& MenuOrderKeys();

// The whole row: Scan_ShellExErr for "*", "Directory", "Drive" and "Folder", then
// Scan_MenuOrderErr.
void ScanMenuEntries(ScanHost& host, const ListScanSystem& system = {});

#pragma once
// Check rows 0, 3 and 6: empty application keys, help files and fonts that point nowhere. UI
// thread only; each scan runs to its end.
#include <optional>
#include <string>

#include "checker/scanners/ListScanSystem.h"

inline constexpr wchar_t kHelpKey[] = L"Software\\Microsoft\\Windows\\Help";
inline constexpr wchar_t kHtmlHelpKey[] = L"Software\\Microsoft\\Windows\\HTML Help";
inline constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

// Keys below "Software" with nothing in them: of HKEY_LOCAL_MACHINE (but "Secure"), and of
// HKEY_CURRENT_USER unless HKEY_LOCAL_MACHINE has a key of that name with something in it.
void Scan_SoftwareErr(ScanHost& host, const ListScanSystem& system = {});

// Registered help files (HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\Help" and "...\HTML
// Help") that are not in the folder their value names.
void Scan_HelpErr(ScanHost& host, const ListScanSystem& system = {});

// Registered fonts whose file is neither in the Fonts folder nor where the value names it.
void Scan_FontErr(ScanHost& host, const ListScanSystem& system = {});

// The rules of the scans above, each judging one entry now: the scans and the repair's second
// look at a row use the same.
//
// The key "Software\<name>" below `root` (system.Machine or system.User) is an empty
// application key as the scan reports it.
bool EmptyApplicationKey(const ListScanSystem& system, HKEY root, const std::wstring& name);
// The help file of value `name` of `helpKey` (kHelpKey or kHtmlHelpKey) is not where the value
// says: the row's description ("无效帮助" + folder), none when it is there or cannot be judged.
// The folder is judged after its environment variables are expanded, only on a local fixed
// drive, and only when the value came through the ANSI functions whole.
std::optional<std::wstring> StaleHelpFile(const ListScanSystem& system,
                                          const ScanEnvironment& environment,
                                          const std::wstring& helpKey, const std::wstring& name);
// The font of value `name` is neither in the Fonts folder nor where the value names it: the
// row's description ("无效字体" + file), under the same conditions.
std::optional<std::wstring> StaleFont(const ListScanSystem& system,
                                      const ScanEnvironment& environment, const std::wstring& name);

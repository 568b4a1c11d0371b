#pragma once
// Check row 4: shared DLLs whose reference count has come down to 0. UI thread only; it lets no
// window messages run.
#include <string>

#include "checker/scanners/ListScanSystem.h"

// The values of HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Shareddlls" with a
// count of 0, as a number or as decimal text; rows with image DllImage.
void Scan_DLLerr(ScanHost& host, const ListScanSystem& system = {});

inline constexpr wchar_t kSharedDllsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Shareddlls";

// The rule of the scan for one value (its name; "" for the unnamed one), judged now: its count is
// 0. The scan and the repair's second look at a row use the same.
bool SharedDllUnused(const ListScanSystem& system, const std::wstring& name);

#include "checker/scanners/SharedDllScan.h"

#include <optional>

#include "checker/scanners/Registry.h"
#include "common/text.h"

namespace {

// The count of one value; none for a value of a type that holds no count.
std::optional<int> CountOf(const registry::Key& key, const std::wstring& name) {
  const std::optional<DWORD> type = key.ValueType(name);
  if (type == REG_DWORD) return static_cast<int>(key.ReadDword(name).value_or(1));
  // A text that is not a number leaves the count at 1.
  if (type == REG_SZ || type == REG_EXPAND_SZ)
    return common::ParseDecimal(ValueText(key, name)).value_or(1);
  return std::nullopt;
}

}  // namespace

bool SharedDllUnused(const ListScanSystem& system, const std::wstring& name) {
  const registry::Key key = registry::Key::Open(system.Machine, kSharedDllsKey, KEY_READ);
  return key.HasValue(name) && CountOf(key, name) == 0;
}

void Scan_DLLerr(ScanHost& host, const ListScanSystem& system) {
  // Read only: the counts are only looked at, and a user without the right to write below
  // HKEY_LOCAL_MACHINE must still see the findings.
  const registry::Key key = registry::Key::Open(system.Machine, kSharedDllsKey, KEY_READ);
  if (!key) return;
  for (const std::wstring& name : key.ValueNames()) {
    if (CountOf(key, name) != 0) continue;
    ScanResultRow row{kMachineName, kSharedDllsKey, ValueKeyName(name), L""};
    row.ImageIndex = DllImage;
    host.AddRow(row);  // without letting messages run: this scan is one key's values only
  }
}

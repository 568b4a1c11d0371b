#include "checker/scanners/ListScanSystem.h"

#include "common/wow64.h"

std::vector<ListScanSystem::View> ListScanSystem::DefaultOtherMachineViews() {
#ifdef _WIN64
  return {{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}};
#else
  if (!common::IsWow64()) return {};
  return {{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY}};
#endif
}

void AddRowAndPump(ScanHost& host, const ScanResultRow& row) {
  host.AddRow(row);
  host.ProcessMessages();
}

std::wstring ValueKeyName(const std::wstring& valueName) {
  return valueName.empty() ? std::wstring(kDefaultValueName) : valueName;
}

bool BeginsWithDriveCToZ(const std::wstring& text) {
  if (text.size() < 3 || text[1] != L':' || text[2] != L'\\') return false;
  const wchar_t drive = text[0] >= L'a' && text[0] <= L'z' ? text[0] - (L'a' - L'A') : text[0];
  return drive >= L'C' && drive <= L'Z';
}

std::wstring ValueText(const registry::Key& key, const std::wstring& name) {
  return key.ReadText(name).value_or(std::wstring());
}

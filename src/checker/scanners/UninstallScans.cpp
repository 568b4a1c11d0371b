#include "checker/scanners/UninstallScans.h"

#include <optional>
#include <vector>

#include "checker/scanners/PathRules.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/UninstallCommand.h"

namespace {

using registry::Key;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The uninstall entry's program, found as it is, or in the Windows folder, its "System" or its
// "System32" folder.
bool ProgramFound(const ListScanSystem& system, const std::wstring& winDir,
                  const std::wstring& program) {
  for (const std::wstring& path :
       {program, winDir + L"\\" + program, winDir + L"\\System\\" + program,
        winDir + L"\\System32\\" + program})
    if (system.Files.FileExists(path)) return true;
  return false;
}

// The text of the first of two values that exists (empty when it is not text), else empty.
std::wstring FirstOf(const Key& key, const wchar_t* name, const wchar_t* otherwise) {
  if (key.HasValue(name)) return ValueText(key, name);
  if (key.HasValue(otherwise)) return ValueText(key, otherwise);
  return {};
}

bool IsStale(const ListScanSystem& system, const std::wstring& winDir, const Key& entry) {
  const std::vector<std::wstring> values = entry.ValueNames();
  if (values.empty()) return true;
  if (values.size() == 1) {
    // A lone value is judged as a path; a hidden system component never.
    const std::wstring& only = values.front();
    if (AsciiUpper(only) == L"SYSTEMCOMPONENT") return false;
    const std::optional<DWORD> type = entry.ValueType(only);
    if (type != REG_SZ && type != REG_EXPAND_SZ) return true;
    return IsBadUninstallPath(ValueText(entry, only), system.Files);
  }
  // Only an entry with a name and a command is judged, by the program the command starts.
  const std::wstring displayName = FirstOf(entry, L"DisplayName", L"QuietDisplayName");
  const std::wstring command = FirstOf(entry, L"UninstallString", L"QuietUninstallString");
  if (displayName.empty() || command.empty()) return false;
  const std::optional<std::wstring> program = TrimUninstallCommand(command);
  return program && !ProgramFound(system, winDir, *program);
}

}  // namespace

void Scan_UninstallErr(ScanHost& host, const ListScanSystem& system) {
  const std::wstring& winDir = host.Environment().WinDir;
  for (const std::wstring& name : Key::Open(system.Machine, kUninstallKey).SubkeyNames()) {
    if (name.find(L"Vopt") != std::wstring::npos) continue;
    host.ProcessMessages();
    const std::wstring location = std::wstring(kUninstallKey) + L"\\" + name;
    const Key entry = Key::Open(system.Machine, location);
    if (!entry) continue;
    if (IsStale(system, winDir, entry))
      host.AddRow({kMachineName, location, L"", L"无效的反安装信息"});
  }
}

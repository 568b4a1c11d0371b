#include "checker/scanners/SoftwareScans.h"

#include <algorithm>
#include <vector>

#include "checker/scanners/Registry.h"

namespace {

using registry::Key;

constexpr int kCsidlFonts = 20;

constexpr wchar_t kSoftware[] = L"Software";
constexpr wchar_t kHelpKey[] = L"Software\\Microsoft\\Windows\\Help";
constexpr wchar_t kHtmlHelpKey[] = L"Software\\Microsoft\\Windows\\HTML Help";
constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

bool HasContent(const Key& key) {
  return key.SubkeyCount() > 0 || key.ValueCount() > 0 || !key.DefaultText().empty();
}

std::wstring SoftwareKey(const std::wstring& name) {
  return std::wstring(kSoftware) + L"\\" + name;
}

// A machine key below "Software" that has something in it, or is "Secure". A key that cannot be
// opened is not known to be empty, and a row would have repair delete it: it counts as valid.
bool IsValidMachineKey(HKEY root, REGSAM view, const std::wstring& name) {
  const Key key = Key::Open(root, SoftwareKey(name), KEY_READ | view);
  return !key || HasContent(key) || name == L"Secure";
}

void ScanHelpKey(ScanHost& host, const ListScanSystem& system, const wchar_t* helpKey,
                 bool skipWindowsFolder) {
  const Key key = Key::Open(system.Machine, helpKey);
  const std::wstring& winDir = host.Environment().WinDir;
  for (const std::wstring& name : key.ValueNames()) {
    std::wstring folder = ValueText(key, name);
    // Only folders with a drive letter are judged: "%SystemRoot%\Help" and the like are not.
    if (!BeginsWithDriveCToZ(folder)) continue;
    if (folder.back() != L'\\') folder.push_back(L'\\');
    if (system.Files.FileExists(folder + name)) continue;
    if (skipWindowsFolder && folder.find(winDir) != std::wstring::npos) continue;
    AddRowAndPump(host, {kMachineName, helpKey, ValueKeyName(name), L"无效帮助" + folder});
  }
}

}  // namespace

void Scan_SoftwareErr(ScanHost& host, const ListScanSystem& system) {
  std::vector<std::wstring> valid;
  for (const std::wstring& name : Key::Open(system.Machine, kSoftware).SubkeyNames()) {
    if (IsValidMachineKey(system.Machine, 0, name))
      valid.push_back(name);
    else
      AddRowAndPump(host, {kMachineName, SoftwareKey(name), L"", L"无效软件"});
  }
  for (const ListScanSystem::View& view : system.OtherMachineViews)
    for (const std::wstring& name :
         Key::Open(view.root, kSoftware, KEY_READ | view.flags).SubkeyNames())
      if (IsValidMachineKey(view.root, view.flags, name)) valid.push_back(name);
  for (const std::wstring& name : Key::Open(system.User, kSoftware).SubkeyNames()) {
    const Key key = Key::Open(system.User, SoftwareKey(name));
    // A key that cannot be opened is not known to be empty (see IsValidMachineKey).
    if (!key || HasContent(key) || std::find(valid.begin(), valid.end(), name) != valid.end())
      continue;
    AddRowAndPump(host, {kUserName, SoftwareKey(name), L"", L"无效软件"});
  }
}

void Scan_HelpErr(ScanHost& host, const ListScanSystem& system) {
  ScanHelpKey(host, system, kHelpKey, false);
  // HTML Help files below the Windows folder are the system's own and are left alone.
  ScanHelpKey(host, system, kHtmlHelpKey, true);
}

void Scan_FontErr(ScanHost& host, const ListScanSystem& system) {
  const ScanEnvironment& environment = host.Environment();
  std::wstring fonts = environment.GetSpecialFolder
                           ? environment.GetSpecialFolder(environment.DesktopWnd, kCsidlFonts)
                           : std::wstring();
  // Without it every font named by its file name alone would look missing.
  if (fonts.empty()) fonts = environment.WinDir + L"\\Fonts";
  const Key key = Key::Open(system.Machine, kFontsKey);
  for (const std::wstring& name : key.ValueNames()) {
    const std::wstring file = ValueText(key, name);
    if (system.Files.FileExists(fonts + L"\\" + file) || system.Files.FileExists(file)) continue;
    AddRowAndPump(host, {kMachineName, kFontsKey, ValueKeyName(name), L"无效字体" + file});
  }
}

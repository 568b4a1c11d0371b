#include "checker/scanners/SoftwareScans.h"

#include <algorithm>
#include <vector>

#include "checker/scanners/PathRules.h"
#include "checker/scanners/Registry.h"

namespace {

using registry::Key;

constexpr int kCsidlFonts = 20;

constexpr wchar_t kSoftware[] = L"Software";

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

// The names below the machine's "Software", in each of its views, that make a user key of the
// same name (exactly, letter case included) valid.
std::vector<std::wstring> ValidMachineNames(const ListScanSystem& system) {
  std::vector<std::wstring> valid;
  for (const std::wstring& name : Key::Open(system.Machine, kSoftware).SubkeyNames())
    if (IsValidMachineKey(system.Machine, 0, name)) valid.push_back(name);
  for (const ListScanSystem::View& view : system.OtherMachineViews)
    for (const std::wstring& name :
         Key::Open(view.root, kSoftware, KEY_READ | view.flags).SubkeyNames())
      if (IsValidMachineKey(view.root, view.flags, name)) valid.push_back(name);
  return valid;
}

bool EmptyUserKey(const ListScanSystem& system, const std::wstring& name,
                  const std::vector<std::wstring>& valid) {
  const Key key = Key::Open(system.User, SoftwareKey(name));
  // A key that cannot be opened is not known to be empty (see IsValidMachineKey).
  return key && !HasContent(key) && std::find(valid.begin(), valid.end(), name) == valid.end();
}

std::wstring FontsFolder(const ScanEnvironment& environment) {
  std::wstring fonts = environment.GetSpecialFolder
                           ? environment.GetSpecialFolder(environment.DesktopWnd, kCsidlFonts)
                           : std::wstring();
  // Without it every font named by its file name alone would look missing.
  return fonts.empty() ? environment.WinDir + L"\\Fonts" : fonts;
}

// The help file is missing from one expanded form of its folder; false when it is there or
// cannot be judged.
bool HelpMissing(const ListScanSystem& system, const ScanEnvironment& environment,
                 std::wstring folder, const std::wstring& name, bool skipWindowsFolder) {
  // Only folders with a drive letter are judged.
  if (!BeginsWithDriveCToZ(folder)) return false;
  if (folder.back() != L'\\') folder.push_back(L'\\');
  const std::wstring file = folder + name;
  if (!JudgeablePath(file, system.Files) || system.Files.FileExists(file)) return false;
  // HTML Help files below the Windows folder are the system's own and are left alone.
  return !skipWindowsFolder || folder.find(environment.WinDir) == std::wstring::npos;
}

// The font file is missing as one expanded form names it: a full path, or a name in the Fonts
// folder (or relative to the current folder); false when it is there or cannot be judged.
bool FontMissing(const ListScanSystem& system, const std::wstring& fonts,
                 const std::wstring& file) {
  if (file.find_first_of(L"?*") != std::wstring::npos) return false;
  const bool fullPath = file.size() >= 3 && file[1] == L':' && file[2] == L'\\';
  if (fullPath && !JudgeablePath(file, system.Files)) return false;
  if (file.rfind(L"\\\\", 0) == 0) return false;  // a network path
  return !system.Files.FileExists(fonts + L"\\" + file) && !system.Files.FileExists(file);
}

void ScanHelpKey(ScanHost& host, const ListScanSystem& system, const wchar_t* helpKey) {
  for (const std::wstring& name : Key::Open(system.Machine, helpKey).ValueNames())
    if (const auto description = StaleHelpFile(system, host.Environment(), helpKey, name))
      AddRowAndPump(host, {kMachineName, helpKey, ValueKeyName(name), *description});
}

}  // namespace

bool EmptyApplicationKey(const ListScanSystem& system, HKEY root, const std::wstring& name) {
  if (root == system.Machine) return !IsValidMachineKey(system.Machine, 0, name);
  // Only the machine keys of exactly this name are looked at, in each view.
  std::vector<std::wstring> valid;
  std::vector<ListScanSystem::View> views = {{system.Machine, 0}};
  views.insert(views.end(), system.OtherMachineViews.begin(), system.OtherMachineViews.end());
  for (const ListScanSystem::View& view : views)
    for (const std::wstring& machineName :
         Key::Open(view.root, kSoftware, KEY_READ | view.flags).SubkeyNames())
      if (machineName == name && IsValidMachineKey(view.root, view.flags, name))
        valid.push_back(name);
  return EmptyUserKey(system, name, valid);
}

std::optional<std::wstring> StaleHelpFile(const ListScanSystem& system,
                                          const ScanEnvironment& environment,
                                          const std::wstring& helpKey, const std::wstring& name) {
  const Key key = Key::Open(system.Machine, helpKey);
  const std::wstring stored = ValueText(key, name);
  if (!BeginsWithDriveCToZ(stored) && !HoldsVariable(stored)) return std::nullopt;
  const bool html = helpKey == kHtmlHelpKey;
  const std::vector<std::wstring> forms = ExpandedForms(stored, system.Files);
  if (forms.empty()) return std::nullopt;
  for (const std::wstring& folder : forms)
    if (!HelpMissing(system, environment, folder, name, html)) return std::nullopt;
  if (!key.SameThroughWide(name, &stored)) return std::nullopt;
  return L"无效帮助" + stored + (stored.back() == L'\\' ? L"" : L"\\");
}

std::optional<std::wstring> StaleFont(const ListScanSystem& system,
                                      const ScanEnvironment& environment,
                                      const std::wstring& name) {
  const Key key = Key::Open(system.Machine, kFontsKey);
  if (!key.HasValue(name)) return std::nullopt;
  const std::wstring file = ValueText(key, name);
  const std::wstring fonts = FontsFolder(environment);
  const std::vector<std::wstring> forms = ExpandedForms(file, system.Files);
  if (forms.empty()) return std::nullopt;
  for (const std::wstring& form : forms)
    if (!FontMissing(system, fonts, form)) return std::nullopt;
  // A value that is not text reads as empty, as the Part has it; only text is asked again.
  if (key.ReadText(name) && !key.SameThroughWide(name, &file)) return std::nullopt;
  return L"无效字体" + file;
}

void Scan_SoftwareErr(ScanHost& host, const ListScanSystem& system) {
  for (const std::wstring& name : Key::Open(system.Machine, kSoftware).SubkeyNames())
    if (!IsValidMachineKey(system.Machine, 0, name))
      AddRowAndPump(host, {kMachineName, SoftwareKey(name), L"", L"无效软件"});
  const std::vector<std::wstring> valid = ValidMachineNames(system);
  for (const std::wstring& name : Key::Open(system.User, kSoftware).SubkeyNames())
    if (EmptyUserKey(system, name, valid))
      AddRowAndPump(host, {kUserName, SoftwareKey(name), L"", L"无效软件"});
}

void Scan_HelpErr(ScanHost& host, const ListScanSystem& system) {
  ScanHelpKey(host, system, kHelpKey);
  ScanHelpKey(host, system, kHtmlHelpKey);
}

void Scan_FontErr(ScanHost& host, const ListScanSystem& system) {
  for (const std::wstring& name : Key::Open(system.Machine, kFontsKey).ValueNames())
    if (const auto description = StaleFont(system, host.Environment(), name))
      AddRowAndPump(host, {kMachineName, kFontsKey, ValueKeyName(name), *description});
}

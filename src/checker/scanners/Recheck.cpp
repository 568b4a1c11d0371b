#include "checker/scanners/Recheck.h"

#include <algorithm>
#include <string_view>

#include "checker/scanners/DiskScans.h"
#include "checker/scanners/MenuScans.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/SharedDllScan.h"
#include "checker/scanners/SoftwareScans.h"
#include "checker/scanners/TarqChkRegErr.h"
#include "checker/scanners/UninstallScans.h"

namespace {

using registry::Key;

constexpr wchar_t kShortcutItem[] = L"磁盘文件错误";
constexpr wchar_t kEmptyFolderItem[] = L"磁盘目录错误";
constexpr wchar_t kClasses[] = L"Software\\CLASSES\\";
constexpr wchar_t kSoftwarePrefix[] = L"Software\\";
constexpr wchar_t kEmptySoftware[] = L"无效软件";
constexpr wchar_t kStaleUninstall[] = L"无效的反安装信息";
constexpr wchar_t kBrokenClass[] = L"错误关联";
constexpr wchar_t kStaleHelp[] = L"无效帮助";
constexpr wchar_t kStaleFont[] = L"无效字体";
constexpr const wchar_t* kShellClasses[] = {L"*", L"Directory", L"Drive", L"Folder"};

bool StartsWith(std::wstring_view text, std::wstring_view start) {
  return text.substr(0, start.size()) == start;
}

// The rest of `text` after `start`, when it begins with it and the rest is one name.
std::optional<std::wstring> OneNameAfter(std::wstring_view text, std::wstring_view start) {
  if (!StartsWith(text, start) || text.size() == start.size()) return std::nullopt;
  const std::wstring_view rest = text.substr(start.size());
  if (rest.find(L'\\') != std::wstring_view::npos) return std::nullopt;
  return std::wstring(rest);
}

bool IsExtension(const std::wstring& name) { return !name.empty() && name[0] == L'.'; }

// The root of the system that a row's root name stands for.
HKEY RootOf(const std::wstring& item, const RecheckSystem& system) {
  if (item == kMachineName) return system.lists.Machine;
  if (item == kUserName) return system.lists.User;
  if (item == L"HKEY_USERS") return system.users;
  return nullptr;
}

bool ClassRowHolds(const std::wstring& name, const std::wstring& what,
                   const RecheckSystem& system) {
  const ClassRules rules(system.environment.MajorVersion, system.lists.Files, system.classes);
  if (!IsExtension(name)) return what == name && rules.BrokenClass(name);
  if (what == name && rules.EmptyExtension(name)) return true;
  // An extension naming a class that exists nowhere, or one of the broken classes (names as
  // the classes key lists them, letter case included).
  if (!rules.ChecksExtension(name) || rules.ClassNameOf(name) != what) return false;
  if (rules.MissingClass(what)) return true;
  if (IsExtension(what)) return false;
  const std::vector<std::wstring> names = rules.Names();
  return std::find(names.begin(), names.end(), what) != names.end() && rules.BrokenClass(what);
}

bool MenuOrderEntryHolds(const std::wstring& location, const std::wstring& entry,
                         const RecheckSystem& system) {
  if (entry == L"Menu" || !Key::Open(system.lists.User, location)) return false;
  const auto folders = ProgramFolders(system.environment, [] {});
  return folders && std::find(folders->begin(), folders->end(), entry) == folders->end();
}

// A row for a whole key.
bool KeyRowHolds(const ScanResultRow& row, HKEY root, const RecheckSystem& system) {
  const ListScanSystem& lists = system.lists;
  const std::wstring& location = row.Location;
  if (row.Description == kEmptySoftware && (root == lists.Machine || root == lists.User)) {
    const auto name = OneNameAfter(location, kSoftwarePrefix);
    return name && EmptyApplicationKey(lists, root, *name);
  }
  if (root == lists.Machine && row.Description == kStaleUninstall) {
    const auto name = OneNameAfter(location, std::wstring(kUninstallKey) + L"\\");
    return name && StaleUninstallEntry(lists, system.environment.WinDir, *name);
  }
  if (root == lists.Machine && StartsWith(row.Description, kBrokenClass)) {
    const auto name = OneNameAfter(location, kClasses);
    return name &&
           ClassRowHolds(*name, row.Description.substr(std::size(kBrokenClass) - 1), system);
  }
  if (root == lists.Machine) {
    for (const wchar_t* shellClass : kShellClasses) {
      const std::wstring classKey = kClasses + std::wstring(shellClass);
      const auto handler = OneNameAfter(location, classKey + L"\\shellex\\ContextMenuHandlers\\");
      if (handler && *handler == row.Description)
        return StaleContextMenuHandler(lists, classKey, *handler);
      const auto verb = OneNameAfter(location, classKey + L"\\shell\\");
      if (verb && *verb == row.Description) return StaleShellVerb(lists, classKey, *verb);
    }
  }
  if (root == lists.User) {
    for (const std::wstring& menuOrder : MenuOrderKeys()) {
      const auto entry = OneNameAfter(location, menuOrder + L"\\");
      if (entry && *entry == row.Description) return MenuOrderEntryHolds(location, *entry, system);
    }
  }
  return false;
}

// The walk never reaches a key below one it leaves out.
bool LeftOutOfTheWalk(const std::wstring& path) {
  for (size_t end = path.find(L'\\'); end != std::wstring::npos; end = path.find(L'\\', end + 1))
    if (TChkRegErr::Skipped(path.substr(0, end))) return true;
  return TChkRegErr::Skipped(path);
}

// A row for one value.
bool ValueRowHolds(const ScanResultRow& row, HKEY root, const RecheckSystem& system) {
  const ListScanSystem& lists = system.lists;
  const std::wstring name = row.KeyName == kDefaultValueName ? std::wstring() : row.KeyName;
  if (root == lists.Machine) {
    if (row.Location == kSharedDllsKey)
      return row.Description.empty() && SharedDllUnused(lists, name);
    if ((row.Location == kHelpKey || row.Location == kHtmlHelpKey) &&
        StartsWith(row.Description, kStaleHelp))
      return StaleHelpFile(lists, system.environment, row.Location, name) == row.Description;
    if (row.Location == kFontsKey && StartsWith(row.Description, kStaleFont))
      return StaleFont(lists, system.environment, name) == row.Description;
  }
  // The registry reference scan: the value's name, or its text, is still a bad path.
  if (LeftOutOfTheWalk(row.Location)) return false;
  const Key key = Key::Open(root, row.Location);
  if (!key) return false;
  const std::wstring& winDir = system.environment.WinDir;
  if (row.Description.empty())
    return key.HasValue(row.KeyName) &&
           TChkRegErr::NameIsBad(key, row.KeyName, winDir, lists.Files);
  const std::optional<registry::RawValue> value = key.ReadValue(name);
  if (!value) return false;
  return TChkRegErr::TextIsBad(key, {name, value->type, value->data}, winDir, lists.Files) ==
         row.Description;
}

}  // namespace

RecheckSystem RecheckSystem::ForThisProcess(const ScanEnvironment& environment) {
  RecheckSystem system;
  system.environment = environment;
  system.wow64 = Wow64Folders::ForThisProcess(environment.WinDir);
  return system;
}

bool StillHolds(const ScanResultRow& row, const RecheckSystem& system) {
  if (row.Item == kShortcutItem) {
    ShellLinkReader links;
    return BrokenShortcutTarget(links, row.Location, system.lists.Files, system.wow64) ==
           row.Description;
  }
  if (row.Item == kEmptyFolderItem) return FolderIsEmpty(row.Location);
  const HKEY root = RootOf(row.Item, system);
  if (root == nullptr) return false;
  return row.KeyName.empty() ? KeyRowHolds(row, root, system) : ValueRowHolds(row, root, system);
}

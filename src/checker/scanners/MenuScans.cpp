#include "checker/scanners/MenuScans.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "checker/scanners/Registry.h"
#include "checker/scanners/VerbRules.h"
#include "common/handles.h"
#include "common/text.h"

namespace {

using registry::Key;

constexpr int kCsidlPrograms = 2;
constexpr int kCsidlCommonPrograms = 23;

void ScanContextMenuHandlers(ScanHost& host, const ListScanSystem& system,
                             const std::wstring& classKey) {
  const std::wstring handlers = classKey + L"\\shellex\\ContextMenuHandlers";
  for (const std::wstring& name : Key::Open(system.Machine, handlers).SubkeyNames())
    if (StaleContextMenuHandler(system, classKey, name))
      AddMenuErrItem(host, kMachineName, handlers + L"\\" + name, L"", name);
}

void ScanShellVerbs(ScanHost& host, const ListScanSystem& system, const std::wstring& classKey) {
  const std::wstring shell = classKey + L"\\shell";
  for (const std::wstring& verb : Key::Open(system.Machine, shell).SubkeyNames())
    if (StaleShellVerb(system, classKey, verb))
      AddMenuErrItem(host, kMachineName, shell + L"\\" + verb, L"", verb);
}

// A class registered below "Software\CLASSES\CLSID" in the program's own view or another.
bool ClassRegistered(const ListScanSystem& system, const std::wstring& clsid) {
  const std::wstring path = L"Software\\CLASSES\\CLSID\\" + clsid;
  if (Key::Open(system.Machine, path)) return true;
  for (const ListScanSystem::View& view : system.OtherMachineViews)
    if (Key::Open(view.root, path, KEY_READ | view.flags)) return true;
  return false;
}

// Names of the first-level folders of `folder` without the system attribute; none when the
// folder cannot be read. `eachEntry` runs for every entry read.
std::optional<std::vector<std::wstring>> SubfolderNames(const std::wstring& folder,
                                                        const std::function<void()>& eachEntry) {
  if (folder.empty()) return std::nullopt;
  WIN32_FIND_DATAA found = {};
  const common::FindHandle find(FindFirstFileA(common::ToAnsi(folder + L"\\*").c_str(), &found));
  if (!find) return std::nullopt;
  std::vector<std::wstring> names;
  do {
    eachEntry();
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0 || name == "." || name == "..")
      continue;
    names.push_back(common::FromAnsi(name));
  } while (FindNextFileA(find.Get(), &found));
  return names;
}

}  // namespace

const std::vector<std::wstring>& MenuOrderKeys() {
  static const std::vector<std::wstring> keys = {
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs",
  };
  return keys;
}

bool StaleContextMenuHandler(const ListScanSystem& system, const std::wstring& classKey,
                             const std::wstring& handler) {
  const std::wstring target =
      Key::Open(system.Machine, classKey + L"\\shellex\\ContextMenuHandlers\\" + handler)
          .DefaultText();
  return !target.empty() && !ClassRegistered(system, target) && !ClassRegistered(system, handler);
}

bool StaleShellVerb(const ListScanSystem& system, const std::wstring& classKey,
                    const std::wstring& verb) {
  const Key key = Key::Open(system.Machine, classKey + L"\\shell\\" + verb);
  // A verb that cannot be read is not known to be empty: a row would have repair delete it.
  if (!key) return false;
  if (key.SubkeyCount() == 0) return !CarriedByValue(key);
  const Key command = Key::Open(key.Get(), L"command");
  return command && CommandMissing(command, system.Files);
}

// The Programs folders' subfolder names: the user's on Windows 95/98/Me and NT 4, the common
// ones elsewhere, both together on Windows 2000/XP/2003. None when a folder cannot be read.
std::optional<std::vector<std::wstring>> ProgramFolders(const ScanEnvironment& environment,
                                                        const std::function<void()>& eachEntry) {
  std::vector<int> folders = {environment.MajorVersion == 4 ? kCsidlPrograms
                                                            : kCsidlCommonPrograms};
  if (environment.MajorVersion == 5) folders.push_back(kCsidlPrograms);
  std::vector<std::wstring> names;
  for (const int csidl : folders) {
    const std::wstring path = environment.GetSpecialFolder
                                  ? environment.GetSpecialFolder(environment.DesktopWnd, csidl)
                                  : std::wstring();
    const auto read = SubfolderNames(path, eachEntry);
    if (!read) return std::nullopt;
    names.insert(names.end(), read->begin(), read->end());
  }
  return names;
}

void AddMenuErrItem(ScanHost& host, const std::wstring& item, const std::wstring& location,
                    const std::wstring& keyName, const std::wstring& description) {
  AddRowAndPump(host, ScanResultRow{item, location, keyName, description});
}

void Scan_ShellExErr(ScanHost& host, const std::wstring& className, const ListScanSystem& system) {
  const std::wstring classKey = L"Software\\CLASSES\\" + className;
  ScanContextMenuHandlers(host, system, classKey);
  ScanShellVerbs(host, system, classKey);
}

void Scan_MenuOrderErr(ScanHost& host, const ListScanSystem& system) {
  // Without the folders every entry would look stale; nothing is judged then.
  const std::optional<std::vector<std::wstring>> folders =
      ProgramFolders(host.Environment(), [&host] { host.ProcessMessages(); });
  if (!folders) return;
  for (const std::wstring& menuOrder : MenuOrderKeys()) {
    for (const std::wstring& entry : Key::Open(system.User, menuOrder).SubkeyNames()) {
      if (entry == L"Menu" || std::find(folders->begin(), folders->end(), entry) != folders->end())
        continue;
      // An entry whose name the code page cannot hold is listed with a "?" and cannot be
      // compared with a folder's name, nor opened again by repair: it is not judged.
      const std::wstring location = menuOrder + L"\\" + entry;
      if (!Key::Open(system.User, location)) continue;
      AddMenuErrItem(host, kUserName, location, L"", entry);
    }
  }
}

void ScanMenuEntries(ScanHost& host, const ListScanSystem& system) {
  for (const wchar_t* className : {L"*", L"Directory", L"Drive", L"Folder"})
    Scan_ShellExErr(host, className, system);
  Scan_MenuOrderErr(host, system);
}

#include "checker/scanners/MenuScans.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "checker/scanners/Registry.h"
#include "checker/scanners/UninstallCommand.h"
#include "common/handles.h"
#include "common/text.h"

namespace {

using registry::Key;

constexpr int kCsidlPrograms = 2;
constexpr int kCsidlCommonPrograms = 23;

const wchar_t* const kMenuOrderKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs",
};

// The program a verb's command starts, when the command is judged at all: a command naming a
// drive (it holds ":"), without its leading quote, lowered and cut after its first ".exe".
// A quoted program ends at its closing quote ("c:\tools\edit.cmd" "%1"). A command whose
// program is not a full path with a drive ("rundll32.exe c:\x.dll,Run", "%ProgramFiles%\x.exe
// /a:1") is not judged: the colon belongs to an argument, and a relative or unexpanded path would
// be looked for in the checker's own folder and never found.
std::optional<std::wstring> VerbProgram(const std::wstring& command) {
  if (command.find(L':') == std::wstring::npos) return std::nullopt;
  std::wstring c = command;
  if (c.front() == L'"') {
    c.erase(0, 1);
    if (const size_t closing = c.find(L'"'); closing != std::wstring::npos) c.resize(closing);
  }
  c = AsciiLower(c);
  if (const size_t exe = c.find(L".exe"); exe != std::wstring::npos) c.resize(exe + 4);
  if (c.size() < 2 || c[1] != L':') return std::nullopt;
  return c;
}

void ScanContextMenuHandlers(ScanHost& host, const ListScanSystem& system,
                             const std::wstring& classKey) {
  const std::wstring handlers = classKey + L"\\shellex\\ContextMenuHandlers";
  const Key clsid = Key::Open(system.Machine, L"Software\\CLASSES\\CLSID");
  for (const std::wstring& name : Key::Open(system.Machine, handlers).SubkeyNames()) {
    const std::wstring location = handlers + L"\\" + name;
    const std::wstring target = Key::Open(system.Machine, location).DefaultText();
    if (target.empty() || clsid.HasSubkey(target) || clsid.HasSubkey(name)) continue;
    AddMenuErrItem(host, kMachineName, location, L"", name);
  }
}

void ScanShellVerbs(ScanHost& host, const ListScanSystem& system, const std::wstring& classKey) {
  const std::wstring shell = classKey + L"\\shell";
  for (const std::wstring& verb : Key::Open(system.Machine, shell).SubkeyNames()) {
    const std::wstring location = shell + L"\\" + verb;
    const Key key = Key::Open(system.Machine, location);
    // A verb that cannot be read is not known to be empty: a row would have repair delete it.
    if (!key) continue;
    bool stale = key.SubkeyCount() == 0;
    if (!stale) {
      if (const Key command = Key::Open(key.Get(), L"command")) {
        const std::optional<std::wstring> program = VerbProgram(command.DefaultText());
        stale = program && !system.Files.FileExists(*program);
      }
    }
    if (stale) AddMenuErrItem(host, kMachineName, location, L"", verb);
  }
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

// The Programs folders' subfolder names: the user's on Windows 95/98/Me and NT 4, the common
// ones elsewhere, both together on Windows 2000/XP/2003. None when a folder cannot be read.
std::optional<std::vector<std::wstring>> ProgramFolders(ScanHost& host) {
  const ScanEnvironment& environment = host.Environment();
  std::vector<int> folders = {environment.MajorVersion == 4 ? kCsidlPrograms
                                                            : kCsidlCommonPrograms};
  if (environment.MajorVersion == 5) folders.push_back(kCsidlPrograms);
  std::vector<std::wstring> names;
  for (const int csidl : folders) {
    const std::wstring path = environment.GetSpecialFolder
                                  ? environment.GetSpecialFolder(environment.DesktopWnd, csidl)
                                  : std::wstring();
    const auto read = SubfolderNames(path, [&host] { host.ProcessMessages(); });
    if (!read) return std::nullopt;
    names.insert(names.end(), read->begin(), read->end());
  }
  return names;
}

}  // namespace

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
  const std::optional<std::vector<std::wstring>> folders = ProgramFolders(host);
  if (!folders) return;
  for (const wchar_t* menuOrder : kMenuOrderKeys) {
    for (const std::wstring& entry : Key::Open(system.User, menuOrder).SubkeyNames()) {
      if (entry == L"Menu" || std::find(folders->begin(), folders->end(), entry) != folders->end())
        continue;
      AddMenuErrItem(host, kUserName, std::wstring(menuOrder) + L"\\" + entry, L"", entry);
    }
  }
}

void ScanMenuEntries(ScanHost& host, const ListScanSystem& system) {
  for (const wchar_t* className : {L"*", L"Directory", L"Drive", L"Folder"})
    Scan_ShellExErr(host, className, system);
  Scan_MenuOrderErr(host, system);
}

// What the registry scans find on this machine (rows 2, 7, 8, 9), each finding checked again by
// other means: for a path reference, whether any leading part of the text (cut before a blank,
// comma or quote, environment variables expanded) names an existing file or folder through the
// wide file functions; for a class or file type, whether its open command's program is found
// (full path, or on the search path) and whether the class an extension names exists. A finding
// that the second look contradicts is printed as FALSE. Meant for a fresh prefix:
//
//   scripts/wine.sh --timeout=1200 build/win64/bin/findings_bench.exe
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "checker/scanners/HandOff.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/TarqChkRegClassErr.h"
#include "checker/scanners/TarqChkRegErr.h"
#include "common/text.h"

namespace {

std::vector<ScanResultRow> Run(std::unique_ptr<TScanThread> thread,
                               const std::shared_ptr<HandOff>& channel) {
  std::vector<ScanResultRow> rows;
  bool done = false;
  ScanThreadLink link;
  link.handOff = channel;
  link.AddRow = [&](const ScanResultRow& row) { rows.push_back(row); };
  link.Done = [&] { done = true; };
  TScanThread::Start(std::move(thread), link);
  MSG msg;
  while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return rows;
}

bool ExistsWide(const std::wstring& path) {
  if (path.empty()) return false;
  wchar_t expanded[4096] = {};
  const DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded, 4096);
  const std::wstring full = length > 0 && length <= 4096 ? expanded : path;
  return GetFileAttributesW(full.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True when some leading part of the text, cut before a blank, comma or quote, exists.
bool SomeLeadingPartExists(std::wstring text) {
  if (!text.empty() && text[0] == L'"') text.erase(0, 1);
  for (size_t i = 1; i <= text.size(); ++i)
    if (i == text.size() || text[i] == L' ' || text[i] == L',' || text[i] == L'"')
      if (ExistsWide(text.substr(0, i))) return true;
  return false;
}

// The program an open command starts, as the shell would split it, found on the search path.
bool CommandProgramExists(const std::wstring& command) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(command.c_str(), &count);
  if (arguments == nullptr || count == 0) return false;
  const std::wstring program = arguments[0];
  LocalFree(arguments);
  if (ExistsWide(program)) return true;
  wchar_t found[MAX_PATH];
  return SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr) > 0;
}

std::wstring DefaultOf(const std::wstring& path) {
  return registry::Key::Open(HKEY_LOCAL_MACHINE, path).DefaultText();
}

// A second look at a class or file-type finding; empty when it agrees, else the reason.
std::wstring RecheckClass(const ScanResultRow& row) {
  const std::wstring name = row.Location.substr(row.Location.find(L'\\', 9) + 1);
  const std::wstring what = row.Description.substr(4);  // after "错误关联"
  const registry::Key key = registry::Key::Open(HKEY_LOCAL_MACHINE, row.Location);
  if (name == what && name[0] == L'.') {  // an empty extension
    return key.ValueCount() > 0 && key.SubkeyCount() != 1 ? L"the extension has values" : L"";
  }
  if (name == what) {  // a broken class
    const std::wstring command = DefaultOf(row.Location + L"\\Shell\\Open\\command");
    return !command.empty() && CommandProgramExists(command) ? L"program found: " + command : L"";
  }
  // An extension naming a missing or broken class.
  const registry::Key named =
      registry::Key::Open(HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\" + what);
  if (!named) return L"";
  const std::wstring command = DefaultOf(L"Software\\CLASSES\\" + what + L"\\Shell\\Open\\command");
  return !command.empty() && CommandProgramExists(command) ? L"class works: " + command : L"";
}

void Print(const char* verdict, const ScanResultRow& row, const std::wstring& note) {
  std::printf("%-5s %s\n      %s | %s | %s%s%s\n", verdict, common::ToAnsi(row.Item).c_str(),
              common::ToAnsi(row.Location).c_str(), common::ToAnsi(row.KeyName).c_str(),
              common::ToAnsi(row.Description).c_str(), note.empty() ? "" : "\n      ",
              common::ToAnsi(note).c_str());
}

}  // namespace

int main() {
  HandOffServer server;
  char windows[MAX_PATH + 1] = {};
  GetWindowsDirectoryA(windows, sizeof(windows));
  const std::wstring winDir = common::FromAnsi(windows);
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExA(&version);

  std::map<std::string, std::pair<int, int>> counts;  // kind: rows, false rows
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_USERS, HKEY_LOCAL_MACHINE}) {
    const auto rows =
        Run(std::make_unique<TChkRegErr>(root, winDir, FileQueries::System()), server.Channel());
    for (const ScanResultRow& row : rows) {
      const bool nameRow = row.Description.empty();
      const bool contradicted = SomeLeadingPartExists(nameRow ? row.KeyName : row.Description);
      auto& count = counts[common::ToAnsi(row.Item) + (nameRow ? " value name" : " value data")];
      ++count.first;
      if (contradicted) ++count.second;
      Print(contradicted ? "FALSE" : "ok", row, L"");
    }
  }
  const auto classRows = Run(std::make_unique<TChkRegClassErr>(
                                 static_cast<int>(version.dwMajorVersion), FileQueries::System()),
                             server.Channel());
  for (const ScanResultRow& row : classRows) {
    const std::wstring note = RecheckClass(row);
    auto& count = counts["classes and file types"];
    ++count.first;
    if (!note.empty()) ++count.second;
    Print(note.empty() ? "ok" : "FALSE", row, note);
  }
  std::printf("\nkind                               rows  false\n");
  for (const auto& [kind, count] : counts)
    std::printf("%-34s %5d  %5d\n", kind.c_str(), count.first, count.second);
  server.Close();
  return 0;
}

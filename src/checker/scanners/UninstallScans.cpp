#include "checker/scanners/UninstallScans.h"

#include <optional>
#include <vector>

#include "checker/scanners/PathRules.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/UninstallCommand.h"

namespace {

using registry::Key;

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

// The name of the first of two values that exists, else none.
std::optional<std::wstring> FirstOf(const Key& key, const wchar_t* name, const wchar_t* otherwise) {
  if (key.HasValue(name)) return name;
  if (key.HasValue(otherwise)) return otherwise;
  return std::nullopt;
}

bool IsDrivePath(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

// The program of one expanded form of the command is known to be missing.
bool ProgramMissing(const ListScanSystem& system, const std::wstring& winDir,
                    const std::wstring& command) {
  const std::optional<std::wstring> program = TrimUninstallCommand(command);
  if (!program || program->empty()) return false;
  // A program that cannot be judged: a character the code page could not hold, a network path,
  // a drive that is not a local fixed one (the disk or the share may just be away).
  // (The trimming makes a network path's two backslashes one: any program that starts with one
  // is a network path, or a path on a drive nobody can tell.)
  if (program->find_first_of(L"?*") != std::wstring::npos || program->front() == L'\\')
    return false;
  if (IsDrivePath(*program) && !JudgeablePath(*program, system.Files)) return false;
  if (ProgramFound(system, winDir, *program)) return false;
  // An unquoted program in a folder with blanks, or one whose arguments hold a path.
  for (const std::wstring& candidate : ProgramCandidates(command))
    if (candidate.size() > 3 && system.Files.FileExists(candidate)) return false;
  return true;
}

bool CommandMissing(const ListScanSystem& system, const std::wstring& winDir,
                    const std::wstring& command) {
  const std::vector<std::wstring> forms = ExpandedForms(command, system.Files);
  if (forms.empty()) return false;
  for (const std::wstring& form : forms)
    if (!ProgramMissing(system, winDir, form)) return false;
  return true;
}

// The command starts a program that is found (a lone "MsiExec.exe /X{...}" is no path, and
// still a command that works).
bool StartsFoundProgram(const ListScanSystem& system, const std::wstring& winDir,
                        const std::wstring& command) {
  for (const std::wstring& form : ExpandedForms(command, system.Files)) {
    const std::optional<std::wstring> program = TrimUninstallCommand(form);
    if (program && !program->empty() && ProgramFound(system, winDir, *program)) return true;
  }
  return false;
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
    const std::wstring text = ValueText(entry, only);
    if (!IsBadUninstallPath(text, system.Files)) return false;
    if (StartsFoundProgram(system, winDir, text)) return false;
    return entry.SameThroughWide(only, &text);
  }
  // Only an entry with a name and a command is judged, by the program the command starts.
  const std::optional<std::wstring> nameValue = FirstOf(entry, L"DisplayName", L"QuietDisplayName");
  const std::optional<std::wstring> commandValue =
      FirstOf(entry, L"UninstallString", L"QuietUninstallString");
  if (!nameValue || !commandValue) return false;
  const std::wstring command = ValueText(entry, *commandValue);
  if (ValueText(entry, *nameValue).empty() || command.empty()) return false;
  return CommandMissing(system, winDir, command) && entry.SameThroughWide(*commandValue, &command);
}

}  // namespace

bool StaleUninstallEntry(const ListScanSystem& system, const std::wstring& winDir,
                         const std::wstring& name) {
  if (name.find(L"Vopt") != std::wstring::npos) return false;
  const Key entry = Key::Open(system.Machine, std::wstring(kUninstallKey) + L"\\" + name);
  return entry && IsStale(system, winDir, entry);
}

void Scan_UninstallErr(ScanHost& host, const ListScanSystem& system) {
  const std::wstring& winDir = host.Environment().WinDir;
  for (const std::wstring& name : Key::Open(system.Machine, kUninstallKey).SubkeyNames()) {
    if (name.find(L"Vopt") != std::wstring::npos) continue;
    host.ProcessMessages();
    if (StaleUninstallEntry(system, winDir, name))
      host.AddRow(
          {kMachineName, std::wstring(kUninstallKey) + L"\\" + name, L"", L"无效的反安装信息"});
  }
}

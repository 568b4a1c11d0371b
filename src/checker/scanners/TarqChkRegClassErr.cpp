#include "checker/scanners/TarqChkRegClassErr.h"

#include <algorithm>

#include "checker/scanners/PathRules.h"
#include "checker/scanners/Registry.h"

using registry::Key;

namespace {

bool IsExtension(const std::wstring& name) { return !name.empty() && name[0] == L'.'; }

}  // namespace

TChkRegClassErr::TChkRegClassErr(int majorVersion, FileQueries files, HKEY rootKey,
                                 std::wstring classesPath)
    : majorVersion_(majorVersion),
      files_(std::move(files)),
      rootKey_(rootKey),
      classesPath_(std::move(classesPath)) {}

void TChkRegClassErr::Execute() { ScanClasses(); }

void TChkRegClassErr::ScanClasses() {
  classes_ = Key::Open(rootKey_, classesPath_);
  names_ = classes_.SubkeyNames();
  FindEmptyExtensions();
  CheckClasses();
  FindExtensionsPointingNowhere();
}

void TChkRegClassErr::ShowScanKey(const std::wstring& name) {
  ShowStatus(L"扫描：检查类和文件关联错误   " + name);
}

void TChkRegClassErr::Report(const std::wstring& name, const std::wstring& what) {
  AddRow({L"HKEY_LOCAL_MACHINE", L"Software\\CLASSES\\" + name, L"", L"错误关联" + what, 0});
}

// An extension with nothing registered: no subkeys and no values, or only a "Shell" whose
// default and whose "Open"'s default are both empty.
void TChkRegClassErr::FindEmptyExtensions() {
  for (const std::wstring& name : names_) {
    if (Terminated()) return;
    if (!IsExtension(name)) continue;
    ShowScanKey(name);
    const Key key = Key::Open(classes_.Get(), name);
    // A key that was listed but cannot be read is not known to be empty.
    if (!key) continue;
    const int subkeys = key.SubkeyCount();
    if (subkeys == 0) {
      if (key.ValueCount() == 0) Report(name, name);
      continue;
    }
    if (subkeys != 1) continue;
    const Key shell = Key::Open(key.Get(), L"Shell");
    if (!shell || !shell.DefaultText().empty()) continue;
    const Key open = Key::Open(shell.Get(), L"Open");
    if (open && open.DefaultText().empty()) Report(name, name);
  }
}

// Collects the extensions for the last pass and reports the classes whose open command is
// broken.
void TChkRegClassErr::CheckClasses() {
  for (const std::wstring& name : names_) {
    if (Terminated()) return;
    ShowScanKey(name);
    if (IsExtension(name)) {
      // On Windows 95, 98 and NT 4 every extension is checked; later ones keep settings of
      // their own below many extensions, which are checked only when they have no subkeys.
      if (majorVersion_ == 4) {
        extensions_.push_back(name);
      } else {
        const Key key = Key::Open(classes_.Get(), name);
        if (key && key.SubkeyCount() == 0) extensions_.push_back(name);
      }
      continue;
    }
    if (Broken(name)) {
      brokenClasses_.push_back(name);
      Report(name, name);
    }
  }
}

bool TChkRegClassErr::Broken(const std::wstring& name) const {
  const Key key = Key::Open(classes_.Get(), name);
  if (key.SubkeyNames().size() != 1) return false;
  const Key shell = Key::Open(key.Get(), L"Shell");
  if (!shell) return false;
  if (shell.SubkeyCount() == 0) return shell.DefaultText().empty();
  const Key open = Key::Open(shell.Get(), L"Open");
  if (!open) return false;
  if (open.SubkeyCount() == 0) return true;
  const Key command = Key::Open(open.Get(), L"command");
  if (!command) return false;
  const std::wstring commandLine = command.DefaultText();
  if (commandLine.empty()) return true;
  if (commandLine.find(L":\\") == std::wstring::npos) return false;
  // Only a program named by its full path is judged: a bare name ("rundll32.exe C:\x.dll,...")
  // is found by the system on its search path, not where this program happens to run.
  const std::wstring program = ExtractExePath(commandLine);
  return program.find(L":\\") != std::wstring::npos && !files_.FileExists(program);
}

void TChkRegClassErr::FindExtensionsPointingNowhere() {
  for (const std::wstring& extension : extensions_) {
    if (Terminated()) return;
    ShowScanKey(extension);
    const std::wstring className = Key::Open(classes_.Get(), extension).DefaultText();
    if (!className.empty() && className.find(L":\\") == std::wstring::npos &&
        !classes_.HasSubkey(className))
      Report(extension, className);
    if (std::find(brokenClasses_.begin(), brokenClasses_.end(), className) != brokenClasses_.end())
      Report(extension, className);
  }
}

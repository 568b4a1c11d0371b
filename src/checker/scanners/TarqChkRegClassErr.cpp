#include "checker/scanners/TarqChkRegClassErr.h"

#include <algorithm>

#include "checker/scanners/ListScanSystem.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/VerbRules.h"

using registry::Key;

namespace {

constexpr wchar_t kClassesPath[] = L"Software\\CLASSES";

bool IsExtension(const std::wstring& name) { return !name.empty() && name[0] == L'.'; }

}  // namespace

std::vector<ClassesView> DefaultClassesViews() {
  std::vector<ClassesView> views = {{HKEY_LOCAL_MACHINE, kClassesPath, 0}};
  for (const registry::View& view : ListScanSystem::DefaultOtherMachineViews())
    views.push_back({view.root, kClassesPath, view.flags});
  return views;
}

ClassRules::ClassRules(int majorVersion, FileQueries files, std::vector<ClassesView> views)
    : majorVersion_(majorVersion), files_(std::move(files)), views_(std::move(views)) {
  if (!views_.empty())
    classes_ = Key::Open(views_.front().root, views_.front().path, KEY_READ | views_.front().flags);
}

std::vector<std::wstring> ClassRules::Names() const { return classes_.SubkeyNames(); }

bool ClassRules::EmptyExtension(const std::wstring& extension) const {
  const Key key = Key::Open(classes_.Get(), extension);
  // A key that was listed but cannot be read is not known to be empty.
  if (!key) return false;
  const int subkeys = key.SubkeyCount();
  if (subkeys == 0) return key.ValueCount() == 0;
  if (subkeys != 1) return false;
  const Key shell = Key::Open(key.Get(), L"Shell");
  if (!shell || !shell.DefaultText().empty()) return false;
  const Key open = Key::Open(shell.Get(), L"Open");
  if (!open || !open.DefaultText().empty()) return false;
  // An extension registered by its own verbs alone (".txt\Shell\Open\command" naming a program
  // that is there) works without a class.
  for (const std::wstring& verb : shell.SubkeyNames())
    if (VerbWorks(Key::Open(shell.Get(), verb), files_)) return false;
  return true;
}

bool ClassRules::ChecksExtension(const std::wstring& extension) const {
  // On Windows 95, 98 and NT 4 every extension is checked; later ones keep settings of their
  // own below many extensions, which are checked only when they have no subkeys.
  if (majorVersion_ == 4) return true;
  const Key key = Key::Open(classes_.Get(), extension);
  return key && key.SubkeyCount() == 0;
}

bool ClassRules::BrokenClass(const std::wstring& name) const {
  const Key key = Key::Open(classes_.Get(), name);
  if (key.SubkeyNames().size() != 1) return false;
  const Key shell = Key::Open(key.Get(), L"Shell");
  if (!shell) return false;
  if (shell.SubkeyCount() == 0) return shell.DefaultText().empty();
  const Key open = Key::Open(shell.Get(), L"Open");
  if (!open) return false;
  // A verb run through a value (DelegateExecute and the like) has no command line to judge.
  if (CarriedByValue(open)) return false;
  if (open.SubkeyCount() == 0) return true;
  const Key command = Key::Open(open.Get(), L"command");
  if (!command) return false;
  // Only a program named by its full path on a fixed drive is judged: a bare name
  // ("rundll32.exe C:\x.dll,...") is found by the system on its search path, not where this
  // program happens to run.
  return CommandEmpty(command) || CommandMissing(command, files_);
}

std::wstring ClassRules::ClassNameOf(const std::wstring& extension) const {
  return Key::Open(classes_.Get(), extension).DefaultText();
}

bool ClassRules::MissingClass(const std::wstring& className) const {
  if (className.empty() || className.find(L":\\") != std::wstring::npos) return false;
  if (classes_.HasSubkey(className)) return false;
  // A class of the other view's programs (64-bit Windows) is as good as one of this view.
  for (size_t i = 1; i < views_.size(); ++i)
    if (Key::Open(views_[i].root, views_[i].path + L"\\" + className, KEY_READ | views_[i].flags))
      return false;
  return true;
}

TChkRegClassErr::TChkRegClassErr(int majorVersion, FileQueries files,
                                 std::vector<ClassesView> views)
    : majorVersion_(majorVersion), files_(std::move(files)), views_(std::move(views)) {}

TChkRegClassErr::TChkRegClassErr(int majorVersion, FileQueries files, HKEY rootKey,
                                 std::wstring classesPath)
    : TChkRegClassErr(majorVersion, std::move(files), {{rootKey, std::move(classesPath), 0}}) {}

void TChkRegClassErr::Execute() { ScanClasses(); }

void TChkRegClassErr::ScanClasses() {
  rules_.emplace(majorVersion_, FileQueries::RememberingDriveTypes(files_), views_);
  names_ = rules_->Names();
  FindEmptyExtensions();
  CheckClasses();
  FindExtensionsPointingNowhere();
}

void TChkRegClassErr::ShowScanKey(const std::wstring& name) {
  ShowStatus(L"扫描：检查类和文件关联错误   " + name);
}

void TChkRegClassErr::Report(const std::wstring& name, const std::wstring& what) {
  // The system's own classes work whatever they hold here, and no repair takes them away.
  if (IsSystemClass(name)) return;
  AddRow({L"HKEY_LOCAL_MACHINE", L"Software\\CLASSES\\" + name, L"", L"错误关联" + what, 0});
}

void TChkRegClassErr::FindEmptyExtensions() {
  for (const std::wstring& name : names_) {
    if (Terminated()) return;
    if (!IsExtension(name)) continue;
    ShowScanKey(name);
    if (rules_->EmptyExtension(name)) Report(name, name);
  }
}

// Collects the extensions for the last pass and reports the classes whose open command is
// broken.
void TChkRegClassErr::CheckClasses() {
  for (const std::wstring& name : names_) {
    if (Terminated()) return;
    ShowScanKey(name);
    if (IsExtension(name)) {
      if (rules_->ChecksExtension(name)) extensions_.push_back(name);
      continue;
    }
    if (rules_->BrokenClass(name)) {
      brokenClasses_.push_back(name);
      Report(name, name);
    }
  }
}

void TChkRegClassErr::FindExtensionsPointingNowhere() {
  for (const std::wstring& extension : extensions_) {
    if (Terminated()) return;
    ShowScanKey(extension);
    const std::wstring className = rules_->ClassNameOf(extension);
    if (rules_->MissingClass(className)) Report(extension, className);
    if (std::find(brokenClasses_.begin(), brokenClasses_.end(), className) != brokenClasses_.end())
      Report(extension, className);
  }
}

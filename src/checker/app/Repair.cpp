#include "checker/app/Repair.h"

#include <algorithm>
#include <utility>

#include <sddl.h>

#include "checker/app/UndoJournal.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/RegistryEdit.h"
#include "checker/scanners/VerbRules.h"
#include "common/handles.h"
#include "common/text.h"

namespace {

std::wstring Upper(std::wstring_view text) {
  std::wstring upper(text);
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

using registry::SameName;

bool Contains(std::wstring_view text, std::wstring_view part) {
  return !part.empty() && Upper(text).find(Upper(part)) != std::wstring::npos;
}

std::vector<std::wstring_view> Components(std::wstring_view path) {
  std::vector<std::wstring_view> parts;
  for (size_t start = 0;;) {
    const size_t end = path.find(L'\\', start);
    parts.push_back(path.substr(start, end == std::wstring_view::npos ? end : end - start));
    if (end == std::wstring_view::npos) return parts;
    start = end + 1;
  }
}

// A text that reaches the system as it stands: no zero (the system would end the text there)
// and nothing the code page turns into "?".
bool PlainText(std::wstring_view text) {
  return text.find(L'\0') == std::wstring_view::npos &&
         common::FromAnsi(common::ToAnsi(text)) == text;
}

// --- Registry keys ---------------------------------------------------------------------------

enum Roots { kMachine = 1, kUser = 2 };

// One shape of key that a scan reports: a name, or a choice of names, per component; an empty
// choice takes any name but those in `except` (compared without regard to case).
struct KeyShape {
  int roots;
  std::vector<std::vector<std::wstring_view>> parts;
  std::vector<std::wstring_view> except;
};

const std::vector<std::wstring_view> kAnyName;
const std::vector<std::wstring_view> kShellClasses = {L"*", L"Directory", L"Drive", L"Folder"};

const KeyShape kKeyShapes[] = {
    // Empty application keys (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER).
    {kMachine | kUser,
     {{L"Software"}, kAnyName},
     {L"Microsoft", L"Classes", L"Policies", L"Clients", L"Wow6432Node", L"Wine", L"Secure"}},
    // Class and file-type registrations. Those the system itself starts programs and finds
    // components through are never taken away, whatever state they are in.
    {kMachine,
     {{L"Software"}, {L"Classes"}, kAnyName},
     SystemClassNames()},
    // Context-menu handlers and shell verbs.
    {kMachine,
     {{L"Software"}, {L"Classes"}, kShellClasses, {L"shellex"}, {L"ContextMenuHandlers"}, kAnyName},
     {}},
    {kMachine, {{L"Software"}, {L"Classes"}, kShellClasses, {L"shell"}, kAnyName}, {}},
    // Uninstall entries.
    {kMachine,
     {{L"Software"}, {L"Microsoft"}, {L"Windows"}, {L"CurrentVersion"}, {L"Uninstall"}, kAnyName},
     {}},
    // Start-menu order entries.
    {kUser,
     {{L"Software"},
      {L"Microsoft"},
      {L"Windows"},
      {L"CurrentVersion"},
      {L"Explorer"},
      {L"MenuOrder"},
      {L"Start Menu", L"Start Menu2"},
      {L"&Programs", L"Programs"},
      kAnyName},
     {L"Menu"}},
};

bool NameIn(std::wstring_view name, const std::vector<std::wstring_view>& names) {
  for (const std::wstring_view candidate : names)
    if (SameName(name, candidate)) return true;
  return false;
}

bool Matches(const KeyShape& shape, int root, const std::vector<std::wstring_view>& parts) {
  if (!(shape.roots & root) || parts.size() != shape.parts.size()) return false;
  for (size_t i = 0; i < parts.size(); ++i) {
    const auto& choice = shape.parts[i];
    if (choice.empty() ? NameIn(parts[i], shape.except) : !NameIn(parts[i], choice)) return false;
  }
  return true;
}

bool ReportableKey(HKEY root, const std::vector<std::wstring_view>& parts) {
  const int which = root == HKEY_LOCAL_MACHINE ? kMachine : root == HKEY_CURRENT_USER ? kUser : 0;
  for (const KeyShape& shape : kKeyShapes)
    if (Matches(shape, which, parts)) return true;
  return false;
}

bool RegistryRowAllowed(const ScanResultRow& row) {
  const HKEY root = registry::RootByName(row.Item);
  if (root == nullptr || row.Location.empty() || !PlainText(row.Location) ||
      !PlainText(row.KeyName))
    return false;
  const std::vector<std::wstring_view> parts = Components(row.Location);
  for (const std::wstring_view part : parts)
    if (part.empty() || part == L"." || part == L"..") return false;
  return KindOf(row) != RepairKind::Key || (parts.size() >= 2 && ReportableKey(root, parts));
}

// --- Files and folders -----------------------------------------------------------------------

// "X:\" and components that name one file or folder and nothing else: no "." or "..", none
// ending in a dot or blank (the system drops those and would reach another name), no wildcards,
// stream names or other characters a file name cannot hold.
bool FullPath(std::wstring_view path) {
  if (path.size() < 4 || !PlainText(path)) return false;
  const wchar_t drive = static_cast<wchar_t>(path[0] & ~0x20);
  if (drive < L'B' || drive > L'Z' || path[1] != L':' || path[2] != L'\\') return false;
  for (const std::wstring_view part : Components(path.substr(3))) {
    if (part.empty() || part.back() == L'.' || part.back() == L' ') return false;
    for (const wchar_t c : part)
      if (c < 0x20 || std::wstring_view(L"/:*?\"<>|").find(c) != std::wstring_view::npos)
        return false;
  }
  return true;
}

// The disk scans skip these folders with everything below them.
bool InSkippedFolder(std::wstring_view path, const std::wstring& bakPath) {
  return Contains(path, bakPath) || Contains(path, L"backup") ||
         Contains(path, L"system volume information");
}

std::wstring WithoutTrailingSlash(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

bool StrictlyBelow(std::wstring_view path, const std::wstring& folder) {
  const std::wstring base = WithoutTrailingSlash(folder);
  return !base.empty() && path.size() > base.size() + 1 && path[base.size()] == L'\\' &&
         SameName(path.substr(0, base.size()), base);
}

bool FolderRowAllowed(const ScanResultRow& row, const RepairPlaces& places) {
  if (!row.KeyName.empty() || !FullPath(row.Location) ||
      InSkippedFolder(row.Location, places.bakPath))
    return false;
  for (const std::wstring& startup : places.startupFolders)
    if (SameName(row.Location, WithoutTrailingSlash(startup))) return false;
  for (const std::wstring& programs : places.programFolders)
    if (StrictlyBelow(row.Location, programs)) return true;
  return false;
}

bool ShortcutRowAllowed(const ScanResultRow& row, const RepairPlaces& places) {
  const std::wstring_view path = row.Location;
  return FullPath(path) && path.size() > 4 && SameName(path.substr(path.size() - 4), L".lnk") &&
         !InSkippedFolder(path, places.bakPath);
}

DWORD Attributes(const std::wstring& path) {
  return GetFileAttributesA(common::ToAnsi(path).c_str());
}

}  // namespace

RepairKind KindOf(const ScanResultRow& row) {
  if (row.Item == kShortcutFileItem) return RepairKind::ShortcutFile;
  if (row.Item == kEmptyFolderItem) return RepairKind::EmptyFolder;
  if (row.KeyName == kDefaultValueName) return RepairKind::DefaultValue;
  return row.KeyName.empty() ? RepairKind::Key : RepairKind::Value;
}

bool RepairAllowed(const ScanResultRow& row, const RepairPlaces& places) {
  switch (KindOf(row)) {
    case RepairKind::ShortcutFile:
      return ShortcutRowAllowed(row, places);
    case RepairKind::EmptyFolder:
      return FolderRowAllowed(row, places);
    default:
      return RegistryRowAllowed(row);
  }
}

std::wstring RepairQuestion(const ScanResultRow& row) {
  switch (KindOf(row)) {
    case RepairKind::ShortcutFile:
      return L"您确定要修复选中的错误吗？(文件位置：" + row.Location + L") (文件目标：" +
             row.Description + L")";
    case RepairKind::EmptyFolder:
      return L"您确定要修复选中的错误吗？(目录：" + row.Location + L")";
    case RepairKind::Key:
      return L"将要从注册表中删除“" + row.Item + L"\\" + row.Location + L"”，确定吗？";
    default:
      return L"将要从注册表中删除“" + row.Item + L"\\" + row.Location + L"\\" + row.KeyName +
             L"：" + row.Description + L"”，确定吗？";
  }
}

std::wstring RepairRecord(const ScanResultRow& row) {
  return row.Item + L" " + row.Location + L" " + row.KeyName + L" " + row.Description;
}

bool Del_Key2000(HKEY root, const std::wstring& path, const std::function<void()>& pump) {
  bool deleted = false;
  // Subkeys by their real names, in any language (the journal holds them so).
  for (const std::wstring& name : registry::SubkeyNamesOf(root, path).value_or(
           std::vector<std::wstring>())) {
    if (name.empty()) continue;  // would name the key itself
    const std::wstring subkey = path + L"\\" + name;
    if (!registry::SubkeyNamesOf(root, subkey).value_or(std::vector<std::wstring>()).empty())
      deleted = Del_Key2000(root, subkey, pump) || deleted;
    deleted = registry::DeleteSubkey(root, subkey) || deleted;
  }
  if (pump) pump();
  return deleted;
}

Repairer::Repairer(int majorVersion, RepairPlaces places, UndoJournal& journal,
                   std::function<void()> pump, RowCheck stillHolds)
    : majorVersion_(majorVersion),
      places_(std::move(places)),
      journal_(journal),
      pump_(std::move(pump)),
      stillHolds_(std::move(stillHolds)) {}

RepairResult Repairer::Repair(const ScanResultRow& row) {
  if (!RepairAllowed(row, places_)) return {RepairOutcome::Refused, {}};
  if (AlreadyRepaired(row)) return {RepairOutcome::Repaired, {}};
  // Looked at again now, by the rule that made the row: the scan may be old, and a key that
  // gained values, a file that came back or a folder that got a file must not go.
  if (!stillHolds_ || !stillHolds_(row)) return {RepairOutcome::Changed, {}};
  RepairResult result;
  switch (KindOf(row)) {
    case RepairKind::ShortcutFile:
      result = RepairFile(row.Location);
      break;
    case RepairKind::EmptyFolder:
      result = RepairFolder(row.Location);
      break;
    default:
      result = RepairRegistry(row);
      break;
  }
  if (result.outcome == RepairOutcome::Repaired && KindOf(row) == RepairKind::Value)
    repaired_.push_back(row);
  return result;
}

namespace {

// The key of HKEY_USERS that HKEY_CURRENT_USER stands for: the user's SID as text, empty when
// it cannot be read.
std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const common::KernelHandle owned(token);
  alignas(TOKEN_USER) char buffer[256] = {};
  DWORD size = 0;
  wchar_t* sid = nullptr;
  if (!GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size) ||
      !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid))
    return {};
  const std::wstring text = sid;
  LocalFree(sid);
  return text;
}

// `user` is a key of HKEY_CURRENT_USER and `users` the same key as HKEY_USERS holds it (below
// the user's SID).
bool SameUserKey(const ScanResultRow& user, const ScanResultRow& users) {
  if (user.Item != L"HKEY_CURRENT_USER" || users.Item != L"HKEY_USERS") return false;
  static const std::wstring sid = CurrentUserSid();
  const std::wstring_view location = users.Location;
  return !sid.empty() && location.size() > sid.size() && location[sid.size()] == L'\\' &&
         SameName(location.substr(0, sid.size()), sid) &&
         SameName(location.substr(sid.size() + 1), user.Location);
}

}  // namespace

bool Repairer::AlreadyRepaired(const ScanResultRow& row) const {
  const HKEY root = registry::RootByName(row.Item);
  const RepairKind kind = KindOf(row);
  if (kind == RepairKind::DefaultValue) {
    // An unnamed value that is empty already (the same key reached again through another root,
    // as HKEY_USERS holds HKEY_CURRENT_USER) is as the repair leaves it. Writing it down again
    // would record the emptied state after the first record, and importing the journal would
    // empty it again.
    const registry::Key key = registry::Key::Open(root, row.Location);
    return key && key.ValueType(L"") == REG_SZ && key.DefaultText().empty();
  }
  if (kind != RepairKind::Value) return false;
  if (registry::Key::Open(root, row.Location).HasValue(row.KeyName)) return false;
  return std::any_of(repaired_.begin(), repaired_.end(), [&row](const ScanResultRow& done) {
    return done.KeyName == row.KeyName && done.Description == row.Description &&
           (SameUserKey(done, row) || SameUserKey(row, done));
  });
}

namespace {

// The outcome of a change the system refused, by its error code.
RepairResult Refusal(LONG error) {
  return {error == ERROR_ACCESS_DENIED ? RepairOutcome::AccessDenied : RepairOutcome::Failed, {}};
}

// Nothing written down, so nothing touched: what could not be read whole (a registry link, a
// value that cannot be read) is left alone for the system's safety; a journal that could not be
// written says so.
RepairResult NotWrittenDown(const UndoJournal& journal) {
  return {journal.LastFailure() == UndoJournal::Failure::Unreadable
              ? RepairOutcome::Refused
              : RepairOutcome::NotWrittenDown,
          {}};
}

}  // namespace

std::wstring OutcomeText(const RepairResult& result, const ScanResultRow& row) {
  switch (result.outcome) {
    case RepairOutcome::Repaired:
      return {};
    case RepairOutcome::Refused:
      return L"为了系统的安全，Sanivo不修复这一项：Windows或其他程序需要它，或者它不在检查的范围之内。";
    case RepairOutcome::Changed:
      return L"这一项在检查之后已经改变（例如又有了内容，或者它指向的文件又存在了），Sanivo没有修改它。"
             L"请重新扫描。";
    case RepairOutcome::AccessDenied:
      return L"修复失败：没有修改这一项的权限。请以管理员身份运行Sanivo，然后再修复。";
    case RepairOutcome::NotWrittenDown:
      return L"修复失败：无法先把这一项写入程序文件夹中的撤销文件，为了能够撤销，Sanivo没有删除它。"
             L"请确认程序所在的文件夹可以写入。";
    case RepairOutcome::PartlyRemoved:
      return L"只删除了这一项的一部分：“" + row.Item + L"\\" + row.Location +
             L"”中有些子键无法删除，这一项还在。已删除的内容保存在撤销文件“" + result.undoFile +
             L"”中。";
    default:
      return L"修复失败：这一项在检查之后已经改变、不存在或者无法删除。请重新扫描。";
  }
}

void RepairTally::Add(RepairOutcome outcome) { ++counts_[static_cast<int>(outcome)]; }

int RepairTally::NotRepaired() const {
  int total = 0;
  for (int i = 0; i < kOutcomes; ++i)
    if (i != static_cast<int>(RepairOutcome::Repaired)) total += counts_[i];
  return total;
}

std::wstring RepairTally::Causes() const {
  const std::pair<RepairOutcome, const wchar_t*> causes[] = {
      {RepairOutcome::Refused, L" 项为了系统的安全没有修复"},
      {RepairOutcome::Changed, L" 项在检查之后已经改变"},
      {RepairOutcome::AccessDenied, L" 项没有修改的权限"},
      {RepairOutcome::NotWrittenDown, L" 项无法写入撤销文件"},
      {RepairOutcome::PartlyRemoved, L" 项只删除了一部分"},
      {RepairOutcome::Failed, L" 项无法删除"},
  };
  std::wstring text;
  for (const auto& [outcome, words] : causes)
    if (count(outcome) > 0)
      text += (text.empty() ? L"" : L"，") + std::to_wstring(count(outcome)) + words;
  return text;
}

std::wstring RepairTally::StatusText() const {
  if (AllRepaired()) return L"全部修复完毕";
  return L"全部修复完毕。修复了 " + std::to_wstring(Repaired()) + L" 项，" +
         std::to_wstring(NotRepaired()) + L" 项没有修复：" + Causes() + L"。";
}

std::wstring RepairTally::HistoryRecord() const {
  if (AllRepaired()) return L"修复了所有检查到的系统错误";
  return L"修复了 " + std::to_wstring(Repaired()) + L" 项检查到的系统错误，" +
         std::to_wstring(NotRepaired()) + L" 项没有修复（" + Causes() + L"）";
}

RepairResult Repairer::RepairFile(const std::wstring& path) {
  // Only a file on a fixed drive, as the shortcut scan walks them.
  if (GetDriveTypeA(common::ToAnsi(path.substr(0, 3)).c_str()) != DRIVE_FIXED)
    return {RepairOutcome::Refused, {}};
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  const std::optional<std::wstring> copy = journal_.KeepFile(path);
  if (!copy) return NotWrittenDown(journal_);
  if (!DeleteFileA(common::ToAnsi(path).c_str())) return Refusal(static_cast<LONG>(GetLastError()));
  return {RepairOutcome::Repaired, *copy};
}

RepairResult Repairer::RepairFolder(const std::wstring& path) {
  // The system removes only an empty folder; an empty folder needs nothing to bring it back.
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  if (!RemoveDirectoryA(common::ToAnsi(path).c_str()))
    return Refusal(static_cast<LONG>(GetLastError()));
  return {RepairOutcome::Repaired, {}};
}

RepairResult Repairer::RepairRegistry(const ScanResultRow& row) {
  const HKEY root = registry::RootByName(row.Item);
  const RepairKind kind = KindOf(row);
  int subkeys = 0;
  {
    // Looked at and closed again before anything is deleted.
    const registry::Key key = registry::Key::Open(root, row.Location);
    if (!key || (kind == RepairKind::Value && !key.HasValue(row.KeyName))) return {};
    subkeys = key.SubkeyCount();
  }
  std::optional<std::wstring> journal;
  LONG result = ERROR_SUCCESS;
  switch (kind) {
    case RepairKind::DefaultValue:
      journal = journal_.RecordValue(root, row.Location, L"");
      if (!journal) return NotWrittenDown(journal_);
      result = registry::WriteText(root, row.Location, L"", L"");
      break;
    case RepairKind::Value:
      journal = journal_.RecordValue(root, row.Location, row.KeyName);
      if (!journal) return NotWrittenDown(journal_);
      result = registry::DeleteValue(root, row.Location, row.KeyName);
      break;
    default:
      journal = journal_.RecordKey(root, row.Location);
      if (!journal) return NotWrittenDown(journal_);
      // Windows 95, 98 and ME delete the subkeys with the key; the others need them gone first.
      const bool someGone =
          majorVersion_ != 4 && subkeys > 0 && Del_Key2000(root, row.Location, pump_);
      result = registry::DeleteKey(root, row.Location);
      if (result != ERROR_SUCCESS) {
        // The key stayed, but some of what was below it went (at any depth): the journal holds
        // all of it.
        if (someGone) return {RepairOutcome::PartlyRemoved, *journal};
        // The NT family refuses a key that still has subkeys with the same code as a missing
        // right: a key that kept all of them was not refused for want of rights.
        if (registry::Key::Open(root, row.Location).SubkeyCount() > 0) return {};
      }
      break;
  }
  if (result != ERROR_SUCCESS) return Refusal(result);
  return {RepairOutcome::Repaired, *journal};
}

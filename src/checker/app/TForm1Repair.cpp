// The main window's side of repair, backup and restore, and of the repair history: what the
// handlers of those commands share.
#include <shlobj.h>

#include "checker/app/CommandIds.h"
#include "checker/app/TForm1.h"
#include "checker/scanners/Recheck.h"
#include "common/paths.h"
#include "common/text.h"

namespace {

constexpr wchar_t kBackupFile[] = L"Backup_Sanivo.reg";

// When a file was last written, if it exists and is not empty.
std::optional<ULONGLONG> WrittenAt(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(common::ToAnsi(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0))
    return std::nullopt;
  return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

ULONGLONG Now() {
  FILETIME now = {};
  GetSystemTimeAsFileTime(&now);
  return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// File systems keep write times to 2 seconds (FAT).
constexpr ULONGLONG kFileTimeGrain = 2ULL * 10'000'000;

}  // namespace

TForm1::RepairSection::RepairSection(TForm1& form)
    : form_(form), entered_(!form.repairBusy_), busy_(form) {
  if (entered_) form_.repairBusy_ = true;
}

TForm1::RepairSection::~RepairSection() {
  if (entered_) form_.repairBusy_ = false;
}

int TForm1::Ask(const std::wstring& text, UINT type) {
  // The box has no owner: the main window stays usable meanwhile, so the box counts as busy.
  const BusySection busy(*this);
  return services_.messageBox ? services_.messageBox(text, type) : IDCANCEL;
}

bool TForm1::WriteLog(const std::wstring& action, const std::wstring& record,
                      const std::wstring& undoFile) {
  return WriteHistory(HistoryPath(services_.programDirectory), UndoJournal::LocalTime(), action,
                      record, undoFile);
}

std::wstring TForm1::ProgramFile(const std::wstring& name) const {
  return services_.programDirectory + L"\\" + name;
}

RepairPlaces TForm1::Places() const {
  RepairPlaces places;
  places.bakPath = environment_.BakPath;
  if (!environment_.GetSpecialFolder) return places;
  const HWND owner = environment_.DesktopWnd;
  for (const int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
    places.programFolders.push_back(environment_.GetSpecialFolder(owner, csidl));
  for (const int csidl : {CSIDL_STARTUP, CSIDL_COMMON_STARTUP})
    places.startupFolders.push_back(environment_.GetSpecialFolder(owner, csidl));
  return places;
}

RowCheck TForm1::Recheck() const {
  return [system = RecheckSystem::ForThisProcess(environment_)](const ScanResultRow& row) {
    return StillHolds(row, system);
  };
}

void TForm1::Backup() {
  if (!progressForm_) progressForm_ = CreateChildForm<TForm3>();
  if (progressForm_)
    progressForm_->ShowProgress(L"备份", L"正在进行系统文件备份，请稍候......",
                                TForm3::kBackupPicture);
  const std::wstring statusBefore = statusBar1_.Text();
  statusBar1_.SetText(L"备份注册表...");
  // The registry editor writes the file into the current folder: the program's own.
  SetCurrentDirectoryA(common::ToAnsi(services_.programDirectory).c_str());
  ProcessMessages();

  const std::wstring file = ProgramFile(kBackupFile);
  const std::optional<ULONGLONG> before = WrittenAt(file);
  const ULONGLONG start = Now();
  RunAndWait(RegistryEditor() + L" /e " + kBackupFile);
  const std::optional<ULONGLONG> after = WrittenAt(file);
  const bool made = after && after != before && *after + kFileTimeGrain >= start;

  if (!made) {
    if (progressForm_) progressForm_->Close();
    statusBar1_.SetText(statusBefore);
    Ask(L"备份失败：注册表编辑器没有生成备份文件“Backup_Sanivo.reg”。", MB_OK | MB_ICONERROR);
    return;
  }
  WriteLog(L"备份注册表", L"备份成功");
  statusBar1_.SetText(L"备份完毕");
  if (progressForm_) progressForm_->Close();
  Ask(L"备份完毕。Windows已经在当前目录创建了备份文件“Backup_Sanivo.reg”。",
      MB_OK | MB_ICONINFORMATION);
}

void TForm1::Restore() {
  const std::wstring file = ProgramFile(kBackupFile);
  if (!common::FileExists(file)) {
    Ask(L"错误！备份文件“" + file + L"”不存在，恢复失败。", MB_OK | MB_ICONERROR);
    return;
  }
  if (Ask(L"说明：将要从备份文件“Backup_Sanivo.reg”恢复系统，确定吗？ ",
          MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  if (!progressForm_) progressForm_ = CreateChildForm<TForm3>();
  if (progressForm_)
    progressForm_->ShowProgress(L"恢复", L"正在从系统文件备份进行恢复，请稍候......",
                                TForm3::kRestorePicture);
  statusBar1_.SetText(L"恢复注册表...");
  ProcessMessages();
  SetCurrentDirectoryA(common::ToAnsi(services_.programDirectory).c_str());
  RunAndWait(RegistryEditor() + L" /s " + kBackupFile);
  WriteLog(L"恢复注册表", L"恢复成功");
  statusBar1_.SetText(L"恢复完毕");
  if (progressForm_) progressForm_->Close();
  Ask(L"恢复完毕。Windows已经从备份文件“Backup_Sanivo.reg”恢复了系统。",
      MB_OK | MB_ICONINFORMATION);
}

std::wstring TForm1::RegistryEditor() const {
  // The one of the Windows folder, never one found on the search path or in the current folder.
  return L"\"" + environment_.WinDir + L"\\regedit.exe\"";
}

bool TForm1::EnsureHistoryForm() {
  if (!historyForm_) {
    historyForm_ = CreateChildForm<TForm2>();
    if (historyForm_) historyForm_->SetHistoryFile(HistoryPath(services_.programDirectory));
  }
  return historyForm_ != nullptr;
}

void TForm1::DisableRepairAfterRepairAll() {
  menus_.Enable(menus_.Bar(), cmd::kRepair, false);
  menus_.Enable(menus_.Bar(), cmd::kRepairAll, false);
  EnableWindow(flatButtons_[1], FALSE);
  EnableWindow(flatButtons_[2], FALSE);
  toolBar1_.SetHidden(cmd::kRepairAll, true);
  toolBar1_.SetHidden(cmd::kRepair, true);
}

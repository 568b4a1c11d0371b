// The main window's side of repair, backup and restore, and of the repair history: what the
// handlers of those commands share.
#include <shlobj.h>

#include "checker/app/CommandIds.h"
#include "checker/app/RegistryFile.h"
#include "checker/app/TForm1.h"
#include "checker/scanners/Recheck.h"
#include "common/paths.h"
#include "common/text.h"

namespace {

constexpr wchar_t kBackupFile[] = L"Backup_Sanivo.reg";
// The export goes here first and replaces the backup only when it is whole.
constexpr wchar_t kNewBackupFile[] = L"Backup_Sanivo_new.reg";

// A file's last write time (local, to the minute) and size, for the restore question.
std::wstring DateAndSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  FILETIME local = {};
  SYSTEMTIME time = {};
  if (!GetFileAttributesExA(common::ToAnsi(path).c_str(), GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &time))
    return {};
  const ULONGLONG bytes = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  wchar_t text[96] = {};
  wsprintfW(text, L"备份时间：%04u-%02u-%02u %02u:%02u，大小：%lu.%lu MB", time.wYear, time.wMonth,
            time.wDay, time.wHour, time.wMinute, static_cast<unsigned long>(bytes >> 20),
            static_cast<unsigned long>((bytes % (1 << 20)) * 10 >> 20));
  return text;
}

// Why a registry editor file cannot be used, in the words of the boxes.
std::wstring Reason(RegistryFileState state) {
  switch (state) {
    case RegistryFileState::Empty:
      return L"文件是空的";
    case RegistryFileState::NotRegistryFile:
      return L"它不是注册表编辑器的文件";
    case RegistryFileState::CutShort:
    case RegistryFileState::RootsMissing:
      return L"文件不完整";
    default:
      return L"无法读取文件";
  }
}

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

std::wstring TForm1::StartRegistryEditorWork(const wchar_t* caption, const wchar_t* text,
                                             int picture, const wchar_t* status) {
  if (!progressForm_) progressForm_ = CreateChildForm<TForm3>();
  if (progressForm_) progressForm_->ShowProgress(caption, text, picture);
  std::wstring statusBefore = statusBar1_.Text();
  statusBar1_.SetText(status);
  // The registry editor reads and writes the backup in the current folder: the program's own.
  SetCurrentDirectoryA(common::ToAnsi(services_.programDirectory).c_str());
  ProcessMessages();
  return statusBefore;
}

std::optional<std::wstring> TForm1::Backup() {
  const std::wstring statusBefore = StartRegistryEditorWork(
      L"备份", L"正在进行系统文件备份，请稍候......", TForm3::kBackupPicture, L"备份注册表...");

  const std::wstring file = ProgramFile(kBackupFile);
  const std::wstring newFile = ProgramFile(kNewBackupFile);
  DeleteFileA(common::ToAnsi(newFile).c_str());  // left by an export that never ended
  const std::optional<DWORD> exitCode = RunAndWaitFor(RegistryEditor() + L" /e " + kNewBackupFile);
  const RegistryFileState state = CheckRegistryFileAt(newFile, true);

  std::wstring failure;
  if (!exitCode) {
    failure = L"备份失败：无法启动注册表编辑器" + RegistryEditor() + L"。";
  } else if (state == RegistryFileState::Missing || state == RegistryFileState::Empty) {
    failure = L"备份失败：注册表编辑器没有生成备份文件“Backup_Sanivo.reg”。";
  } else if (state != RegistryFileState::Whole) {
    failure = L"备份失败：注册表编辑器生成的备份文件不完整（" + Reason(state) + L"）。";
  } else if (!MoveFileExA(common::ToAnsi(newFile).c_str(), common::ToAnsi(file).c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = L"备份失败：无法用新的备份替换备份文件“Backup_Sanivo.reg”。";
  }
  if (!failure.empty()) {
    DeleteFileA(common::ToAnsi(newFile).c_str());
    if (common::FileExists(file)) failure += L"\r\n原来的备份文件没有改变。";
    if (progressForm_) progressForm_->Close();
    statusBar1_.SetText(statusBefore);
    return failure;
  }
  WriteLog(L"备份注册表", L"备份成功");
  statusBar1_.SetText(L"备份完毕");
  if (progressForm_) progressForm_->Close();
  Ask(L"备份完毕。Windows已经在当前目录创建了备份文件“Backup_Sanivo.reg”。",
      MB_OK | MB_ICONINFORMATION);
  return std::nullopt;
}

void TForm1::Restore() {
  const std::wstring file = ProgramFile(kBackupFile);
  if (!common::FileExists(file)) {
    Ask(L"错误！备份文件“" + file + L"”不存在，恢复失败。", MB_OK | MB_ICONERROR);
    return;
  }
  // Only a whole registry editor file is imported; anything else would import part of it, or
  // nothing that the user expects.
  const RegistryFileState state = CheckRegistryFileAt(file, false);
  if (state != RegistryFileState::Whole) {
    Ask(L"恢复失败：备份文件“" + file + L"”不能用来恢复（" + Reason(state) +
            L"）。注册表没有任何改变。",
        MB_OK | MB_ICONERROR);
    return;
  }
  const std::wstring dateAndSize = DateAndSize(file);
  if (Ask(L"说明：将要从备份文件“Backup_Sanivo.reg”恢复系统，确定吗？ " +
              (dateAndSize.empty() ? L"" : L"\r\n" + dateAndSize),
          MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  const std::wstring statusBefore =
      StartRegistryEditorWork(L"恢复", L"正在从系统文件备份进行恢复，请稍候......",
                              TForm3::kRestorePicture, L"恢复注册表...");
  const std::optional<DWORD> exitCode = RunAndWaitFor(RegistryEditor() + L" /s " + kBackupFile);
  if (progressForm_) progressForm_->Close();
  if (!exitCode || *exitCode != 0) {
    statusBar1_.SetText(statusBefore);
    Ask(exitCode ? L"恢复失败：注册表编辑器报告导入出错（退出代码 " + std::to_wstring(*exitCode) +
                       L"），注册表可能只恢复了一部分。"
                 : L"恢复失败：无法启动注册表编辑器" + RegistryEditor() + L"，注册表没有任何改变。",
        MB_OK | MB_ICONERROR);
    return;
  }
  WriteLog(L"恢复注册表", L"恢复成功");
  statusBar1_.SetText(L"恢复完毕");
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
  EnableWindow(FlatButton(Flat::Repair), FALSE);
  EnableWindow(FlatButton(Flat::RepairAll), FALSE);
  toolBar1_.SetHidden(cmd::kRepairAll, true);
  toolBar1_.SetHidden(cmd::kRepair, true);
}

// Commands of the main window: repair, registry backup and restore, the repair history, help,
// contact and about. Each is wired to its buttons, menu items and shortcut keys.
#include "checker/app/TForm1.h"

#include <shellapi.h>

#include "common/MakerSite.h"
#include "common/text.h"

namespace {

constexpr wchar_t kMainTopic[] = L"Topic_17.htm";
constexpr wchar_t kAboutTitle[] = L"Sanivo Version 3.4.5.408";
constexpr wchar_t kRefusedText[] =
    L"为了系统的安全，Sanivo不修复这一项：Windows或其他程序需要它，或者它不在检查的范围之内。";
constexpr wchar_t kFailedText[] =
    L"修复失败：这一项在检查之后已经改变、不存在或者无法删除。请重新扫描。";
constexpr wchar_t kChangedText[] =
    L"这一项在检查之后已经改变（例如又有了内容，或者它指向的文件又存在了），Sanivo没有修改它。"
    L"请重新扫描。";

std::wstring AboutNotice() { return L"Lumora软件出品  " + MakerSite::HomePage(); }

}  // namespace

// Repair of the selected row.
void TForm1::FlatButton2Click() {
  const RepairSection section(*this);
  if (!section.Entered() || ScanRunning()) return;  // one at a time, never under a running scan
  const int index = listView2_.Selected();
  if (index < 0) return;
  const ScanResultRow row = listView2_.Row(index);
  if (row.ImageIndex == RepairedImage) return;
  if (Ask(RepairQuestion(row), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  // Ignored while the question waited: the user keeps it after all.
  if (ignoreList_.Matches(row)) return;

  UndoJournal journal(services_.programDirectory);
  Repairer repairer(
      environment_.MajorVersion, Places(), journal, [this] { ProcessMessages(); }, Recheck());
  const RepairResult result = repairer.Repair(row);
  // The user said yes: when nothing was removed, the user hears why instead of nothing at all.
  if (result.outcome == RepairOutcome::Refused) {
    Ask(kRefusedText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (result.outcome == RepairOutcome::Changed) {
    Ask(kChangedText, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (result.outcome != RepairOutcome::Repaired) {
    Ask(kFailedText, MB_OK | MB_ICONWARNING);
    return;
  }
  // The rows may have been sorted while the question waited.
  listView2_.SetImage(listView2_.Find(row, index), RepairedImage);
  WriteLog(L"删除", RepairRecord(row), result.undoFile);
  statusBar1_.SetText(L"修复完毕。剩余：" + std::to_wstring(listView2_.CountNotRepaired()) +
                      L" 个错误。");
}

// Repair of every row.
void TForm1::FlatButton3Click() {
  const RepairSection section(*this);
  if (!section.Entered() || ScanRunning()) return;
  if (Ask(L"Sanivo建议在全部删除前进行注册表备份。单击“确认”将注册表备份为文件，如果不需要备份，"
          L"请单击“取消”。",
          MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
    // The user asked for a backup first: without one, nothing is deleted.
    if (const std::optional<std::wstring> failure = Backup()) {
      Ask(*failure + L"\r\n\r\n没有进行全部修复：没有备份，Sanivo没有删除任何内容。",
          MB_OK | MB_ICONERROR);
      return;
    }
  }
  if (Ask(L"Sanivo将要修复所有检查到的系统错误，确认吗？", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;

  std::vector<ScanResultRow> rows;
  for (int i = 0; i < listView2_.Count(); ++i) rows.push_back(listView2_.Row(i));
  UndoJournal journal(services_.programDirectory);
  Repairer repairer(
      environment_.MajorVersion, Places(), journal, [this] { ProcessMessages(); }, Recheck());
  // Every row, repaired ones included. A row refused as naming something no scan reports, and
  // one whose entry changed since the scan (looked at again at the moment of its repair), keep
  // their image; the changed ones are counted for the user.
  std::vector<ScanResultRow> leftAlone;
  int changed = 0;
  for (const ScanResultRow& row : rows) {
    // A row ignored meanwhile (the subkey deletion lets the window run) stays as it is.
    if (ignoreList_.Matches(row)) continue;
    const RepairOutcome outcome = repairer.Repair(row).outcome;
    if (outcome == RepairOutcome::Refused || outcome == RepairOutcome::Changed)
      leftAlone.push_back(row);
    if (outcome == RepairOutcome::Changed) ++changed;
  }

  std::wstring journals;
  for (const std::wstring& file : journal.Written())
    journals += (journals.empty() ? L"" : L"；") + file;
  const std::wstring changedNote =
      changed == 0 ? L"" : L"；" + std::to_wstring(changed) + L" 项在检查之后已经改变，没有修改";
  WriteLog(L"全部修复", L"修复了所有检查到的系统错误" + changedNote, journals);
  listView2_.MarkRepairedExcept(leftAlone);
  statusBar1_.SetText(changed == 0 ? std::wstring(L"全部修复完毕")
                                   : L"全部修复完毕。" + std::to_wstring(changed) +
                                         L" 项在检查之后已经改变，没有修改，请重新扫描。");
  DisableRepairAfterRepairAll();
}

// Registry backup.
void TForm1::ToolButton4Click() {
  const RepairSection section(*this);
  if (!section.Entered()) return;
  if (const std::optional<std::wstring> failure = Backup()) Ask(*failure, MB_OK | MB_ICONERROR);
}

// Registry restore.
void TForm1::ToolButton7Click() {
  const RepairSection section(*this);
  if (section.Entered()) Restore();
}

// The repair history window, reloaded at every showing.
void TForm1::ToolButton9Click() {
  if (EnsureHistoryForm()) historyForm_->ShowForm();
}

// Clearing the repair history, without a question, whether the window was ever shown or not.
void TForm1::ClearRepairHistory1Click() {
  if (EnsureHistoryForm()) historyForm_->FlatButton1Click();
}

// The help file's main page, F1.
void TForm1::Help1Click() {
  if (helpViewer_) helpViewer_->ShowTopic(kMainTopic);
}

// E-mail to the maker.
void TForm1::N7Click() {
  if (services_.openAddress) services_.openAddress(Handle(), MakerSite::ContactMail(L"Sanivo"));
}

// The maker's home page.
void TForm1::N8Click() {
  if (services_.openAddress) services_.openAddress(Handle(), MakerSite::HomePage());
}

// The system's about box, with the program's icon.
void TForm1::Windows1Click() {
  const BusySection busy(*this);  // the box runs a modal loop of its own
  ShellAboutA(Handle(), common::ToAnsi(kAboutTitle).c_str(), common::ToAnsi(AboutNotice()).c_str(),
              LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
}

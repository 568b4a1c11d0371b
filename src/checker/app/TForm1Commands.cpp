// Commands of the main window: repair, registry backup and restore, the repair history, help,
// contact and about. Each is wired to its buttons, menu items and shortcut keys.
#include "checker/app/TForm1.h"

#include <shellapi.h>

#include "common/MakerSite.h"
#include "common/text.h"

namespace {

constexpr wchar_t kMainTopic[] = L"Topic_17.htm";
constexpr wchar_t kAboutTitle[] = L"Sanivo Version 3.4.5.408";
// The most entries that were only partly removed which one box names after repairing all.
constexpr size_t kMostNamedEntries = 10;

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
  if (result.outcome == RepairOutcome::PartlyRemoved) {
    WriteLog(L"部分删除", RepairRecord(row), result.undoFile);
    Ask(OutcomeText(result, row), MB_OK | MB_ICONWARNING);
    return;
  }
  if (result.outcome != RepairOutcome::Repaired) {
    const bool ours = result.outcome == RepairOutcome::Refused ||
                      result.outcome == RepairOutcome::Changed;
    Ask(OutcomeText(result, row), MB_OK | (ours ? MB_ICONINFORMATION : MB_ICONWARNING));
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
  // Every row not repaired yet; only those really repaired are marked, the others keep their
  // picture and are counted by their cause.
  RepairTally tally;
  std::vector<ScanResultRow> repaired;
  std::vector<std::pair<ScanResultRow, std::wstring>> partly;
  for (const ScanResultRow& row : rows) {
    // A row ignored meanwhile (the subkey deletion lets the window run) stays as it is.
    if (row.ImageIndex == RepairedImage || ignoreList_.Matches(row)) continue;
    const RepairResult result = repairer.Repair(row);
    tally.Add(result.outcome);
    if (result.outcome == RepairOutcome::Repaired) repaired.push_back(row);
    if (result.outcome == RepairOutcome::PartlyRemoved) partly.emplace_back(row, result.undoFile);
  }

  std::wstring journals;
  for (const std::wstring& file : journal.Written())
    journals += (journals.empty() ? L"" : L"；") + file;
  WriteLog(L"全部修复", tally.HistoryRecord(), journals);
  for (const auto& [row, undoFile] : partly) WriteLog(L"部分删除", RepairRecord(row), undoFile);
  listView2_.MarkRepaired(repaired);
  statusBar1_.SetText(tally.StatusText());
  if (!partly.empty()) {
    std::wstring names;
    for (size_t i = 0; i < partly.size() && i < kMostNamedEntries; ++i)
      names += L"\r\n" + partly[i].first.Item + L"\\" + partly[i].first.Location;
    if (partly.size() > kMostNamedEntries)
      names += L"\r\n……（共 " + std::to_wstring(partly.size()) + L" 项）";
    Ask(L"以下项目只删除了一部分（有些子键无法删除），已删除的内容保存在撤销文件中：" + names,
        MB_OK | MB_ICONWARNING);
  }
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

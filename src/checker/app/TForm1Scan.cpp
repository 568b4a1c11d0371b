// The main window's side of the scan command (ScanView).
#include "checker/app/CommandIds.h"
#include "checker/app/TForm1.h"
#include "common/keyboard.h"
#include "common/pump.h"

void TForm1::FlatButton1Click() {
  // A new scan would clear the rows under a repair that is waiting; Stop stays possible.
  if (repairBusy_ && !ScanRunning()) return;
  if (scan_) scan_->FlatButton1Click();
}

int TForm1::CheckRowCount() const { return chkListView_.RowCount(); }

bool TForm1::RowChecked(int row) const { return chkListView_.Checked(row); }

void TForm1::ShowScanCaptions(bool scanning) {
  SetWindowTextW(FlatButton(Flat::Scan), scanning ? L"停止" : L"扫描");
  menus_.SetCaption(menus_.Bar(), cmd::kScan, scanning ? L"停止" : L"扫描");
  toolBar1_.SetCaption(cmd::kScan, scanning ? L"  停止  " : L"  扫描  ");
}

void TForm1::ShowScanHints() {
  hints_.Set(FlatButton(Flat::Scan), L"扫描系统错误");
  toolBar1_.SetHint(cmd::kScan, L"扫描系统错误");
}

void TForm1::EnableSelectAll(bool enabled) { EnableWindow(seleclAllChkListBtn_, enabled); }

void TForm1::EnableRepairControls(bool enabled) {
  menus_.Enable(menus_.Bar(), cmd::kRepair, enabled);
  menus_.Enable(menus_.Bar(), cmd::kRepairAll, enabled);
  menus_.Enable(menus_.Popup(), cmd::kPopRepair, enabled);
  menus_.Enable(menus_.Popup(), cmd::kPopAll, enabled);
  EnableWindow(FlatButton(Flat::Repair), enabled);
  EnableWindow(FlatButton(Flat::RepairAll), enabled);
  toolBar1_.SetHidden(cmd::kRepairAll, !enabled);
  toolBar1_.SetHidden(cmd::kRepair, !enabled);
}

void TForm1::ClearResults() { listView2_.Clear(); }

void TForm1::AddRow(const ScanResultRow& row) {
  // Every scan's rows pass here, the worker threads' and those of the scans in the window: an
  // ignored finding never reaches the list, and so neither the count nor a repair.
  if (!ignoreList_.Matches(row)) listView2_.AddRow(row);
}

int TForm1::ResultCount() const { return listView2_.Count(); }

void TForm1::ShowStatus(const std::wstring& text) { statusBar1_.SetText(text); }

void TForm1::ProcessMessages() {
  const BusySection busy(*this);
  common::PumpPendingMessages();
}

void TForm1::RunAndWait(const std::wstring& commandLine) { RunAndWaitFor(commandLine); }

std::optional<DWORD> TForm1::RunAndWaitFor(const std::wstring& commandLine) {
  const BusySection busy(*this);
  if (!services_.runAndWait) return std::nullopt;
  return services_.runAndWait(commandLine, Handle(), [this] { ProcessMessages(); });
}

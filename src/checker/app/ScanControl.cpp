#include "checker/app/ScanControl.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "common/pump.h"

namespace {

constexpr wchar_t kSystemFileText[] =
    L"扫描所有受保护的系统文件并用正确的 Microsoft 版本替换不正确版本，请稍候...";
// Shown instead of a scan when the threads could not be given a way to the window.
constexpr wchar_t kCannotStartText[] = L"无法开始扫描：系统资源不足。";

std::wstring FinishedText(int rows) {
  return L"扫描完毕。共检查到：" + std::to_wstring(rows) + L" 个错误";
}

}  // namespace

ScanControl::ScanControl(ScanView& view, ScannerSet scanners, const ScanEnvironment& environment)
    : view_(view), scanners_(std::move(scanners)), environment_(environment) {}

ScanControl::~ScanControl() { Shutdown(); }

void ScanControl::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  for (const Started& thread : started_) thread.ref.Terminate();
  // From here on no call of a worker reaches this object or the window: waiting workers are
  // released and later hand-offs, completions included, are refused.
  handOff_.Close();
  std::vector<HANDLE> running;
  for (const Started& thread : started_)
    if (thread.handle) running.push_back(thread.handle.Get());
  // A thread is never cut off: each ends at its next look at the request. Messages run
  // meanwhile, since a thread may be waiting for an answer from a window of this thread (the
  // shell functions of a scan ask their owner window).
  while (!running.empty()) {
    const DWORD count = static_cast<DWORD>(std::min<size_t>(running.size(), MAXIMUM_WAIT_OBJECTS - 1));
    const DWORD woke = MsgWaitForMultipleObjects(count, running.data(), FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_FAILED) break;  // nothing left that can be waited for
    if (woke < WAIT_OBJECT_0 + count)
      running.erase(running.begin() + (woke - WAIT_OBJECT_0));
    else
      common::PumpPendingMessages();
  }
  started_.clear();
}

void ScanControl::FlatButton1Click() {
  if (stopOffered_)
    Stop();
  else
    StartScan();
}

void ScanControl::ShowScanCaptions(bool scanning) {
  stopOffered_ = scanning;
  view_.ShowScanCaptions(scanning);
}

int ScanControl::RunningThreads() const {
  return static_cast<int>(std::count_if(started_.begin(), started_.end(),
                                        [](const Started& t) { return t.ref.Running(); }));
}

void ScanControl::StartScan() {
  // The scan command and a scan's finish pump messages. A click that would start a scan from
  // inside those pumps is ignored: a nested scan would clear the list and reset the count under
  // the one that is running.
  const common::ReentryGuard guard(busy_);
  if (!guard.Entered() || shutDown_) return;
  if (!handOff_.Ready()) {
    // The threads would hand their rows to nobody and wait for ever: no scan.
    view_.ShowStatus(kCannotStartText);
    return;
  }

  const uint32_t scan = ++scan_;
  scanning_ = true;
  ShowScanCaptions(true);
  view_.EnableSelectAll(false);
  view_.EnableRepairControls(false);
  view_.ClearResults();
  pendingScans_ = 0;
  threadsStarted_ = false;
  chkRegErrHKCU_ = chkRegErrHKU_ = chkRegErrHKLM_ = chkRegClassThread_ = ScanThreadRef();
  std::erase_if(started_, [](const Started& t) { return !t.ref.Running(); });

  // The command counts as one activity of its own until its end, so that worker threads that
  // end while the synchronous scans below pump messages cannot finish the scan before them.
  RaisePendingScans();

  // The registry reference threads, all made first, then started in row order.
  struct ReferenceScan {
    CheckRowId row;
    HKEY root;
    ScanThreadRef* ref;
  };
  const ReferenceScan references[] = {
      {CheckRowId::CurrentUserReferences, HKEY_CURRENT_USER, &chkRegErrHKCU_},
      {CheckRowId::AllUsersReferences, HKEY_USERS, &chkRegErrHKU_},
      {CheckRowId::MachineReferences, HKEY_LOCAL_MACHINE, &chkRegErrHKLM_}};
  std::unique_ptr<TScanThread> made[std::size(references)];
  for (size_t i = 0; i < std::size(references); ++i) {
    if (!Checked(references[i].row) || !scanners_.registryThread) continue;
    made[i] = scanners_.registryThread(environment_, references[i].root);
    if (made[i]) ++pendingScans_;
  }
  for (size_t i = 0; i < std::size(references); ++i)
    if (made[i]) *references[i].ref = StartThread(std::move(made[i]));

  RunSynchronous(CheckRowId::SoftwareKeys);
  RunSynchronous(CheckRowId::MenuEntries);

  // Stop may have come while those ran (they let messages run): no thread starts after it.
  if (Current(scan) && Checked(CheckRowId::ClassRegistrations) && scanners_.classThread) {
    if (std::unique_ptr<TScanThread> thread = scanners_.classThread(environment_)) {
      ++pendingScans_;
      chkRegClassThread_ = StartThread(std::move(thread));
    }
  }

  for (const CheckRowId row :
       {CheckRowId::HelpFiles, CheckRowId::SharedDlls, CheckRowId::UninstallEntries,
        CheckRowId::Fonts, CheckRowId::BrokenShortcuts})
    RunSynchronous(row);

  if (Checked(CheckRowId::EmptyMenuFolders) &&
      scanners_.Synchronous(CheckRowId::EmptyMenuFolders)) {
    RaisePendingScans();
    RunSynchronous(CheckRowId::EmptyMenuFolders);
    LowerPendingScans();
  }

  LowerPendingScans();
  if (pendingScans_ != 0 || scan != scan_) return;
  // Worker threads that all ended before the command did leave the finish to the command; it
  // is still the finish of a scan with threads.
  if (threadsStarted_)
    FinishAfterThreads();
  else
    FinishCommand();
}

bool ScanControl::Checked(CheckRowId row) const { return view_.RowChecked(RowIndex(row)); }

void ScanControl::RunSynchronous(CheckRowId row) {
  const auto& scanner = scanners_.Synchronous(row);
  if (!scanner || !Checked(row)) return;
  try {
    scanner(*this);
  } catch (...) {
    // A scanner that fails inside reports nothing further; the scan goes on with the next row.
  }
}

ScanThreadRef ScanControl::StartThread(std::unique_ptr<TScanThread> thread) {
  threadsStarted_ = true;
  Started started;
  started.ref = TScanThread::Start(std::move(thread), LinkFor(scan_), &started.handle);
  const ScanThreadRef ref = started.ref;
  started_.push_back(std::move(started));
  return ref;
}

ScanThreadLink ScanControl::LinkFor(uint32_t scan) {
  ScanThreadLink link;
  link.handOff = handOff_.Channel();
  link.ShowStatus = [this, scan](const std::wstring& text) {
    if (scan == scan_) view_.ShowStatus(text);
  };
  // A row that was already on its way when Stop came is dropped with the rest.
  link.AddRow = [this, scan](const ScanResultRow& row) {
    if (Current(scan)) view_.AddRow(row);
  };
  link.Done = [this, scan] { ScanThreadDone(scan); };
  return link;
}

void ScanControl::ScanThreadDone(uint32_t scan) {
  if (scan != scan_) return;  // a thread of an earlier, stopped scan
  if (--pendingScans_ != 0) return;
  const common::ReentryGuard guard(busy_);
  FinishAfterThreads();
}

void ScanControl::FinishCommand() {
  ShowScanCaptions(false);
  view_.ShowScanHints();
  view_.EnableSelectAll(true);
  const int rows = view_.ResultCount();
  view_.ShowStatus(FinishedText(rows) + L"。");
  if (rows > 0) view_.EnableRepairControls(true);
}

void ScanControl::FinishAfterThreads() {
  if (scanning_ && view_.CheckRowCount() == RowIndex(CheckRowId::ProtectedSystemFiles) + 1 &&
      Checked(CheckRowId::ProtectedSystemFiles)) {
    view_.ShowStatus(kSystemFileText);
    view_.ProcessMessages();
    // The program's path is quoted: a Windows folder with a blank in its name must not make
    // the system start something else (C:\My.exe for "C:\My Windows\...").
    view_.RunAndWait(L"\"" + environment_.WinDir + L"\\system32\\sfc.exe\" /SCANNOW");
  }
  view_.EnableSelectAll(true);
  view_.EnableRepairControls(view_.ResultCount() > 0);
  ShowScanCaptions(false);
  view_.ShowStatus(FinishedText(view_.ResultCount()));
}

void ScanControl::Stop() {
  scanning_ = false;
  ShowScanCaptions(false);
  StopThreads();
}

void ScanControl::StopThreads() {
  for (const ScanThreadRef* thread :
       {&chkRegClassThread_, &chkRegErrHKCU_, &chkRegErrHKU_, &chkRegErrHKLM_})
    if (thread->Running()) thread->Terminate();
}

void ScanControl::AddRow(const ScanResultRow& row) { view_.AddRow(row); }

void ScanControl::ShowStatus(const std::wstring& text) { view_.ShowStatus(text); }

void ScanControl::ProcessMessages() { view_.ProcessMessages(); }

// The scan command and its completion logic, with fake scanners and a fake window.
#include "checker/app/ScanControl.h"

#include <gtest/gtest.h>

#include <thread>

#include "fakes.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;
using testing_support::WaitFor;

constexpr wchar_t kSystemFileText[] =
    L"扫描所有受保护的系统文件并用正确的 Microsoft 版本替换不正确版本，请稍候...";

ScanEnvironment Environment() {
  ScanEnvironment environment;
  environment.WinDir = L"C:\\WINDOWS";
  environment.MajorVersion = 5;
  return environment;
}

// A synchronous scanner that appends `rows` rows for row `row`.
std::function<void(ScanHost&)> Adds(int row, int rows) {
  return [row, rows](ScanHost& host) {
    for (int i = 0; i < rows; ++i)
      host.AddRow(
          Row(L"HKEY_LOCAL_MACHINE", L"row" + std::to_wstring(row) + L"." + std::to_wstring(i)));
  };
}

void UncheckThreadRows(FakeView& view) {
  for (int row : {2, 7, 8, 9}) view.checked[static_cast<size_t>(row)] = false;
}

class ScanControlTest : public ::testing::Test {
 protected:
  ScanEnvironment environment_ = Environment();
  std::shared_ptr<ThreadScript> script_ = std::make_shared<ThreadScript>();
};

TEST_F(ScanControlTest, WithoutThreadRowsTheCommandFinishesTheScanWithAFullStop) {
  FakeView view(13);
  view.checked[12] = true;  // the system file checker is never run from the command
  UncheckThreadRows(view);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  scanners.Synchronous(CheckRowId::SoftwareKeys) = Adds(0, 2);
  scanners.Synchronous(CheckRowId::Fonts) = Adds(6, 1);
  ScanControl control(view, scanners, environment_);

  control.FlatButton1Click();
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：3 个错误。");
  EXPECT_EQ(view.results.size(), 3u);
  EXPECT_EQ(view.caption, L"扫描");
  EXPECT_TRUE(view.hintsShown);
  EXPECT_TRUE(view.selectAllEnabled);
  EXPECT_TRUE(view.repairEnabled);
  EXPECT_EQ(control.PendingScans(), 0);
  EXPECT_TRUE(view.commandLines.empty());
  EXPECT_EQ(script_->made.load(), 0);
}

TEST_F(ScanControlTest, AScanThatFindsNothingLeavesTheRepairControlsDisabled) {
  FakeView view(12);
  ScanControl control(view, ScannerSet(), environment_);
  view.repairEnabled = true;  // from an earlier scan
  control.FlatButton1Click();
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：0 个错误。");
  EXPECT_FALSE(view.repairEnabled);
  EXPECT_TRUE(view.results.empty());
}

TEST_F(ScanControlTest, RowsRunInOrderAndOnlyWhenChecked) {
  FakeView view(12);
  UncheckThreadRows(view);
  view.checked[4] = false;
  std::vector<int> order;
  ScannerSet scanners;
  for (int row : {0, 1, 3, 4, 5, 6, 10, 11})
    scanners.Synchronous(static_cast<CheckRowId>(row)) = [row, &order](ScanHost&) {
      order.push_back(row);
    };
  view.checked[11] = true;
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 3, 5, 6, 10, 11}));
}

TEST_F(ScanControlTest, TheLastThreadFinishesTheScanWithoutAFullStop) {
  FakeView view(12);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  script_->rows = {Row(L"HKEY_CURRENT_USER", L"Software\\Gone")};
  scanners.Synchronous(CheckRowId::SoftwareKeys) = Adds(0, 1);
  ScanControl control(view, scanners, environment_);

  control.FlatButton1Click();
  // Rows 2, 7, 8, 9: four threads; the command is over but the scan is not.
  EXPECT_EQ(script_->made.load(), 4);
  EXPECT_EQ(script_->roots, (std::vector<HKEY>{HKEY_CURRENT_USER, HKEY_USERS, HKEY_LOCAL_MACHINE}));
  EXPECT_EQ(control.PendingScans(), 4);
  EXPECT_EQ(view.caption, L"停止");
  EXPECT_FALSE(view.selectAllEnabled);
  EXPECT_FALSE(view.repairEnabled);
  EXPECT_TRUE(control.Scanning());

  // Rows and status texts arrive while the UI thread serves hand-offs (the texts on the
  // window's own time: the threads do not wait for them).
  EXPECT_TRUE(WaitFor([&] { return view.results.size() == 5; }));
  EXPECT_TRUE(WaitFor([&] {
    return std::find(view.statuses.begin(), view.statuses.end(), L"扫描：classes") !=
           view.statuses.end();
  }));
  EXPECT_EQ(view.caption, L"停止");

  script_->release = true;
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：5 个错误");
  EXPECT_EQ(view.caption, L"扫描");
  EXPECT_FALSE(view.hintsShown);  // only the command's finish sets the hints
  EXPECT_TRUE(view.selectAllEnabled);
  EXPECT_TRUE(view.repairEnabled);
  EXPECT_TRUE(view.commandLines.empty());  // 12 rows: no system file check
  EXPECT_TRUE(WaitFor([&] { return script_->ended.load() == 4; }));
}

TEST_F(ScanControlTest, TheSystemFileCheckerRunsAfterTheLastThreadWhenItsRowIsChecked) {
  FakeView view(13);
  view.checked[12] = true;
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  EXPECT_TRUE(view.commandLines.empty());
  script_->release = true;
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_EQ(view.commandLines,
            std::vector<std::wstring>{L"\"C:\\WINDOWS\\system32\\sfc.exe\" /SCANNOW"});
  ASSERT_GE(view.statuses.size(), 2u);
  EXPECT_EQ(view.statuses[view.statuses.size() - 2], kSystemFileText);
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：0 个错误");
  EXPECT_FALSE(view.repairEnabled);
}

TEST_F(ScanControlTest, TheSystemFileCheckerNeedsItsRowChecked) {
  FakeView view(13);  // row 12 starts unchecked
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  script_->release = true;
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_TRUE(view.commandLines.empty());
}

TEST_F(ScanControlTest, StopWhileThreadsRunFinishesWhenTheLastThreadHasEnded) {
  FakeView view(13);
  view.checked[12] = true;
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  script_->obeyTerminate = false;  // the threads take their time to end
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  EXPECT_TRUE(WaitFor([&] { return view.statuses.size() >= 4; }));

  control.FlatButton1Click();  // the caption reads "停止": Stop
  EXPECT_FALSE(control.Scanning());
  EXPECT_EQ(view.caption, L"扫描");
  EXPECT_TRUE(WaitFor([&] { return script_->sawTerminate.load(); }));
  PumpFor(50);
  EXPECT_EQ(control.PendingScans(), 4);
  EXPECT_FALSE(view.selectAllEnabled);  // controls wait for the completion logic
  EXPECT_NE(view.Status().rfind(L"扫描完毕", 0), 0u);

  script_->release = true;
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_TRUE(view.selectAllEnabled);
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：0 个错误");
  EXPECT_TRUE(view.commandLines.empty());  // stopped: no system file check
}

TEST_F(ScanControlTest, ThreadsThatObeyStopEndTheScanPromptly) {
  FakeView view(12);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  control.FlatButton1Click();
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：0 个错误");
  EXPECT_EQ(control.RunningThreads(), 0);
}

TEST_F(ScanControlTest, ANewScanAfterAStopCountsOnlyItsOwnThreads) {
  FakeView view(12);
  const std::shared_ptr<ThreadScript> first = script_;
  first->obeyTerminate = false;  // the stopped scan's threads take their time to end
  first->lateRows = {Row(L"HKEY_USERS", L"late row of the stopped scan")};
  const auto second = std::make_shared<ThreadScript>();
  second->rows = {Row(L"HKEY_LOCAL_MACHINE", L"Software\\New")};
  std::shared_ptr<ThreadScript> current = first;
  ScannerSet scanners;
  scanners.registryThread = [&](const ScanEnvironment&, HKEY) {
    return std::make_unique<FakeThread>(current, L"root");
  };
  scanners.classThread = [&](const ScanEnvironment&) {
    return std::make_unique<FakeThread>(current, L"classes");
  };
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  control.FlatButton1Click();  // Stop
  EXPECT_TRUE(WaitFor([&] { return first->sawTerminate.load(); }));

  current = second;
  control.FlatButton1Click();  // a new scan while the old threads are still ending
  EXPECT_EQ(control.PendingScans(), 4);
  EXPECT_TRUE(WaitFor([&] { return view.results.size() == 4; }));

  // The old threads end now: their four completions must not count against the new scan, and
  // their late rows must not land in its list.
  first->release = true;
  EXPECT_TRUE(WaitFor([&] { return first->ended.load() == 4; }));
  PumpFor(50);
  EXPECT_EQ(control.PendingScans(), 4);
  EXPECT_EQ(view.caption, L"停止");
  EXPECT_EQ(view.results.size(), 4u);

  second->release = true;
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：4 个错误");
  EXPECT_EQ(view.caption, L"扫描");
}

TEST_F(ScanControlTest, CompletionsOfAStoppedScanDoNotTouchTheNextScansCount) {
  // Scan 1 has threads that ignore Stop; scan 2 has no threads, and its synchronous scan lets
  // the old threads end and serves their completions.
  FakeView view(12);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  script_->obeyTerminate = false;
  script_->lateRows = {Row(L"HKEY_USERS", L"late row of the stopped scan")};
  bool secondScan = false;
  int pendingInside = -1;
  ScanControl* control = nullptr;
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&](ScanHost& host) {
    if (!secondScan) return;
    script_->release = true;
    WaitFor([&] { return script_->ended.load() == 4; });
    host.ProcessMessages();
    pendingInside = control->PendingScans();
  };
  ScanControl scan(view, scanners, environment_);
  control = &scan;
  scan.FlatButton1Click();
  scan.FlatButton1Click();  // Stop
  EXPECT_TRUE(WaitFor([&] { return script_->sawTerminate.load(); }));

  UncheckThreadRows(view);
  secondScan = true;
  scan.FlatButton1Click();
  EXPECT_EQ(pendingInside, 1);  // only the command itself
  EXPECT_EQ(script_->ended.load(), 4);
  EXPECT_TRUE(view.results.empty());
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：0 个错误。");
  EXPECT_EQ(scan.PendingScans(), 0);
}

TEST_F(ScanControlTest, ThreadsEndingDuringTheSynchronousScansDoNotFinishTheScanEarly) {
  FakeView view(12);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  std::wstring captionInside, statusInside;
  // Row 0 runs after the registry threads have started; it lets them end and serves their
  // completions, as a long synchronous scan would.
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&](ScanHost& host) {
    script_->release = true;
    WaitFor([&] { return script_->ended.load() == 3; });
    host.ProcessMessages();
    captionInside = view.caption;
    statusInside = view.Status();
  };
  scanners.Synchronous(CheckRowId::HelpFiles) = Adds(3, 2);
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  EXPECT_EQ(captionInside, L"停止");
  EXPECT_NE(statusInside.rfind(L"扫描完毕", 0), 0u);
  // The class thread (row 2) started after row 0; the finish waits for it.
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：2 个错误");
  EXPECT_EQ(std::count_if(view.statuses.begin(), view.statuses.end(),
                          [](const std::wstring& s) { return s.rfind(L"扫描完毕", 0) == 0; }),
            1);
}

TEST_F(ScanControlTest, AScanCannotBeStartedFromInsideTheRunningCommand) {
  FakeView view(12);
  UncheckThreadRows(view);
  ScannerSet scanners;
  int runs = 0;
  ScanControl* control = nullptr;
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&](ScanHost& host) {
    ++runs;
    host.AddRow(Row(L"HKEY_LOCAL_MACHINE", L"Software\\Empty"));
    control->FlatButton1Click();  // "停止": stops
    EXPECT_FALSE(host.Scanning());
    control->FlatButton1Click();  // "扫描" again, while the command still runs: ignored
    EXPECT_FALSE(host.Scanning());
  };
  scanners.Synchronous(CheckRowId::MenuEntries) = Adds(1, 1);
  ScanControl scan(view, scanners, environment_);
  control = &scan;
  scan.FlatButton1Click();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(view.results.size(), 2u);
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：2 个错误。");
  // Once the command is over a new scan starts normally.
  scan.FlatButton1Click();
  EXPECT_EQ(runs, 2);
}

TEST_F(ScanControlTest, AFailingSynchronousScannerDoesNotStopTheScan) {
  FakeView view(12);
  UncheckThreadRows(view);
  ScannerSet scanners;
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [](ScanHost&) { throw std::runtime_error("broken"); };
  scanners.Synchronous(CheckRowId::EmptyMenuFolders) = [](ScanHost&) { throw std::runtime_error("broken"); };
  view.checked[11] = true;
  scanners.Synchronous(CheckRowId::MenuEntries) = Adds(1, 1);
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：1 个错误。");
  EXPECT_EQ(control.PendingScans(), 0);
}

TEST_F(ScanControlTest, DiskScansKeepTheCountRaisedAndSeeStop) {
  FakeView view(12);
  UncheckThreadRows(view);
  view.checked[11] = true;
  ScannerSet scanners;
  int pendingInRow11 = -1;
  bool scanningInRow10 = false;
  ScanControl* control = nullptr;
  scanners.Synchronous(CheckRowId::BrokenShortcuts) = [&](ScanHost& host) {
    host.RaisePendingScans();
    scanningInRow10 = host.Scanning();
    host.LowerPendingScans();
  };
  scanners.Synchronous(CheckRowId::EmptyMenuFolders) = [&](ScanHost&) { pendingInRow11 = control->PendingScans(); };
  ScanControl scan(view, scanners, environment_);
  control = &scan;
  scan.FlatButton1Click();
  EXPECT_TRUE(scanningInRow10);
  EXPECT_EQ(pendingInRow11, 2);  // the command's own count and row 11's
  EXPECT_EQ(scan.PendingScans(), 0);
}

TEST_F(ScanControlTest, StopWhileTheWindowThreadsScansRunStartsNoThreadAfterIt) {
  FakeView view(12);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  ScanControl* control = nullptr;
  // Row 1 runs after the registry threads have started and before the class thread would.
  scanners.Synchronous(CheckRowId::MenuEntries) = [&](ScanHost&) { control->FlatButton1Click(); };
  ScanControl scan(view, scanners, environment_);
  control = &scan;
  scan.FlatButton1Click();
  EXPECT_FALSE(scan.Scanning());
  EXPECT_EQ(script_->made.load(), 3) << "the class thread is neither made nor started";
  EXPECT_TRUE(WaitFor([&] { return scan.PendingScans() == 0; }));
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：0 个错误");
}

TEST_F(ScanControlTest, ARowAlreadyWaitingWhenStopComesIsNotAdded) {
  FakeView view(12);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  script_->rows = {Row(L"HKEY_CURRENT_USER", L"Software\\Waiting")};
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  // The four threads offer their rows while the window serves nothing.
  const DWORD limit = GetTickCount() + 5000;
  while (script_->rowsOffered.load() < 4 && GetTickCount() < limit) Sleep(1);
  Sleep(20);  // into the hand-off's queue
  control.FlatButton1Click();  // Stop
  EXPECT_TRUE(WaitFor([&] { return control.PendingScans() == 0; }));
  EXPECT_TRUE(view.results.empty());
  EXPECT_EQ(view.Status(), L"扫描完毕。共检查到：0 个错误");
}

TEST_F(ScanControlTest, HandOffsAreServedWhileTheLastCompletionRunsTheSystemFileChecker) {
  // The threads of a stopped scan are still ending when the next scan's last completion runs the
  // system file checker and waits for it: their completions are served meanwhile.
  FakeView view(13);
  ScannerSet scanners;
  const std::shared_ptr<ThreadScript> stopped = script_;
  stopped->obeyTerminate = false;
  const auto next = std::make_shared<ThreadScript>();
  next->release = true;
  std::shared_ptr<ThreadScript> current = stopped;
  scanners.registryThread = [&](const ScanEnvironment&, HKEY) {
    return std::make_unique<FakeThread>(current, L"root");
  };
  scanners.classThread = [&](const ScanEnvironment&) {
    return std::make_unique<FakeThread>(current, L"classes");
  };
  bool stoppedEndedMeanwhile = false;
  view.whileRunning = [&] {
    stopped->release = true;
    stoppedEndedMeanwhile = WaitFor([&] { return stopped->ended.load() == 4; }, 3000);
  };
  ScanControl control(view, scanners, environment_);
  control.FlatButton1Click();
  control.FlatButton1Click();  // Stop
  current = next;
  view.checked[12] = true;
  control.FlatButton1Click();
  EXPECT_TRUE(WaitFor([&] { return !view.commandLines.empty() && control.PendingScans() == 0; }));
  EXPECT_TRUE(stoppedEndedMeanwhile);
}

// A class of that name whose windows refuse to be made stands for a system out of resources.
LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return FALSE;
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(ScanControlTest, WithoutItsHandOffWindowNoScanStartsAndNoWorkerWaits) {
  UnregisterClassW(L"SanivoHandOff", GetModuleHandleW(nullptr));
  WNDCLASSW refusing = {};
  refusing.lpfnWndProc = &RefuseCreation;
  refusing.hInstance = GetModuleHandleW(nullptr);
  refusing.lpszClassName = L"SanivoHandOff";
  ASSERT_NE(RegisterClassW(&refusing), 0);
  {
    FakeView view(12);
    ScannerSet scanners;
    AddFakeThreads(scanners, script_);
    ScanControl control(view, scanners, environment_);
    control.FlatButton1Click();
    EXPECT_EQ(view.Status(), L"无法开始扫描：系统资源不足。");
    EXPECT_EQ(view.caption, L"扫描");
    EXPECT_EQ(script_->made.load(), 0);
    EXPECT_EQ(control.PendingScans(), 0);

    HandOffServer server;
    ASSERT_FALSE(server.Ready());
    bool ran = true;
    std::thread worker([&] { ran = server.Channel()->Call([] {}); });
    worker.join();  // refused at once: it would wait for ever otherwise
    EXPECT_FALSE(ran);
  }
  UnregisterClassW(L"SanivoHandOff", GetModuleHandleW(nullptr));
}

TEST_F(ScanControlTest, ClosingTheWindowWaitsForEveryThreadWhileMessagesRun) {
  // A message-only window of this thread that a thread asks, and waits for, once it is told to
  // end: without messages running meanwhile the two would wait for each other.
  HWND asked = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  FakeView view(12);
  ScannerSet scanners;
  AddFakeThreads(scanners, script_);
  script_->askOnTerminate = asked;
  {
    ScanControl control(view, scanners, environment_);
    control.FlatButton1Click();
    EXPECT_EQ(control.RunningThreads(), 4);
  }
  EXPECT_TRUE(script_->sawTerminate.load());
  EXPECT_EQ(script_->ended.load(), 4) << "no thread is left running";
  DestroyWindow(asked);
}

}  // namespace

#pragma once
// The scan command: which scanner each checked row starts, Stop, and the completion logic that
// decides when a scan has finished. Kept apart from the window so that it can be tested with
// fake scanners and a fake window.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "checker/scanners/HandOff.h"
#include "checker/scanners/ScanHost.h"
#include "checker/scanners/ScanThread.h"

// The main window as the scan command sees it. UI thread only.
class ScanView {
 public:
  virtual ~ScanView() = default;
  virtual int CheckRowCount() const = 0;
  virtual bool RowChecked(int row) const = 0;
  // "停止" / "  停止  " while scanning, "扫描" / "  扫描  " otherwise, on FlatButton1, Scan_menu
  // and ToolButton1.
  virtual void ShowScanCaptions(bool scanning) = 0;
  // The hints of FlatButton1 and ToolButton1 become "扫描系统错误".
  virtual void ShowScanHints() = 0;
  virtual void EnableSelectAll(bool enabled) = 0;
  virtual void EnableRepairControls(bool enabled) = 0;
  virtual void ClearResults() = 0;
  virtual void AddRow(const ScanResultRow& row) = 0;
  virtual int ResultCount() const = 0;
  virtual void ShowStatus(const std::wstring& text) = 0;
  virtual void ProcessMessages() = 0;
  virtual void RunAndWait(const std::wstring& commandLine) = 0;
};

// UI thread only; the worker threads reach it only through hand-offs, which run in the UI thread.
class ScanControl : private ScanHost {
 public:
  ScanControl(ScanView& view, ScannerSet scanners, const ScanEnvironment& environment);
  // Shuts down (below) if that has not been done.
  ~ScanControl() override;
  ScanControl(const ScanControl&) = delete;
  ScanControl& operator=(const ScanControl&) = delete;

  // Scan or Stop, as the captions offer it ("扫描" or "停止").
  void FlatButton1Click();
  // Stop without looking at the captions (the window is closing).
  void Stop();
  // The window is closing: every scanner thread still running is asked to end, its later
  // hand-offs are refused, and it is waited for, however long it takes to reach its next look at
  // the request, while window messages run (a thread may be waiting for a window of this thread).
  // No scan starts afterwards.
  void Shutdown();

  // The captions offer Stop: a scan runs and has not been stopped.
  bool StopOffered() const { return stopOffered_; }
  bool Scanning() const override { return scanning_; }
  int PendingScans() const { return pendingScans_; }
  // True while the scan command or a scan's finish runs further up the stack.
  bool Busy() const { return busy_; }
  // Threads of every scan that have not ended yet.
  int RunningThreads() const;

 private:
  // ScanHost, for the synchronous scans.
  void AddRow(const ScanResultRow& row) override;
  void ShowStatus(const std::wstring& text) override;
  void ProcessMessages() override;
  void RaisePendingScans() override { ++pendingScans_; }
  void LowerPendingScans() override { --pendingScans_; }
  const ScanEnvironment& Environment() const override { return environment_; }

  void StartScan();
  void ShowScanCaptions(bool scanning);
  // The scan `scan` is the current one and has not been stopped: its threads may start and its
  // rows may be added.
  bool Current(uint32_t scan) const { return scan == scan_ && scanning_; }
  bool Checked(CheckRowId row) const;
  void RunSynchronous(CheckRowId row);
  ScanThreadRef StartThread(std::unique_ptr<TScanThread> thread);
  ScanThreadLink LinkFor(uint32_t scan);
  void ScanThreadDone(uint32_t scan);
  void FinishCommand();
  void FinishAfterThreads();
  void StopThreads();

  ScanView& view_;
  const ScannerSet scanners_;
  const ScanEnvironment& environment_;
  HandOffServer handOff_;  // UI thread only

  // All of these: UI thread only.
  bool scanning_ = false;
  bool stopOffered_ = false;
  bool shutDown_ = false;
  int pendingScans_ = 0;
  // Every scan has its own number. A thread's completion, rows and status texts carry the
  // number of the scan that started it; those of an earlier, stopped scan are ignored, so a new
  // scan started while such threads are still ending counts only its own activities.
  uint32_t scan_ = 0;
  bool threadsStarted_ = false;  // the current scan started worker threads
  bool busy_ = false;
  ScanThreadRef chkRegErrHKCU_, chkRegErrHKU_, chkRegErrHKLM_, chkRegClassThread_;
  // Every thread not yet seen to end, with its handle (owned here only), for the shut-down.
  struct Started {
    ScanThreadRef ref;
    common::KernelHandle handle;
  };
  std::vector<Started> started_;
};

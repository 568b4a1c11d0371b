#pragma once
// Stand-ins for the checker's tests: a scanner thread the test controls, a window for the scan
// command, and services for a main window that touches nothing of the machine.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "checker/app/CheckerServices.h"
#include "checker/app/TForm1.h"
#include "checker/app/ScanControl.h"
#include "checker/scanners/ScanThread.h"

// Shared between a test and the fake threads it made (the threads free themselves).
struct ThreadScript {
  std::vector<ScanResultRow> rows;      // handed over first
  std::vector<ScanResultRow> lateRows;  // handed over after the release, terminated or not
  std::atomic<bool> release{false};     // the thread ends once this is set...
  bool obeyTerminate = true;            // ...or once termination is requested
  std::atomic<int> made{0}, ended{0};
  std::atomic<bool> sawTerminate{false};
  std::atomic<int> rowsOffered{0};  // rows about to be handed over
  // A window of the UI thread that a thread asks (and waits for) once it is told to end, as a
  // scan's shell functions ask their owner window.
  HWND askOnTerminate = nullptr;
  std::vector<HKEY> roots;  // UI thread: the root keys asked for
};

class FakeThread : public TScanThread {
 public:
  explicit FakeThread(std::shared_ptr<ThreadScript> script, std::wstring name);
  ~FakeThread() override;

 protected:
  void Execute() override;

 private:
  std::shared_ptr<ThreadScript> script_;
  std::wstring name_;
};

// Registry threads (rows 7, 8, 9) and the class thread (row 2) from one script.
void AddFakeThreads(ScannerSet& scanners, const std::shared_ptr<ThreadScript>& script);

// Scanners whose scan in the window (row 0) finds the rows `rows` holds when it runs, with the
// threads of `script` when there is one.
ScannerSet ScannersFinding(const std::vector<ScanResultRow>& rows,
                           const std::shared_ptr<ThreadScript>& script = nullptr);

// The scan command's window, recorded.
class FakeView : public ScanView {
 public:
  explicit FakeView(int rows) : checked(static_cast<size_t>(rows), true) { checked.back() = false; }

  std::vector<bool> checked;
  std::wstring caption = L"扫描";
  bool hintsShown = false;
  bool selectAllEnabled = true;
  bool repairEnabled = false;
  std::vector<ScanResultRow> results;
  std::vector<std::wstring> statuses;
  std::vector<std::wstring> commandLines;

  int CheckRowCount() const override { return static_cast<int>(checked.size()); }
  bool RowChecked(int row) const override {
    return row >= 0 && row < CheckRowCount() && checked[static_cast<size_t>(row)];
  }
  void ShowScanCaptions(bool scanning) override { caption = scanning ? L"停止" : L"扫描"; }
  void ShowScanHints() override { hintsShown = true; }
  void EnableSelectAll(bool enabled) override { selectAllEnabled = enabled; }
  void EnableRepairControls(bool enabled) override { repairEnabled = enabled; }
  void ClearResults() override { results.clear(); }
  void AddRow(const ScanResultRow& row) override { results.push_back(row); }
  int ResultCount() const override { return static_cast<int>(results.size()); }
  void ShowStatus(const std::wstring& text) override { statuses.push_back(text); }
  void ProcessMessages() override;
  void RunAndWait(const std::wstring& commandLine) override {
    commandLines.push_back(commandLine);
    if (whileRunning) whileRunning();
  }
  // What happens while the command line runs (the real one waits with messages running).
  std::function<void()> whileRunning;

  std::wstring Status() const { return statuses.empty() ? std::wstring() : statuses.back(); }
};

ScanResultRow Row(const std::wstring& item, const std::wstring& location);

// Services for a main window in a test: Windows 7 unless told otherwise, Set.ini in `folder`,
// nothing recorded in the registry, no scanners, no quit message at the end.
CheckerServices TestServices(const std::wstring& folder, DWORD major = 6, DWORD minor = 1);

// A main window made with `services` and shown without taking the activation.
std::unique_ptr<TForm1> ShownForm(CheckerServices services);
// A command of the menus, the buttons or the keys, as the window receives it.
void SendCommand(TForm1& form, int command);

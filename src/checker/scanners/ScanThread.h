#pragma once
// A scanner's worker thread. It is made first and started later; once started it runs Execute
// once and frees itself when it has ended. It has a terminate request flag, and its completion
// callback runs in the UI thread. Result rows it hands to the UI thread and waits until each has
// been added; status texts it leaves for the UI thread, which shows the latest one of each thread
// at least every 50 ms, and goes on at once.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "checker/scanners/HandOff.h"
#include "checker/scanners/ScanResultRow.h"
#include "common/handles.h"

// What a started thread is connected to. The three calls run in the UI thread.
struct ScanThreadLink {
  std::shared_ptr<HandOff> handOff;
  std::function<void(const std::wstring& text)> ShowStatus;
  std::function<void(const ScanResultRow& row)> AddRow;
  std::function<void()> Done;  // the completion callback
};

// State shared between a thread and those who started it; outlives the thread object.
struct ScanThreadState {
  std::atomic<bool> terminateRequested{false};  // shared, atomic
  std::atomic<bool> running{false};             // shared, atomic
};

// The UI thread's reference to a started thread. Stays valid after the thread has freed itself.
class ScanThreadRef {
 public:
  ScanThreadRef() = default;
  explicit ScanThreadRef(std::shared_ptr<ScanThreadState> state) : state_(std::move(state)) {}

  explicit operator bool() const { return state_ != nullptr; }
  bool Running() const { return state_ && state_->running; }
  // Asks the thread to end, without waiting.
  void Terminate() const {
    if (state_) state_->terminateRequested = true;
  }

 private:
  std::shared_ptr<ScanThreadState> state_;
};

class TScanThread {
 public:
  TScanThread();
  virtual ~TScanThread();
  TScanThread(const TScanThread&) = delete;
  TScanThread& operator=(const TScanThread&) = delete;

  // UI thread: lets the thread run. From here on the object belongs to its thread, which frees
  // it after Execute has returned and the completion callback has been delivered. When no
  // thread can be made, the completion callback runs at once in the calling thread, so that
  // whoever counts on it is never left waiting. The thread's handle goes to `handle`, whose
  // owner may wait for the thread's end; without one it is closed at once.
  static ScanThreadRef Start(std::unique_ptr<TScanThread> thread, ScanThreadLink link,
                             common::KernelHandle* handle = nullptr);

 protected:
  // The scan itself, with COM initialised for the thread. Worker thread only.
  virtual void Execute() = 0;

  // Worker thread: true once termination was requested, or when the UI side has gone.
  bool Terminated() const;
  // Worker thread: leaves a status text for the UI thread, without waiting.
  void ShowStatus(const std::wstring& text);
  // Worker thread: hands a row to the UI thread and waits until it is added. Once termination has
  // been requested, no row is handed over any more.
  void AddRow(const ScanResultRow& row);
  // Worker thread: runs `call` in the UI thread and waits; false when the UI side has gone.
  bool Synchronize(const std::function<void()>& call);

 private:
  static unsigned __stdcall ThreadMain(void* self);

  std::shared_ptr<ScanThreadState> state_;  // shared, atomic members
  ScanThreadLink link_;                     // set before the thread runs, then read-only
  std::shared_ptr<LatestStatus> status_;    // set before the thread runs; see HandOff
};

#pragma once
// Hand-off of calls from worker threads to the UI thread. A worker never touches a window: it
// hands a call (append a row, report its end) to the UI thread and waits until the UI thread has
// run it. Status texts, of which only the latest matters, a worker leaves for the UI thread
// without waiting: the UI thread shows the first at once and then the latest one at most every
// 50 ms. The UI thread serves hand-offs whenever it dispatches messages: in its main loop, in the
// synchronous scans' message pumping and in modal loops.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/window.h"

class HandOffServer;

// One worker's latest status text, waiting to be shown.
struct LatestStatus {
  explicit LatestStatus(std::function<void(const std::wstring&)> show) : Show(std::move(show)) {}
  const std::function<void(const std::wstring&)> Show;  // runs in the UI thread
  std::wstring text;                                    // shared, under the hand-off's mutex
  bool waiting = false;  // shared, under the hand-off's mutex: text not shown yet
};

// The workers' side. Shared between the UI thread and the workers; every member is thread-safe.
class HandOff : public std::enable_shared_from_this<HandOff> {
 public:
  // Runs `call` in the UI thread and returns once it has run: true. Returns false at once,
  // without running it, when the UI side has closed (the window is going away) or has no window
  // to be reached through. Called in the UI thread itself, it runs the call directly.
  bool Call(const std::function<void()>& call);

  // Leaves `text` as the latest status of `status` and returns at once; an earlier text that has
  // not been shown yet is replaced.
  void Leave(const std::shared_ptr<LatestStatus>& status, std::wstring text);
  // Drops a text of `status` that has not been shown yet (its worker is ending: nothing of it
  // may show after its completion).
  void Drop(const std::shared_ptr<LatestStatus>& status);

  bool Closed() const;

  // How often the UI thread shows the latest status texts while workers leave new ones.
  static constexpr UINT kStatusIntervalMs = 50;

 private:
  friend class HandOffServer;
  struct Request {
    const std::function<void()>* call;
    bool finished = false;  // shared, under mutex_
    bool ran = false;       // shared, under mutex_
  };

  HandOff(DWORD uiThread, HWND window) : uiThread_(uiThread), window_(window) {}
  void ServePending();  // UI thread only
  void ShowStatuses();  // UI thread only
  void Close();         // UI thread only

  const DWORD uiThread_;
  const HWND window_;
  mutable std::mutex mutex_;
  std::condition_variable served_;
  std::deque<Request*> queue_;  // shared, under mutex_
  bool wakePosted_ = false;     // shared, under mutex_: a serve message is on its way
  bool closed_ = false;         // shared, under mutex_
  // Status texts to show, one entry per worker; shared, under mutex_.
  std::vector<std::shared_ptr<LatestStatus>> statuses_;
  // Shared, under mutex_: a show message is on its way, or the interval timer runs (and will
  // show what is left meanwhile); either way a worker need not wake the UI thread.
  bool statusWakePosted_ = false;
  bool statusTimerRunning_ = false;
};

// The UI side: owns the message-only window through which hand-offs are served. UI thread only;
// create it in the thread that is to serve.
class HandOffServer {
 public:
  HandOffServer();
  ~HandOffServer();  // closes
  HandOffServer(const HandOffServer&) = delete;
  HandOffServer& operator=(const HandOffServer&) = delete;

  const std::shared_ptr<HandOff>& Channel() const { return channel_; }
  // False when its window could not be made: no hand-off can be served, and every one is refused
  // at once.
  bool Ready() const { return ready_; }

  // Releases every waiting worker without running its call and refuses all later hand-offs.
  void Close();

 private:
  class ServeWindow : public common::Window {
   public:
    ~ServeWindow() override { Destroy(); }
    bool Create();
    std::weak_ptr<HandOff> channel;

   protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  };

  ServeWindow window_;
  bool ready_ = false;
  std::shared_ptr<HandOff> channel_;
};

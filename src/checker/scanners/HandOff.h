#pragma once
// Hand-off of calls from worker threads to the UI thread. A worker never touches a window: it
// hands a call (show a status text, append a row, report its end) to the UI thread and waits
// until the UI thread has run it. The UI thread serves hand-offs whenever it dispatches
// messages: in its main loop, in the synchronous scans' message pumping and in modal loops.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "common/window.h"

class HandOffServer;

// The workers' side. Shared between the UI thread and the workers; every member is thread-safe.
class HandOff : public std::enable_shared_from_this<HandOff> {
 public:
  // Runs `call` in the UI thread and returns once it has run: true. Returns false at once,
  // without running it, when the UI side has closed (the window is going away). Called in the UI
  // thread itself, it runs the call directly.
  bool Call(const std::function<void()>& call);

  bool Closed() const;

 private:
  friend class HandOffServer;
  struct Request {
    const std::function<void()>* call;
    bool finished = false;  // shared, under mutex_
    bool ran = false;       // shared, under mutex_
  };

  HandOff(DWORD uiThread, HWND window) : uiThread_(uiThread), window_(window) {}
  void ServePending();  // UI thread only
  void Close();         // UI thread only

  const DWORD uiThread_;
  const HWND window_;
  mutable std::mutex mutex_;
  std::condition_variable served_;
  std::deque<Request*> queue_;  // shared, under mutex_
  bool wakePosted_ = false;     // shared, under mutex_: a serve message is on its way
  bool closed_ = false;         // shared, under mutex_
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
  std::shared_ptr<HandOff> channel_;
};

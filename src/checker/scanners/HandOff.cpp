#include "checker/scanners/HandOff.h"

namespace {

constexpr UINT kServeMessage = WM_APP + 0x40;
constexpr UINT kStatusMessage = WM_APP + 0x41;
constexpr UINT_PTR kStatusTimer = 1;

}  // namespace

bool HandOff::Call(const std::function<void()>& call) {
  if (GetCurrentThreadId() == uiThread_) {
    if (Closed()) return false;
    call();
    return true;
  }
  Request request{&call};
  std::unique_lock lock(mutex_);
  // Without its window the UI side would never hear of the request: the worker would wait for
  // nothing.
  if (closed_ || window_ == nullptr) return false;
  queue_.push_back(&request);
  // One serve message at a time is enough: the UI thread empties the whole queue for it.
  if (!wakePosted_) {
    if (!PostMessageW(window_, kServeMessage, 0, 0)) {
      queue_.pop_back();
      return false;
    }
    wakePosted_ = true;
  }
  served_.wait(lock, [&] { return request.finished; });
  return request.ran;
}

void HandOff::Leave(const std::shared_ptr<LatestStatus>& status, std::wstring text) {
  std::lock_guard lock(mutex_);
  if (closed_ || window_ == nullptr) return;
  status->text = std::move(text);
  if (!status->waiting) {
    status->waiting = true;
    statuses_.push_back(status);
  }
  if (!statusWakePosted_ && !statusTimerRunning_)
    statusWakePosted_ = PostMessageW(window_, kStatusMessage, 0, 0) != FALSE;
}

void HandOff::Drop(const std::shared_ptr<LatestStatus>& status) {
  std::lock_guard lock(mutex_);
  if (!status->waiting) return;
  status->waiting = false;
  std::erase(statuses_, status);
}

void HandOff::ShowStatuses() {
  std::vector<std::pair<std::shared_ptr<LatestStatus>, std::wstring>> due;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    statusWakePosted_ = false;
    for (const std::shared_ptr<LatestStatus>& status : statuses_) {
      status->waiting = false;
      due.emplace_back(status, std::move(status->text));
    }
    statuses_.clear();
    // While texts keep coming, the timer shows them; the first tick without any ends it, and
    // the next text wakes the UI thread at once again.
    statusTimerRunning_ = !due.empty();
  }
  if (due.empty())
    KillTimer(window_, kStatusTimer);
  else
    SetTimer(window_, kStatusTimer, kStatusIntervalMs, nullptr);
  for (const auto& [status, text] : due) {
    try {
      status->Show(text);
    } catch (...) {
      // A status text that cannot be shown is left out; the next one will do.
    }
  }
}

bool HandOff::Closed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

void HandOff::ServePending() {
  // A served call may pump messages and so serve the next request itself, or close the channel;
  // holding a reference keeps this object alive until the loop has seen that.
  const std::shared_ptr<HandOff> keepAlive = shared_from_this();
  for (;;) {
    Request* request = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (closed_) return;
      if (queue_.empty()) {
        wakePosted_ = false;
        return;
      }
      request = queue_.front();
      queue_.pop_front();
      // The call may wait a long time with messages running (the last completion runs the system
      // file checker): requests behind it, and new ones, get a serve message of their own, or
      // their workers would wait until the call has returned.
      if (queue_.empty())
        wakePosted_ = false;
      else
        wakePosted_ = PostMessageW(window_, kServeMessage, 0, 0) != FALSE;
    }
    bool ran = false;
    try {
      (*request->call)();
      ran = true;
    } catch (...) {
      // The UI part of a hand-off failed: the worker is released all the same and goes on.
    }
    {
      std::lock_guard lock(mutex_);
      request->finished = true;
      request->ran = ran;
    }
    served_.notify_all();
  }
}

void HandOff::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (Request* request : queue_) request->finished = true;
    queue_.clear();
    for (const std::shared_ptr<LatestStatus>& status : statuses_) status->waiting = false;
    statuses_.clear();
  }
  served_.notify_all();
}

bool HandOffServer::ServeWindow::Create() {
  ClassSpec windowClass;
  windowClass.name = L"SanivoHandOff";
  return common::Window::Create(windowClass, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

LRESULT HandOffServer::ServeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kServeMessage) {
    if (const auto served = channel.lock()) served->ServePending();
    return 0;
  }
  if (message == kStatusMessage || (message == WM_TIMER && wParam == kStatusTimer)) {
    if (const auto served = channel.lock()) served->ShowStatuses();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

HandOffServer::HandOffServer() {
  ready_ = window_.Create();
  channel_.reset(new HandOff(GetCurrentThreadId(), window_.Handle()));
  window_.channel = channel_;
}

HandOffServer::~HandOffServer() { Close(); }

void HandOffServer::Close() {
  channel_->Close();
  window_.Destroy();
}

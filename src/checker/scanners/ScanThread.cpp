#include "checker/scanners/ScanThread.h"

#include <process.h>

#include "common/com.h"

TScanThread::TScanThread() : state_(std::make_shared<ScanThreadState>()) {}

TScanThread::~TScanThread() = default;

ScanThreadRef TScanThread::Start(std::unique_ptr<TScanThread> thread, ScanThreadLink link,
                                 common::KernelHandle* handle) {
  const std::shared_ptr<ScanThreadState> state = thread->state_;
  thread->link_ = std::move(link);
  if (thread->link_.ShowStatus)
    thread->status_ = std::make_shared<LatestStatus>(thread->link_.ShowStatus);
  state->running = true;
  TScanThread* raw = thread.release();
  const uintptr_t started = _beginthreadex(nullptr, 0, &TScanThread::ThreadMain, raw, 0, nullptr);
  if (started == 0) {
    state->running = false;
    std::unique_ptr<TScanThread> unstarted(raw);
    if (unstarted->link_.Done) unstarted->link_.Done();
    return ScanThreadRef(state);
  }
  common::KernelHandle owned(reinterpret_cast<HANDLE>(started));
  if (handle != nullptr) *handle = std::move(owned);
  return ScanThreadRef(state);
}

unsigned __stdcall TScanThread::ThreadMain(void* self) {
  std::unique_ptr<TScanThread> thread(static_cast<TScanThread*>(self));
  try {
    // COM for the thread while its scan runs: the shell functions a scan may reach want it.
    const common::ComApartment com;
    thread->Execute();
  } catch (...) {
    // A scanner that fails inside reports nothing further; its completion still arrives, so
    // the scan still finishes.
  }
  thread->state_->running = false;
  // A status text still waiting would show after the completion, over the scan's final text.
  if (thread->status_) thread->link_.handOff->Drop(thread->status_);
  if (thread->link_.Done) thread->link_.handOff->Call(thread->link_.Done);
  return 0;
}

bool TScanThread::Terminated() const {
  return state_->terminateRequested || link_.handOff->Closed();
}

void TScanThread::ShowStatus(const std::wstring& text) {
  if (status_) link_.handOff->Leave(status_, text);
}

void TScanThread::AddRow(const ScanResultRow& row) {
  if (link_.AddRow && !Terminated()) Synchronize([&] { link_.AddRow(row); });
}

bool TScanThread::Synchronize(const std::function<void()>& call) {
  return link_.handOff->Call(call);
}

// The hand-off of worker calls to the UI thread, and the scanner thread class built on it.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "checker/scanners/HandOff.h"
#include "checker/scanners/ScanThread.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;
using testing_support::WaitFor;

TEST(HandOff, RunsAWorkersCallInTheUiThreadAndReleasesItAfterwards) {
  HandOffServer server;
  const DWORD uiThread = GetCurrentThreadId();
  std::atomic<DWORD> ranIn{0};
  std::atomic<int> result{-1};
  std::thread worker(
      [&] { result = server.Channel()->Call([&] { ranIn = GetCurrentThreadId(); }) ? 1 : 0; });
  // Nothing runs until the UI thread dispatches messages.
  Sleep(50);
  EXPECT_EQ(ranIn.load(), 0u);
  EXPECT_EQ(result.load(), -1);
  EXPECT_TRUE(WaitFor([&] { return result.load() != -1; }));
  worker.join();
  EXPECT_EQ(result.load(), 1);
  EXPECT_EQ(ranIn.load(), uiThread);
}

TEST(HandOff, ACallFromTheUiThreadRunsAtOnce) {
  HandOffServer server;
  bool ran = false;
  EXPECT_TRUE(server.Channel()->Call([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST(HandOff, ServesManyWorkersEachCallExactlyOnceAndInOrderPerWorker) {
  HandOffServer server;
  constexpr int kWorkers = 4, kCalls = 300;
  std::vector<std::vector<int>> seen(kWorkers);  // touched in the UI thread only
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w)
    workers.emplace_back([&, w] {
      for (int i = 0; i < kCalls; ++i) server.Channel()->Call([&, w, i] { seen[w].push_back(i); });
      ++finished;
    });
  EXPECT_TRUE(WaitFor([&] { return finished.load() == kWorkers; }, 30000));
  for (auto& t : workers) t.join();
  for (int w = 0; w < kWorkers; ++w) {
    ASSERT_EQ(seen[w].size(), static_cast<size_t>(kCalls));
    for (int i = 0; i < kCalls; ++i) EXPECT_EQ(seen[w][i], i);
  }
}

TEST(HandOff, ClosingReleasesWaitingWorkersAndRefusesLaterCalls) {
  HandOffServer server;
  std::atomic<int> first{-1}, second{-1};
  bool ran = false;
  std::thread worker([&] {
    first = server.Channel()->Call([&] { ran = true; }) ? 1 : 0;
    second = server.Channel()->Call([&] { ran = true; }) ? 1 : 0;
  });
  Sleep(50);  // the worker now waits; the UI thread does not serve
  server.Close();
  worker.join();
  EXPECT_EQ(first.load(), 0);
  EXPECT_EQ(second.load(), 0);
  PumpFor(50);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(server.Channel()->Closed());
}

TEST(HandOff, AFailingCallStillReleasesTheWorker) {
  HandOffServer server;
  std::atomic<int> result{-1};
  std::thread worker(
      [&] { result = server.Channel()->Call([] { throw std::runtime_error("boom"); }) ? 1 : 0; });
  EXPECT_TRUE(WaitFor([&] { return result.load() != -1; }));
  worker.join();
  EXPECT_EQ(result.load(), 0);
}

TEST(HandOff, StatusTextsAreLeftWithoutWaitingAndOnlyTheLatestIsShown) {
  HandOffServer server;
  std::vector<std::wstring> shown;  // UI thread only
  const auto status =
      std::make_shared<LatestStatus>([&](const std::wstring& text) { shown.push_back(text); });
  const auto dropped = std::make_shared<LatestStatus>(
      [&](const std::wstring& text) { shown.push_back(L"dropped " + text); });
  // The UI thread serves nothing meanwhile: the worker still gets through all of its texts.
  std::thread worker([&] {
    for (int i = 0; i < 1000; ++i) server.Channel()->Leave(status, std::to_wstring(i));
    server.Channel()->Leave(dropped, L"x");
    server.Channel()->Drop(dropped);
  });
  worker.join();
  PumpFor(HandOff::kStatusIntervalMs * 3);
  EXPECT_EQ(shown, std::vector<std::wstring>{L"999"});

  // A new text after a quiet spell shows at once again.
  std::thread([&] { server.Channel()->Leave(status, L"next"); }).join();
  EXPECT_TRUE(WaitFor([&] { return shown.size() == 2; }, 1000));
  EXPECT_EQ(shown.back(), L"next");
}

// A scanner thread that hands over what it is given and then waits for the test's word.
class ScriptedThread : public TScanThread {
 public:
  std::vector<ScanResultRow> rows;
  std::atomic<bool>* release = nullptr;
  std::atomic<bool>* sawTerminate = nullptr;
  bool fail = false;

 protected:
  void Execute() override {
    ShowStatus(L"扫描：HKEY_CURRENT_USER\\Software");
    for (const ScanResultRow& row : rows) AddRow(row);
    if (fail) throw std::runtime_error("scanner failed");
    while (release && !*release) {
      if (Terminated()) {
        if (sawTerminate) *sawTerminate = true;
        return;
      }
      Sleep(1);
    }
  }
};

struct Recorder {
  std::vector<std::wstring> statuses;
  std::vector<ScanResultRow> rows;
  std::vector<DWORD> threads;
  int done = 0;
  bool runningAtDone = true;
  ScanThreadRef ref;

  ScanThreadLink Link(const std::shared_ptr<HandOff>& handOff) {
    ScanThreadLink link;
    link.handOff = handOff;
    link.ShowStatus = [this](const std::wstring& text) {
      statuses.push_back(text);
      threads.push_back(GetCurrentThreadId());
    };
    link.AddRow = [this](const ScanResultRow& row) {
      rows.push_back(row);
      threads.push_back(GetCurrentThreadId());
    };
    link.Done = [this] {
      ++done;
      runningAtDone = ref.Running();
      threads.push_back(GetCurrentThreadId());
    };
    return link;
  }
};

TEST(TScanThread, HandsItsTextsAndRowsToTheUiThreadAndReportsItsEndThere) {
  HandOffServer server;
  Recorder recorder;
  std::atomic<bool> release{false};
  auto thread = std::make_unique<ScriptedThread>();
  thread->rows = {{L"HKEY_CURRENT_USER", L"Software\\A", L"Path", L"C:\\gone.exe", 0},
                  {L"HKEY_CURRENT_USER", L"Software\\B", kDefaultValueName, L"C:\\x.exe", 0}};
  thread->release = &release;
  const std::vector<ScanResultRow> expected = thread->rows;
  common::KernelHandle handle;
  recorder.ref = TScanThread::Start(std::move(thread), recorder.Link(server.Channel()), &handle);
  EXPECT_TRUE(recorder.ref.Running());

  EXPECT_TRUE(WaitFor([&] { return recorder.rows.size() == 2; }));
  EXPECT_EQ(recorder.statuses, std::vector<std::wstring>{L"扫描：HKEY_CURRENT_USER\\Software"});
  EXPECT_EQ(recorder.rows, expected);
  PumpFor(30);
  EXPECT_EQ(recorder.done, 0);  // still waiting for the word
  release = true;
  EXPECT_TRUE(WaitFor([&] { return recorder.done == 1; }));
  EXPECT_FALSE(recorder.runningAtDone);
  EXPECT_FALSE(recorder.ref.Running());
  for (DWORD id : recorder.threads) EXPECT_EQ(id, GetCurrentThreadId());
  // The thread object has freed itself; the reference still answers, and the handle its owner
  // was given tells of the thread's end.
  ASSERT_TRUE(handle);
  EXPECT_EQ(WaitForSingleObject(handle.Get(), 5000), WAIT_OBJECT_0);
}

TEST(TScanThread, TerminateIsSeenByTheWorker) {
  HandOffServer server;
  Recorder recorder;
  std::atomic<bool> release{false}, sawTerminate{false};
  auto thread = std::make_unique<ScriptedThread>();
  thread->release = &release;
  thread->sawTerminate = &sawTerminate;
  recorder.ref = TScanThread::Start(std::move(thread), recorder.Link(server.Channel()));
  PumpFor(30);
  recorder.ref.Terminate();
  EXPECT_TRUE(WaitFor([&] { return recorder.done == 1; }));
  EXPECT_TRUE(sawTerminate.load());
}

TEST(TScanThread, AFailingScannerStillReportsItsEnd) {
  HandOffServer server;
  Recorder recorder;
  auto thread = std::make_unique<ScriptedThread>();
  thread->rows = {{L"HKEY_USERS", L"S-1\\Software", L"", L"", 0}};
  thread->fail = true;
  recorder.ref = TScanThread::Start(std::move(thread), recorder.Link(server.Channel()));
  EXPECT_TRUE(WaitFor([&] { return recorder.done == 1; }));
  EXPECT_EQ(recorder.rows.size(), 1u);
}

TEST(TScanThread, AClosedUiSideEndsTheWorkerWithoutTouchingIt) {
  auto server = std::make_unique<HandOffServer>();
  std::atomic<bool> release{false}, sawTerminate{false};
  std::atomic<int> calls{0};
  ScanThreadLink link;
  link.handOff = server->Channel();
  link.ShowStatus = [&](const std::wstring&) { ++calls; };
  link.AddRow = [&](const ScanResultRow&) { ++calls; };
  link.Done = [&] { ++calls; };
  auto thread = std::make_unique<ScriptedThread>();
  thread->release = &release;
  thread->sawTerminate = &sawTerminate;
  common::KernelHandle handle;
  TScanThread::Start(std::move(thread), link, &handle);
  server.reset();  // the window goes away with the thread's status text still waiting
  ASSERT_EQ(WaitForSingleObject(handle.Get(), 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(sawTerminate.load());
  EXPECT_EQ(calls.load(), 0);
}

}  // namespace

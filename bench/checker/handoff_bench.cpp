// What one hand-off from a scanner thread to the UI thread costs. A fake worker hands over N calls
// (default N = 100 000); the UI thread serves them in its message loop. Five runs: bare calls that
// the worker waits for (the UI side does nothing), as rows are handed over; rows appended to a
// real, visible result list; status texts left for the UI without waiting, bare and shown in a
// real status bar (the UI shows the latest one at least every 50 ms), counting how many were
// shown; and, for comparison, status texts shown in the status bar and waited for one by one.
//
//   scripts/wine.sh build/win64/bin/handoff_bench.exe [N]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "BenchWindow.h"
#include "checker/scanners/HandOff.h"
#include "checker/scanners/ScanThread.h"

namespace {

enum class What { Call, Status, WaitedStatus, Row };

class FakeScanner : public TScanThread {
 public:
  FakeScanner(What what, int count, std::function<void(const std::wstring&)> waitedStatus = nullptr)
      : what_(what), count_(count), waitedStatus_(std::move(waitedStatus)) {}

 protected:
  void Execute() override {
    ScanResultRow row{L"HKEY_LOCAL_MACHINE", L"SOFTWARE\\Vendor\\Product\\Settings", L"InstallPath",
                      L"C:\\Program Files\\Vendor\\Product\\product.exe /run", 0};
    const std::wstring status =
        L"扫描：HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{00021401-0000-0000-C000-"
        L"000000000046}";
    for (int i = 0; i < count_ && !Terminated(); ++i) {
      switch (what_) {
        case What::Call:
          Synchronize([] {});
          break;
        case What::Status:
          ShowStatus(status);
          break;
        case What::WaitedStatus:
          Synchronize([&] { waitedStatus_(status); });
          break;
        case What::Row:
          row.Location.back() = static_cast<wchar_t>(L'a' + i % 26);
          AddRow(row);
          break;
      }
    }
  }

 private:
  What what_;
  int count_;
  std::function<void(const std::wstring&)> waitedStatus_;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs one fake scanner to its end, serving its hand-offs in a plain message loop.
double Run(const std::shared_ptr<HandOff>& channel, What what, int count,
           std::function<void(const std::wstring&)> status,
           std::function<void(const ScanResultRow&)> row) {
  const auto waitedStatus = what == What::WaitedStatus ? status : nullptr;
  bool done = false;
  ScanThreadLink link;
  link.handOff = channel;
  link.ShowStatus = std::move(status);
  link.AddRow = std::move(row);
  link.Done = [&] { done = true; };
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  TScanThread::Start(std::make_unique<FakeScanner>(what, count, waitedStatus), link);
  MSG msg;
  while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

void Report(const char* what, int count, double seconds) {
  std::printf("%-40s %7d hand-offs  %7.3f s  %8.1f us each  %9.0f per second\n", what, count,
              seconds, seconds * 1e6 / count, count / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  BenchWindow bench;
  StatusBar& statusBar = bench.statusBar;
  ResultListView& results = bench.results;

  HandOffServer server;
  int served = 0, shown = 0;
  std::printf("Worker-to-UI hand-off, %d of each kind\n", count);
  Report("bare call, waited for", count,
         Run(server.Channel(), What::Call, count, nullptr, nullptr));
  Report("row appended to the result list", count,
         Run(server.Channel(), What::Row, count, nullptr, [&](const ScanResultRow& row) {
           results.AddRow(row);
           ++served;
         }));
  Report(
      "bare status text, left", count,
      Run(
          server.Channel(), What::Status, count, [&](const std::wstring&) { ++shown; }, nullptr));
  std::printf("  (%d of them shown)\n", shown);
  shown = 0;
  Report("status text into the status bar, left", count,
         Run(
             server.Channel(), What::Status, count,
             [&](const std::wstring& text) {
               statusBar.SetText(text);
               ++shown;
             },
             nullptr));
  std::printf("  (%d of them shown)\n", shown);
  const int waited = std::min(count, 20000);
  Report("status text into the status bar, waited", waited,
         Run(
             server.Channel(), What::WaitedStatus, waited,
             [&](const std::wstring& text) { statusBar.SetText(text); }, nullptr));
  std::printf("rows in the list: %d\n", results.Count());
  server.Close();
  return served == count ? 0 : 1;
}

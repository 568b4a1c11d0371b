// What one hand-off from a scanner thread to the UI thread costs. A fake worker hands over N status
// texts, then N result rows (default N = 100 000), each waited for as the registry scanners do;
// the UI thread serves them in its message loop. Four runs: bare hand-offs of texts and of rows
// (the UI side does nothing), status texts shown in a real status bar, rows appended to a real,
// visible result list.
//
//   scripts/wine.sh build/win64/bin/handoff_bench.exe [N]
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "checker/app/ResultListView.h"
#include "checker/app/StatusBar.h"
#include "checker/scanners/HandOff.h"
#include "checker/scanners/ScanThread.h"

namespace {

enum class What { Status, Row };

class FakeScanner : public TScanThread {
 public:
  FakeScanner(What what, int count) : what_(what), count_(count) {}

 protected:
  void Execute() override {
    ScanResultRow row{L"HKEY_LOCAL_MACHINE", L"SOFTWARE\\Vendor\\Product\\Settings", L"InstallPath",
                      L"C:\\Program Files\\Vendor\\Product\\product.exe /run", 0};
    const std::wstring status =
        L"扫描：HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{00021401-0000-0000-C000-"
        L"000000000046}";
    for (int i = 0; i < count_ && !Terminated(); ++i) {
      if (what_ == What::Status) {
        ShowStatus(status);
      } else {
        row.Location.back() = static_cast<wchar_t>(L'a' + i % 26);
        AddRow(row);
      }
    }
  }

 private:
  What what_;
  int count_;
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
  bool done = false;
  ScanThreadLink link;
  link.handOff = channel;
  link.ShowStatus = std::move(status);
  link.AddRow = std::move(row);
  link.Done = [&] { done = true; };
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  TScanThread::Start(std::make_unique<FakeScanner>(what, count), link);
  MSG msg;
  while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

void Report(const char* what, int count, double seconds) {
  std::printf("%-34s %8d hand-offs  %7.3f s  %8.1f us each  %9.0f per second\n", what, count,
              seconds, seconds * 1e6 / count, count / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                608, 465, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  StatusBar statusBar;
  ResultListView results;
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  statusBar.Create(window, 1, font);
  results.Create(window, 2, nullptr, font);
  MoveWindow(results.Handle(), 0, 0, 600, 380, TRUE);

  HandOffServer server;
  int served = 0;
  std::printf("Worker-to-UI hand-off, %d of each kind (the worker waits for every one)\n", count);
  Report(
      "bare status text (UI does nothing)", count,
      Run(
          server.Channel(), What::Status, count, [&](const std::wstring&) { ++served; }, nullptr));
  Report("status text into the status bar", count,
         Run(
             server.Channel(), What::Status, count,
             [&](const std::wstring& text) { statusBar.SetText(text); }, nullptr));
  Report("bare row (UI does nothing)", count,
         Run(server.Channel(), What::Row, count, nullptr, [&](const ScanResultRow&) { ++served; }));
  Report("row appended to the result list", count,
         Run(server.Channel(), What::Row, count, nullptr,
             [&](const ScanResultRow& row) { results.AddRow(row); }));
  std::printf("rows in the list: %d\n", results.Count());
  server.Close();
  DestroyWindow(window);
  return served == 2 * count ? 0 : 1;
}

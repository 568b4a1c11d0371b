#pragma once
// The main window's status bar and result list as the checker's benchmarks use them: a plain,
// visible window of the main window's size holding a real status bar and a real result list.
#include <windows.h>

#include <commctrl.h>

#include "checker/app/ResultListView.h"
#include "checker/app/StatusBar.h"

class BenchWindow {
 public:
  BenchWindow() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    window_ = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              608, 465, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    statusBar.Create(window_, 1, font);
    results.Create(window_, 2, nullptr, font);
    MoveWindow(results.Handle(), 0, 0, 600, 380, TRUE);
  }
  ~BenchWindow() { DestroyWindow(window_); }
  BenchWindow(const BenchWindow&) = delete;
  BenchWindow& operator=(const BenchWindow&) = delete;

  StatusBar statusBar;
  ResultListView results;

 private:
  HWND window_ = nullptr;
};

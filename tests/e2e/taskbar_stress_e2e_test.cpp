// The real ZephraShell under a crowd: 200 application windows with long Chinese captions, one of
// them hung, and windows closing while the taskbar rebuilds. The shell must not crash, must show
// the right buttons soon after the last change, and must keep answering all the while.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "common/tickcount64.h"
#include "e2e/process.h"
#include "support/controls.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::WaitFor;

int VisibleTaskButtons(HWND bar) {
  int count = 0;
  for (HWND b = FindWindowExW(bar, nullptr, L"ZephraTaskButton", nullptr); b;
       b = FindWindowExW(bar, b, L"ZephraTaskButton", nullptr))
    count += IsWindowVisible(b) ? 1 : 0;
  return count;
}

int VisibleWindowsOf(DWORD processId) {
  return static_cast<int>(testing_support::VisibleWindowsOf(processId).size());
}

// Asks the window a question every few milliseconds from another thread and keeps the longest
// wait for the answer: how long its thread was kept from its messages at most.
class Responsiveness {
 public:
  explicit Responsiveness(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            const uint64_t start = common::TickCount64();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
            const auto waited = static_cast<int>(common::TickCount64() - start);
            longest_ = std::max(longest_.load(), waited);
            Sleep(5);
          }
        }) {}
  ~Responsiveness() {
    stop_ = true;
    thread_.join();
  }
  int Longest() const { return longest_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> longest_{0};
  std::thread thread_;
};

TEST(TaskBarStress, CrowdWithAHungWindowAndWindowsClosingMidRebuild) {
  HWND tray = e2e::WaitForWindowsTaskbar(10000);
  ASSERT_NE(tray, nullptr);
  testing_support::TempFolder folder;
  ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  HWND desktop = shell.WaitForWindow(L"ZephraShellDesktop", 10000);
  ASSERT_NE(desktop, nullptr);
  HWND bar = FindWindowExW(desktop, nullptr, L"ZephraTaskBar", nullptr);
  ASSERT_NE(bar, nullptr);
  testing_support::PumpFor(300);

  constexpr int kWindows = 200, kClosing = 60, kLeft = kWindows - kClosing + 1;  // + the hung one
  int longest = 0;
  {
    Responsiveness ping(bar);
    ProgramUnderTest crowd(folder.Path(), L"zephra_crowd.exe");
    ASSERT_TRUE(crowd.Start(std::to_wstring(kWindows) + L" " + std::to_wstring(kClosing)));
    // The count passes the number left on its way up, while the crowd opens its windows: the
    // last change is when it comes down to it again.
    ASSERT_TRUE(WaitFor([&] { return VisibleWindowsOf(crowd.ProcessId()) > kLeft; }, 30000));
    ASSERT_TRUE(WaitFor([&] { return VisibleWindowsOf(crowd.ProcessId()) == kLeft; }, 30000))
        << VisibleWindowsOf(crowd.ProcessId()) << " windows";
    const uint64_t lastChange = common::TickCount64();
    EXPECT_TRUE(WaitFor([&] { return VisibleTaskButtons(bar) == kLeft; }, 10000))
        << VisibleTaskButtons(bar) << " buttons";
    const auto settled = static_cast<int>(common::TickCount64() - lastChange);
    EXPECT_TRUE(shell.Running());
    longest = ping.Longest();
    // Figures, not assertions: how soon and how responsive depend on the machine.
    std::printf("buttons right %d ms after the last change; UI thread answered within %d ms\n",
                settled, longest);
  }
  EXPECT_LT(longest, 20000) << "the UI thread answered all along";
  // The crowd has gone: the buttons go with it, and the exit button is free again.
  EXPECT_TRUE(WaitFor([&] { return VisibleTaskButtons(bar) == 0; }, 10000));
  e2e::ClickAt(11 + 33, 12 + 10);
  EXPECT_TRUE(shell.WaitForExit(10000));
  if (!IsWindowVisible(tray)) ShowWindow(tray, SW_SHOWNA);
}

}  // namespace

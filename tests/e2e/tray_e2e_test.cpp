// The notification area end to end: a program with a tray icon (zephra_notifier) runs before the
// shell starts; the shell takes the protocol over and the program's icon comes to the strip,
// clicks on it reach the program, its icon goes when it dies, and after the shell's exit the
// program's icon goes back to Wine's own tray.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/handles.h"
#include "e2e/process.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WaitFor;

constexpr COLORREF kBand = 15132390;  // the flat look's background band
// The one icon's cell: left of the clock's 150 pixels, centred in the strip.
constexpr int kIconX = 1024 - 150 - 3 - 11, kIconY = 768 - 27;

// Whether an icon is painted around a point of the screen.
bool IconAt(int cx, int cy) {
  int painted = 0;
  for (int y = cy - 6; y <= cy + 6; ++y)
    for (int x = cx - 6; x <= cx + 6; ++x) painted += e2e::ScreenPixel(x, y) != kBand;
  return painted > 20;
}
bool IconOnStrip() { return IconAt(kIconX, kIconY); }

bool LogHas(const std::wstring& log, const std::string& line) {
  return ReadFileBytes(log).find(line + "\r\n") != std::string::npos;
}

TEST(TrayEndToEnd, IconsComeToTheStripAnswerClicksAndGoBackToWinesTray) {
  HWND windowsTray = e2e::WaitForWindowsTaskbar(10000);
  ASSERT_NE(windowsTray, nullptr);
  TempFolder folder;
  const std::wstring log = folder.File(L"notifier.log");
  CopyFileW(testing_support::BesideProgram(L"zephra_notifier.exe").c_str(),
            folder.File(L"notifier.exe").c_str(), FALSE);
  ProgramUnderTest notifier(folder.Path(), L"notifier.exe");
  ASSERT_TRUE(notifier.Start(L"\"" + log + L"\""));
  ASSERT_TRUE(WaitFor([&] { return LogHas(log, "add 1"); }, 10000)) << "Wine's tray took it";

  ProgramUnderTest shell(folder.Path(), L"ZephraShell.exe");
  ASSERT_TRUE(shell.Start());
  ASSERT_NE(shell.WaitForWindow(L"ZephraShellDesktop", 10000), nullptr);
  // The shell's announcement makes the program add its icon again, now to the shell.
  ASSERT_TRUE(WaitFor([&] { return LogHas(log, "again 1"); }, 10000));
  EXPECT_TRUE(WaitFor(IconOnStrip, 5000)) << "the icon on the strip";
  e2e::SaveScreenshot(testing_support::BesideProgram(L"tray-e2e.png"));

  // A left click: version 4, so the program hears the release and NIN_SELECT with its id.
  e2e::ClickAt(kIconX, kIconY);
  EXPECT_TRUE(WaitFor([&] { return LogHas(log, "hear 514 26") && LogHas(log, "hear 1024 26"); }))
      << ReadFileBytes(log);

  // A second program dies with its icon shown: the icon goes.
  const std::wstring log2 = folder.File(L"second.log");
  ProgramUnderTest second(folder.Path(), L"notifier.exe");
  ASSERT_TRUE(second.Start(L"\"" + log2 + L"\""));
  ASSERT_TRUE(WaitFor([&] { return LogHas(log2, "add 1"); }, 10000));
  // Two icons stand in two rows; the second one's row is the lower.
  const int lowerRow = 768 - 54 + 27 + 11;
  EXPECT_TRUE(WaitFor([&] { return IconAt(kIconX, lowerRow); }, 5000));
  // Alone again, the first icon stands centred, above where the lower row's icon reached.
  const int belowTheOne = lowerRow + 5;
  common::KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, second.ProcessId()));
  TerminateProcess(process.Get(), 1);
  second.WaitForExit(5000);
  EXPECT_TRUE(WaitFor([&] { return !IconAt(kIconX, belowTheOne) && IconOnStrip(); }, 5000));

  // The shell's exit: its tray window goes, and the program's icon goes back to Wine's tray,
  // which kept it while the shell ran (so it takes the icon's update rather than a new icon).
  e2e::ClickAt(11 + 33, 12 + 10);
  ASSERT_TRUE(shell.WaitForExit(10000));
  EXPECT_TRUE(WaitFor([&] {
    const std::string text = ReadFileBytes(log);
    const size_t second = text.find("again ", text.find("again 1") + 1);
    return second != std::string::npos && text.compare(second, 7, "again 0") != 0 &&
           text.find("\r\n", second) != std::string::npos;
  }, 10000)) << ReadFileBytes(log);
  EXPECT_TRUE(IsWindowVisible(windowsTray));
  PostMessageW(e2e::FindWindowOf(notifier.ProcessId(), L"ZephraNotifier"), WM_CLOSE, 0, 0);
  notifier.WaitForExit(5000);
}

}  // namespace

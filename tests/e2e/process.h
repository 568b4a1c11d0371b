#pragma once
// Starting the real programs for end-to-end tests and looking at what they show.
#include <windows.h>

#include <string>

#include "common/handles.h"

namespace e2e {

// A program copied into a private folder and started from there, so that the files it writes
// beside itself are the test's own. Ended (if still running) when the object goes.
class ProgramUnderTest {
 public:
  ProgramUnderTest(const std::wstring& folder, const std::wstring& exeName);
  // A program started where it is (an installed one).
  explicit ProgramUnderTest(const std::wstring& exePath);
  ~ProgramUnderTest();

  bool Start();
  bool WaitForExit(int timeoutMs);
  DWORD ExitCode() const;
  DWORD ProcessId() const { return processId_; }
  DWORD ThreadId() const { return threadId_; }
  bool Running() const;
  const std::wstring& ExePath() const { return exePath_; }

  // First visible top-level window of the process with that class, waiting up to timeoutMs.
  HWND WaitForWindow(const wchar_t* className, int timeoutMs) const;

 private:
  std::wstring exePath_;
  common::KernelHandle process_;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
};

// Colour (COLORREF) of a screen pixel.
COLORREF ScreenPixel(int x, int y);

// Saves what the screen shows as a PNG file (for a person to look at); all of it, or a part.
bool SaveScreenshot(const std::wstring& path);
bool SaveScreenshot(const std::wstring& path, const RECT& part);

// A real pointer move and a real left click at a screen point, through the input queue.
void MoveTo(int x, int y);
void ClickAt(int x, int y);

// The Windows taskbar of the "shell" desktop, once Wine's explorer has made it.
HWND WaitForWindowsTaskbar(int timeoutMs);

}  // namespace e2e

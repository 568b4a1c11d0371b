#pragma once
// Starting the real programs for end-to-end tests and looking at what they show.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

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

  bool Start(const std::wstring& arguments = L"");
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

// A list view of another process, read and changed through memory in that process (the list's
// messages carry pointers). The test and the program are built for the same bitness.
class RemoteList {
 public:
  explicit RemoteList(HWND list);
  ~RemoteList();
  RemoteList(const RemoteList&) = delete;
  RemoteList& operator=(const RemoteList&) = delete;

  int Count() const;
  // Text of a row's column (0 the caption, 1 on its sub-items).
  std::wstring Text(int row, int column) const;
  // Texts of the four columns and the picture, one line per row: "a|b|c|d|0".
  std::wstring Row(int row) const;
  void SetChecked(int row, bool checked) const;
  // Selects the row (the others keep their state) and scrolls it into view.
  void Select(int row) const;
  // Where the row stands on the screen.
  RECT ItemRect(int row) const;

 private:
  // Sends a message whose lParam is an item, which comes back changed.
  bool Send(UINT message, int row, LVITEMW& item) const;
  wchar_t* RemoteText() const;

  HWND list_;
  common::KernelHandle process_;
  void* memory_ = nullptr;  // an LVITEMW and a text buffer after it
};

// The top-level window of the process with that class (and title, if given), shown or not.
HWND FindWindowOf(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr);

// Colour (COLORREF) of a screen pixel.
COLORREF ScreenPixel(int x, int y);

// What the screen shows in a part, row by row, for comparing two moments.
std::vector<uint32_t> ScreenPart(const RECT& part);

// The visible task button on the shell's taskbar strip `bar` whose text is `caption`, or none.
HWND TaskButtonCaptioned(HWND bar, const std::wstring& caption);

// Saves what the screen shows as a PNG file (for a person to look at); all of it, or a part.
bool SaveScreenshot(const std::wstring& path);
bool SaveScreenshot(const std::wstring& path, const RECT& part);

// A real pointer move and a real left or right click at a screen point, through the input queue.
void MoveTo(int x, int y);
void ClickAt(int x, int y);
void RightClickAt(int x, int y);

// The Windows taskbar of the "shell" desktop, once Wine's explorer has made it.
HWND WaitForWindowsTaskbar(int timeoutMs);

}  // namespace e2e

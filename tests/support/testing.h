#pragma once
// Helpers shared by the test programs: private folders, waiting while window messages run,
// file bytes, the work area, and a stand-in for the Windows taskbar window.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// A private folder under %TEMP%, removed with everything in it at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

void RemoveTree(const std::wstring& path);

// Lets window messages run for about `ms` milliseconds, keys routed as the message loop does.
void PumpFor(int ms);
// Lets window messages run until `done` is true or `timeoutMs` passed; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

RECT WorkArea();

// Puts the work area back as it was when the test began, and hides again every hidden window of
// class "Shell_TrayWnd" that the test showed (a give-back of the taskbar without a FakeTray finds
// Wine's own hidden tray window of the desktop, which later test programs would see as a task).
class WorkAreaGuard {
 public:
  WorkAreaGuard();
  ~WorkAreaGuard();

 private:
  RECT saved_;
  std::vector<HWND> hiddenTrays_;
};

// A window of class "Shell_TrayWnd" standing for the Windows taskbar: `height` pixels at the
// bottom of the screen, visible, with the work area ending above it. Created last, it is the
// first window of that class that a search finds.
// It is made the way the shell makes its own window of that class, so that both can be made in
// one test process.
class FakeTray {
 public:
  explicit FakeTray(int height);
  ~FakeTray();
  HWND Handle() const { return hwnd_; }
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  RECT Rect() const;

 private:
  class Window;
  std::unique_ptr<Window> window_;
  HWND hwnd_ = nullptr;
};

// Saves a shortcut file at `path` that points to `target` (which need not exist). The calling
// thread must have COM started.
bool MakeShortcut(const std::wstring& path, const std::wstring& target);

// While it lives, geometry and fonts made by the test follow `dpi` (120, 144, ...) instead of the
// screen's own: the dpi of a running session cannot change.
class DpiOverride {
 public:
  explicit DpiOverride(int dpi);
  ~DpiOverride();
  DpiOverride(const DpiOverride&) = delete;
  DpiOverride& operator=(const DpiOverride&) = delete;
};

// Text of a window, through WM_GETTEXT.
std::wstring WindowText(HWND window);

// The control with this id anywhere below `parent` (of this or another process), or none.
HWND ChildWithId(HWND parent, int id);

// Path of a file beside the running test program.
std::wstring BesideProgram(const std::wstring& name);

}  // namespace testing_support

#include "e2e/process.h"

#include <commctrl.h>

#include <vector>

#include "support/png.h"
#include "support/controls.h"
#include "support/testing.h"

namespace e2e {

ProgramUnderTest::ProgramUnderTest(const std::wstring& folder, const std::wstring& exeName)
    : exePath_(folder + L"\\" + exeName) {
  CopyFileW(testing_support::BesideProgram(exeName).c_str(), exePath_.c_str(), FALSE);
}

ProgramUnderTest::ProgramUnderTest(const std::wstring& exePath) : exePath_(exePath) {}

ProgramUnderTest::~ProgramUnderTest() {
  if (Running()) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

bool ProgramUnderTest::Start(const std::wstring& arguments) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  std::vector<wchar_t> line;
  const std::wstring quoted =
      L"\"" + exePath_ + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  line.assign(quoted.begin(), quoted.end());
  line.push_back(L'\0');
  const std::wstring folder = exePath_.substr(0, exePath_.find_last_of(L'\\'));
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info))
    return false;
  process_.Reset(info.hProcess);
  CloseHandle(info.hThread);
  processId_ = info.dwProcessId;
  threadId_ = info.dwThreadId;
  return true;
}

bool ProgramUnderTest::WaitForExit(int timeoutMs) {
  return testing_support::WaitFor([this] { return !Running(); }, timeoutMs);
}

bool ProgramUnderTest::Running() const {
  return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

DWORD ProgramUnderTest::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_.Get(), &code);
  return code;
}

namespace {
constexpr size_t kRemoteTextChars = 1024;
}  // namespace

RemoteList::RemoteList(HWND list) : list_(list) {
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  process_.Reset(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (process_)
    memory_ = VirtualAllocEx(process_.Get(), nullptr,
                             sizeof(LVITEMW) + kRemoteTextChars * sizeof(wchar_t),
                             MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteList::~RemoteList() {
  if (memory_) VirtualFreeEx(process_.Get(), memory_, 0, MEM_RELEASE);
}

int RemoteList::Count() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring RemoteList::Row(int row) const {
  std::wstring line;
  for (int column = 0; column < 4; ++column) line += Text(row, column) + L"|";
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  if (!Send(LVM_GETITEMW, row, item)) return line;
  return line + std::to_wstring(item.iImage);
}

void RemoteList::SetChecked(int row, bool checked) const {
  LVITEMW item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  Send(LVM_SETITEMSTATE, row, item);
}

void RemoteList::Select(int row) const {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  Send(LVM_SETITEMSTATE, row, item);
  SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

RECT RemoteList::ItemRect(int row) const {
  RECT r = {LVIR_BOUNDS, 0, 0, 0};
  if (!memory_ || !WriteProcessMemory(process_.Get(), memory_, &r, sizeof(r), nullptr)) return {};
  SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory_));
  if (!ReadProcessMemory(process_.Get(), memory_, &r, sizeof(r), nullptr)) return {};
  MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool RemoteList::Send(UINT message, int row, LVITEMW& item) const {
  if (!memory_) return false;
  item.pszText = RemoteText();
  item.cchTextMax = static_cast<int>(kRemoteTextChars);
  if (!WriteProcessMemory(process_.Get(), memory_, &item, sizeof(item), nullptr)) return false;
  SendMessageW(list_, message, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory_));
  return ReadProcessMemory(process_.Get(), memory_, &item, sizeof(item), nullptr) != FALSE;
}

std::wstring RemoteList::Text(int row, int column) const {
  LVITEMW item = {};
  item.iSubItem = column;
  if (!Send(LVM_GETITEMTEXTW, row, item)) return {};
  std::vector<wchar_t> text(kRemoteTextChars, L'\0');
  if (!ReadProcessMemory(process_.Get(), RemoteText(), text.data(), text.size() * sizeof(wchar_t),
                         nullptr))
    return {};
  return std::wstring(text.data());
}

wchar_t* RemoteList::RemoteText() const {
  return reinterpret_cast<wchar_t*>(static_cast<LVITEMW*>(memory_) + 1);
}

HWND ProgramUnderTest::WaitForWindow(const wchar_t* className, int timeoutMs) const {
  HWND found = nullptr;
  testing_support::WaitFor(
      [&] {
        for (HWND w : testing_support::VisibleWindowsOf(processId_))
          if (!found && lstrcmpiW(testing_support::ClassOf(w).c_str(), className) == 0) found = w;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND FindWindowOf(DWORD processId, const wchar_t* className, const wchar_t* title) {
  for (HWND w = FindWindowExW(nullptr, nullptr, className, title); w;
       w = FindWindowExW(nullptr, w, className, title)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == processId) return w;
  }
  return nullptr;
}

COLORREF ScreenPixel(int x, int y) {
  common::WindowDc screen(nullptr);
  return GetPixel(screen.Get(), x, y);
}

std::vector<uint32_t> ScreenPart(const RECT& part) {
  common::MemorySurface shot;
  if (!shot.Resize(part.right - part.left, part.bottom - part.top)) return {};
  common::WindowDc screen(nullptr);
  BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen.Get(), part.left, part.top, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(shot.Width()) * shot.Height());
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) pixels.push_back(shot.ColorAt(x, y));
  return pixels;
}

HWND TaskButtonCaptioned(HWND bar, const std::wstring& caption) {
  for (HWND b = FindWindowExW(bar, nullptr, L"ZephraTaskButton", nullptr); b;
       b = FindWindowExW(bar, b, L"ZephraTaskButton", nullptr)) {
    // The button's text is its caption; read without a message to the shell.
    wchar_t text[256] = {};
    InternalGetWindowText(b, text, 256);
    if (IsWindowVisible(b) && caption == text) return b;
  }
  return nullptr;
}

bool SaveScreenshot(const std::wstring& path) {
  return SaveScreenshot(path, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

bool SaveScreenshot(const std::wstring& path, const RECT& part) {
  common::MemorySurface shot;
  if (!shot.Resize(part.right - part.left, part.bottom - part.top)) return false;
  common::WindowDc screen(nullptr);
  BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen.Get(), part.left, part.top, SRCCOPY);
  GdiFlush();
  return testing_support::WritePng(path, shot);
}

void MoveTo(int x, int y) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
  // Wait until the pointer is there: a press sent before it arrives lands where it was.
  testing_support::WaitFor(
      [&] {
        POINT at = {};
        GetCursorPos(&at);
        return at.x == x && at.y == y;
      },
      2000);
}

namespace {

void PressAt(int x, int y, DWORD down, DWORD up) {
  MoveTo(x, y);
  INPUT input[2] = {};
  const DWORD place = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  const DWORD flags[2] = {place | down, place | up};
  for (int i = 0; i < 2; ++i) {
    input[i].type = INPUT_MOUSE;
    input[i].mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input[i].mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input[i].mi.dwFlags = flags[i];
  }
  SendInput(2, input, sizeof(INPUT));
}

}  // namespace

void ClickAt(int x, int y) { PressAt(x, y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
void RightClickAt(int x, int y) { PressAt(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }

HWND WaitForWindowsTaskbar(int timeoutMs) {
  // The desktop, and with it Wine's taskbar, comes up when the process makes its first window.
  static HWND first = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  (void)first;
  HWND tray = nullptr;
  testing_support::WaitFor(
      [&] {
        tray = FindWindowW(L"Shell_TrayWnd", nullptr);
        return tray != nullptr && IsWindowVisible(tray);
      },
      timeoutMs);
  return tray;
}

}  // namespace e2e

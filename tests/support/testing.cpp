#include "support/testing.h"

#include "common/window.h"
#include "support/controls.h"

#include <shlobj.h>

#include <atomic>
#include <vector>

#include "common/handles.h"
#include "common/keyboard.h"
#include "common/paths.h"
#include "common/screen.h"

namespace testing_support {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"zephra-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

DpiOverride::DpiOverride(int dpi) { common::SetLogicalDpiOverride(dpi); }
DpiOverride::~DpiOverride() { common::SetLogicalDpiOverride(0); }

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  common::FindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(find.Get(), &data));
  }
  RemoveDirectoryW(path.c_str());
}

bool MakeShortcut(const std::wstring& path, const std::wstring& target) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(link->SetPath(target.c_str())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  if (file) {
    saved = saved && SUCCEEDED(file->Save(path.c_str(), TRUE));
    file->Release();
  }
  link->Release();
  return saved;
}

void PumpFor(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (common::TranslateKeyboard(msg)) continue;  // as the programs' message loops do
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return done();
    PumpFor(10);
  }
  return true;
}

std::string ReadFileBytes(const std::wstring& path) {
  common::KernelHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  common::KernelHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (file)
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

RECT WorkArea() {
  RECT area = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

WorkAreaGuard::WorkAreaGuard() : saved_(WorkArea()) {
  for (HWND tray = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr); tray;
       tray = FindWindowExW(nullptr, tray, L"Shell_TrayWnd", nullptr)) {
    if (!IsWindowVisible(tray)) hiddenTrays_.push_back(tray);
  }
}

WorkAreaGuard::~WorkAreaGuard() {
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved_, 0);
  for (HWND tray : hiddenTrays_)
    if (IsWindow(tray) && IsWindowVisible(tray)) ShowWindow(tray, SW_HIDE);
}

class FakeTray::Window : public common::Window {
 public:
  ~Window() override { Destroy(); }
  HWND Make(int x, int y, int width, int height) {
    ClassSpec windowClass;
    windowClass.name = L"Shell_TrayWnd";
    windowClass.background = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    Create(windowClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"", WS_POPUP, x, y, width, height,
           nullptr);
    return Handle();
  }
};

FakeTray::FakeTray(int height) : window_(std::make_unique<Window>()) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  hwnd_ = window_->Make(0, h - height, w, height);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  RECT area = {0, 0, w, h - height};
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
}

FakeTray::~FakeTray() = default;

RECT FakeTray::Rect() const {
  RECT r = {};
  GetWindowRect(hwnd_, &r);
  return r;
}

std::wstring WindowText(HWND window) {
  std::vector<wchar_t> buffer(512);
  const auto n =
      SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), static_cast<size_t>(n));
}

HWND ChildWithId(HWND parent, int id) {
  for (HWND child : ChildWindows(parent))
    if (GetDlgCtrlID(child) == id) return child;
  return nullptr;
}

std::wstring BesideProgram(const std::wstring& name) {
  return common::ProgramDirectory() + L"\\" + name;
}

}  // namespace testing_support

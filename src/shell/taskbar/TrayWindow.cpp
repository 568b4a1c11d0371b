#include "shell/taskbar/TrayWindow.h"

#include <shellapi.h>

#include "common/lookup.h"
#include "shell/core/HandleWindows.h"

namespace {

bool announcing = false;

// How long a request passed on to the Windows taskbar may take.
constexpr UINT kPassOnMs = 1000;

// Writes an answer into the shared memory the sender of an app-bar request made for it.
bool PassBack(const tray::AppBarRequest& request, const void* bytes, size_t size) {
  using Lock = void*(WINAPI*)(HANDLE, DWORD);
  using Unlock = BOOL(WINAPI*)(void*);
  static const auto lock = common::LookUp<Lock>(L"shell32.dll", "SHLockShared");
  static const auto unlock = common::LookUp<Unlock>(L"shell32.dll", "SHUnlockShared");
  if (lock == nullptr || unlock == nullptr || request.sharedMemory == 0) return false;
  void* view = lock(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(request.sharedMemory)),
                    request.processId);
  if (view == nullptr) return false;
  CopyMemory(view, bytes, size);
  unlock(view);
  return true;
}

}  // namespace

TrayWindow::~TrayWindow() { Destroy(); }

bool TrayWindow::NotifyChildWindow::Create(HWND parent) {
  ClassSpec windowClass;
  windowClass.name = kNotifyClassName;
  return Window::Create(windowClass, 0, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent);
}

bool TrayWindow::Create(Host host) {
  host_ = std::move(host);
  ClassSpec windowClass;
  windowClass.name = kClassName;
  // Hidden, out of every task list, and first among the windows of its class.
  if (!Window::Create(windowClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"", WS_POPUP, 0, 0, 0, 0,
                      nullptr))
    return false;
  SetPropW(Handle(), HandleWindows::kShellTrayMark, reinterpret_cast<HANDLE>(1));
  notify_.Create(Handle());
  KeepFirst();
  SetTimer(Handle(), kOrphanTimer, kOrphanMs, nullptr);
  return true;
}

void TrayWindow::KeepFirst() {
  if (Handle())
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TrayWindow::Place(const RECT& strip, const RECT& notifyArea) {
  if (!Handle()) return;
  SetWindowPos(Handle(), nullptr, strip.left, strip.top, strip.right - strip.left,
               strip.bottom - strip.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (notify_.Handle())
    SetWindowPos(notify_.Handle(), nullptr, notifyArea.left - strip.left,
                 notifyArea.top - strip.top, notifyArea.right - notifyArea.left,
                 notifyArea.bottom - notifyArea.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TrayWindow::AnnounceTaskbar() {
  const UINT created = RegisterWindowMessageW(L"TaskbarCreated");
  if (created == 0) return;
  // Never waits for a program: the shell's own windows hear it at once (while the flag says it
  // is the shell's own notice), the others when they next look at their queues.
  announcing = true;
  SendNotifyMessageW(HWND_BROADCAST, created, 0, 0);
  announcing = false;
}

bool TrayWindow::Announcing() { return announcing; }

LRESULT TrayWindow::AnswerAppBar(const tray::AppBarRequest& request) {
  switch (request.message) {
    case ABM_GETSTATE:
      return 0;  // neither hidden automatically nor above other windows
    case ABM_GETAUTOHIDEBAR:
      return 0;  // no bar hides itself on any edge
    case ABM_GETTASKBARPOS: {
      const RECT strip = host_.stripRect ? host_.stripRect() : RECT{};
      const int32_t rect[4] = {strip.left, strip.top, strip.right, strip.bottom};
      const auto bytes = tray::EncodeAppBarData(request, rect, ABE_BOTTOM);
      return PassBack(request, bytes.data(), bytes.size()) ? TRUE : FALSE;
    }
    default:
      return -1;  // not the strip's: passed on
  }
}

LRESULT TrayWindow::CopyData(HWND sender, const COPYDATASTRUCT& data) {
  const auto* bytes = static_cast<const uint8_t*>(data.lpData);
  const size_t size = bytes != nullptr ? data.cbData : 0;
  if (const auto appBar = tray::DecodeAppBarRecord(data.dwData, bytes, size)) {
    const LRESULT answer = AnswerAppBar(*appBar);
    if (answer != -1) return answer;
    // Other programs' own bars stay with the Windows taskbar, which reserves their space.
    HWND windows = HandleWindows::FindWindowsTaskbar();
    DWORD_PTR result = 0;
    COPYDATASTRUCT copy = data;
    if (windows == nullptr ||
        !SendMessageTimeoutW(windows, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                             reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, kPassOnMs, &result))
      return FALSE;
    return static_cast<LRESULT>(result);
  }
  if (const auto request = tray::DecodeNotifyRecord(data.dwData, bytes, size))
    return host_.notify && host_.notify(*request) ? TRUE : FALSE;
  return FALSE;
}

LRESULT TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA:
      if (lParam == 0) return FALSE;
      return CopyData(reinterpret_cast<HWND>(wParam),
                      *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_TIMER:
      if (wParam == kOrphanTimer && host_.lookForOrphans) host_.lookForOrphans();
      return 0;
    case WM_DESTROY:
      KillTimer(Handle(), kOrphanTimer);
      RemovePropW(Handle(), HandleWindows::kShellTrayMark);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

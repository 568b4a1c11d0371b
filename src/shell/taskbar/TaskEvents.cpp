#include "shell/taskbar/TaskEvents.h"

#include <map>

#include "shell/core/HandleWindows.h"

namespace {

constexpr UINT kLook = WM_APP + 1;
constexpr UINT kFetchIcons = WM_APP + 2;

// The window events carry no context of their own: the hook says whose they are.
std::map<HWINEVENTHOOK, TaskEvents*>& Receivers() {
  static std::map<HWINEVENTHOOK, TaskEvents*> receivers;
  return receivers;
}

bool TopLevel(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }

void Tell(const std::function<void(HWND)>& whom, HWND window) {
  if (whom) whom(window);
}

}  // namespace

TaskEvents::TaskEvents(Listener listener) : listener_(std::move(listener)) {}

TaskEvents::~TaskEvents() {
  Stop();
  Destroy();
}

bool TaskEvents::Start() {
  ClassSpec windowClass;
  windowClass.name = L"ZephraTaskEvents";
  // Never shown, and a tool window besides: no task list ever counts it.
  if (!Create(windowClass, WS_EX_TOOLWINDOW, L"", WS_POPUP, 0, 0, 0, 0, nullptr)) return false;
  shellMessage_ = RegisterWindowMessageW(L"SHELLHOOK");
  // The system sends its shell messages only once minimised windows are kept out of sight, as
  // a taskbar keeps them.
  HandleWindows::HideMinimizedWindows();
  registered_ = RegisterShellHookWindow(Handle()) != FALSE;
  // Events of other processes only: the shell's own windows are never tasks. Two ranges, so that
  // the location changes between them (every move of the pointer) are not asked for.
  const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  shownHook_.Reset(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE, nullptr, &WindowEvent,
                                   0, 0, flags));
  renamedHook_.Reset(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                     &WindowEvent, 0, 0, flags));
  if (shownHook_) Receivers()[shownHook_.Get()] = this;
  if (renamedHook_) Receivers()[renamedHook_.Get()] = this;
  return true;
}

void TaskEvents::Stop() {
  Receivers().erase(shownHook_.Get());
  Receivers().erase(renamedHook_.Get());
  shownHook_.Reset();
  renamedHook_.Reset();
  if (registered_) {
    DeregisterShellHookWindow(Handle());
    registered_ = false;
  }
  if (Handle()) HandleWindows::RestoreMinimizedWindows();
}

void CALLBACK TaskEvents::WindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                      LONG child, DWORD /*thread*/, DWORD /*time*/) {
  // Called from the message loop like a window procedure: nothing may leave it.
  try {
    const auto found = Receivers().find(hook);
    if (found != Receivers().end()) found->second->OnWindowEvent(event, window, object, child);
  } catch (...) {
  }
}

void TaskEvents::OnWindowEvent(DWORD event, HWND window, LONG object, LONG child) {
  // Only the windows themselves, not their parts (caret, scroll bars, cursor, ...).
  if (object != OBJID_WINDOW || child != CHILDID_SELF || window == nullptr) return;
  switch (event) {
    case EVENT_OBJECT_CREATE:
    case EVENT_OBJECT_SHOW:
      // Every control of every program is made and shown too; only top-level windows count.
      if (TopLevel(window)) Tell(listener_.came, window);
      break;
    case EVENT_OBJECT_DESTROY:
    case EVENT_OBJECT_HIDE:
      Tell(listener_.went, window);  // a window that is gone has no parent to ask about
      break;
    case EVENT_OBJECT_NAMECHANGE:
      Tell(listener_.retitled, window);
      break;
    default:
      break;
  }
}

void TaskEvents::OnShellMessage(WPARAM code, HWND window) {
  switch (code) {
    case HSHELL_WINDOWCREATED:
      Tell(listener_.came, window);
      break;
    case HSHELL_WINDOWDESTROYED:
      Tell(listener_.went, window);
      break;
    case HSHELL_REDRAW:
      Tell(listener_.redrawn, window);
      break;
    case HSHELL_FLASH:
      Tell(listener_.flashing, window);
      break;
    case HSHELL_WINDOWACTIVATED:
    case HSHELL_RUDEAPPACTIVATED:
      Tell(listener_.activated, window);
      break;
    default:
      break;
  }
}

void TaskEvents::LookSoon() {
  if (lookPosted_ || !Handle()) return;
  lookPosted_ = PostMessageW(Handle(), kLook, 0, 0) != FALSE;
}

void TaskEvents::FetchIconsSoon() {
  if (fetchPosted_ || !Handle()) return;
  fetchPosted_ = PostMessageW(Handle(), kFetchIcons, 0, 0) != FALSE;
}

LRESULT TaskEvents::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == shellMessage_ && shellMessage_ != 0) {
    OnShellMessage(wParam, reinterpret_cast<HWND>(lParam));
    return 0;
  }
  switch (message) {
    case kLook:
      lookPosted_ = false;
      if (listener_.look) listener_.look();
      return 0;
    case kFetchIcons:
      fetchPosted_ = false;
      if (listener_.fetchIcons) listener_.fetchIcons();
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

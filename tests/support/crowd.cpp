// A crowd of application windows for the taskbar's stress test: "crowd.exe <count> <closing>"
// opens <count> windows with captions of 300 bytes of Chinese text and one more window whose
// thread stops answering at once, then, after a moment, closes <closing> of its windows one by
// one a few milliseconds apart, so that they go while the taskbar rebuilds. With a third number,
// "crowd.exe <count> <closing> <every>", its windows show without taking the activation, and it
// then hides its last window and shows it again every <every> milliseconds, so that the taskbar
// keeps rebuilding while the user works in another window. It runs until it is ended.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kClass[] = L"ZephraCrowdWindow";
bool quiet = false;  // windows show without taking the activation

HWND Open(const std::wstring& caption, int i) {
  HWND window =
      CreateWindowExW(0, kClass, caption.c_str(), WS_OVERLAPPEDWINDOW | (quiet ? 0 : WS_VISIBLE),
                      20 + (i % 40) * 10, 20 + (i % 30) * 10, 300, 200, nullptr, nullptr,
                      GetModuleHandleW(nullptr), nullptr);
  if (quiet) ShowWindow(window, SW_SHOWNA);
  return window;
}

DWORD WINAPI Hung(void*) {
  Open(L"不响应的窗口", 0);
  Sleep(INFINITE);  // never looks at its messages again
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const int count = __argc > 1 ? atoi(__argv[1]) : 200;
  const int closing = __argc > 2 ? atoi(__argv[2]) : 0;
  const DWORD every = __argc > 3 ? static_cast<DWORD>(atoi(__argv[3])) : 0;
  quiet = every > 0;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  std::vector<HWND> windows;
  for (int i = 0; i < count; ++i) {
    std::wstring caption = L"任务" + std::to_wstring(i + 1) + L" ";
    while (caption.size() < 160) caption += L"中文标题很长的窗口";
    windows.push_back(Open(caption, i));
  }
  CloseHandle(CreateThread(nullptr, 0, &Hung, nullptr, 0, nullptr));

  // The closings start once the taskbar has seen the crowd and is rebuilding for it.
  const DWORD closeFrom = GetTickCount() + 1500;
  int closed = 0;
  DWORD toggled = GetTickCount();
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (closed < closing && GetTickCount() >= closeFrom) {
      DestroyWindow(windows[static_cast<size_t>(closed * 3 % count)]);
      ++closed;
    }
    if (every > 0 && count > 0 && GetTickCount() - toggled >= every) {
      HWND last = windows.back();
      ShowWindow(last, IsWindowVisible(last) ? SW_HIDE : SW_SHOWNA);
      toggled = GetTickCount();
    }
    const DWORD wait = closed < closing ? 7 : every > 0 ? every : INFINITE;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
  }
}

// A program with a notification-area icon, for the tray's end-to-end test: it adds its icon with
// Shell_NotifyIcon (a tip, version 4, and a balloon when asked), adds it again whenever a taskbar
// announces itself, and writes to its log what happens, one line each:
//   add <result>            its first NIM_ADD (1 accepted, 2 refused but kept by that tray,
//                           0 refused)
//   again <result>          its NIM_ADD after "TaskbarCreated"
//   hear <message> <id>     a callback message (version 4: message and id from lParam)
//   notifier.exe <log> [balloon]
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

constexpr UINT kCallback = WM_APP + 9;
constexpr UINT kId = 26;
// Vista's flag and version, which the XP headers lack.
constexpr UINT kShowTip = 0x80, kVersion4 = 4;
std::wstring logPath;
UINT taskbarCreated = 0;
bool balloon = false;

void Log(const std::string& line) {
  HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

BOOL AddIcon(HWND window) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = window;
  data.uID = kId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | kShowTip | (balloon ? NIF_INFO : 0);
  data.uCallbackMessage = kCallback;
  data.hIcon = LoadIconW(nullptr, IDI_WARNING);
  lstrcpynW(data.szTip, L"通知测试", 128);
  if (balloon) {
    lstrcpynW(data.szInfoTitle, L"通知", 64);
    lstrcpynW(data.szInfo, L"气球提示", 256);
    data.dwInfoFlags = NIIF_INFO;
    data.uTimeout = 10000;
  }
  BOOL added = Shell_NotifyIconW(NIM_ADD, &data);
  // A tray that kept the icon (Explorer's, hidden while the shell ran) refuses it again; as
  // programs do, the icon is then brought up to date there.
  if (!added && Shell_NotifyIconW(NIM_MODIFY, &data)) added = 2;
  data.uVersion = kVersion4;
  Shell_NotifyIconW(NIM_SETVERSION, &data);
  return added;
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallback) {
    Log("hear " + std::to_string(LOWORD(lParam)) + " " + std::to_string(HIWORD(lParam)));
    return 0;
  }
  if (message == taskbarCreated && taskbarCreated != 0) {
    Log("again " + std::to_string(AddIcon(window)));
    return 0;
  }
  if (message == WM_CLOSE) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2) return 2;
  logPath = argv[1];
  balloon = argc > 2 && std::wstring(argv[2]) == L"balloon";
  taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  WNDCLASSW wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ZephraNotifier";
  RegisterClassW(&wc);
  // A hidden top-level window: it hears the broadcast, and it is no task.
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"ZephraNotifier", L"", WS_POPUP, 0, 0, 1, 1,
                                nullptr, nullptr, instance, nullptr);
  Log("add " + std::to_string(AddIcon(window)));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

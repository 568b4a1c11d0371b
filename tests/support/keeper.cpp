// Keeps the tests' virtual desktop open for the whole test run: Wine closes a desktop soon after
// its last program ends. It owns one hidden window and waits until the wineserver ends it. Given
// a file name, it creates that file once its window stands, that is once the desktop is up and
// held: the test run waits for it, because a test program that had to start the desktop itself
// would hand Wine's desktop process its output, and CTest would wait for that to close.
#include <windows.h>

#include <fstream>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR readyFile, int) {
  HWND window = CreateWindowExW(0, L"STATIC", L"zephra keeper", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return 1;
  if (readyFile && *readyFile) std::ofstream{readyFile};
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

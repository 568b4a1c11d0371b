// The floor for the shell's idle and start-up figures: a bare program that does only what the
// desktop has to do and nothing more. One full-screen window painted with the desktop's colours,
// a 100 ms timer that repaints a 99-pixel clock area, and a 100 ms EnumWindows over the
// top-level windows. The benchmarks run it side by side with ZephraShell.
#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT_PTR kClockTimer = 1, kPollTimer = 2;
constexpr int kClockWidth = 99, kStripHeight = 54;

HBITMAP g_face = nullptr;  // the desktop's face, drawn once
HDC g_faceDc = nullptr;
int g_tasks = 0;

void PaintFace(int width, int height) {
  HDC screen = GetDC(nullptr);
  g_faceDc = CreateCompatibleDC(screen);
  g_face = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  SelectObject(g_faceDc, g_face);
  // The shell's left and right edge colours, so that the start-up benchmark sees the same
  // pixels; two fills instead of a gradient, the least any desktop could do.
  HBRUSH left = CreateSolidBrush(RGB(19, 31, 67)), right = CreateSolidBrush(RGB(39, 66, 124));
  RECT half = {0, 0, width / 2, height};
  FillRect(g_faceDc, &half, left);
  half = {width / 2, 0, width, height};
  FillRect(g_faceDc, &half, right);
  DeleteObject(left);
  DeleteObject(right);
}

BOOL CALLBACK CountTask(HWND window, LPARAM) {
  if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
    char caption[256];
    if (GetWindowTextA(window, caption, sizeof(caption)) > 0) ++g_tasks;
  }
  return TRUE;
}

void PaintClock(HDC dc, int width, int height) {
  RECT clock = {width - kClockWidth, height - kStripHeight, width, height};
  BitBlt(dc, clock.left, clock.top, kClockWidth, kStripHeight, g_faceDc, clock.left, clock.top,
         SRCCOPY);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof(text), "%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextA(dc, text, -1, &clock, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      BitBlt(dc, 0, 0, client.right, client.bottom, g_faceDc, 0, 0, SRCCOPY);
      PaintClock(dc, client.right, client.bottom);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kClockTimer) {
        RECT client;
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        PaintClock(dc, client.right, client.bottom);
        ReleaseDC(window, dc);
      } else {
        g_tasks = 0;
        EnumWindows(&CountTask, 0);
      }
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  PaintFace(width, height);
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "ZephraFloorDesktop";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                width, height, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetTimer(window, kClockTimer, 100, nullptr);
  SetTimer(window, kPollTimer, 100, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  DeleteDC(g_faceDc);
  DeleteObject(g_face);
  return 0;
}

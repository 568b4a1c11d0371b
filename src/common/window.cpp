#include "common/window.h"

#include <commctrl.h>

#include "common/keyboard.h"
#include "common/text.h"
#include "common/twips.h"

namespace common {

namespace {

bool EnsureClass(const wchar_t* name, UINT style, HBRUSH background, HICON icon, HCURSOR cursor,
                 WNDPROC proc) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  // Registered once per process; later windows of the class reuse it.
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

Window::~Window() {
  // Last resort: the derived destructor should have destroyed the window already. Its derived
  // part is gone now, so the window is cut loose from this object before it goes.
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  if (hwnd == nullptr || !IsWindow(hwnd)) return;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  UnregisterKeyboard(hwnd);
  DestroyWindow(hwnd);
}

void Window::Destroy() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool Window::Create(const ClassSpec& windowClass, DWORD exStyle, const std::wstring& title,
                    DWORD style, int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
  if (!EnsureClass(windowClass.name, windowClass.style, windowClass.background, windowClass.icon,
                   windowClass.cursor, &Window::Router))
    return false;
  HWND created = CreateWindowExW(exStyle, windowClass.name, title.c_str(), style, x, y, width,
                                 height, parent, menuOrId, GetModuleHandleW(nullptr), this);
  return created != nullptr;
}

bool Window::CreateCentred(const ClassSpec& windowClass, DWORD exStyle, const std::wstring& title,
                           DWORD style, int width, int height, HWND owner) {
  return Create(windowClass, exStyle, title, style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner);
}

bool Window::CreateMainWindow(const ClassSpec& windowClass, const std::wstring& title, DWORD style,
                              double clientWidthTwips, double clientHeightTwips, HICON smallIcon) {
  const SIZE size = WindowSizeForClient(clientWidthTwips, clientHeightTwips, style, 0);
  if (!Create(windowClass, WS_EX_CONTROLPARENT, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
              size.cx, size.cy, nullptr))
    return false;
  if (smallIcon) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  return true;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Router(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<Window*>(create->lpCreateParams);
    // A window of one of our classes made by other code than ours has no object to route to.
    if (self != nullptr) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (message == WM_NCDESTROY) UnregisterKeyboard(hwnd);
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // An error inside a handler is dropped on purpose: the message is answered with 0 and the
    // program goes on.
    result = 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnDestroyed();
    } catch (...) {
    }
  }
  return result;
}

std::wstring TextOf(HWND window) {
  return ReadText(
      [window](wchar_t* buffer, int size) { return GetWindowTextW(window, buffer, size); },
      GetWindowTextLengthW(window) + 2);
}

std::wstring ItemTextOf(HWND listView, int row, int column) {
  return ReadText([&](wchar_t* buffer, int size) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    return static_cast<int>(
        SendMessageW(listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
  });
}

HWND CreateControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id, DWORD exStyle) {
  return CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD, x, y, width, height,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace common

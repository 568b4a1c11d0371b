#include "common/window.h"

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

Window::~Window() { Destroy(); }

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
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
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

void FocusMemory::OnActivate(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE) return;
  HWND focus = GetFocus();
  if (focus && IsChild(window, focus)) focused_ = focus;
}

void FocusMemory::OnSetFocus() const {
  if (focused_ && IsWindow(focused_)) SetFocus(focused_);
}

std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

HWND CreateControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id, DWORD exStyle) {
  return CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD, x, y, width, height,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace common

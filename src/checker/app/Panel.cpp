#include "checker/app/Panel.h"

bool TPanel::Create(HWND parent, int id, bool flatBorder) {
  flatBorder_ = flatBorder;
  ClassSpec windowClass;
  windowClass.name = L"SanivoPanel";
  windowClass.background = GetSysColorBrush(COLOR_BTNFACE);
  return common::Window::Create(windowClass, WS_EX_CONTROLPARENT, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0,
                                0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT TPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
      return SendMessageW(GetAncestor(Handle(), GA_ROOT), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
      // Labels stand on the panel's own colour.
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (handChild_ != nullptr && reinterpret_cast<HWND>(wParam) == handChild_ &&
          LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_SIZE:
      Redraw();
      if (OnResize) OnResize();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(Handle(), &ps);
      surface_.BlitTo(dc, ps.rcPaint);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_SYSCOLORCHANGE:
      Redraw();
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void TPanel::Redraw() {
  RECT r;
  GetClientRect(Handle(), &r);
  surface_.Resize(r.right, r.bottom, GetSysColor(COLOR_BTNFACE));
  if (flatBorder_) {
    const uint32_t line = GetSysColor(COLOR_BTNSHADOW);
    surface_.FillRect(0, 0, r.right, 1, line);
    surface_.FillRect(0, r.bottom - 1, r.right, r.bottom, line);
    surface_.FillRect(0, 0, 1, r.bottom, line);
    surface_.FillRect(r.right - 1, 0, r.right, r.bottom, line);
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

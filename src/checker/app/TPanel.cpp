#include "checker/app/TPanel.h"

TPanel::~TPanel() { Destroy(); }

bool TPanel::Create(HWND parent, int id, bool flatBorder) {
  flatBorder_ = flatBorder;
  return common::Window::Create(ClassSpec::ButtonFace(L"SanivoPanel"), WS_EX_CONTROLPARENT, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0,
                                0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

HWND TPanel::AddPushButton(const wchar_t* caption, int left, int id, HFONT font) {
  constexpr int kWidth = 75, kHeight = 25, kTop = 8;
  const HWND button = common::CreateControl(L"BUTTON", caption,
                                            WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, left, kTop,
                                            kWidth, kHeight, Handle(), id);
  if (button) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return button;
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
    case WM_SYSCOLORCHANGE: {
      RECT r;
      GetClientRect(Handle(), &r);
      Compose(r.right, r.bottom);
      break;
    }
  }
  return SurfaceWindow::HandleMessage(message, wParam, lParam);
}

void TPanel::Compose(int width, int height) {
  common::MemorySurface& surface = DrawingSurface();
  surface.Resize(width, height, GetSysColor(COLOR_BTNFACE));
  if (flatBorder_) {
    const uint32_t line = GetSysColor(COLOR_BTNSHADOW);
    surface.FillRect(0, 0, width, 1, line);
    surface.FillRect(0, height - 1, width, height, line);
    surface.FillRect(0, 0, 1, height, line);
    surface.FillRect(width - 1, 0, width, height, line);
  }
  Present();
}

void TPanel::OnResize(int /*width*/, int /*height*/) {
  if (resized_) resized_();
}

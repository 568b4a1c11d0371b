#include "common/dialog.h"

#include "common/keyboard.h"

namespace common {

void DialogHelper::Attach(HWND window, HWND firstFocus, HACCEL shortcuts) {
  window_ = window;
  focused_ = firstFocus;
  RegisterKeyboard(window, shortcuts, true);
}

void DialogHelper::GiveFocus() const {
  if (focused_ && IsWindow(focused_)) SetFocus(focused_);
}

bool DialogHelper::OnMessage(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focused_ = focus;
      }
      return false;
    case WM_SETFOCUS:
      GiveFocus();
      return true;
    default:
      return false;
  }
}

}  // namespace common

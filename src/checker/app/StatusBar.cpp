#include "checker/app/StatusBar.h"

#include <commctrl.h>

#include <vector>

bool StatusBar::Create(HWND parent, int id, HFONT font) {
  hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                          0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  int right = kPanelWidth;
  SendMessageW(hwnd_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
  return true;
}

void StatusBar::SetText(const std::wstring& text) {
  SendMessageW(hwnd_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::Text() const {
  const auto length = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, 0, 0));
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(hwnd_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer.data()));
  return buffer.data();
}

int StatusBar::Height() const {
  RECT r = {};
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}

void StatusBar::Resize() { SendMessageW(hwnd_, WM_SIZE, 0, 0); }

#include "checker/app/Hints.h"

#include <commctrl.h>

bool Hints::Create(HWND owner) {
  owner_ = owner;
  tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  return static_cast<bool>(tooltip_);
}

void Hints::Set(HWND control, const std::wstring& text) {
  if (!tooltip_) return;
  TTTOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  std::wstring copy = text;
  tool.lpszText = copy.data();
  const auto known = texts_.find(control);
  if (text.empty()) {
    if (known != texts_.end())
      SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    texts_.erase(control);
    return;
  }
  SendMessageW(tooltip_.Get(), known == texts_.end() ? TTM_ADDTOOLW : TTM_UPDATETIPTEXTW, 0,
               reinterpret_cast<LPARAM>(&tool));
  texts_[control] = text;
}

std::wstring Hints::Get(HWND control) const {
  const auto known = texts_.find(control);
  return known == texts_.end() ? std::wstring() : known->second;
}

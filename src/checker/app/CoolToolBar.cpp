#include "checker/app/CoolToolBar.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

#include "checker/app/CommandIds.h"
#include "common/text.h"

namespace {

constexpr int kButtonWidth = 55;
constexpr int kButtonHeight = 51;
constexpr int kBandHeight = 52;
constexpr int kSeparatorWidth = 20;

struct ToolButtonSpec {
  int command;
  int image;  // -1: a separator
  const wchar_t* caption;
  const wchar_t* hint;
  bool hidden;
};

// ToolButton1, ToolButton8, ToolButton2, ToolButton3, ToolButton4, ToolButton7, ToolButton5,
// ToolButton9, left to right.
constexpr ToolButtonSpec kButtons[] = {
    {cmd::kScan, 0, L"  扫描  ", L"扫描系统错误", false},
    {cmd::kRepairAll, 1, L"全部修复", L"修复所有扫描到的错误", true},
    {cmd::kRepair, 2, L"  修复  ", L"修复选中的错误", true},
    {cmd::kToolButton3, -1, nullptr, nullptr, false},
    {cmd::kBackup, 3, L"  备份  ", L"注册表备份", false},
    {cmd::kRestore, 4, L"  恢复  ", L"注册表恢复", false},
    {cmd::kToolButton5, -1, nullptr, nullptr, false},
    {cmd::kHistory, 5, L"历史日志", L"修复历史日志", false},
};

}  // namespace

bool CoolToolBar::Create(HWND parent, HIMAGELIST images, HIMAGELIST hotImages, HFONT font) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  coolBar_ = CreateWindowExW(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                 RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                             0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(cmd::kCoolBar1)), module,
                             nullptr);
  if (!coolBar_) return false;
  toolBar_ = CreateWindowExW(
      0, TOOLBARCLASSNAMEW, nullptr,
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
          CCS_NODIVIDER | CCS_NOPARENTALIGN,
      0, 0, 0, 0, coolBar_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(cmd::kToolBar1)), module,
      nullptr);
  if (!toolBar_) return false;
  SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // Clicks and hint requests go straight to the main window, not to the band that holds it.
  SendMessageW(toolBar_, TB_SETPARENT, reinterpret_cast<WPARAM>(parent), 0);
  SendMessageW(toolBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  SendMessageW(toolBar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages));

  std::vector<TBBUTTON> buttons;
  for (const ToolButtonSpec& entry : kButtons) {
    TBBUTTON button = {};
    button.idCommand = entry.command;
    if (entry.image < 0) {
      button.iBitmap = kSeparatorWidth;  // a separator's width
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = entry.image;
      button.fsStyle = BTNS_BUTTON;
      button.fsState = TBSTATE_ENABLED | (entry.hidden ? TBSTATE_HIDDEN : 0);
      button.iString = reinterpret_cast<INT_PTR>(entry.caption);
      hints_[entry.command] = entry.hint;
    }
    buttons.push_back(button);
  }
  SendMessageW(toolBar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageW(toolBar_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(kButtonWidth, kButtonWidth));
  SendMessageW(toolBar_, TB_SETMAXTEXTROWS, 1, 0);
  KeepButtonSize();

  REBARBANDINFOW band = {};
  band.cbSize = REBARBANDINFOW_V6_SIZE;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
  band.fStyle = RBBS_NOGRIPPER | RBBS_CHILDEDGE;
  band.hwndChild = toolBar_;
  band.cyMinChild = kBandHeight;
  band.cyChild = kBandHeight;
  band.cyMaxChild = kBandHeight;
  band.cxMinChild = 0;
  band.cx = 0;
  SendMessageW(coolBar_, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
  return true;
}

void CoolToolBar::KeepButtonSize() {
  // The control measures its buttons again after every change of a caption or of the buttons
  // shown, from its own idea of the caption's height; the buttons keep their designed size.
  SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
}

int CoolToolBar::Height() const {
  RECT r = {};
  if (coolBar_) GetWindowRect(coolBar_, &r);
  return r.bottom - r.top;
}

void CoolToolBar::Resize(int width) {
  if (!coolBar_) return;
  const int height = static_cast<int>(SendMessageW(coolBar_, RB_GETBARHEIGHT, 0, 0));
  MoveWindow(coolBar_, 0, 0, width, height, TRUE);
}

std::wstring CoolToolBar::Caption(int command) const {
  return common::ReadText([&](wchar_t* buffer, int size) {
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = buffer;
    info.cchText = size;
    SendMessageW(toolBar_, TB_GETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    return static_cast<int>(wcsnlen(buffer, static_cast<size_t>(size)));
  });
}

void CoolToolBar::SetCaption(int command, const std::wstring& caption) {
  std::wstring copy = caption;
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT;
  info.pszText = copy.data();
  SendMessageW(toolBar_, TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
  KeepButtonSize();
}

bool CoolToolBar::Hidden(int command) const {
  return SendMessageW(toolBar_, TB_ISBUTTONHIDDEN, command, 0) != 0;
}

void CoolToolBar::SetHidden(int command, bool hidden) {
  SendMessageW(toolBar_, TB_HIDEBUTTON, command, MAKELPARAM(hidden ? TRUE : FALSE, 0));
  KeepButtonSize();
}

std::wstring CoolToolBar::Hint(int command) const {
  const auto hint = hints_.find(command);
  return hint == hints_.end() ? std::wstring() : hint->second;
}

bool CoolToolBar::HandleNotify(NMHDR* header) {
  if (header->code != TTN_GETDISPINFOW ||
      header->hwndFrom != reinterpret_cast<HWND>(SendMessageW(toolBar_, TB_GETTOOLTIPS, 0, 0)))
    return false;
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
  const auto hint = hints_.find(static_cast<int>(header->idFrom));
  if (hint == hints_.end()) return false;
  info->lpszText = const_cast<wchar_t*>(hint->second.c_str());
  info->hinst = nullptr;
  return true;
}

#include "checker/app/MainMenus.h"

#include <commctrl.h>

#include <algorithm>

#include "checker/app/CommandIds.h"
#include "common/text.h"

namespace {

constexpr int kSeparator = 0;
constexpr int kPictureGap = 4;

struct ItemSpec {
  int command;  // kSeparator: a separator
  const wchar_t* caption;
  const wchar_t* shortcut;  // shown right-aligned; the key itself is in the accelerator table
  bool disabled;
};

// File_menu: Backup_menu, Restore_menu, N2, Exit_menu.
constexpr ItemSpec kFileMenu[] = {
    {cmd::kBackup, L"注册表备份(&B)", nullptr, false},
    {cmd::kRestore, L"注册表恢复(&R)", nullptr, false},
    {kSeparator, nullptr, nullptr, false},
    {cmd::kExit, L"退出(&X)", L"F10", false},
};
// Sanivo_menu: Scan_menu, N3, Repair_menu, Repairall_menu, Ignore_menu, N5, RepairHistory1,
// ClearRepairHistory1, N4, IgnoreList_menu. Ignore_menu is enabled while a row is selected.
constexpr ItemSpec kSanivoMenu[] = {
    {cmd::kScan, L"扫描", L"Ctrl+S", false},
    {kSeparator, nullptr, nullptr, false},
    {cmd::kRepair, L"修复", L"Ctrl+R", true},
    {cmd::kRepairAll, L"全部修复", L"Ctrl+Alt+R", true},
    {cmd::kIgnore, L"忽略此项", nullptr, true},
    {kSeparator, nullptr, nullptr, false},
    {cmd::kHistory, L"历史日志", L"Ctrl+H", false},
    {cmd::kClearHistory, L"清空历史日志", L"Ctrl+C", false},
    {kSeparator, nullptr, nullptr, false},
    {cmd::kIgnoreList, L"忽略列表", nullptr, false},
};
// Help_menu: Help1, N6, N7, N8, N1, Windows1.
constexpr ItemSpec kHelpMenu[] = {
    {cmd::kHelp, L"帮助", L"F1", false},
    {kSeparator, nullptr, nullptr, false},
    {cmd::kContact, L"通过电子邮件与作者联系", nullptr, false},
    {cmd::kHomePage, L"访问作者主页", nullptr, false},
    {kSeparator, nullptr, nullptr, false},
    {cmd::kAbout, L"关于Sanivo", nullptr, false},
};
// PopupMenu1: Pop_Repair, Pop_All, N9, Pop_Ignore (enabled while a row is selected).
constexpr ItemSpec kPopupMenu[] = {
    {cmd::kPopRepair, L"修复(&R)", nullptr, true},
    {cmd::kPopAll, L"全部修复(&A)", nullptr, true},
    {kSeparator, nullptr, nullptr, false},
    {cmd::kIgnore, L"忽略此项", nullptr, true},
};

template <size_t N>
HMENU BuildMenu(const ItemSpec (&items)[N]) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  // Pictures stand in the check-mark column, so that every caption starts at the same place and
  // the shortcut column is measured from it.
  MENUINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_CHECKORBMP;
  SetMenuInfo(menu, &info);
  for (const ItemSpec& entry : items) {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    if (entry.command == kSeparator) {
      item.fMask = MIIM_FTYPE;
      item.fType = MFT_SEPARATOR;
    } else {
      std::wstring text = entry.caption;
      if (entry.shortcut) text += std::wstring(L"\t") + entry.shortcut;
      item.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
      item.wID = static_cast<UINT>(entry.command);
      item.dwTypeData = text.data();
      item.fState = entry.disabled ? MFS_DISABLED : MFS_ENABLED;
      if (MainMenus::ImageOf(entry.command) >= 0) {
        item.fMask |= MIIM_BITMAP;
        item.hbmpItem = HBMMENU_CALLBACK;
      }
      InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &item);
      continue;
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &item);
  }
  return menu;
}

std::wstring ItemText(HMENU menu, int command) {
  return common::ReadText([&](wchar_t* buffer, int size) {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = buffer;
    item.cch = static_cast<UINT>(size);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(command), FALSE, &item)) return 0;
    return static_cast<int>(item.cch);
  });
}

}  // namespace

bool MainMenus::Create() {
  bar_.Reset(CreateMenu());
  popup_.Reset(BuildMenu(kPopupMenu));
  if (!bar_ || !popup_) return false;
  const struct {
    const wchar_t* caption;
    HMENU menu;
  } menus[] = {{L"文件(&F)", BuildMenu(kFileMenu)},
               {L"Sanivo(&S)", BuildMenu(kSanivoMenu)},
               {L"帮助(&H)", BuildMenu(kHelpMenu)}};
  for (const auto& menu : menus)
    AppendMenuW(bar_.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu.menu),
                menu.caption);
  barHandle_ = bar_.Get();

  ACCEL keys[] = {
      {FVIRTKEY, VK_F10, cmd::kExit},
      {FVIRTKEY | FCONTROL, 'S', cmd::kScan},
      {FVIRTKEY | FCONTROL, 'R', cmd::kRepair},
      {FVIRTKEY | FCONTROL | FALT, 'R', cmd::kRepairAll},
      {FVIRTKEY | FCONTROL, 'H', cmd::kHistory},
      {FVIRTKEY | FCONTROL, 'C', cmd::kClearHistory},
      {FVIRTKEY, VK_F1, cmd::kHelp},
  };
  accelerators_.Reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
  return static_cast<bool>(accelerators_);
}

std::wstring MainMenus::Caption(HMENU menu, int command) const {
  const std::wstring text = ItemText(menu, command);
  return text.substr(0, text.find(L'\t'));
}

std::wstring MainMenus::Shortcut(HMENU menu, int command) const {
  const std::wstring text = ItemText(menu, command);
  const size_t tab = text.find(L'\t');
  return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

void MainMenus::SetCaption(HMENU menu, int command, const std::wstring& caption) {
  const std::wstring shortcut = Shortcut(menu, command);
  std::wstring text = shortcut.empty() ? caption : caption + L"\t" + shortcut;
  MENUITEMINFOW item = {};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STRING;
  item.dwTypeData = text.data();
  SetMenuItemInfoW(menu, static_cast<UINT>(command), FALSE, &item);
}

bool MainMenus::Enabled(HMENU menu, int command) const {
  const UINT state = GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_DISABLED | MF_GRAYED));
}

void MainMenus::Enable(HMENU menu, int command, bool enabled) {
  EnableMenuItem(menu, static_cast<UINT>(command),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

int MainMenus::ImageOf(int command) {
  switch (command) {
    case cmd::kScan:
      return 1;
    case cmd::kRepair:
      return 2;
    case cmd::kRepairAll:
      return 3;
    case cmd::kBackup:
      return 4;
    case cmd::kRestore:
      return 5;
    case cmd::kHistory:
      return 6;
    case cmd::kHomePage:
      return 7;  // N8
    case cmd::kContact:
      return 8;  // N7
    case cmd::kPopRepair:
      return 3;
    case cmd::kPopAll:
      return 2;
    default:
      return -1;
  }
}

bool MainMenus::Measure(MEASUREITEMSTRUCT* item) {
  if (item->CtlType != ODT_MENU || ImageOf(static_cast<int>(item->itemID)) < 0) return false;
  item->itemWidth = 16 + kPictureGap;  // a little air between picture and caption
  item->itemHeight = 16;
  return true;
}

bool MainMenus::Draw(const DRAWITEMSTRUCT* item, HIMAGELIST images) {
  const int image = ImageOf(static_cast<int>(item->itemID));
  if (item->CtlType != ODT_MENU || image < 0) return false;
  const RECT& r = item->rcItem;
  IMAGELISTDRAWPARAMS draw = {};
  draw.cbSize = sizeof(draw);
  draw.himl = images;
  draw.i = image;
  draw.hdcDst = item->hDC;
  draw.x = r.left + std::max<int>(0, (r.right - r.left - 16 - kPictureGap) / 2);
  draw.y = r.top + (r.bottom - r.top - 16) / 2;
  draw.rgbBk = CLR_NONE;
  draw.rgbFg = CLR_NONE;
  draw.fStyle = ILD_TRANSPARENT;
  // A disabled item shows its picture washed out.
  if (item->itemState & (ODS_GRAYED | ODS_DISABLED)) draw.fState = ILS_SATURATE;
  ImageList_DrawIndirect(&draw);
  return true;
}

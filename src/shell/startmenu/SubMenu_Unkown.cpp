#include "shell/startmenu/SubMenu_Unkown.h"

#include <utility>

SubMenu_Unkown::SubMenu_Unkown(EntryLookup startMenuEntry)
    : SubMenuWindow(L"SubMenu_Unkown", std::move(startMenuEntry)) {}

SubMenu_Unkown::~SubMenu_Unkown() { Destroy(); }

void SubMenu_Unkown::LoadContent() {
  MenuButton::Events events;
  events.MouseOver = [this](int16_t i) { MenuButton1_MouseOver(i); };
  StackEntries({{L"开始未知子菜单...", true, true, false, MenuButton::kWarningPicture}}, kEntryWidth,
               events);
}

void SubMenu_Unkown::MenuButton1_MouseOver(int16_t /*index*/) { HighlightOpener(); }

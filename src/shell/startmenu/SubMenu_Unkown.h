#pragma once
// The fallback submenu, for an entry that has no category of its own: one entry
// "开始未知子菜单..." with the warning picture, and no action.
#include "shell/startmenu/SubMenuWindow.h"

class SubMenu_Unkown : public SubMenuWindow {
 public:
  static constexpr double kEntryWidth = 2775;  // twips (185 pixels)

  explicit SubMenu_Unkown(EntryLookup startMenuEntry);
  ~SubMenu_Unkown() override;

  MenuButton& MenuButton1() { return Button(0); }

  void MenuButton1_MouseOver(int16_t index);

 protected:
  void LoadContent() override;
};

#include "shell/startmenu/SubMenu_Unkown.h"

#include <utility>

SubMenu_Unkown::SubMenu_Unkown(EntryLookup startMenuEntry)
    : SubMenuWindow(L"SubMenu_Unkown", std::move(startMenuEntry)) {}

SubMenu_Unkown::~SubMenu_Unkown() { Destroy(); }

SIZE SubMenu_Unkown::LoadContent() {
  MenuButton::Events events;
  events.MouseOver = [this](int16_t i) { MenuButton1_MouseOver(i); };
  menuButton1_ = std::make_unique<MenuButton>(0, MenuButton::Hold{}, events);
  menuButton1_->Create(Handle(), kEntryWidth);
  menuButton1_->SetVisible(true);
  menuButton1_->SetCapBottom(true);
  menuButton1_->SetCapTop(true);
  menuButton1_->SetLeft(0);
  menuButton1_->SetTop(0);
  menuButton1_->SetCaption(L"开始未知子菜单...");
  menuButton1_->SetIcon(MenuButton::kWarningPicture);
  menuButton1_->SubClassMe();
  return {static_cast<LONG>(menuButton1_->Width()),
          static_cast<LONG>(menuButton1_->Top() + menuButton1_->Height())};
}

void SubMenu_Unkown::StopTracking() {
  if (menuButton1_) menuButton1_->UnSubClassMe();
}

void SubMenu_Unkown::MenuButton1_MouseOver(int16_t /*index*/) { HighlightOpener(); }

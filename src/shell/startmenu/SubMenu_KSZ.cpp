#include "shell/startmenu/SubMenu_KSZ.h"

#include <utility>

SubMenu_KSZ::SubMenu_KSZ(int category, const rwini::IniFile& config, LinkOpener openLink,
                         EntryLookup startMenuEntry)
    : SubMenuWindow(NameFor(category), std::move(startMenuEntry)),
      category_(category),
      config_(config),
      openLink_(std::move(openLink)) {}

SubMenu_KSZ::~SubMenu_KSZ() { Destroy(); }

std::wstring SubMenu_KSZ::NameFor(int category) {
  return category == kInternetCategory ? L"SubMenu_Internet"
                                       : L"SubMenu_KSZ" + std::to_wstring(category);
}

std::wstring SubMenu_KSZ::CaptionKey(int category, int m) {
  return L"KS" + std::to_wstring(category) + L"_" + std::to_wstring(m) + L"_Caption";
}

std::wstring SubMenu_KSZ::LinkKey(int category, int m) {
  return L"KS" + std::to_wstring(category) + L"_" + std::to_wstring(m) + L"_Link";
}

SIZE SubMenu_KSZ::LoadContent() {
  MenuButton::Events events;
  events.MouseOver = [this](int16_t i) { Button_MouseOver(i); };
  events.MouseUp = [this](int16_t i) { Button_MouseUp(i); };
  const MenuButton::Hold saved;  // every entry starts from the first one's saved properties
  for (int i = 0; i < kEntries; ++i) {
    auto entry = std::make_unique<MenuButton>(static_cast<int16_t>(i), saved, events);
    entry->Create(Handle(), kEntryWidth);
    const std::wstring caption =
        config_.ReadIni(rwini::kSection, CaptionKey(category_, i + 1), L"");
    if (i == 0) {
      entry->SetCapTop(true);
      entry->SetCapBottom(true);
      entry->SetTop(0);
      entry->SetCaption(caption);
      entry->SetVisible(true);
    } else {
      entry->SetCapBottom(i == kEntries - 1);
      entry->SetCapTop(false);
      const MenuButton& above = *buttons_[static_cast<size_t>(i - 1)];
      entry->SetTop(above.Top() + above.Height());
      entry->SetVisible(true);
      entry->SetCaption(caption);
    }
    entry->SetLeft(0);
    entry->SubClassMe();
    buttons_[static_cast<size_t>(i)] = std::move(entry);
  }
  const MenuButton& last = *buttons_.back();
  return {static_cast<LONG>(buttons_[0]->Width()), static_cast<LONG>(last.Top() + last.Height())};
}

void SubMenu_KSZ::UnloadAll() {
  for (auto& entry : buttons_)
    if (entry) entry->UnSubClassMe();
}

void SubMenu_KSZ::Button_MouseOver(int16_t /*index*/) { HighlightOpener(); }

void SubMenu_KSZ::Button_MouseUp(int16_t index) {
  if (index < 0 || index >= kEntries) return;
  // Read now, not at load: an edited link works at the next click.
  const std::wstring link = config_.ReadIni(rwini::kSection, LinkKey(category_, index + 1), L"");
  if (openLink_) openLink_(Handle(), link);
}

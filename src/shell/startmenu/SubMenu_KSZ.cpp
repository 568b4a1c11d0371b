#include "shell/startmenu/SubMenu_KSZ.h"

#include <utility>
#include <vector>

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

void SubMenu_KSZ::LoadContent() {
  // Separator lines above the first entry and below the first and the last.
  std::vector<EntryDesign> table;
  for (int i = 0; i < kEntries; ++i)
    table.push_back({config_.ReadIni(rwini::kSection, CaptionKey(category_, i + 1), L""), i == 0,
                     i == 0 || i == kEntries - 1});
  MenuButton::Events events;
  events.MouseOver = [this](int16_t i) { Button_MouseOver(i); };
  events.MouseUp = [this](int16_t i) { Button_MouseUp(i); };
  StackEntries(table, kEntryWidth, events);
}

void SubMenu_KSZ::Button_MouseOver(int16_t /*index*/) { HighlightOpener(); }

void SubMenu_KSZ::Button_MouseUp(int16_t index) {
  if (index < 0 || index >= kEntries) return;
  // Read now, not at load: an edited link works at the next click.
  const std::wstring link = config_.ReadIni(rwini::kSection, LinkKey(category_, index + 1), L"");
  if (openLink_) openLink_(Handle(), link);
}

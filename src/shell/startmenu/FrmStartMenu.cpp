#include "shell/startmenu/FrmStartMenu.h"

#include <utility>

#include "common/MakerSite.h"
#include "common/screen.h"
#include "shell/startmenu/SubMenu_KSZ.h"
#include "shell/startmenu/SubMenu_Unkown.h"
#include "shell/startmenu/frmMenu.h"

namespace {

constexpr int16_t EntryIndex(StartMenuEntry entry) { return static_cast<int16_t>(entry); }

constexpr bool IsCategory(int index) {
  return index >= EntryIndex(StartMenuEntry::FirstCategory) &&
         index <= EntryIndex(StartMenuEntry::LastCategory);
}

// The exit entry's shut-down runs once the click's own handling is over: the entry's tracker raised
// the click and must not be torn down inside it.
constexpr UINT kEndShell = WM_APP + EntryIndex(StartMenuEntry::Exit);

// Captions of the fixed entries, Feedback ... Exit.
constexpr const wchar_t* kFixedCaptions[] = {L"软件交流",    L"网络搜索", L"软件帮助", L"软件更新",
                                             L"系统运行...", L"系统注销", L"退出软件"};

}  // namespace

FrmStartMenu::FrmStartMenu(const rwini::IniFile& config, Services services)
    : PopupMenu({L"ZephraStartMenu", L"Form2", kStartMenuFade, kStartMenuFade}),
      config_(config),
      services_(std::move(services)),
      runDialog_([this](const std::wstring& line, int show) {
        if (services_.startCommand) services_.startCommand(line, show);
      }),
      searchBar_([this](HWND owner, const std::wstring& address) {
        if (services_.openLink) services_.openLink(owner, address);
      }) {}

FrmStartMenu::~FrmStartMenu() { Destroy(); }

std::wstring FrmStartMenu::LogOffCommandLine() {
  return std::wstring(L"rundll32.exe url.dll,FileProtocolHandler ") + L"shutdown -l -t 30";
}

void FrmStartMenu::LoadContent() {
  buttonOver_ = false;
  placeholder_ = std::make_unique<frmMenu>();
  placeholder_->Load(Owner());
  xForm_ = placeholder_.get();

  // Entry 0 is the maker's; the categories' captions are read once, at load (a missing key is
  // written back empty and shows no caption); pictures 18 (top) ... 1.
  std::vector<EntryDesign> table;
  for (int i = 0; i < kEntries; ++i) {
    const auto which = static_cast<StartMenuEntry>(i);
    EntryDesign entry;
    if (which == StartMenuEntry::MakerHome)
      entry.caption = L"Lumora";
    else if (IsCategory(i))
      entry.caption =
          config_.ReadIni(rwini::kSection, L"KS" + std::to_wstring(i) + L"_Caption", L"");
    else
      entry.caption = kFixedCaptions[i - EntryIndex(StartMenuEntry::Feedback)];
    entry.capTop = which == StartMenuEntry::MakerHome || which == StartMenuEntry::Run;
    entry.capBottom = which == StartMenuEntry::MakerHome || which == StartMenuEntry::Run ||
                      which == StartMenuEntry::Exit;
    entry.arrow = IsCategory(i);
    entry.icon = MenuButton::kLastPicture - 1 - i;
    table.push_back(entry);
  }
  MenuButton::Events events;
  events.MouseOver = [this](int16_t i) { Button_MouseOver(i); };
  events.MouseUp = [this](int16_t i) { Button_MouseUp(i); };
  StackEntries(table, kEntryWidth, events);
}

SubMenuWindow& FrmStartMenu::SubmenuFor(int16_t index) {
  auto lookup = [this](int16_t i) { return Entry(i); };
  SubMenuWindow* menu = nullptr;
  if (IsCategory(index)) {
    auto& category = categories_[static_cast<size_t>(index)];
    if (!category)
      category = std::make_unique<SubMenu_KSZ>(index, config_, services_.openLink, lookup);
    menu = category.get();
  } else {
    if (!unkown_) unkown_ = std::make_unique<SubMenu_Unkown>(lookup);
    menu = unkown_.get();
  }
  menu->Load(Owner());  // once, on first use
  return *menu;
}

void FrmStartMenu::HideXForm() {
  if (xForm_) xForm_->Hide();
}

void FrmStartMenu::HideForm() {
  if (!Loaded()) return;
  HideXForm();
  // Already hidden (another window was activated meanwhile): nothing left to fade.
  if (!IsWindowVisible(Handle()) && !Fade().Running()) return;
  // The events pending after the submenu went run inside the fade's guard, so a click on the
  // start button among them turns this fade-out around rather than being undone by it.
  Fade().FadeOut(Handle(), true);
}

void FrmStartMenu::HideNow() {
  HideXForm();
  Hide();
}

void FrmStartMenu::Button_MouseOver(int16_t Index) {
  // Back from a submenu onto its own entry: the submenu stays. (The index is kept while the
  // menu is closed, so after a reopen the entry hovered last opens nothing until another one
  // was hovered.)
  if (Index == currentIndex_) return;
  previousIndex_ = currentIndex_;
  currentIndex_ = Index;
  if (MenuButton* previous = Entry(previousIndex_)) previous->LoadGUI();
  HideXForm();
  MenuButton* entry = Entry(Index);
  if (entry == nullptr || !entry->Arrow()) return;
  buttonOver_ = true;
  SubMenuWindow& menu = SubmenuFor(Index);
  xForm_ = &menu;
  // Two pixels above the entry, five pixels into the menu's right edge, at every dpi: counted
  // from the edge as it lies in pixels (a width of 242.5 pixels shows as 242).
  menu.SetTop(entry->Top() + Top() - common::PixelsToTwipsY(2));
  const int right = common::TwipsToPixelsX(Left()) + common::TwipsToPixelsX(Width());
  menu.SetLeft(common::PixelsToTwipsX(right - kSubmenuOverlap));
  // Known before the fade, whose events may already bring the pointer into the submenu.
  menu.SetButtonIndex(Index);
  menu.ShowForm();
  // The pointer may have moved on to another entry during the fade; that entry's submenu is
  // the current one now and this one is hidden again: leave both as they are. The menu itself
  // may have gone as well (another window was activated).
  if (xForm_ != &menu) return;
  if (!Visible()) {
    menu.Hide();
    return;
  }
  menu.ZOrder();
  menu.SetButtonIndex(Index);
  menu.MakeTopmost();
}

void FrmStartMenu::Button_MouseUp(int16_t Index) {
  if (xForm_) xForm_->ZOrder();
  HWND self = Handle();
  switch (static_cast<StartMenuEntry>(Index)) {
    case StartMenuEntry::MakerHome:
      if (services_.openLink) services_.openLink(self, MakerSite::HomePage());
      break;
    case StartMenuEntry::Feedback:
    case StartMenuEntry::Help:
    case StartMenuEntry::Update:
      if (services_.openLink) services_.openLink(self, MakerSite::GuestbookPage());
      break;
    case StartMenuEntry::WebSearch:
      searchBar_.ShowBar(Owner());
      break;
    case StartMenuEntry::Run:
      runDialog_.ShowDialog();
      break;
    case StartMenuEntry::LogOff:
      if (services_.startCommand) services_.startCommand(LogOffCommandLine(), SW_SHOWNORMAL);
      break;
    case StartMenuEntry::Exit:
      PostMessageW(self, kEndShell, 0, 0);
      break;
    default:  // categories: the click only brings their submenu to the front
      break;
  }
}

void FrmStartMenu::CloseSubmenu(SubMenuWindow* menu) {
  if (menu) menu->Unload();
}

void FrmStartMenu::UnloadXForm() { CloseSubmenu(xForm_); }

void FrmStartMenu::Unload() {
  Fade().onStep = nullptr;
  PopupMenu::Unload();
  CloseSubmenu(placeholder_.get());
  CloseSubmenu(categories_[SubMenu_KSZ::kInternetCategory].get());
  CloseSubmenu(unkown_.get());
}

void FrmStartMenu::UnloadRemaining() {
  for (auto& category : categories_) CloseSubmenu(category.get());
  CloseSubmenu(unkown_.get());
  runDialog_.Destroy();
  searchBar_.Destroy();
}

LRESULT FrmStartMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KILLFOCUS:
      // Should the menu ever hold the focus, losing it makes the menu invisible, without a fade.
      HideNow();
      return 0;
    case WM_ACTIVATEAPP:
      // The menu never takes the activation, so it hears of the user turning to another window
      // here: every window of the shell is told when another program's window becomes active.
      // Both menus go at once, without a fade.
      if (!wParam) HideNow();
      return 0;
    case kEndShell:
      if (services_.endShell) services_.endShell();
      return 0;
    case WM_CLOSE:
      UnloadAll();
      Destroy();
      return 0;
    default:
      return PopupMenu::HandleMessage(message, wParam, lParam);
  }
}

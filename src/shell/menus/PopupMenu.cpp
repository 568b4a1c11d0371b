#include "shell/menus/PopupMenu.h"

#include <utility>

#include "common/owner.h"
#include "common/screen.h"

namespace {
constexpr wchar_t kOwnerClass[] = L"ZephraShellMenus";
}  // namespace

PopupMenu::PopupMenu(Design design)
    : design_(std::move(design)), fade_(design_.fadeIn, design_.fadeOut) {}

PopupMenu::~PopupMenu() { Destroy(); }

bool PopupMenu::Load(HWND owner) {
  if (Loaded()) return true;
  if (owner == nullptr) {
    ownOwner_ = common::CreateHiddenOwner(kOwnerClass, L"ZephraShell");
    owner = ownOwner_.Get();
  }
  ClassSpec windowClass;
  windowClass.name = design_.className;
  // Owned by the hidden window and without WS_EX_APPWINDOW: not in the taskbar.
  if (!Create(windowClass, 0, design_.title, WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, owner))
    return false;
  LoadContent();
  return true;
}

HWND PopupMenu::Owner() const { return Loaded() ? GetWindow(Handle(), GW_OWNER) : nullptr; }

void PopupMenu::StackEntries(const std::vector<EntryDesign>& table, double widthTwips,
                             const MenuButton::Events& events) {
  const MenuButton::Hold saved;  // every entry starts as a copy of the first one's
  entries_.clear();
  for (size_t i = 0; i < table.size(); ++i) {
    const EntryDesign& design = table[i];
    auto entry = std::make_unique<MenuButton>(static_cast<int16_t>(i), saved, events);
    entry->Create(Handle(), widthTwips);
    entry->SetCapTop(design.capTop);
    entry->SetCapBottom(design.capBottom);
    // Every property set repaints, so the entry above already has its final height.
    entry->SetTop(entries_.empty() ? 0 : entries_.back()->Top() + entries_.back()->Height());
    entry->SetVisible(true);
    entry->SetCaption(design.caption);
    entry->SetArrow(design.arrow);
    entry->SetIcon(design.icon);
    entry->SetLeft(0);
    entry->SubClassMe();
    entries_.push_back(std::move(entry));
  }
  if (entries_.empty()) return;
  widthTwips_ = entries_.front()->Width();
  heightTwips_ = entries_.back()->Top() + entries_.back()->Height();
  SetWindowPos(Handle(), nullptr, 0, 0, common::TwipsToPixelsX(widthTwips_),
               common::TwipsToPixelsY(heightTwips_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PopupMenu::SetLeft(double twips) { Move(twips, topTwips_); }

void PopupMenu::SetTop(double twips) { Move(leftTwips_, twips); }

void PopupMenu::Move(double leftTwips, double topTwips) {
  leftTwips_ = leftTwips;
  topTwips_ = topTwips;
  Place();
}

void PopupMenu::Place() {
  if (Loaded())
    SetWindowPos(Handle(), nullptr, common::TwipsToPixelsX(leftTwips_),
                 common::TwipsToPixelsY(topTwips_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PopupMenu::ShowForm() {
  if (Loaded()) fade_.FadeIn(Handle());
}

void PopupMenu::Hide() {
  if (Loaded()) ShowWindow(Handle(), SW_HIDE);
}

void PopupMenu::ZOrder() {
  if (Loaded())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PopupMenu::MakeTopmost() {
  if (Loaded())
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void PopupMenu::UnloadAll() {
  for (auto& entry : entries_) entry->UnSubClassMe();
}

void PopupMenu::Unload() {
  if (!Loaded()) return;
  Hide();
  UnloadAll();
  Destroy();
}

MenuButton* PopupMenu::Entry(int16_t index) {
  if (!Loaded() || index < 0 || index >= EntryCount()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

LRESULT PopupMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      // A click on a menu leaves the activation with the window the user works in, as menus do.
      return MA_NOACTIVATE;
    case WM_CLOSE:
      Unload();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

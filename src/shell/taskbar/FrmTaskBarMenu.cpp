#include "shell/taskbar/FrmTaskBarMenu.h"

#include <utility>

#include "common/owner.h"
#include "common/screen.h"
#include "common/text.h"

namespace {

constexpr wchar_t kClassName[] = L"ZephraTaskBarMenu";
constexpr wchar_t kOwnerClass[] = L"ZephraShellMenus";

struct EntryDesign {
  const wchar_t* caption;
  bool capTop, capBottom;
  const wchar_t* message;  // null: the entry switches the look
};
constexpr EntryDesign kDesign[FrmTaskBarMenu::kEntries] = {
    {L"自定义颜色", true, true, L"自定义功能完善中..."},
    {L"Zephra", false, false, nullptr},
    {L"立体灰", false, false, nullptr},
    {L"XP蓝色", false, false, L"XP蓝色功能完善中..."},
    {L"XP绿色", false, false, L"XP绿色功能完善中..."},
    {L"XP银色", false, true, L"XP银色功能完善中..."},
};

}  // namespace

FrmTaskBarMenu::FrmTaskBarMenu(TaskBar& taskBar, MessageShower showMessage)
    : taskBar_(taskBar), showMessage_(std::move(showMessage)) {}

FrmTaskBarMenu::~FrmTaskBarMenu() { Destroy(); }

void FrmTaskBarMenu::ShowMessageBox(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), L"ZephraShell", MB_OK);
}

bool FrmTaskBarMenu::Load() {
  if (Handle() != nullptr) return true;
  owner_ = common::CreateHiddenOwner(kOwnerClass, L"ZephraShell");
  ClassSpec windowClass;
  windowClass.name = kClassName;
  // Owned by the hidden window and without WS_EX_APPWINDOW: not in the taskbar.
  if (!Create(windowClass, 0, L"FrmTaskBarMenu", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0,
              owner_.Get()))
    return false;
  MenuButton::Events events;
  events.MouseDown = [this](int16_t i) { Button_MouseDown(i); };
  const MenuButton::Hold saved;  // every entry starts as a copy of the first one's
  for (int i = 0; i < kEntries; ++i) {
    auto entry = std::make_unique<MenuButton>(static_cast<int16_t>(i), saved, events);
    entry->Create(Handle(), kEntryWidth);
    entry->SetCapTop(kDesign[i].capTop);
    entry->SetCapBottom(kDesign[i].capBottom);
    if (i == 0) {
      entry->SetTop(0);
    } else {
      // Every property set repaints, so the entry above already has its final height.
      const MenuButton& above = *buttons_[static_cast<size_t>(i - 1)];
      entry->SetTop(above.Top() + above.Height());
    }
    entry->SetVisible(true);
    entry->SetCaption(kDesign[i].caption);
    entry->SetLeft(0);
    entry->SubClassMe();
    buttons_[static_cast<size_t>(i)] = std::move(entry);
  }
  const MenuButton& last = *buttons_.back();
  widthTwips_ = buttons_.front()->Width();
  heightTwips_ = last.Top() + last.Height();
  SetWindowPos(Handle(), nullptr, 0, 0, common::TwipsToPixelsX(widthTwips_),
               common::TwipsToPixelsY(heightTwips_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void FrmTaskBarMenu::Move(double leftTwips, double topTwips) {
  if (Handle() == nullptr) return;
  SetWindowPos(Handle(), nullptr, common::TwipsToPixelsX(leftTwips),
               common::TwipsToPixelsY(topTwips), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmTaskBarMenu::ShowForm() {
  if (Handle() == nullptr) return;
  // Above the application windows, like the start menu, without taking the activation.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  fade_.FadeIn(Handle());
}

void FrmTaskBarMenu::SwitchLook(int32_t style) {
  taskBar_.SetStyle(style);  // the strip's background at once
  taskBar_.Repaint();        // the task buttons in the new look, the fixed buttons again
}

void FrmTaskBarMenu::Button_MouseDown(int16_t Index) {
  if (Index < 0 || Index >= kEntries) return;
  switch (static_cast<TaskBarMenuEntry>(Index)) {
    case TaskBarMenuEntry::Flat:
      SwitchLook(1);
      break;
    case TaskBarMenuEntry::Grey3D:
      SwitchLook(0);
      break;
    default:
      if (showMessage_) showMessage_(kDesign[Index].message);
      break;
  }
  if (Handle() != nullptr) ShowWindow(Handle(), SW_HIDE);
}

void FrmTaskBarMenu::UnloadAll() {
  for (auto& entry : buttons_)
    if (entry) entry->UnSubClassMe();
}

void FrmTaskBarMenu::Unload() {
  if (Handle() == nullptr) return;
  ShowWindow(Handle(), SW_HIDE);
  UnloadAll();
  Destroy();
}

LRESULT FrmTaskBarMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      // A press on an entry leaves the activation with the window the user works in.
      return MA_NOACTIVATE;
    case WM_CLOSE:
      Unload();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

#include "shell/taskbar/FrmTaskBarMenu.h"

#include <utility>
#include <vector>

namespace {

struct EntryAction {
  const wchar_t* caption;
  bool capTop, capBottom;
  const wchar_t* message;  // null: the entry switches the look
};
constexpr EntryAction kEntryActions[FrmTaskBarMenu::kEntries] = {
    {L"自定义颜色", true, true, L"自定义功能完善中..."},
    {L"Zephra", false, false, nullptr},
    {L"立体灰", false, false, nullptr},
    {L"XP蓝色", false, false, L"XP蓝色功能完善中..."},
    {L"XP绿色", false, false, L"XP绿色功能完善中..."},
    {L"XP银色", false, true, L"XP银色功能完善中..."},
};

}  // namespace

FrmTaskBarMenu::FrmTaskBarMenu(TaskBar& taskBar, MessageShower showMessage)
    : PopupMenu({L"ZephraTaskBarMenu", L"FrmTaskBarMenu", kSmallMenuFadeIn, kSmallMenuFadeOut}),
      taskBar_(taskBar),
      showMessage_(std::move(showMessage)) {}

FrmTaskBarMenu::~FrmTaskBarMenu() { Destroy(); }

void FrmTaskBarMenu::ShowMessageBox(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), L"ZephraShell", MB_OK);
}

void FrmTaskBarMenu::LoadContent() {
  std::vector<EntryDesign> table;
  for (const EntryAction& entry : kEntryActions)
    table.push_back({entry.caption, entry.capTop, entry.capBottom});
  MenuButton::Events events;
  events.MouseDown = [this](int16_t i) { Button_MouseDown(i); };
  StackEntries(table, kEntryWidth, events);
}

void FrmTaskBarMenu::ShowForm() {
  if (!Loaded()) return;
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PopupMenu::ShowForm();
}

void FrmTaskBarMenu::SwitchLook(TaskBarStyle style) {
  taskBar_.SetStyle(style);  // the strip's background at once
  taskBar_.Repaint();        // the task buttons in the new look, the fixed buttons again
}

void FrmTaskBarMenu::Button_MouseDown(int16_t Index) {
  if (Index < 0 || Index >= kEntries) return;
  switch (static_cast<TaskBarMenuEntry>(Index)) {
    case TaskBarMenuEntry::Flat:
      SwitchLook(TaskBarStyle::Flat);
      break;
    case TaskBarMenuEntry::Grey3D:
      SwitchLook(TaskBarStyle::Grey3D);
      break;
    default:
      if (showMessage_) showMessage_(kEntryActions[Index].message);
      break;
  }
  Hide();
}

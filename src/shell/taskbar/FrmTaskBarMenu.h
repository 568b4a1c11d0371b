#pragma once
// The taskbar's look menu: a small pop-up that a right click on the strip opens, made of six
// skinned entries stacked from top to bottom. Two switch the strip between its flat look
// ("Zephra") and its 3D grey look ("立体灰") and rebuild it; the other four only say that they
// are not ready yet. It fades in when shown and stays until one of its entries is pressed. The
// window is made on first use and lives until the shell exits. UI thread only.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "shell/menus/PopupMenu.h"
#include "shell/taskbar/TaskBar.h"

// The entries by index, top to bottom.
enum class TaskBarMenuEntry : int16_t {
  CustomColour = 0,  // 自定义颜色
  Flat = 1,          // Zephra: the flat look
  Grey3D = 2,        // 立体灰: the 3D grey look
  XpBlue = 3,        // XP蓝色
  XpGreen = 4,       // XP绿色
  XpSilver = 5,      // XP银色
};

class FrmTaskBarMenu : public PopupMenu {
 public:
  // Shows a modal message box without owner, captioned "ZephraShell", with an OK button and
  // no icon; tests record the texts instead.
  using MessageShower = std::function<void(const std::wstring& text)>;

  static constexpr int kEntries = 6;
  static constexpr double kEntryWidth = 1800;  // twips (120 pixels)

  FrmTaskBarMenu(TaskBar& taskBar, MessageShower showMessage);
  ~FrmTaskBarMenu() override;

  // The real message box.
  static void ShowMessageBox(const std::wstring& text);

  // Above the application windows, like the start menu, without taking the activation; faded in.
  void ShowForm() override;

  // An entry's left button went down.
  void Button_MouseDown(int16_t Index);

 protected:
  void LoadContent() override;

 private:
  void SwitchLook(TaskBarStyle style);

  TaskBar& taskBar_;
  MessageShower showMessage_;
};

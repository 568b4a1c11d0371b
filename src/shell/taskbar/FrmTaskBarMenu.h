#pragma once
// The taskbar's look menu: a small borderless pop-up that a right click on the strip opens, made
// of six skinned entries stacked from top to bottom. Two switch the strip between its flat look
// ("Zephra") and its 3D grey look ("立体灰") and rebuild it; the other four only say that they
// are not ready yet. It fades in when shown and stays until one of its entries is pressed. The
// window is made on first use and lives until the shell exits. UI thread only.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/handles.h"
#include "common/window.h"
#include "shell/startmenu/MenuButton.h"
#include "shell/startmenu/MenuFade.h"
#include "shell/taskbar/TaskBar.h"

// The entries by index, top to bottom.
enum class TaskBarMenuEntry : int16_t {
  CustomColour = 0,  // 自定义颜色
  Flat = 1,          // Zephra: Style 1
  Grey3D = 2,        // 立体灰: Style 0
  XpBlue = 3,        // XP蓝色
  XpGreen = 4,       // XP绿色
  XpSilver = 5,      // XP银色
};

class FrmTaskBarMenu : public common::Window, public TaskBarPopup {
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

  // TaskBarPopup: made on first use, placed in twips by the taskbar, faded in.
  bool Load() override;
  double Width() const override { return widthTwips_; }
  double Height() const override { return heightTwips_; }
  void Move(double leftTwips, double topTwips) override;
  void ShowForm() override;

  // Stops the entries' hover tracking.
  void UnloadAll();
  // Closing at shut-down: hidden, UnloadAll, destroyed.
  void Unload();

  MenuButton& Button(int index) { return *buttons_.at(static_cast<size_t>(index)); }
  MenuFade& Fade() { return fade_; }

  // An entry's left button went down.
  void Button_MouseDown(int16_t Index);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void SwitchLook(int32_t style);

  TaskBar& taskBar_;
  MessageShower showMessage_;
  common::WindowHandle owner_;  // hidden: keeps the menu out of every task list
  std::array<std::unique_ptr<MenuButton>, kEntries> buttons_;
  MenuFade fade_{{100, 10}, {255, 10}};  // 100, 110 ... 250, then opaque
  double widthTwips_ = 0, heightTwips_ = 0;
};

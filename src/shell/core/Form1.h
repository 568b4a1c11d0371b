#pragma once
// The desktop window: the first window of the shell and the last to close. It covers the screen
// behind every other window, paints the gradient background, takes the desktop over from the
// Windows shell at start (hides its taskbar, reserves the bottom strip) and gives it back at exit.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/dialog.h"
#include "common/handles.h"
#include "common/surface_window.h"
#include "shell/core/ShellServices.h"
#include "shell/core/StartKeys.h"
#include "shell/core/ctlIcon.h"
#include "shell/core/rwini.h"
#include "shell/startmenu/FrmStartMenu.h"
#include "shell/taskbar/FrmTaskBarMenu.h"
#include "shell/taskbar/TaskBar.h"
#include "shell/taskbar/TrayWindow.h"

class Form1 : public common::SurfaceWindow {
 public:
  // Background colours (0x00BBGGRR): left edge and right edge.
  static constexpr int32_t kStartColor = 0x431F13;
  static constexpr int32_t kEndColor = 0x7C4227;
  // Height in pixels of the shell's own taskbar strip.
  static constexpr int kStripHeight = TaskBar::kHeightPixels;

  Form1(const rwini::IniFile& config, ShellServices services);
  ~Form1() override;

  // Start-up: takes the desktop over and shows the window. False if it could not be created.
  bool Load();

  // Orderly shut-down of the whole shell: the Windows taskbar and the work area go back first,
  // then every window is unloaded in a fixed order, then the message loop ends (the process
  // ends when the program returns, not from inside the click that asked for it).
  void UnloadAll();

  // Sets the desktop icons' captions from the configuration and puts them at their left edge.
  void LoadIcons();

  // Major and minor version of the program ("1.0"), computed once.
  std::wstring GetMyVersion();

  // The taskbar's click on fixed button Index: 1 opens the start menu, 2 to 7 their links.
  void TaskBarButtonClicked(int16_t Index, int16_t Button);
  // The Windows key alone or Ctrl+Esc: opens the start menu as the start button does, or
  // closes it (with its submenu) when it is open.
  void ToggleStartMenu();
  bool StartKeysHooked() const { return startKeys_.Installed(); }

  float TrayHeight() const { return trayHeight_; }
  bool MenuShown() const { return menuShown_; }
  HWND ExitButton() const { return command1_; }
  // The taskbar, also for the taskbar menu, which changes its look.
  TaskBar& TaskBar1() { return taskBar1_; }
  FrmStartMenu& StartMenu() { return frmStartMenu_; }
  FrmTaskBarMenu& TaskBarMenu() { return frmTaskBarMenu_; }
  // The shell's end of the notification protocol, while the shell has the desktop.
  TrayWindow& Tray() { return tray_; }
  ctlIcon& Icon(int index) { return *icons_.at(static_cast<size_t>(index)); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The gradient background over the whole window.
  void Compose(int width, int height) override;
  // The taskbar stays along the bottom edge.
  void OnResize(int width, int height) override;

 private:
  void DesktopMouseMove();
  void CloseStartMenu();
  // A new Windows taskbar was announced: hide it and reserve the strip again, at most once a
  // second.
  void TaskbarCreated();
  void TakeDesktopBack();
  void CloseHandler();
  void Unload();
  void OpenLink(const std::wstring& key);
  void CreateIcons();
  void CreateTaskBar();
  void EnableQuickLaunch(bool enable);
  void LoadStartMenu();
  // Serves the notification protocol from now on and asks running programs for their icons.
  void StartTray();
  // Gives the protocol back: the tray window goes and programs add their icons to Explorer's.
  void CloseTray();
  void PlaceTray();

  const rwini::IniFile& config_;
  ShellServices services_;
  common::WindowHandle owner_;  // hidden application window: keeps Form1 out of task lists
  common::Font buttonFont_;
  HWND command1_ = nullptr;  // exit button
  HWND command2_ = nullptr;  // hidden: disables quick-launch buttons 1 to 7
  HWND command3_ = nullptr;  // hidden: enables them again
  TaskBar taskBar1_;
  TrayWindow tray_;  // made once the Windows taskbar is hidden
  FrmTaskBarMenu frmTaskBarMenu_;  // made at the first right click on the strip
  FrmStartMenu frmStartMenu_;      // loaded at start, hidden until the start button opens it
  std::vector<std::unique_ptr<ctlIcon>> icons_;  // ctlIcon1 0 ... 4
  common::DialogHelper dialog_;  // Tab from the exit button over the taskbar to the icons
  StartKeyHook startKeys_;       // the Windows key and Ctrl+Esc open the start menu
  float trayHeight_ = 0;
  bool menuShown_ = false;
  bool unloading_ = false;
  UINT taskbarCreated_ = 0;    // the registered "TaskbarCreated" message
  uint64_t lastTakeBack_ = 0;  // tick count of the last take-back
  std::wstring versionText_;
};

#pragma once
// StatusBar1: the status bar at the bottom of the main window, one panel 400 pixels wide that
// shows every status text of the checker.
#include <windows.h>

#include <string>

class StatusBar {
 public:
  static constexpr int kPanelWidth = 400;

  bool Create(HWND parent, int id, HFONT font);
  HWND Handle() const { return hwnd_; }
  void SetText(const std::wstring& text);
  std::wstring Text() const;
  int Height() const;
  // Follows the size of the main window.
  void Resize();

 private:
  HWND hwnd_ = nullptr;  // a child window, destroyed with its parent
};

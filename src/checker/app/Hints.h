#pragma once
// Hints of the main window's buttons: one tooltip control with a tool per button.
#include <windows.h>

#include <map>
#include <string>

#include "common/handles.h"

class Hints {
 public:
  bool Create(HWND owner);
  // Sets (or first adds) the hint of a control; an empty text removes it.
  void Set(HWND control, const std::wstring& text);
  std::wstring Get(HWND control) const;

 private:
  common::WindowHandle tooltip_;
  HWND owner_ = nullptr;
  std::map<HWND, std::wstring> texts_;
};

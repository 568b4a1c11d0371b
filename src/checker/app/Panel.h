#pragma once
// A panel: a plain child window that holds other controls, painted in the button face colour,
// optionally with a thin flat border. It passes its children's commands and notifications on to
// the top-level window, so the main window handles every control in one place.
#include <windows.h>

#include <functional>

#include "common/surface.h"
#include "common/window.h"

class TPanel : public common::Window {
 public:
  bool Create(HWND parent, int id, bool flatBorder);

  // Called after every change of size (the panel's OnResize).
  std::function<void()> OnResize;
  // Child that shows the hand cursor.
  void SetHandCursorChild(HWND child) { handChild_ = child; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Redraw();
  common::MemorySurface surface_;  // the panel's face, blitted in WM_PAINT
  bool flatBorder_ = false;
  HWND handChild_ = nullptr;
};

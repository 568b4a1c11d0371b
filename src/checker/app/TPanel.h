#pragma once
// A panel: a plain child window that holds other controls, painted in the button face colour,
// optionally with a thin flat border. It passes its children's commands and notifications on to
// the top-level window, so the main window handles every control in one place.
#include <windows.h>

#include <functional>
#include <utility>

#include "common/surface_window.h"

class TPanel : public common::SurfaceWindow {
 public:
  ~TPanel() override;

  bool Create(HWND parent, int id, bool flatBorder);
  // A push button of the checker's tool windows (75 x 25 pixels, 8 pixels from the panel's top)
  // at `left`, in `font`; null when it cannot be made.
  HWND AddPushButton(const wchar_t* caption, int left, int id, HFONT font);

  // Called after every change of size (the panel's OnResize event).
  void SetResizeHandler(std::function<void()> handler) { resized_ = std::move(handler); }
  // Child that shows the hand cursor.
  void SetHandCursorChild(HWND child) { handChild_ = child; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Compose(int width, int height) override;
  void OnResize(int width, int height) override;

 private:
  std::function<void()> resized_;
  bool flatBorder_ = false;
  HWND handChild_ = nullptr;
};

#pragma once
// A window whose face is kept in a memory surface: erase, print-client (how themed controls ask
// for what lies behind them) and paint are answered from the surface, and every change of size
// calls Compose, so that a window says only how its face looks.
#include <windows.h>

#include "common/surface.h"
#include "common/window.h"

namespace common {

class SurfaceWindow : public Window {
 public:
  const MemorySurface& Surface() const { return surface_; }

 protected:
  // On every WM_SIZE, with the new client size: sizes the surface as the window needs (most
  // cover the client area) and draws the face into it. A size of 0 x 0 comes with minimising.
  virtual void Compose(int width, int height) = 0;
  // On every WM_SIZE, after Compose: places what the window holds.
  virtual void OnResize(int /*width*/, int /*height*/) {}

  MemorySurface& DrawingSurface() { return surface_; }
  // Shows what was drawn: the whole window, or an area of it, is painted again from the surface.
  void Present();
  void Present(const RECT& area);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  MemorySurface surface_;
};

}  // namespace common

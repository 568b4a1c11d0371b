#pragma once
// A window whose face is kept in a memory surface: erase, print-client (how themed controls ask
// for what lies behind them) and paint are answered from the surface, and every change of size
// calls Compose, so that a window says only how its face looks.
//
// It also follows the pointer for the skinned buttons, which know nothing of hover by
// themselves: while tracking is on, the window hears when the pointer comes to rest on it (again
// after every movement, since the system's hover and leave notices are asked for anew at every
// move), when the pointer leaves it, and when the left button goes down and up on it. A window
// that keeps the pointer from press to release gets it back whatever its release handler does.
#include <windows.h>

#include "common/surface.h"
#include "common/window.h"

namespace common {

class SurfaceWindow : public Window {
 public:
  const MemorySurface& Surface() const { return surface_; }

  // Pointer tracking on (the hover and leave notices are asked for at once) or off (notices
  // still on their way are ignored). It ends with the window.
  void StartPointerTracking();
  void StopPointerTracking();
  bool PointerTracking() const { return tracking_; }

 protected:
  // On every WM_SIZE, with the new client size: sizes the surface as the window needs (most
  // cover the client area) and draws the face into it. A size of 0 x 0 comes with minimising.
  virtual void Compose(int width, int height) = 0;
  // On every WM_SIZE, after Compose: places what the window holds.
  virtual void OnResize(int /*width*/, int /*height*/) {}

  // The pointer's events, while tracking is on. A handler may stop the tracking.
  virtual void OnPointerOver() {}
  virtual void OnPointerOut() {}
  virtual void OnLeftButtonDown() {}
  virtual void OnLeftButtonUp() {}
  // The window keeps the pointer from a left press to its release, so that a release off the
  // window still reaches it (whether tracking is on or not).
  void KeepPointerWhilePressed(bool keep) { keepsPointer_ = keep; }

  MemorySurface& DrawingSurface() { return surface_; }
  // Shows what was drawn: the whole window, or an area of it, is painted again from the surface.
  void Present();
  void Present(const RECT& area);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ArmPointerNotices() const;
  void LeftButtonUp();

  MemorySurface surface_;
  bool tracking_ = false;
  bool keepsPointer_ = false;
};

}  // namespace common

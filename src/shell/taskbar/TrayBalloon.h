#pragma once
// The balloon a notification-area icon asked for: a pop-up above the icon with a picture (info,
// warning, error, or the icon's own), a bold title and the text, shown for its time. It never
// takes the activation. A click on it, or its time running out, ends it and says which. UI thread
// only.
#include <windows.h>

#include <functional>
#include <string>

#include "common/handles.h"
#include "common/surface_window.h"
#include "shell/taskbar/TrayIcons.h"

class TrayBalloon : public common::SurfaceWindow {
 public:
  enum class End { Clicked, TimedOut };
  using EndHandler = std::function<void(End)>;

  static constexpr UINT_PTR kTimer = 1;

  TrayBalloon() = default;
  ~TrayBalloon() override;

  void SetEndHandler(EndHandler handler) { ended_ = std::move(handler); }
  // Shows the balloon with its lower edge on `anchor`'s y, its tip area reaching towards
  // anchor's x, kept on the screen; `userIcon` for NIIF_USER (the icon's own picture).
  bool Show(const TrayBalloonRequest& request, POINT anchor, HICON userIcon);
  // Takes it away without an event.
  void Hide();
  bool Shown() const { return Handle() != nullptr && IsWindowVisible(Handle()) != FALSE; }
  const std::wstring& Title() const { return title_; }
  const std::wstring& Text() const { return text_; }

 protected:
  void Compose(int width, int height) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool EnsureWindow();
  SIZE Measure();
  void Finish(End end);

  EndHandler ended_;
  std::wstring title_;
  std::wstring text_;
  HICON picture_ = nullptr;  // a shared system icon, or ownPicture_
  common::IconHandle ownPicture_;  // a copy of the tray icon's: its owner may change it meanwhile
  int pictureSize_ = 16;
  common::Font titleFont_;
  common::Font textFont_;
};

#pragma once
// A desktop icon: a picture with a two-line caption below it, white with a black shadow, on a
// background that lets the desktop show through. Its face is composed in an inner box on magenta
// (0xFF00FF); every magenta pixel is left out of the control's shape, so the pointer over such
// a pixel is over the desktop. The drawing surface (Surface()) is that inner box. The icon raises
// its focus events with its index; the desktop opens the icon's link when it gains the focus.
#include <windows.h>

#include <functional>
#include <string>

#include "common/handles.h"
#include "common/surface_window.h"

class ctlIcon : public common::SurfaceWindow {
 public:
  // The inner box is designed in twips (50 x 73 pixels on a standard screen) and grows with the
  // dpi as the caption's font does; the control is as wide as the box and 7 pixels taller.
  static constexpr double kBoxWidthTwips = 750, kBoxHeightTwips = 1095;
  static constexpr int kExtraHeight = 7;
  static constexpr uint32_t kMaskColor = 0xFF00FF;

  struct Events {
    std::function<void(int index)> gotFocus;
    std::function<void(int index)> lostFocus;
  };

  ctlIcon(int index, Events events);
  ~ctlIcon() override;

  // Creates the control with its saved properties: the caption stored as it is, without the line
  // rule. The picture is copied; the caller keeps its own.
  bool Create(HWND parent, int x, int y, HBITMAP picture, const std::wstring& savedCaption);

  int Index() const { return index_; }

  // Every caption set here takes at least two lines: a line break is appended unless the text
  // already has one.
  void SetCaption(const std::wstring& caption);
  const std::wstring& Caption() const { return caption_; }

  // Erases what is drawn on the inner box; the picture stays.
  void Clear();
  // Composes the face: shadow, caption, shape, size.
  void LoadGUI();
  // Draws the caption centred between Offest and the box's right edge, its last line ending at
  // the box's bottom edge shifted down by Offest2.
  void WriteCaption(const std::wstring& Caption, int Offest, int Offest2, COLORREF Color);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The box keeps its size; a caption change composes it (Clear, LoadGUI).
  void Compose(int /*width*/, int /*height*/) override {}

 private:
  void ApplyShape();
  int BoxWidth() const { return Surface().Width(); }
  int BoxHeight() const { return Surface().Height(); }

  int index_;
  Events events_;
  std::wstring caption_;
  common::Bitmap picture_;
  common::Font font_;
  bool focusGivenBack_ = false;  // has the focus, handed back by the desktop, not opened yet
};

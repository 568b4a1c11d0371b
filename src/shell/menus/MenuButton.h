#pragma once
// The skinned entry that the start menu, the category submenus and the taskbar menu are made
// of: a strip 25 pixels high (27 or 29 with separator lines) that paints itself from the
// compiled-in skin images in its normal, highlighted and pressed looks, with an optional
// picture at the left, an optional submenu arrow at the right and a caption with a one-pixel
// shadow. It follows the pointer with a hover tracker and reports to its container, with its
// index, when the pointer comes to rest on it, leaves it, and when the left button goes down
// and up over it. What an entry does is its container's business.
//
// The control's own client area is its drawing surface (`Picture1`): a memory bitmap that keeps
// what is painted and is copied to the screen on WM_PAINT. UI thread only.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/handles.h"
#include "common/surface_window.h"
#include "shell/core/SkinImage.h"

class MenuButton : public common::SurfaceWindow {
 public:
  // The saved properties ("Hold_CapTop", "Hold_CapBottom", "Hold_Caption", "Hold_Icon") that an
  // entry is created with; a container's new entries start as a copy of its first entry's.
  struct Hold {
    bool CapTop = false;
    bool CapBottom = false;
    std::wstring Caption = L"null";
    int32_t Icon = 0;
  };

  // Raised with the entry's index in the container's group.
  struct Events {
    std::function<void(int16_t index)> MouseOver;
    std::function<void(int16_t index)> MouseOut;
    std::function<void(int16_t index)> MouseDown;
    std::function<void(int16_t index)> MouseUp;
  };

  // Values of ButtonOver: after a highlighting on the pointer's arrival, after a normal repaint.
  static constexpr int16_t kOverPainted = 3;
  static constexpr int16_t kNormalPainted = -1;

  // Fixed geometry in pixels.
  static constexpr int kBodyHeight = 25;
  static constexpr int kSeparatorHeight = 2;
  static constexpr int kCaptionOffset = 25;  // WriteCaption's default Offest is one more
  static constexpr int32_t kShadowSilver = 12632256;
  static constexpr int16_t kPressedBrightness = 50;
  // Built-in pictures 1 ... 19; the last one is the warning sign.
  static constexpr int32_t kFirstPicture = 1, kLastPicture = 19, kWarningPicture = kLastPicture;

  MenuButton(int16_t index, Hold saved, Events events);
  ~MenuButton() override;

  // Creates the control, hidden, as a child of `parent` at the top left corner with the given
  // width in twips. Nothing is painted until the first property set or LoadGUI.
  bool Create(HWND parent, double widthTwips);

  int16_t Index() const { return index_; }

  // Properties: setting one stores the value and repaints the normal look; reading does not
  // repaint.
  bool Arrow() const { return arrow_; }
  int32_t Icon() const { return icon_; }
  const std::wstring& Caption() const { return caption_; }
  bool CapTop() const { return capTop_; }
  bool CapBottom() const { return capBottom_; }
  void SetArrow(bool StrValue) { SetAndRepaint(arrow_, StrValue); }
  void SetIcon(int32_t StrValue) { SetAndRepaint(icon_, StrValue); }
  void SetCaption(const std::wstring& StrValue) { SetAndRepaint(caption_, StrValue); }
  void SetCapTop(bool StrValue) { SetAndRepaint(capTop_, StrValue); }
  void SetCapBottom(bool StrValue) { SetAndRepaint(capBottom_, StrValue); }

  // Place and size in twips, as containers keep them.
  double Left() const { return leftTwips_; }
  void SetLeft(double twips);
  double Top() const { return topTwips_; }
  void SetTop(double twips);
  double Width() const { return widthTwips_; }
  void SetWidth(double twips);
  // The painted rows (25, 27 or 29) in twips at the screen's real twips per pixel.
  double Height() const { return heightTwips_; }
  void SetVisible(bool visible);

  // The normal look.
  void LoadGUI();
  // The highlighted look, painted over the normal one, its band brightened by Brightness.
  void LoadGUI_OVER(int16_t Brightness = 0);
  // Draws the caption in the current text colour, Offest pixels (+ 4) from the left and Offest2
  // below the centre line.
  void WriteCaption(const std::wstring& Caption, int16_t Offest = 26, int16_t Offest2 = 1);
  // Paints built-in picture 1 ... 19 at the top left corner; other numbers paint nothing.
  void FindIcon(int32_t Icon);

  // Hover tracking on and off.
  void SubClassMe() { StartPointerTracking(); }
  void UnSubClassMe() { StopPointerTracking(); }

  // Hover state: kOverPainted after a pointer-enter repaint, kNormalPainted after every normal
  // repaint, 0 before the first paint.
  int16_t ButtonOver() const { return buttonOver_; }

 protected:
  // A container's new width: the surface follows and the normal look is painted.
  void Compose(int width, int height) override;
  void OnPointerOver() override;
  void OnPointerOut() override;
  void OnLeftButtonDown() override;
  void OnLeftButtonUp() override;

 private:
  template <class T>
  void SetAndRepaint(T& property, const T& value) {
    property = value;
    LoadGUI();
  }
  int16_t PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX, int16_t OffsetY,
                    bool Enabled, int16_t Brightness);
  // Sizes the control and its surface for the current separators (the surface keeps its
  // pixels when the size does not change).
  void FitHeight();

  void Raise(const std::function<void(int16_t)>& event);

  int16_t index_;
  Events events_;
  int16_t buttonOver_ = 0;
  bool arrow_ = false;
  int32_t icon_;
  std::wstring caption_;
  bool capTop_;
  bool capBottom_;
  double leftTwips_ = 0, topTwips_ = 0, widthTwips_ = 0, heightTwips_ = 0;
  bool bold_ = false;
  COLORREF textColor_ = 0;
  common::Font font_;
  common::Font boldFont_;
};

#include "shell/menus/MenuButton.h"

#include <string>
#include <utility>

#include "common/font.h"
#include "common/screen.h"
#include "common/text.h"
#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"

namespace {

constexpr wchar_t kClassName[] = L"ZephraMenuButton";
// Tahoma, 9 points; crisp, as menus of this size are drawn: no smoothing at the edges.
common::Font MakeFont(int weight) {
  return common::CreatePointFont(L"Tahoma", 9, weight, DEFAULT_CHARSET, NONANTIALIASED_QUALITY);
}

}  // namespace

MenuButton::MenuButton(int16_t index, Hold saved, Events events)
    : index_(index),
      events_(std::move(events)),
      icon_(saved.Icon),
      caption_(std::move(saved.Caption)),
      capTop_(saved.CapTop),
      capBottom_(saved.CapBottom) {}

MenuButton::~MenuButton() { Destroy(); }

bool MenuButton::Create(HWND parent, double widthTwips) {
  widthTwips_ = widthTwips;
  font_ = MakeFont(FW_NORMAL);
  boldFont_ = MakeFont(FW_BOLD);
  ClassSpec windowClass;
  windowClass.name = kClassName;
  if (!Window::Create(windowClass, 0, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                      common::TwipsToPixelsX(widthTwips), kBodyHeight, parent))
    return false;
  LoadGUI();  // the first sizing paints
  return true;
}

// --- properties ---------------------------------------------------------------------------

void MenuButton::SetLeft(double twips) {
  leftTwips_ = twips;
  SetWindowPos(Handle(), nullptr, common::TwipsToPixelsX(leftTwips_),
               common::TwipsToPixelsY(topTwips_), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuButton::SetTop(double twips) {
  topTwips_ = twips;
  SetLeft(leftTwips_);
}

void MenuButton::SetWidth(double twips) {
  widthTwips_ = twips;
  RECT rect = {};
  GetClientRect(Handle(), &rect);
  // The new width reaches the surface through WM_SIZE, which repaints.
  SetWindowPos(Handle(), nullptr, 0, 0, common::TwipsToPixelsX(widthTwips_), rect.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuButton::SetVisible(bool visible) { ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE); }

// --- painting -----------------------------------------------------------------------------

int16_t MenuButton::PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX,
                              int16_t OffsetY, bool Enabled, int16_t Brightness) {
  return ::PaintSkin(DrawingSurface(), SkinRules::Control(), RunLength, Skin, OffsetX, OffsetY,
                     Enabled, Brightness);
}

void MenuButton::FitHeight() {
  const int rows =
      kBodyHeight + (capTop_ ? kSeparatorHeight : 0) + (capBottom_ ? kSeparatorHeight : 0);
  // Rows of pixels at the screen's real twips per pixel: containers stack entries by these
  // heights, so an entry must be exactly as high as what it paints at every dpi.
  heightTwips_ = common::PixelsToTwipsY(rows);
  if (Handle() == nullptr) return;
  const int width = common::TwipsToPixelsX(widthTwips_);
  const int height = common::TwipsToPixelsY(heightTwips_);
  // The surface first: the WM_SIZE of the move then finds it fitting and does not repaint.
  common::MemorySurface& surface = DrawingSurface();
  if (surface.Width() != width || surface.Height() != height) surface.Resize(width, height);
  RECT rect = {};
  GetClientRect(Handle(), &rect);
  if (rect.right != width || rect.bottom != height)
    SetWindowPos(Handle(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuButton::LoadGUI() {
  using namespace SkinImages;
  buttonOver_ = kNormalPainted;
  FitHeight();
  if (Surface().Empty()) return;
  const auto W = static_cast<int16_t>(Surface().Width());
  int16_t T = 0;
  if (capTop_) {
    PaintSkin(1, MenuDividerEnd(), 0, 0, true, 0);
    PaintSkin(W - 2, MenuDividerTop(), 1, 0, true, 0);
    PaintSkin(1, MenuDividerEnd(), W - 1, 0, true, 0);
    T = kSeparatorHeight;
  }
  PaintSkin(1, MenuOuterEdge(), 0, T, true, 0);
  PaintSkin(1, MenuInnerLeftEdge(), 1, T, true, 0);
  PaintSkin(W - 4, MenuBody(), 2, T, true, 0);
  PaintSkin(1, MenuInnerRightEdge(), W - 2, T, true, 0);
  PaintSkin(1, MenuOuterEdge(), W - 1, T, true, 0);
  if (arrow_) PaintSkin(1, MenuArrow(), W - 13, T, true, 0);
  if (capBottom_) {
    const auto y = static_cast<int16_t>(T + kBodyHeight);
    PaintSkin(1, MenuDividerEnd(), 0, y, true, 0);
    PaintSkin(W - 2, MenuDividerBottom(), 1, y, true, 0);
    PaintSkin(1, MenuDividerEnd(), W - 1, y, true, 0);
  }
  bold_ = false;
  // Black caption with a silver shadow 2 pixels right and 1 below.
  textColor_ = kShadowSilver;
  WriteCaption(caption_, kCaptionOffset + 2, 1);
  textColor_ = 0;
  WriteCaption(caption_, kCaptionOffset, 0);
  FindIcon(icon_);
  Present();
}

void MenuButton::LoadGUI_OVER(int16_t Brightness) {
  using namespace SkinImages;
  FitHeight();
  if (Surface().Empty()) return;
  const auto W = static_cast<int16_t>(Surface().Width());
  const int16_t T = capTop_ ? kSeparatorHeight : 0;  // the separators stay as they are
  // Painted over the normal look: the band leaves the body's edge columns visible.
  PaintSkin(1, MenuHoverLeft(), 1, T, true, Brightness);
  PaintSkin(W - 6, MenuHoverBody(), 3, T, true, Brightness);
  PaintSkin(1, MenuHoverRight(), W - 4, T, true, Brightness);
  if (arrow_) PaintSkin(1, MenuHoverArrow(), W - 13, T, true, 0);
  // Bold white caption with a black shadow.
  bold_ = true;
  textColor_ = 0;
  WriteCaption(caption_, kCaptionOffset + 2, 1);
  textColor_ = RGB(255, 255, 255);
  WriteCaption(caption_, kCaptionOffset, 0);
  bold_ = false;
  FindIcon(icon_);
  Present();
}

void MenuButton::WriteCaption(const std::wstring& Caption, int16_t Offest, int16_t Offest2) {
  // Byte counts of the system's ANSI code page, as DrawTextA takes them.
  const std::string bytes = common::ToAnsi(Caption);
  const int n = static_cast<int>(bytes.size());
  common::MemorySurface& surface = DrawingSurface();
  if (n == 0 || surface.Empty()) return;
  const int W = surface.Width();
  const int H = surface.Height();
  HDC dc = surface.Dc();
  common::ScopedSelect font(dc, bold_ ? boldFont_.Get() : font_.Get());
  RECT measure = {4 - Offest, -Offest2, W - 4, H - Offest2};
  const int h = DrawTextA(dc, bytes.data(), n, &measure, DT_CALCRECT | DT_CENTER);
  // Centred in the whole control, separators included.
  const auto y = static_cast<int>(common::RoundHalfEven(H / 2.0 - h / 2.0 + Offest2 + 0.5));
  RECT place = {Offest + 4, y, W - 4, h + H};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColor_);
  // One line, left and top aligned, cut at the rectangle's right edge.
  DrawTextA(dc, bytes.data(), n, &place, 0);
  GdiFlush();
}

void MenuButton::FindIcon(int32_t Icon) {
  if (Icon < kFirstPicture || Icon > kLastPicture) return;
  // At the very top left: a top separator does not move the picture down.
  PaintSkin(1, SkinImages::MenuPicture(Icon), 0, 0, true, 0);
}

// --- pointer ------------------------------------------------------------------------------

void MenuButton::Raise(const std::function<void(int16_t)>& event) {
  if (event) event(index_);
}

void MenuButton::OnPointerOver() {
  // The tracker reports the pointer at rest after every movement: one event per visit.
  if (buttonOver_ == kOverPainted) return;
  buttonOver_ = kOverPainted;
  LoadGUI_OVER(0);
  Raise(events_.MouseOver);
}

void MenuButton::OnPointerOut() {
  LoadGUI();
  Raise(events_.MouseOut);
}

void MenuButton::OnLeftButtonDown() {
  LoadGUI_OVER(kPressedBrightness);
  Raise(events_.MouseDown);
}

void MenuButton::OnLeftButtonUp() {
  LoadGUI_OVER(0);
  Raise(events_.MouseUp);
}

void MenuButton::Compose(int width, int /*height*/) {
  if (width != Surface().Width()) LoadGUI();
}

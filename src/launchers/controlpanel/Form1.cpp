#include "launchers/controlpanel/Form1.h"

#include <utility>

#include "common/keyboard.h"
#include "common/font.h"
#include "launchers/controlpanel/resources.h"

namespace palomid {

namespace {

constexpr int kFirstButtonId = 201;

}  // namespace

Form1::Form1(PalomidServices services) : services_(std::move(services)) {}

Form1::~Form1() = default;

bool Form1::Load(int show) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const int smallSize = GetSystemMetrics(SM_CXSMICON);
  smallIcon_.Reset(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(PALOMID_ICON), IMAGE_ICON, smallSize, smallSize, 0)));
  font_ = common::CreateSongTiFont(9);

  ClassSpec windowClass;
  windowClass.name = kClassName;
  windowClass.icon = LoadIconW(instance, MAKEINTRESOURCEW(PALOMID_ICON));
  const SIZE size = common::WindowSizeForClient(kClientWidth, kClientHeight, kStyle, 0);
  if (!Create(windowClass, WS_EX_CONTROLPARENT, kTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
              size.cx, size.cy, nullptr))
    return false;
  if (smallIcon_)
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  CreateButtons();
  common::RegisterKeyboard(Handle(), nullptr, true);  // Tab moves between the controls

  ShowWindow(Handle(), show);
  UpdateWindow(Handle());
  SetFocus(focus_.Get());
  return true;
}

void Form1::CreateButtons() {
  // Created by index, which is also the focus order.
  const auto& table = Command1Table();
  for (int i = 0; i < kCommandCount; ++i) {
    const Command1Entry& entry = table[static_cast<size_t>(i)];
    const RECT r = common::ToPixels({entry.left, entry.top, kButtonWidth, kButtonHeight});
    HWND button = common::CreateControl(
        L"BUTTON", entry.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, r.left, r.top,
        r.right - r.left, r.bottom - r.top, Handle(), kFirstButtonId + i);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    command1_.push_back(button);
  }
  focus_.Set(command1_.front());
}

HWND Form1::Command1(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(command1_.size())) return nullptr;
  return command1_[static_cast<size_t>(Index)];
}

void Form1::Compose(int width, int height) {
  // Nothing to draw while minimised (0 x 0); the restore composes again.
  if (!surface_.Resize(width, height, GetSysColor(COLOR_BTNFACE)) || surface_.Empty()) return;
  // Each frame is a one-pixel line in the window text colour, inside its rectangle.
  common::Pen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
  common::ScopedSelect selectPen(surface_.Dc(), pen.Get());
  common::ScopedSelect selectBrush(surface_.Dc(), GetStockObject(NULL_BRUSH));
  for (const common::TwipsRect& shape : ShapeTable()) {
    const RECT r = common::ToPixels(shape);
    Rectangle(surface_.Dc(), r.left, r.top, r.right, r.bottom);
  }
  GdiFlush();
  InvalidateRect(Handle(), nullptr, FALSE);
}

void Form1::Command1Click(int Index) { palomid::Command1Click(Index, Handle(), services_); }

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Compose(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      // Also how themed buttons ask for what lies behind their round corners.
      if (!surface_.Empty()) {
        const RECT all = {0, 0, surface_.Width(), surface_.Height()};
        surface_.BlitTo(reinterpret_cast<HDC>(wParam), all);
      }
      return message == WM_ERASEBKGND ? 1 : 0;
    case WM_PAINT:
      common::PaintFrom(Handle(), surface_);
      return 0;
    case WM_COMMAND: {
      const int index = static_cast<int>(LOWORD(wParam)) - kFirstButtonId;
      if (HIWORD(wParam) == BN_CLICKED && index >= 0 && index < kCommandCount) Command1Click(index);
      return 0;
    }
    case WM_ACTIVATE:
      focus_.OnActivate(Handle(), wParam);
      // On activation the default gives the window the focus, which passes it on below.
      return DefaultHandling(message, wParam, lParam);
    case WM_SETFOCUS:
      focus_.OnSetFocus();
      return 0;
    case WM_DESTROY:
      common::UnregisterKeyboard(Handle());
      if (services_.quit) services_.quit();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace palomid

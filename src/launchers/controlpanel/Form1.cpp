#include "launchers/controlpanel/Form1.h"

#include <utility>

#include "common/font.h"
#include "launchers/controlpanel/resources.h"

namespace palomid {

namespace {

constexpr int kFirstButtonId = 201;

}  // namespace

Form1::Form1(PalomidServices services) : services_(std::move(services)) {}

Form1::~Form1() { Destroy(); }

bool Form1::Load(int show) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const int smallSize = GetSystemMetrics(SM_CXSMICON);
  smallIcon_.Reset(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(PALOMID_ICON), IMAGE_ICON, smallSize, smallSize, 0)));
  font_ = common::CreateSongTiFont(9);

  ClassSpec windowClass;
  windowClass.name = kClassName;
  windowClass.icon = LoadIconW(instance, MAKEINTRESOURCEW(PALOMID_ICON));
  if (!CreateMainWindow(windowClass, kTitle, kStyle, kClientWidth, kClientHeight,
                        smallIcon_.Get()))
    return false;
  CreateButtons();
  dialog_.Attach(Handle(), command1_.front());  // Tab moves between the buttons

  ShowWindow(Handle(), show);
  UpdateWindow(Handle());
  dialog_.GiveFocus();
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
}

HWND Form1::Command1(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(command1_.size())) return nullptr;
  return command1_[static_cast<size_t>(Index)];
}

void Form1::Compose(int width, int height) {
  // Nothing to draw while minimised (0 x 0); the restore composes again.
  common::MemorySurface& surface = DrawingSurface();
  if (!surface.Resize(width, height, GetSysColor(COLOR_BTNFACE)) || surface.Empty()) return;
  // Each frame is a one-pixel line in the window text colour, inside its rectangle.
  common::Pen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
  common::ScopedSelect selectPen(surface.Dc(), pen.Get());
  common::ScopedSelect selectBrush(surface.Dc(), GetStockObject(NULL_BRUSH));
  for (const common::TwipsRect& shape : ShapeTable()) {
    const RECT r = common::ToPixels(shape);
    Rectangle(surface.Dc(), r.left, r.top, r.right, r.bottom);
  }
  GdiFlush();
  Present();
}

void Form1::Command1Click(int Index) { palomid::Command1Click(Index, Handle(), services_); }

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The focus memory; on activation the default handling gives the window the focus, which the
  // helper passes on.
  if (dialog_.OnMessage(message, wParam)) return 0;
  switch (message) {
    case WM_COMMAND: {
      const int index = static_cast<int>(LOWORD(wParam)) - kFirstButtonId;
      if (HIWORD(wParam) == BN_CLICKED && index >= 0 && index < kCommandCount) Command1Click(index);
      return 0;
    }
    case WM_DESTROY:
      if (services_.quit) services_.quit();
      return 0;
    default:
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace palomid

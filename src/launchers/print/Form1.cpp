#include "launchers/print/Form1.h"

#include <utility>
#include <vector>

#include "common/font.h"
#include "launchers/print/resources.h"

namespace prindle {

namespace {

enum class ControlId : int { Hint = 101, PathText = 102, PrintButton = 103, CloseButton = 104 };

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PRINDLE_ICON),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HWND PlaceControl(const wchar_t* className, const std::wstring& text, DWORD style,
                  const common::TwipsRect& place, HWND parent, ControlId id, DWORD exStyle = 0) {
  const RECT r = common::ToPixels(place);
  return common::CreateControl(className, text, style | WS_VISIBLE, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, static_cast<int>(id), exStyle);
}

}  // namespace

Form1::Form1(PrindleServices services) : services_(std::move(services)) {}

Form1::~Form1() { Destroy(); }

bool Form1::Load(int show) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  picture_.Reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(PRINDLE_BACKGROUND),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  icon_.Reset(LoadProgramIcon(kIconSize));
  smallIcon_.Reset(LoadProgramIcon(GetSystemMetrics(SM_CXSMICON)));
  font_ = common::CreateSongTiFont(9);

  ClassSpec windowClass;
  windowClass.name = kClassName;
  windowClass.icon = LoadIconW(instance, MAKEINTRESOURCEW(PRINDLE_ICON));
  if (!CreateMainWindow(windowClass, kTitle, kStyle, kClientWidth, kClientHeight,
                        smallIcon_.Get()))
    return false;
  CreateControls();
  dialog_.Attach(Handle(), text1_);  // Tab moves between the controls

  ShowWindow(Handle(), show);
  UpdateWindow(Handle());
  dialog_.GiveFocus();
  return true;
}

void Form1::CreateControls() {
  // Creation order is the focus order: text box, "开始打印", "关闭".
  label2_ = PlaceControl(L"STATIC", kLabel2Caption, SS_LEFT | SS_NOPREFIX, kLabel2, Handle(),
                         ControlId::Hint);
  text1_ = PlaceControl(L"EDIT", L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, kText1, Handle(),
                        ControlId::PathText, WS_EX_CLIENTEDGE);
  command1_ = PlaceControl(L"BUTTON", kCommand1Caption, WS_TABSTOP | BS_PUSHBUTTON, kCommand1,
                           Handle(), ControlId::PrintButton);
  command2_ = PlaceControl(L"BUTTON", kCommand2Caption, WS_TABSTOP | BS_PUSHBUTTON, kCommand2,
                           Handle(), ControlId::CloseButton);
  for (HWND control : {label2_, text1_, command1_, command2_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

RECT Form1::Image1Rect() const {
  const RECT place = common::ToPixels(kImage1);
  return RECT{place.left, place.top, place.left + kIconSize, place.top + kIconSize};
}

void Form1::Compose(int width, int height) {
  // Beyond the picture (when the window is made larger) the window shows its plain face.
  // Nothing to draw while minimised (0 x 0); the restore composes again.
  common::MemorySurface& surface = DrawingSurface();
  if (!surface.Resize(width, height, GetSysColor(COLOR_BTNFACE)) || surface.Empty()) return;
  common::DrawPicture(surface.Dc(), picture_.Get(), 0, 0);
  if (icon_) {
    const RECT image = Image1Rect();
    DrawIconEx(surface.Dc(), image.left, image.top, icon_.Get(), kIconSize, kIconSize, 0, nullptr,
               DI_NORMAL);
  }
  GdiFlush();
  // The label shows the face as composed: picture, and beyond it (at a larger dpi the window
  // outgrows the picture) the plain face, never the picture tiled again.
  backgroundBrush_.Reset(
      CreatePatternBrush(static_cast<HBITMAP>(GetCurrentObject(surface.Dc(), OBJ_BITMAP))));
  Present();
}

LRESULT Form1::LabelColors(HDC dc) {
  // The label's background is the face behind it: the brush's origin is moved so that the
  // face's pixel under the label's corner lands on the label's (0, 0).
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  if (!backgroundBrush_) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  const RECT place = common::ToPixels(kLabel2);
  SetBrushOrgEx(dc, -place.left, -place.top, nullptr);
  return reinterpret_cast<LRESULT>(backgroundBrush_.Get());
}

void Form1::PrintAnyFile(const std::wstring& FileToPrint) {
  prindle::PrintAnyFile(Handle(), FileToPrint, services_);
}

void Form1::Command1Click() { PrintAnyFile(common::TextOf(text1_)); }

void Form1::Command2Click() { Destroy(); }

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The focus memory; on activation the default handling gives the window the focus, which the
  // helper passes on.
  if (dialog_.OnMessage(message, wParam)) return 0;
  switch (message) {
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == label2_)
        return LabelColors(reinterpret_cast<HDC>(wParam));
      return DefaultHandling(message, wParam, lParam);
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == static_cast<WORD>(ControlId::PrintButton)) Command1Click();
        if (LOWORD(wParam) == static_cast<WORD>(ControlId::CloseButton)) Command2Click();
      }
      return 0;
    case WM_DESTROY:
      if (services_.quit) services_.quit();
      return 0;
    default:
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace prindle

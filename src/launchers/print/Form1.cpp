#include "launchers/print/Form1.h"

#include <utility>
#include <vector>

#include "common/keyboard.h"
#include "common/font.h"
#include "launchers/print/resources.h"

namespace prindle {

namespace {

constexpr int kLabel2Id = 101, kText1Id = 102, kCommand1Id = 103, kCommand2Id = 104;

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PRINDLE_ICON),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HWND PlaceControl(const wchar_t* className, const std::wstring& text, DWORD style,
                  const common::TwipsRect& place, HWND parent, int id, DWORD exStyle = 0) {
  const RECT r = common::ToPixels(place);
  return common::CreateControl(className, text, style | WS_VISIBLE, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, id, exStyle);
}

}  // namespace

Form1::Form1(PrindleServices services) : services_(std::move(services)) {}

Form1::~Form1() = default;

bool Form1::Load(int show) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  picture_.Reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(PRINDLE_BACKGROUND),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (picture_) pictureBrush_.Reset(CreatePatternBrush(picture_.Get()));
  icon_.Reset(LoadProgramIcon(kIconSize));
  smallIcon_.Reset(LoadProgramIcon(GetSystemMetrics(SM_CXSMICON)));
  font_ = common::CreateSongTiFont(9);

  ClassSpec windowClass;
  windowClass.name = kClassName;
  windowClass.icon = LoadIconW(instance, MAKEINTRESOURCEW(PRINDLE_ICON));
  const SIZE size = common::WindowSizeForClient(kClientWidth, kClientHeight, kStyle, 0);
  if (!Create(windowClass, WS_EX_CONTROLPARENT, kTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
              size.cx, size.cy, nullptr))
    return false;
  if (smallIcon_)
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  CreateControls();
  common::RegisterKeyboard(Handle(), nullptr, true);  // Tab moves between the controls

  ShowWindow(Handle(), show);
  UpdateWindow(Handle());
  SetFocus(text1_);
  return true;
}

void Form1::CreateControls() {
  // Creation order is the focus order: text box, "开始打印", "关闭".
  label2_ =
      PlaceControl(L"STATIC", kLabel2Caption, SS_LEFT | SS_NOPREFIX, kLabel2, Handle(), kLabel2Id);
  text1_ = PlaceControl(L"EDIT", L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, kText1, Handle(),
                        kText1Id, WS_EX_CLIENTEDGE);
  command1_ = PlaceControl(L"BUTTON", kCommand1Caption, WS_TABSTOP | BS_PUSHBUTTON, kCommand1,
                           Handle(), kCommand1Id);
  command2_ = PlaceControl(L"BUTTON", kCommand2Caption, WS_TABSTOP | BS_PUSHBUTTON, kCommand2,
                           Handle(), kCommand2Id);
  for (HWND control : {label2_, text1_, command1_, command2_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  focus_.Set(text1_);
}

RECT Form1::Image1Rect() const {
  const RECT place = common::ToPixels(kImage1);
  return RECT{place.left, place.top, place.left + kIconSize, place.top + kIconSize};
}

void Form1::Compose(int width, int height) {
  // Beyond the picture (when the window is made larger) the window shows its plain face.
  // Nothing to draw while minimised (0 x 0); the restore composes again.
  if (!surface_.Resize(width, height, GetSysColor(COLOR_BTNFACE)) || surface_.Empty()) return;
  if (picture_) {
    common::MemoryDc source(CreateCompatibleDC(surface_.Dc()));
    common::ScopedSelect select(source.Get(), picture_.Get());
    BITMAP info = {};
    GetObjectW(picture_.Get(), sizeof(info), &info);
    BitBlt(surface_.Dc(), 0, 0, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCCOPY);
  }
  if (icon_) {
    const RECT image = Image1Rect();
    DrawIconEx(surface_.Dc(), image.left, image.top, icon_.Get(), kIconSize, kIconSize, 0, nullptr,
               DI_NORMAL);
  }
  GdiFlush();
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT Form1::LabelColors(HDC dc) {
  // The label's background is the picture behind it: the brush's origin is moved so that the
  // picture's pixel under the label's corner lands on the label's (0, 0).
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  if (!pictureBrush_) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  const RECT place = common::ToPixels(kLabel2);
  SetBrushOrgEx(dc, -place.left, -place.top, nullptr);
  return reinterpret_cast<LRESULT>(pictureBrush_.Get());
}

void Form1::PrintAnyFile(const std::wstring& FileToPrint) {
  prindle::PrintAnyFile(Handle(), FileToPrint, services_);
}

void Form1::Command1Click() { PrintAnyFile(common::TextOf(text1_)); }

void Form1::Command2Click() { Destroy(); }

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
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == label2_)
        return LabelColors(reinterpret_cast<HDC>(wParam));
      return DefaultHandling(message, wParam, lParam);
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == kCommand1Id) Command1Click();
        if (LOWORD(wParam) == kCommand2Id) Command2Click();
      }
      return 0;
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

}  // namespace prindle

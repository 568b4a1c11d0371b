#include "shell/startmenu/Frm_YunXing.h"

#include <vector>

#include "common/font.h"
#include "common/screen.h"
#include "shell/startmenu/ShellArtwork.h"

namespace {

// The controls; OK is IDOK, so that Enter presses it, and no control is IDCANCEL.
enum class ControlId : int { CommandText = 11, OkButton = IDOK, CancelButton = 12, Hint = 13 };
constexpr COLORREF kDialogGrey = RGB(212, 208, 200);  // the picture's background

struct Place {
  double left, top, width, height;  // twips
};
constexpr Place kText1Place = {1040, 920, 3975, 290};
constexpr Place kCommand1Place = {2640, 1680, 1095, 315};
constexpr Place kCommand2Place = {3900, 1680, 1095, 315};
constexpr Place kLabel1Place = {120, 1380, 2415, 615};
constexpr double kInnerWidth = 5220, kInnerHeight = 2220;

// The dialog is its picture with controls laid on it, the text box exactly over the picture's
// input field: places are pixels of the picture (15 twips each) at every dpi, as the picture is
// never stretched, and the text keeps the 12 pixels the field was drawn for.
constexpr double kPictureTwipsPerPixel = 15;
int OnPicture(double twips) {
  return static_cast<int>(common::RoundHalfEven(twips / kPictureTwipsPerPixel));
}

HWND Make(const wchar_t* cls, const std::wstring& text, DWORD style, const Place& p, HWND parent,
          ControlId id, DWORD exStyle = 0) {
  return common::CreateControl(cls, text, style | WS_VISIBLE, OnPicture(p.left), OnPicture(p.top),
                               OnPicture(p.width), OnPicture(p.height), parent,
                               static_cast<int>(id), exStyle);
}

}  // namespace

Frm_YunXing::Frm_YunXing(Starter start) : start_(std::move(start)) {}

Frm_YunXing::~Frm_YunXing() { Destroy(); }

std::wstring Frm_YunXing::CommandLineFor(const std::wstring& text) {
  return L"rundll32.exe url.dll,FileProtocolHandler " + text;
}

void Frm_YunXing::ShowDialog() {
  if (!Loaded() && !Load()) return;
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

bool Frm_YunXing::Load() {
  picture_.Reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                 MAKEINTRESOURCEW(kRunDialogPicture), IMAGE_BITMAP,
                                                 0, 0, LR_CREATEDIBSECTION)));
  background_.Reset(CreateSolidBrush(kDialogGrey));
  RECT frame = {0, 0, OnPicture(kInnerWidth), OnPicture(kInnerHeight)};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  ClassSpec windowClass;
  windowClass.name = L"ZephraRunDialog";
  windowClass.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  // No owner: the dialog has its own button in the taskbar.
  if (!Create(windowClass, WS_EX_CONTROLPARENT, L"系统运行...",
              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
              frame.right - frame.left, frame.bottom - frame.top, nullptr))
    return false;

  font_ = common::CreateSongTiPixelFont(12);
  // Created in the tab order: text box, OK, Cancel.
  text1_ = Make(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kText1Place, Handle(),
                ControlId::CommandText, WS_EX_CLIENTEDGE);
  command1_ = Make(L"BUTTON", L"确定", WS_TABSTOP | BS_DEFPUSHBUTTON, kCommand1Place, Handle(),
                   ControlId::OkButton);
  command2_ = Make(L"BUTTON", L"取消", WS_TABSTOP | BS_PUSHBUTTON, kCommand2Place, Handle(),
                   ControlId::CancelButton);
  label1_ = Make(L"STATIC",
                 L"说明：1.直接按回车，打开本软件所在目录；2.输入两个点，打开本软件的上一级目录",
                 SS_LEFT, kLabel1Place, Handle(), ControlId::Hint);
  for (HWND control : {text1_, command1_, command2_, label1_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  dialog_.Attach(Handle(), text1_);  // Tab, and Enter for OK
  dialog_.GiveFocus();
  return true;
}

void Frm_YunXing::Run() {
  // The text goes as typed: no trimming, no quotes, and an empty text is run as well.
  start_(CommandLineFor(common::TextOf(text1_)), SW_SHOWNORMAL);
}

void Frm_YunXing::Compose(int width, int height) {
  common::MemorySurface& surface = DrawingSurface();
  if (!surface.Resize(width, height, kDialogGrey) || surface.Empty()) return;
  common::DrawPicture(surface.Dc(), picture_.Get(), 0, 0);
  GdiFlush();
  Present();
}

LRESULT Frm_YunXing::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The focus memory; on activation the default handling gives the window the focus, which the
  // helper passes on.
  if (dialog_.OnMessage(message, wParam)) return 0;
  switch (message) {
    case WM_COMMAND: {
      // Escape (IDCANCEL) does nothing: no button is the cancel button.
      const auto clicked = static_cast<ControlId>(LOWORD(wParam));
      if (HIWORD(wParam) == BN_CLICKED && clicked == ControlId::OkButton) Run();
      if (HIWORD(wParam) == BN_CLICKED && clicked == ControlId::CancelButton) Destroy();
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), kDialogGrey);
      return reinterpret_cast<LRESULT>(background_.Get());
    default:
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
  }
}

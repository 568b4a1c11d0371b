#include "checker/app/TForm3.h"

#include "common/font.h"

namespace {

constexpr DWORD kStyle =
    WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;  // no system menu: no border icons
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

TForm3::~TForm3() {
  // The window goes while this object still answers its messages.
  Destroy();
}

bool TForm3::Create(HWND owner) {
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = Width(frame), height = Height(frame);
  if (!CreateCentred(ClassSpec::ButtonFace(L"TForm3"), kExStyle, L"备份", kStyle, width, height,
                     owner))
    return false;
  // Laid out in pixels: the design's 9-point text is 12 pixels at every dpi.
  font_ = common::CreateSongTiPixelFont(12);
  image1_ =
      common::CreateControl(L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, kImage1.left,
                            kImage1.top, Width(kImage1), Height(kImage1), Handle(), kImage1Id);
  label1_ = common::CreateControl(L"STATIC", L"正在进行系统文件备份，请稍候......",
                                  WS_VISIBLE | SS_CENTER | SS_NOPREFIX, kLabel1.left, kLabel1.top,
                                  Width(kLabel1), Height(kLabel1), Handle(), kLabel1Id);
  SendMessageW(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return image1_ != nullptr && label1_ != nullptr;
}

void TForm3::ShowProgress(const std::wstring& caption, const std::wstring& label, int picture) {
  SetWindowTextW(Handle(), caption.c_str());
  SetWindowTextW(label1_, label.c_str());
  // A shared icon of the program's resources: the system frees it with the program.
  const HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture), IMAGE_ICON,
                                 32, 32, LR_SHARED);
  SendMessageW(image1_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  ShowWindow(Handle(), SW_SHOWNORMAL);
  // Painted now: the registry editor is started right after, and the wait pumps only on input.
  RedrawWindow(Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TForm3::Close() { ShowWindow(Handle(), SW_HIDE); }

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      return 0;  // it goes when the work is done, not before
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefaultHandling(message, wParam, lParam);
}

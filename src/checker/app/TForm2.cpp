#include "checker/app/TForm2.h"

#include <commctrl.h>

#include "checker/app/History.h"
#include "common/font.h"

namespace {

constexpr int kHistoryIcon = 205;  // the history log's 32 x 32 picture
constexpr int kFlatButton1Left = 12, kButton1Left = 98;
constexpr int kHeaderSectionWidth = 4096;

}  // namespace

TForm2::~TForm2() {
  // The window goes while this object still answers its messages.
  Destroy();
}

bool TForm2::Create(HWND owner) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  const ClassSpec windowClass = ClassSpec::ButtonFace(
      L"TForm2", static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(kHistoryIcon), IMAGE_ICON,
                                               0, 0, LR_SHARED)));
  if (!CreateCentred(windowClass, WS_EX_TOPMOST | WS_EX_CONTROLPARENT, L"历史日志管理",
                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kWidth, kHeight, owner))
    return false;
  // Laid out in pixels: the design's 9-point text is 12 pixels at every dpi.
  font_ = common::CreateSongTiPixelFont(12);
  const auto withFont = [this](HWND control) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return control;
  };
  headerControl1_ = withFont(common::CreateControl(WC_HEADERW, L"", WS_VISIBLE | HDS_HORZ, 0, 0, 0,
                                                   0, Handle(), kHeaderControl1));
  // One empty section across the whole strip: a header made without sections while its window
  // is hidden is left unpainted by some systems (black under Wine).
  HDITEMW section = {};
  section.mask = HDI_WIDTH;
  section.cxy = kHeaderSectionWidth;
  Header_InsertItem(headerControl1_, 0, &section);
  memo1_ = withFont(common::CreateControl(
      L"EDIT", L"", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
      0, Handle(), kMemo1, WS_EX_CLIENTEDGE));
  SendMessageW(memo1_, EM_SETLIMITTEXT, 0, 0);  // the file has no size limit
  if (!panel1_.Create(Handle(), kPanel1, false) ||
      !panel2_.Create(panel1_.Handle(), kPanel2, false))
    return false;
  flatButton1_ = panel2_.AddPushButton(L"清空", kFlatButton1Left, kFlatButton1, font_.Get());
  button1_ = panel2_.AddPushButton(L"退出", kButton1Left, kButton1, font_.Get());
  if (hints_.Create(Handle())) hints_.Set(flatButton1_, L"清空历史日志");
  Layout();
  return headerControl1_ != nullptr && memo1_ != nullptr && flatButton1_ != nullptr &&
         button1_ != nullptr;
}

void TForm2::ShowForm() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  FormShow();
}

void TForm2::FormShow() {
  SetWindowTextW(memo1_, L"");
  SetWindowTextW(memo1_, ReadHistoryText(historyFile_).c_str());
  SetFocus(panel1_.Handle());
}

void TForm2::FlatButton1Click() {
  // No question: the file simply goes. Without a file the memo keeps what it shows.
  if (ClearHistory(historyFile_)) SetWindowTextW(memo1_, L"");
}

void TForm2::Button1Click() { ShowWindow(Handle(), SW_HIDE); }

void TForm2::Memo1Enter() { SetFocus(panel1_.Handle()); }

void TForm2::Layout() {
  RECT client;
  GetClientRect(Handle(), &client);
  const int panelTop = std::max<int>(kHeaderHeight, client.bottom - kPanel1Height);
  MoveWindow(headerControl1_, 0, 0, client.right, kHeaderHeight, TRUE);
  MoveWindow(memo1_, 0, kHeaderHeight, client.right, panelTop - kHeaderHeight, TRUE);
  MoveWindow(panel1_.Handle(), 0, panelTop, client.right, kPanel1Height, TRUE);
  MoveWindow(panel2_.Handle(), std::max(0, static_cast<int>(client.right) - kPanel2Width), 0,
             kPanel2Width, kPanel1Height, TRUE);
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kMemo1 && HIWORD(wParam) == EN_SETFOCUS)
        Memo1Enter();
      else if (LOWORD(wParam) == kFlatButton1 && HIWORD(wParam) == BN_CLICKED)
        FlatButton1Click();
      else if (LOWORD(wParam) == kButton1 && HIWORD(wParam) == BN_CLICKED)
        Button1Click();
      return 0;
    case WM_SETCURSOR:
      // The memo shows the arrow, not the text cursor: it is for reading only.
      if (reinterpret_cast<HWND>(wParam) == memo1_ && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // A read-only memo keeps the white of an edit box.
      if (reinterpret_cast<HWND>(lParam) == memo1_) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_CLOSE:
      Button1Click();  // kept for the next showing
      return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

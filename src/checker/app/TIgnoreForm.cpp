#include "checker/app/TIgnoreForm.h"

#include <commctrl.h>

#include <algorithm>

#include "common/font.h"

namespace {

constexpr int kRemoveLeft = 12, kCloseLeft = 98;
constexpr int kLabel1Left = 12, kLabel1Height = 14;
constexpr wchar_t kLabel1Text[] = L"以下项目不再列入扫描结果，也不会被修复。";

}  // namespace

TIgnoreForm::~TIgnoreForm() {
  // The window goes while this object still answers its messages.
  Destroy();
}

bool TIgnoreForm::Create(HWND owner) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  const ClassSpec windowClass =
      ClassSpec::ButtonFace(L"TIgnoreForm", LoadIconW(module, MAKEINTRESOURCEW(1)));
  if (!CreateCentred(windowClass, WS_EX_CONTROLPARENT, L"忽略列表",
                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kWidth, kHeight, owner))
    return false;
  // Laid out in pixels: the checker's 12-pixel text at every dpi.
  font_ = common::CreateSongTiPixelFont(12);
  const auto withFont = [this](HWND control) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return control;
  };
  if (!listView1_.Create(Handle(), kListView1, nullptr, font_.Get(), true) ||
      !panel1_.Create(Handle(), kPanel1, false) ||
      !panel2_.Create(panel1_.Handle(), kPanel2, false))
    return false;
  label1_ =
      withFont(common::CreateControl(L"STATIC", kLabel1Text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                     kLabel1Left, 0, 0, kLabel1Height, panel1_.Handle(), kLabel1));
  removeButton_ = panel2_.AddPushButton(L"移除", kRemoveLeft, kRemoveButton, font_.Get());
  closeButton_ = panel2_.AddPushButton(L"关闭", kCloseLeft, kCloseButton, font_.Get());
  dialog_.Attach(Handle(), listView1_.Handle());
  Layout();
  EnableRemove();
  return label1_ != nullptr && removeButton_ != nullptr && closeButton_ != nullptr;
}

void TIgnoreForm::SetImages(HIMAGELIST images) {
  ListView_SetImageList(listView1_.Handle(), images, LVSIL_SMALL);
}

void TIgnoreForm::ShowForm(const std::vector<ScanResultRow>& entries) {
  ShowEntries(entries);
  ShowWindow(Handle(), SW_SHOWNORMAL);
}

void TIgnoreForm::ShowEntries(const std::vector<ScanResultRow>& entries) {
  listView1_.Clear();
  for (const ScanResultRow& entry : entries) listView1_.AddRow(entry);
  EnableRemove();
}

void TIgnoreForm::RemoveButtonClick() {
  const std::vector<ScanResultRow> selected = listView1_.SelectedRows();
  if (!selected.empty() && removeHandler_) removeHandler_(selected);
}

void TIgnoreForm::CloseButtonClick() { ShowWindow(Handle(), SW_HIDE); }

void TIgnoreForm::EnableRemove() { EnableWindow(removeButton_, listView1_.Selected() >= 0); }

void TIgnoreForm::Layout() {
  RECT client;
  GetClientRect(Handle(), &client);
  const int panelTop = std::max<int>(0, client.bottom - kPanel1Height);
  const int panel2Left = std::max(0, static_cast<int>(client.right) - kPanel2Width);
  MoveWindow(listView1_.Handle(), 0, 0, client.right, panelTop, TRUE);
  listView1_.FitColumns();
  MoveWindow(panel1_.Handle(), 0, panelTop, client.right, kPanel1Height, TRUE);
  MoveWindow(panel2_.Handle(), panel2Left, 0, kPanel2Width, kPanel1Height, TRUE);
  MoveWindow(label1_, kLabel1Left, (kPanel1Height - kLabel1Height) / 2,
             std::max(0, panel2Left - kLabel1Left), kLabel1Height, TRUE);
}

LRESULT TIgnoreForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (dialog_.OnMessage(message, wParam)) return 0;  // the focus memory
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kRemoveButton && HIWORD(wParam) == BN_CLICKED)
        RemoveButtonClick();
      else if (LOWORD(wParam) == kCloseButton)  // the button, or Escape
        CloseButtonClick();
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == listView1_.Handle() && header->code == LVN_ITEMCHANGED)
        EnableRemove();
      return 0;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_CLOSE:
      CloseButtonClick();  // kept for the next showing
      return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

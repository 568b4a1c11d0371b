#include "shell/startmenu/SouSuoNet.h"

#include <vector>

#include "common/font.h"
#include "common/screen.h"
#include "shell/startmenu/SearchServices.h"
#include "shell/startmenu/ShellArtwork.h"

namespace {

constexpr int kQueryTextId = 11;
constexpr WORD kFirstItem = 100;  // menu item of service i: kFirstItem + i
constexpr double kInnerWidth = 2745, kInnerHeight = 360;
constexpr double kTextLeft = 240, kTextTop = 0, kTextWidth = 2295, kTextHeight = 270;

HMENU BuildMenu() {
  const auto& services = SearchServices();
  auto item = [&](HMENU menu, size_t i) {
    const std::wstring text = std::wstring(services[i].caption) + L"\t" + services[i].shortcut;
    AppendMenuW(menu, MF_STRING, kFirstItem + i, text.c_str());
  };
  HMENU soft = CreatePopupMenu();
  item(soft, 0);
  HMENU eng = CreatePopupMenu();
  item(eng, 1);
  item(eng, 2);
  item(eng, 3);
  HMENU yingshi = CreatePopupMenu();
  item(yingshi, 4);
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(soft), L"软件");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(eng), L"网页");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(yingshi), L"影视");
  return bar;
}

}  // namespace

SouSuoNet::SouSuoNet(Opener open) : open_(std::move(open)) {}

SouSuoNet::~SouSuoNet() { Destroy(); }

void SouSuoNet::ShowBar(HWND owner) {
  if (!Loaded() && !Load(owner)) return;
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

bool SouSuoNet::Load(HWND owner) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame = {0, 0, common::TwipsToPixelsX(kInnerWidth), common::TwipsToPixelsY(kInnerHeight)};
  AdjustWindowRectEx(&frame, style, TRUE, exStyle);
  ClassSpec windowClass;
  windowClass.name = L"ZephraSearchBar";
  windowClass.background = GetSysColorBrush(COLOR_BTNFACE);
  if (!Create(windowClass, exStyle, L"网络快搜 - Lumora软件", style, CW_USEDEFAULT, CW_USEDEFAULT,
              frame.right - frame.left, frame.bottom - frame.top, owner, BuildMenu()))
    return false;
  icon_.Reset(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kSearchIcon), IMAGE_ICON, 16, 16, 0)));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));

  font_ = common::CreateSongTiFont(9);
  text1_ = common::CreateControl(
      L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, common::TwipsToPixelsX(kTextLeft),
      common::TwipsToPixelsY(kTextTop), common::TwipsToPixelsX(kTextWidth),
      common::TwipsToPixelsY(kTextHeight), Handle(), kQueryTextId, WS_EX_CLIENTEDGE);
  SendMessageW(text1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

  std::vector<ACCEL> keys;
  for (size_t i = 0; i < SearchServices().size(); ++i) {
    const SearchService& s = SearchServices()[i];
    keys.push_back({static_cast<BYTE>(s.keyFlags), s.key, static_cast<WORD>(kFirstItem + i)});
  }
  accelerators_.Reset(CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
  dialog_.Attach(Handle(), text1_, accelerators_.Get());

  // Above normal windows, in its place and size, activated as usual.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  dialog_.GiveFocus();
  return true;
}

void SouSuoNet::Search(size_t service) {
  const std::wstring query = common::TextOf(text1_);
  open_(Handle(), SearchAddress(SearchServices()[service], query));
}

LRESULT SouSuoNet::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (dialog_.OnMessage(message, wParam)) return 0;  // the focus goes on to the text box
  switch (message) {
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      if (id >= kFirstItem && id < kFirstItem + SearchServices().size()) Search(id - kFirstItem);
      return 0;
    }
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

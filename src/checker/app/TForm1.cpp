#include "checker/app/TForm1.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "checker/app/CommandIds.h"
#include "checker/app/Settings.h"
#include "checker/app/SystemCalls.h"
#include "common/font.h"
#include "common/version.h"

namespace {

constexpr UINT kDeferredExitMessage = WM_APP + 1;

// Places inside the check area, in pixels.
constexpr int kLabel1Left = 10, kLabel1Top = 4;
constexpr int kSelectAllWidth = 65, kSelectAllHeight = 18, kSelectAllTop = 2;
constexpr int kFlatButtonLeft = 8, kFlatButtonWidth = 87, kFlatButtonHeight = 26;
constexpr int kFlatButtonTops[4] = {22, 58, 94, 130};

constexpr wchar_t kHelpFileName[] = L"Tarqcc.chm";
constexpr wchar_t kNoWindowsDirectory[] = L"错误！Sanivo无法找到操作系统所在的文件夹。";

std::wstring MakerNotice() {
  const common::ProgramVersion version = common::ReadOwnVersion();
  std::wstring text = L"欢迎使用Sanivo";
  if (version.found)
    text += L" " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
            std::to_wstring(version.build) + L"." + std::to_wstring(version.revision);
  return text + L"  ——  Lumora软件出品";
}

}  // namespace

TForm1::BusySection::BusySection(TForm1& form) : form_(form) { ++form_.busyDepth_; }

TForm1::BusySection::~BusySection() {
  if (--form_.busyDepth_ == 0 && form_.deferredExit_ != ExitKind::None && form_.Handle())
    PostMessageW(form_.Handle(), kDeferredExitMessage, 0, 0);
}

TForm1::TForm1(CheckerServices services) : services_(std::move(services)) {}

TForm1::~TForm1() {
  // The window normally ends before the object; when it does not, end it the same way.
  Destroy();
}

bool TForm1::Create() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                         ICC_COOL_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const HINSTANCE module = GetModuleHandleW(nullptr);
  images_.Load(module);  // a missing picture leaves its place empty
  if (!menus_.Create()) return false;

  // Laid out in pixels: the design's 9-point text is 12 pixels at every dpi.
  font_ = common::CreateSongTiPixelFont(12);

  // Design place: centred on the desktop.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kDesignWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kDesignHeight) / 2;
  ClassSpec windowClass;
  windowClass.name = L"TForm1";
  windowClass.icon = LoadIconW(module, MAKEINTRESOURCEW(1));
  windowClass.background = GetSysColorBrush(COLOR_BTNFACE);
  if (!common::Window::Create(windowClass, WS_EX_CONTROLPARENT, L"Sanivo",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, kDesignWidth,
                              kDesignHeight, nullptr, menus_.Bar()))
    return false;
  menus_.TakeBar();  // the window destroys its menu
  if (!CreateControls()) return false;
  if (!FormCreate()) return false;
  Layout();
  return true;
}

bool TForm1::CreateControls() {
  const HWND form = Handle();
  const auto withFont = [this](HWND control) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return control;
  };
  if (!toolBar1_.Create(form, images_.ImageList2.Get(), images_.ImageList3.Get(), font_.Get()))
    return false;

  if (!flatPanel1_.Create(form, cmd::kFlatPanel1, true)) return false;
  flatPanel1_.SetResizeHandler([this] { FlatPanel1Resize(); });
  label1_ = withFont(common::CreateControl(
      L"STATIC", L"请选择Sanivo要检查的项目", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kLabel1Left,
      kLabel1Top, 200, 14, flatPanel1_.Handle(), cmd::kLabel1));
  if (!chkListView_.Create(flatPanel1_.Handle(), cmd::kChkListView, images_.ImageList1.Get(),
                           font_.Get()))
    return false;
  seleclAllChkListBtn_ = withFont(common::CreateControl(
      L"BUTTON", L"全否", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, kSelectAllTop,
      kSelectAllWidth, kSelectAllHeight, flatPanel1_.Handle(), cmd::kSelectAll));
  flatPanel1_.SetHandCursorChild(seleclAllChkListBtn_);

  if (!panel2_.Create(flatPanel1_.Handle(), cmd::kPanel2, false)) return false;
  static constexpr struct {
    const wchar_t* caption;
    int command;
  } kButtons[kFlatButtons] = {{L"扫描", cmd::kScan},
                   {L"修复", cmd::kRepair},
                   {L"全部修复", cmd::kRepairAll},
                   {L"退出", cmd::kExit}};
  for (int i = 0; i < kFlatButtons; ++i)
    flatButtons_[i] = withFont(common::CreateControl(
        L"BUTTON", kButtons[i].caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kFlatButtonLeft,
        kFlatButtonTops[i], kFlatButtonWidth, kFlatButtonHeight, panel2_.Handle(),
        kButtons[i].command));
  EnableWindow(FlatButton(Flat::Repair), FALSE);
  EnableWindow(FlatButton(Flat::RepairAll), FALSE);

  if (!listView2_.Create(form, cmd::kListView2, images_.ImageList1.Get(), font_.Get()))
    return false;
  if (!statusBar1_.Create(form, cmd::kStatusBar1, font_.Get())) return false;

  if (hints_.Create(form)) {
    hints_.Set(FlatButton(Flat::Repair), L"修复选中的错误条目");
    hints_.Set(FlatButton(Flat::RepairAll), L"修复所有扫描到的错误");
    hints_.Set(FlatButton(Flat::Exit), L"退出Sanivo");
  }
  dialog_.Attach(form, chkListView_.Handle(), menus_.Accelerators());
  return true;
}

bool TForm1::FormCreate() {
  osInfo_ = std::make_unique<TTarqOSInfo>(services_.versionQuery);
  if (services_.recordProgramPath) services_.recordProgramPath();
  helpViewer_ = std::make_unique<THtmhelp>(services_.programDirectory + L"\\" + kHelpFileName,
                                           services_.helpClasses);

  const std::optional<std::wstring> windowsDirectory =
      services_.windowsDirectory ? services_.windowsDirectory() : std::nullopt;
  if (!windowsDirectory) {
    if (services_.messageBox) services_.messageBox(kNoWindowsDirectory, MB_OK | MB_ICONERROR);
    return false;
  }
  environment_.MajorVersion = osInfo_->MajorVersion();
  environment_.WinDir = *windowsDirectory;
  environment_.GetSpecialFolder = &GetSpecialFolder;
  environment_.ShowMessage = [this](const std::wstring& text, UINT type) {
    const BusySection busy(*this);  // the box runs a modal loop of its own
    return services_.messageBox ? services_.messageBox(text, type) : IDNO;
  };
  if (services_.specialFolder) environment_.GetSpecialFolder = services_.specialFolder;

  const std::wstring settings = SettingsPath(services_.programDirectory);
  environment_.BakPath = ReadBakPath(settings);
  ignoreList_.Load(settings);
  ApplyWindowSettings();

  const bool systemFileChecker =
      services_.fileExists && services_.fileExists(environment_.WinDir + L"\\system32\\sfc.exe");
  chkListView_.Fill(CheckRowsFor(environment_.MajorVersion, systemFileChecker));

  scan_ = std::make_unique<ScanControl>(static_cast<ScanView&>(*this),
                                        services_.scanners ? services_.scanners() : ScannerSet(),
                                        environment_);
  statusBar1_.SetText(MakerNotice());
  return true;
}

void TForm1::ApplyWindowSettings() {
  const WindowSettings settings = ReadWindowSettings(SettingsPath(services_.programDirectory));
  if (settings.maximised) {
    showMaximised_ = true;  // on the design place, so that restoring goes back there
    return;
  }
  RECT r;
  GetWindowRect(Handle(), &r);
  const int width = settings.width.value_or(r.right - r.left);
  const int height = settings.height.value_or(r.bottom - r.top);
  // Centred across the desktop with the restored width; the restored top is kept, but pulled
  // back far enough for the title bar to stay on the work area (after a change of screen).
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int top = settings.top.value_or((GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  top = std::clamp<int>(top, work.top,
                        std::max<int>(work.top, work.bottom - GetSystemMetrics(SM_CYCAPTION)));
  SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Show(int showCommand) {
  FormShow();
  ShowWindow(Handle(), showMaximised_ ? SW_SHOWMAXIMIZED : showCommand);
  UpdateWindow(Handle());
}

void TForm1::FormShow() {
  environment_.MultiOS = OperatingSystemCount(services_.bootIniPath) > 1;
  environment_.DesktopWnd = GetDesktopWindow();
  FlatPanel1Resize();
}

void TForm1::Layout() {
  RECT client;
  GetClientRect(Handle(), &client);
  toolBar1_.Resize(client.right);
  statusBar1_.Resize();
  const int top = toolBar1_.Height();
  const int statusHeight = statusBar1_.Height();
  MoveWindow(flatPanel1_.Handle(), 0, top, client.right, kFlatPanel1Height, TRUE);
  const int listTop = top + kFlatPanel1Height;
  MoveWindow(listView2_.Handle(), 0, listTop, client.right,
             std::max<int>(0, client.bottom - listTop - statusHeight), TRUE);
  listView2_.FitColumns();
}

void TForm1::FlatPanel1Resize() {
  RECT inner;
  GetClientRect(flatPanel1_.Handle(), &inner);
  InflateRect(&inner, -1, -1);  // inside the flat border
  const int panel2Left = inner.right - kPanel2Width;
  MoveWindow(panel2_.Handle(), panel2Left, inner.top, kPanel2Width, inner.bottom - inner.top, TRUE);

  RECT first, last;
  GetWindowRect(FlatButton(Flat::Scan), &first);
  GetWindowRect(FlatButton(Flat::Exit), &last);
  MapWindowPoints(nullptr, panel2_.Handle(), reinterpret_cast<POINT*>(&first), 2);
  MapWindowPoints(nullptr, panel2_.Handle(), reinterpret_cast<POINT*>(&last), 2);
  const int left = kLabel1Left;
  const int top = first.top + 2;
  MoveWindow(chkListView_.Handle(), left, top, panel2Left - left - 2, last.bottom - first.top - 2,
             TRUE);
  MoveWindow(seleclAllChkListBtn_, panel2Left - kSelectAllWidth - 2, kSelectAllTop, kSelectAllWidth,
             kSelectAllHeight, TRUE);
  chkListView_.FitColumns();
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (dialog_.OnMessage(message, wParam)) return 0;  // the focus memory
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam) == 1 && lParam == 0);
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == listView2_.Handle()) {
        ShowPopupMenu(lParam);
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      EnableIgnoreCommand();
      break;
    case WM_MEASUREITEM:
      if (MainMenus::Measure(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (MainMenus::Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam),
                          images_.ImageList1.Get()))
        return TRUE;
      break;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Layout();
      return 0;
    case WM_CLOSE:
      RequestExit(ExitKind::Close);
      return 0;
    case kEndMessage:
      RequestExit(ExitKind::End);
      return 0;
    case kDeferredExitMessage:
      if (busyDepth_ == 0 && deferredExit_ != ExitKind::None) CarryOutExit(deferredExit_);
      return 0;
    case WM_DESTROY:
      FormDestroy();
      if (services_.quitOnDestroy) PostQuitMessage(0);
      return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

void TForm1::OnCommand(int command, bool fromAccelerator) {
  // A shortcut key of a menu item that is disabled does nothing.
  if (fromAccelerator && menus_.Bar() &&
      GetMenuState(menus_.Bar(), command, MF_BYCOMMAND) != static_cast<UINT>(-1) &&
      !menus_.Enabled(menus_.Bar(), command))
    return;
  switch (command) {
    case cmd::kScan:
      FlatButton1Click();
      break;
    case cmd::kRepair:
    case cmd::kPopRepair:
      FlatButton2Click();
      break;
    case cmd::kRepairAll:
    case cmd::kPopAll:
      FlatButton3Click();
      break;
    case cmd::kExit:
      Exit_menuClick();
      break;
    case cmd::kBackup:
      ToolButton4Click();
      break;
    case cmd::kRestore:
      ToolButton7Click();
      break;
    case cmd::kHistory:
      ToolButton9Click();
      break;
    case cmd::kClearHistory:
      ClearRepairHistory1Click();
      break;
    case cmd::kHelp:
      Help1Click();
      break;
    case cmd::kContact:
      N7Click();
      break;
    case cmd::kHomePage:
      N8Click();
      break;
    case cmd::kAbout:
      Windows1Click();
      break;
    case cmd::kSelectAll:
      SeleclAllChkListBtnClick();
      break;
    case cmd::kIgnore:
      Pop_IgnoreClick();
      break;
    case cmd::kIgnoreList:
      IgnoreList_menuClick();
      break;
    default:
      break;  // IDOK, IDCANCEL from dialog keys
  }
}

LRESULT TForm1::OnNotify(NMHDR* header) {
  if (toolBar1_.HandleNotify(header)) return 0;
  if (header->hwndFrom == listView2_.Handle() && header->code == LVN_COLUMNCLICK) {
    ListView2ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    return 0;
  }
  return 0;
}

void TForm1::ShowPopupMenu(LPARAM where) {
  POINT at = {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  if (where == -1) {  // from the keyboard: beside the selected row, or the list's corner
    RECT r = {};
    const int selected = ListView_GetNextItem(listView2_.Handle(), -1, LVNI_SELECTED);
    if (selected < 0 || !ListView_GetItemRect(listView2_.Handle(), selected, &r, LVIR_LABEL))
      r = RECT{};
    at = {r.left, r.bottom};
    ClientToScreen(listView2_.Handle(), &at);
  }
  // The menu runs a modal loop of its own.
  const BusySection busy(*this);
  TrackPopupMenu(menus_.Popup(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

void TForm1::SeleclAllChkListBtnClick() {
  const bool selectAll = selectAllOffered_;
  selectAllOffered_ = !selectAll;
  SetWindowTextW(seleclAllChkListBtn_, selectAll ? L"全否" : L"全选");
  chkListView_.SetAllChecked(selectAll);
}

void TForm1::ListView2ColumnClick(int column) { listView2_.SortDescending(column); }

void TForm1::Exit_menuClick() { RequestExit(ExitKind::Close); }

void TForm1::RequestExit(ExitKind kind) {
  if (busyDepth_ > 0) {
    deferredExit_ = std::max(deferredExit_, kind);
    // The disk walks end at their next look at the flag; the rest of the scan command is short.
    if (scan_) scan_->Stop();
    return;
  }
  CarryOutExit(kind);
}

void TForm1::CarryOutExit(ExitKind kind) {
  deferredExit_ = ExitKind::None;
  if (kind == ExitKind::Close) FormClose();
  Destroy();
}

void TForm1::FormClose() {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(Handle(), &placement);
  const bool minimised = IsIconic(Handle()) != FALSE;
  const bool maximised =
      IsZoomed(Handle()) || (minimised && (placement.flags & WPF_RESTORETOMAXIMIZED));
  RECT r;
  if (minimised) {
    // A minimised window's own place is far off the screen; what counts is where it comes back.
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    r = placement.rcNormalPosition;
    OffsetRect(&r, work.left, work.top);
  } else {
    GetWindowRect(Handle(), &r);
  }
  WriteWindowSettings(SettingsPath(services_.programDirectory), maximised, r.top, r.bottom - r.top,
                      r.right - r.left);
}

void TForm1::FormDestroy() {
  // The scan goes first: its threads' hand-offs must be refused before the controls go.
  scan_.reset();
  osInfo_.reset();
  helpViewer_.reset();
  environment_.WinDir.clear();
}

#include "shell/core/Form1.h"

#include <cmath>
#include <utility>

#include "common/font.h"
#include "common/owner.h"
#include "common/screen.h"
#include "common/tickcount64.h"
#include "common/version.h"
#include "shell/core/CrashGuard.h"
#include "shell/core/HandleWindows.h"
#include "shell/core/clsGradient.h"

namespace {

// The buttons of the window. None answers a dialog key: Enter and Escape come as IDOK (1) and
// IDCANCEL (2), so these ids stay clear of both.
enum class ControlId : int {
  ExitButton = 101,          // Command1
  DisableQuickLaunch = 102,  // Command2, hidden
  EnableQuickLaunch = 103,   // Command3, hidden
};

// The fixed buttons of the taskbar, in the order they are added.
constexpr FixedButton kFixedButtons[] = {FixedButton::Start,        FixedButton::QuickLaunchA,
                                         FixedButton::QuickLaunchB, FixedButton::QuickLaunchC,
                                         FixedButton::QuickLaunchD, FixedButton::QuickLaunchE,
                                         FixedButton::Print,        FixedButton::Grip};

// What the quick-launch buttons open.
struct QuickLaunch {
  FixedButton button;
  const wchar_t* key;
};
constexpr QuickLaunch kQuickLaunchLinks[] = {
    {FixedButton::QuickLaunchA, L"KS_A_Link"}, {FixedButton::QuickLaunchB, L"KS_B_Link"},
    {FixedButton::QuickLaunchC, L"KS_C_Link"}, {FixedButton::QuickLaunchD, L"KS_D_Link"},
    {FixedButton::QuickLaunchE, L"KS_E_Link"}, {FixedButton::Print, L"Prindle_Link"}};
constexpr UINT kSendToBack = WM_APP + 1;
// The keyboard hook's word that the Windows key or Ctrl+Esc was pressed.
constexpr UINT kStartKeys = WM_APP + 2;
// Explorer, started again, makes a new Windows taskbar and says so to every top-level window. It
// is hidden again at most once a second: a burst of these notices (or a restarting Explorer
// that keeps announcing itself) costs one take-back per second, never a loop.
constexpr UINT_PTR kTakeBackTimer = 1;
constexpr uint64_t kTakeBackIntervalMs = 1000;
constexpr wchar_t kOwnerClass[] = L"ZephraShellApplication";

// Design places in twips.
constexpr double kCommand1Left = 165, kCommand1Top = 180, kCommand1Width = 990,
                 kCommand1Height = 315;
constexpr double kIconLeft = 330;
constexpr double kIconTops[] = {720, 1890, 3120, 4305, 5550};
// Resource numbers of the desktop icons' pictures.
constexpr int kFirstIconPicture = 101;

}  // namespace

Form1::Form1(const rwini::IniFile& config, ShellServices services)
    : config_(config),
      services_(std::move(services)),
      frmTaskBarMenu_(taskBar1_, services_.showMessage ? services_.showMessage
                                                       : &FrmTaskBarMenu::ShowMessageBox),
      frmStartMenu_(config, FrmStartMenu::Services{services_.openLink, services_.startCommand,
                                                   [this] { UnloadAll(); }}) {}

Form1::~Form1() { Destroy(); }

bool Form1::Load() {
  owner_ = common::CreateHiddenOwner(kOwnerClass, L"ZephraShell");
  ClassSpec windowClass;
  windowClass.name = L"ZephraShellDesktop";
  windowClass.style = CS_DBLCLKS;
  windowClass.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  // Owned by the hidden window and without WS_EX_APPWINDOW: no task list shows it.
  if (!Create(windowClass, WS_EX_CONTROLPARENT, L"Form1", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
              common::ScreenWidthPixels(), common::ScreenHeightPixels(), owner_.Get()))
    return false;

  buttonFont_ = common::CreateSongTiFont(9);
  command1_ = common::CreateControl(
      L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
      common::TwipsToPixelsX(kCommand1Left), common::TwipsToPixelsY(kCommand1Top),
      common::TwipsToPixelsX(kCommand1Width), common::TwipsToPixelsY(kCommand1Height), Handle(),
      static_cast<int>(ControlId::ExitButton));
  SendMessageW(command1_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), FALSE);
  command2_ = common::CreateControl(L"BUTTON", L"禁止任务栏", BS_PUSHBUTTON, 0, 0, 80, 21, Handle(),
                                    static_cast<int>(ControlId::DisableQuickLaunch));
  command3_ = common::CreateControl(L"BUTTON", L"激活任务栏", BS_PUSHBUTTON, 0, 0, 80, 21, Handle(),
                                    static_cast<int>(ControlId::EnableQuickLaunch));
  CreateTaskBar();
  CreateIcons();
  dialog_.Attach(Handle(), command1_);

  // Height of what the Windows taskbar occupies below the work area, kept for the give-back.
  trayHeight_ = static_cast<float>(HandleWindows::GetTrayHeight() / common::TwipsPerPixelY());
  CrashGuard::Arm(trayHeight_);

  // Reserve the strip: maximised windows leave the bottom 54 pixels to the shell's taskbar.
  const int screenWidth = common::ScreenWidthPixels();
  const int screenHeight = common::ScreenHeightPixels();
  HandleWindows::SetWorkArea(0, 0, static_cast<int16_t>(screenWidth),
                             static_cast<int16_t>(screenHeight - kStripHeight));
  HandleWindows::HideTaskbar();
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  ShowWindow(Handle(), SW_SHOWMAXIMIZED);  // the first resize paints the background
  UpdateWindow(Handle());
  HandleWindows::WindowCommandByClass(L"explorer.exe", HandleWindows::kHide);
  HandleWindows::WindowCommandByClass(L"Shell_traywnd", HandleWindows::kHide);
  StartTray();
  LoadStartMenu();

  LoadIcons();
  startKeys_.Install(Handle(), kStartKeys);
  const std::wstring caption = L"退出v" + GetMyVersion();
  SetWindowTextW(command1_, caption.c_str());
  dialog_.GiveFocus();
  return true;
}

std::wstring Form1::GetMyVersion() {
  if (versionText_.empty()) {
    const common::ProgramVersion version = common::ReadOwnVersion();
    versionText_ = std::to_wstring(version.major) + L"." + std::to_wstring(version.minor);
  }
  return versionText_;
}

void Form1::CreateTaskBar() {
  // Kept along the bottom edge by every resize; in the tab order after the exit button.
  const int width = common::ScreenWidthPixels();
  taskBar1_.Create(Handle(), 0, common::ScreenHeightPixels() - TaskBar::kHeightPixels, width);
  SetWindowPos(taskBar1_.Handle(), command1_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  taskBar1_.SetButtonClicked(
      [this](int16_t index, int16_t button) { TaskBarButtonClicked(index, button); });
  taskBar1_.SetMenu(&frmTaskBarMenu_);
  for (const FixedButton button : kFixedButtons)
    taskBar1_.AddButton(ImageOf(button), button == FixedButton::Start, true);
  taskBar1_.LoadTasks();
}

void Form1::EnableQuickLaunch(bool enable) {
  for (int16_t i = Position(FixedButton::Start); i <= Position(FixedButton::Print); ++i)
    taskBar1_.ButtonEnable(i, enable);
}

void Form1::CreateIcons() {
  ctlIcon::Events events;
  events.gotFocus = [this](int index) { OpenLink(L"ZM" + std::to_wstring(index + 1) + L"_Link"); };
  events.lostFocus = [this](int index) {
    Icon(index).Clear();
    Icon(index).LoadGUI();
  };
  for (int i = 0; i < 5; ++i) {
    auto icon = std::make_unique<ctlIcon>(i, events);
    common::Bitmap picture(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kFirstIconPicture + i), IMAGE_BITMAP,
                   0, 0, LR_CREATEDIBSECTION)));
    icon->Create(Handle(), common::TwipsToPixelsX(kIconLeft), common::TwipsToPixelsY(kIconTops[i]),
                 picture.Get(), L"");
    icons_.push_back(std::move(icon));
  }
}

void Form1::LoadIcons() {
  for (int i = 0; i < static_cast<int>(icons_.size()); ++i)
    Icon(i).SetCaption(
        config_.ReadIni(rwini::kSection, L"ZM" + std::to_wstring(i + 1) + L"_Caption", L""));
  const int left = common::TwipsToPixelsX(kIconLeft);
  for (auto& icon : icons_) {
    RECT rect;
    GetWindowRect(icon->Handle(), &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(icon->Handle(), nullptr, left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Form1::LoadStartMenu() {
  if (!frmStartMenu_.Load()) return;
  // Hidden, at the left edge, its bottom edge on the taskbar's top edge (all in twips).
  RECT rect = {};
  GetWindowRect(Handle(), &rect);
  frmStartMenu_.SetLeft(0);
  frmStartMenu_.SetTop(common::PixelsToTwipsY(rect.bottom - rect.top) -
                       frmStartMenu_.ScaleHeight() - common::PixelsToTwipsY(taskBar1_.Height()));
}

void Form1::StartTray() {
  TrayWindow::Host host;
  host.notify = [this](const tray::NotifyRequest& request) {
    return taskBar1_.Tray().Apply(request);
  };
  host.stripRect = [this] {
    RECT rect = {};
    GetWindowRect(taskBar1_.Handle(), &rect);
    return rect;
  };
  host.lookForOrphans = [this] { taskBar1_.Tray().RemoveOrphans(); };
  if (!tray_.Create(std::move(host))) return;
  taskBar1_.SetTrayMoved([this] { PlaceTray(); });
  PlaceTray();
  // A crash gives the icons back as well: the tray window is closed on its own thread.
  const HWND trayWindow = tray_.Handle();
  CrashGuard::SetBeforeGiveBack([trayWindow] {
    if (GetWindowThreadProcessId(trayWindow, nullptr) == GetCurrentThreadId()) {
      DestroyWindow(trayWindow);
    } else {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(trayWindow, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
    }
    TrayWindow::AnnounceTaskbar();
  });
  // Programs that run already add their icons again, now to the shell.
  TrayWindow::AnnounceTaskbar();
}

void Form1::PlaceTray() {
  if (!tray_.Handle() || !taskBar1_.Handle()) return;
  RECT strip = {};
  GetWindowRect(taskBar1_.Handle(), &strip);
  const StripLayout::Area area = taskBar1_.Layout().NotificationArea();
  const RECT notifyArea = {strip.left + area.left, strip.top, strip.left + area.right,
                           strip.bottom};
  tray_.Place(strip, notifyArea);
}

void Form1::CloseTray() {
  if (!tray_.Handle()) return;
  CrashGuard::SetBeforeGiveBack(nullptr);
  tray_.Destroy();
  taskBar1_.Tray().Icons().Clear();
  TrayWindow::AnnounceTaskbar();
}

void Form1::TaskBarButtonClicked(int16_t Index, int16_t /*Button*/) {
  const auto clicked = static_cast<FixedButton>(Index);
  if (clicked == FixedButton::Start) {
    menuShown_ = true;
    frmStartMenu_.ShowForm();
    // A movement over the desktop among the fade's events has closed the menu again; making it
    // topmost now would show it once more, unseen at opacity 0, over whatever lies below.
    // Likewise when the user turned to another window meanwhile, which hid the menu.
    if (!menuShown_ || !frmStartMenu_.Visible()) return;
    frmStartMenu_.MeTop();
    frmStartMenu_.ZOrder();
  } else {
    for (const QuickLaunch& link : kQuickLaunchLinks)
      if (link.button == clicked) OpenLink(link.key);
  }
}

void Form1::OpenLink(const std::wstring& key) {
  // Read at the moment of the click, so an edited link takes effect without a restart.
  const std::wstring link = config_.ReadIni(rwini::kSection, key, L"");
  services_.openLink(Handle(), link);
}

void Form1::ToggleStartMenu() {
  if (menuShown_ && frmStartMenu_.Visible()) {
    CloseStartMenu();
    return;
  }
  // The desktop takes the activation, as a click on the start button gives it: turning to
  // another window afterwards closes the menu. The system may refuse; the menu opens anyway.
  SetForegroundWindow(Handle());
  TaskBarButtonClicked(Position(FixedButton::Start), static_cast<int16_t>(MouseButton::Left));
}

void Form1::DesktopMouseMove() {
  taskBar1_.ResetLastButton();  // the strip itself hears nothing when the pointer leaves it
  CloseStartMenu();
}

void Form1::CloseStartMenu() {
  // Any movement over the background closes a menu that the start button opened, with its
  // submenu.
  if (frmStartMenu_.ButtonOver()) {
    frmStartMenu_.HideXForm();
    frmStartMenu_.SetButtonOver(false);
    menuShown_ = true;
  }
  if (menuShown_) {
    menuShown_ = false;
    frmStartMenu_.HideForm();
  }
}

void Form1::TaskbarCreated() {
  const uint64_t now = common::TickCount64();
  if (lastTakeBack_ != 0 && now - lastTakeBack_ < kTakeBackIntervalMs) {
    // Too soon after the last one: once more when the second is over (one timer, however many
    // notices come meanwhile).
    SetTimer(Handle(), kTakeBackTimer,
             static_cast<UINT>(kTakeBackIntervalMs - (now - lastTakeBack_)), nullptr);
    return;
  }
  TakeDesktopBack();
}

void Form1::TakeDesktopBack() {
  KillTimer(Handle(), kTakeBackTimer);
  lastTakeBack_ = common::TickCount64();
  // The new Windows taskbar has set its own work area: the strip is the shell's again.
  HandleWindows::SetWorkArea(0, 0, static_cast<int16_t>(common::ScreenWidthPixels()),
                             static_cast<int16_t>(common::ScreenHeightPixels() - kStripHeight));
  HandleWindows::HideTaskbar();
  tray_.KeepFirst();  // above the new Windows taskbar's window
}

void Form1::Compose(int width, int height) {
  common::MemorySurface& surface = DrawingSurface();
  surface.Resize(width, height);
  clsGradient gradient;
  gradient.Gradient(surface, 1, kStartColor, kEndColor);
  Present();
}

void Form1::OnResize(int width, int height) {
  if (taskBar1_.Handle() && width > 0 && height > 0)
    SetWindowPos(taskBar1_.Handle(), nullptr, 0, height - taskBar1_.Height(), width,
                 taskBar1_.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceTray();
}

void Form1::CloseHandler() {
  // Runs for every close, whatever its reason; it never cancels the close. The work area is
  // given back only by UnloadAll.
  HandleWindows::WindowCommandByClass(L"explorer.exe", HandleWindows::kShow);
  HandleWindows::WindowCommandByClass(L"Shell_traywnd", HandleWindows::kShow);
}

void Form1::Unload() {
  if (Handle() == nullptr) return;
  CloseHandler();
  Destroy();
}

void Form1::UnloadAll() {
  unloading_ = true;
  startKeys_.Remove();
  HandleWindows::RestoreTaskbar(trayHeight_);
  CloseTray();
  CrashGuard::Disarm();
  taskBar1_.SubClassOff();  // no task button stays hooked
  Unload();
  frmStartMenu_.UnloadAll();  // the entries stop tracking the pointer
  frmStartMenu_.UnloadXForm();
  frmStartMenu_.Unload();  // with the placeholder, the Internet and the fallback submenus
  frmTaskBarMenu_.Unload();
  frmStartMenu_.UnloadRemaining();
  Unload();  // a second unload of an unloaded window does nothing
  services_.quitLoop();
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (dialog_.OnMessage(message, wParam)) return 0;  // the focus memory
  // The shell's own notice of its tray window is no new Windows taskbar, nor one after the
  // desktop was given back.
  if (message == taskbarCreated_ && taskbarCreated_ != 0 && !unloading_ &&
      !TrayWindow::Announcing() && CrashGuard::Armed()) {
    TaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_GETMINMAXINFO: {
      // Maximised, the desktop covers the whole screen, not just the work area.
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMaxPosition = {0, 0};
      info->ptMaxSize = {common::ScreenWidthPixels(), common::ScreenHeightPixels()};
      info->ptMaxTrackSize = info->ptMaxSize;
      return 0;
    }
    case WM_WINDOWPOSCHANGING: {
      // A desktop stays behind every other window, also when it is clicked. An owned window
      // cannot go below its owner, so the hidden owner goes to the bottom first; and a move
      // that activates would raise the window again, so it only moves.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!(pos->flags & SWP_NOZORDER)) {
        SetWindowPos(owner_.Get(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        pos->hwndInsertAfter = HWND_BOTTOM;
        pos->flags |= SWP_NOACTIVATE;
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      DesktopMouseMove();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && GetFocus() == command1_) {
        // Enter on the focused exit button presses it, as a focused button answers Enter;
        // Enter anywhere else and Escape anywhere do nothing on the desktop.
        UnloadAll();
        return 0;
      }
      if (HIWORD(wParam) == BN_CLICKED) {
        switch (static_cast<ControlId>(LOWORD(wParam))) {
          case ControlId::ExitButton:
            UnloadAll();
            break;
          case ControlId::DisableQuickLaunch:
            EnableQuickLaunch(false);
            break;
          case ControlId::EnableQuickLaunch:
            EnableQuickLaunch(true);
            break;
        }
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        // Activation raises a window; the desktop goes back down once it is done.
        PostMessageW(Handle(), kSendToBack, 0, 0);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kTakeBackTimer) TakeDesktopBack();
      return 0;
    case kStartKeys:
      if (!unloading_) ToggleStartMenu();
      return 0;
    case kSendToBack:
      SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) CloseHandler();
      return 0;
    case WM_DESTROY:
      // Closed by other means than the exit button: the process has nothing left to show.
      if (!unloading_) services_.quitLoop();
      return 0;
    default:
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
  }
}

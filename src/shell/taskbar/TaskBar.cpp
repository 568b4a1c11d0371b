#include "shell/taskbar/TaskBar.h"

#include <windowsx.h>

#include <algorithm>

#include "common/screen.h"
#include "shell/core/SkinImages.h"
#include "shell/menus/PopupMenu.h"

namespace {

// A Repaint that waited for a rebuild or a release to end runs from the queue.
constexpr UINT kRepaintLater = WM_APP + 1;
// The notification area's icons need another width: laid out from the queue, not from inside
// the program's request.
constexpr UINT kTrayLayout = WM_APP + 20;

MouseButton ButtonOf(UINT message) {
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) return MouseButton::Right;
  if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP) return MouseButton::Middle;
  return MouseButton::Left;
}

}  // namespace

TaskBar::TaskBar()
    : canvas_(DrawingSurface(),
              [this](int x0, int x1) {
                Present({x0, 0, x1, Surface().Height()});
              }),
      fixed_(canvas_),
      tray_(canvas_, layout_, [this] { PostMessageW(Handle(), kTrayLayout, 0, 0); }),
      taskArea_(layout_, {[this] { SetTimer(Handle(), kClockTimer, kTickMs, nullptr); },
                          [this] { SetTimer(Handle(), kPollTimer, kTickMs, nullptr); },
                          [this] { RepaintIfPending(); }}) {}

TaskBar::~TaskBar() { Destroy(); }

bool TaskBar::Create(HWND parent, int x, int y, int width) {
  DrawingSurface().Resize(std::max(width, 1), Height(), canvas_.TaskBarColor());
  layout_.SetStripWidth(Surface().Width());
  ClassSpec windowClass;
  windowClass.name = L"ZephraTaskBar";
  if (!Window::Create(windowClass, 0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, x,
                      y, width, Height(), parent))
    return false;
  taskArea_.Create(Handle(), canvas_.Style());
  tray_.Create(Handle());
  LoadGUI();
  return true;
}

void TaskBar::SetStyle(int32_t strStyle) {
  canvas_.SetStyle(strStyle);
  taskArea_.SetStyle(strStyle);
  LoadGUI();
}

void TaskBar::LoadGUI() {
  canvas_.SetTaskBarColor(kDefaultTaskBarColor);
  clock_.Forget();  // painted over: the next tick paints it again
  const int width = Surface().Width();
  const auto border = static_cast<int16_t>(StripLayout::kBorder);
  canvas_.PaintSkin(border, SkinImages::TaskBarBorder(), 0, 0, true, 0);
  canvas_.PaintBackground(border, width - border);
  canvas_.PaintSkin(border, SkinImages::TaskBarBorder(), static_cast<int16_t>(width - border), 0,
                    true, 0);
  tray_.Paint();
  RECT rect;
  if (Handle() && GetClientRect(Handle(), &rect) && rect.bottom != Height())
    SetWindowPos(Handle(), nullptr, 0, 0, rect.right, Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  canvas_.Refresh(0, width);
}

void TaskBar::AddButton(int32_t Icon, bool Arrow, bool Enabled) {
  fixed_.AddButton(Icon, Arrow, Enabled);
  layout_.SetFixedButtonsRight(fixed_.Right());
}

void TaskBar::MouseDown(MouseButton button, int x) {
  fixed_.Press(x);
  if (button == MouseButton::Right) OpenMenu(x);
}

void TaskBar::OpenMenu(int x) {
  if (menu_ == nullptr || !menu_->Load()) return;
  // Above the strip, at the pointer, kept inside the right screen edge (all in twips).
  const double screenWidth = common::PixelsToTwipsX(common::ScreenWidthPixels());
  const double screenHeight = common::PixelsToTwipsY(common::ScreenHeightPixels());
  const double top = screenHeight - common::PixelsToTwipsY(kHeightPixels) - menu_->Height();
  double left = x * common::TwipsPerPixelX();
  if (left + menu_->Width() > screenWidth) left = screenWidth - menu_->Width();
  menu_->Move(left, top);
  menu_->ShowForm();
}

void TaskBar::MouseUp(MouseButton button, int x) {
  const int16_t clicked = fixed_.Release(x);
  if (clicked != Position(FixedButton::None) && buttonClicked_)
    buttonClicked_(clicked, static_cast<int16_t>(button));
}

void TaskBar::RepaintIfPending() {
  if (repaintPending_ && !taskArea_.Busy() && Handle()) PostMessageW(Handle(), kRepaintLater, 0, 0);
}

void TaskBar::Repaint() {
  // A rebuild or a task button's release is letting events run and still holds a button:
  // destroying the buttons now would pull it from under them. The repaint follows when they end.
  if (taskArea_.Busy()) {
    repaintPending_ = true;
    return;
  }
  repaintPending_ = false;
  LoadTasks();  // empties the bin first
  fixed_.RepaintAll();
}

void TaskBar::LayOutTray() {
  const int before = layout_.NotificationArea().left;
  layout_.SetNotificationWidth(tray_.NeededWidth());
  tray_.Paint(before);
  if (trayMoved_) trayMoved_();
  taskArea_.Relayout();  // the task buttons take the task area's new width
}

void TaskBar::Compose(int width, int /*height*/) {
  if (width <= 0 || width == Surface().Width()) return;
  DrawingSurface().Resize(width, Height(), canvas_.TaskBarColor());
  layout_.SetStripWidth(width);
  LoadGUI();
}

LRESULT TaskBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The mouse over a notification-area icon is its program's.
  if (message >= WM_MOUSEFIRST && message <= WM_MBUTTONUP && tray_.OnMouse(message, wParam, lParam))
    return 0;
  // The keyboard on a notification-area icon (after its program's NIM_SETFOCUS).
  if (((message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_KILLFOCUS) &&
      tray_.OnKey(message, wParam))
    return 0;
  switch (message) {
    case WM_GETDLGCODE:
      // While an icon has the keyboard, the arrows, Enter and Escape are the strip's.
      if (tray_.FocusedIcon() != nullptr) return DLGC_WANTALLKEYS;
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
    case WM_TIMER:
      if (wParam == kClockTimer) ClockTick();
      if (wParam == kPollTimer) PollTick();
      return 0;
    case WM_MOUSEMOVE:
      fixed_.RepaintIcon(fixed_.GetButtonIndex(GET_X_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The strip keeps the mouse from press to release; only the release's x counts.
      SetCapture(Handle());
      MouseDown(ButtonOf(message), GET_X_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == Handle())
        ReleaseCapture();
      MouseUp(ButtonOf(message), GET_X_LPARAM(lParam));
      return 0;
    case kTrayLayout:
      LayOutTray();
      return 0;
    case kRepaintLater:
      if (repaintPending_) Repaint();
      return 0;
    case WM_DESTROY:
      KillTimer(Handle(), kClockTimer);
      KillTimer(Handle(), kPollTimer);
      return 0;
    default:
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
  }
}

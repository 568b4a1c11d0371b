#include "shell/taskbar/TaskBar.h"

#include <windowsx.h>

#include <algorithm>

#include "common/font.h"
#include "common/pump.h"
#include "common/screen.h"
#include "common/text.h"
#include "shell/core/RipPicture.h"
#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"
#include "shell/menus/PopupMenu.h"
#include "shell/taskbar/ModEnumTasks.h"

namespace {

constexpr int kClockWidth = 100;
constexpr DWORD kEventsEveryMs = 5;
// Hidden buttons kept for the next rebuild.
constexpr size_t kSparesKept = 16;
// A Repaint that waited for a rebuild or a release to end runs from the queue.
constexpr UINT kRepaintLater = WM_APP + 1;
constexpr int16_t kTaskCaptionOffset = 25;
// How long a rebuild may keep starting over for a task list that changes under it.
constexpr DWORD kRestartsForMs = 2000;

std::wstring ClockText() {
  char date[128] = {}, time[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date, sizeof(date));
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof(time));
  return common::FromAnsi(date) + L"\r\n" + common::FromAnsi(time);
}

}  // namespace

TaskBar::TaskBar() = default;

TaskBar::~TaskBar() { Destroy(); }

bool TaskBar::Create(HWND parent, int x, int y, int width) {
  font_ = common::CreatePointFont(L"Tahoma", 8.25, FW_BOLD, ANSI_CHARSET);
  Picture1.Resize(24, 24, 0xFFFFFF);
  DrawingSurface().Resize(std::max(width, 1), Height(), taskBarColor_);
  ClassSpec windowClass;
  windowClass.name = L"ZephraTaskBar";
  if (!Window::Create(windowClass, 0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, x,
                      y, width, Height(), parent))
    return false;
  TaskBarButton1.push_back(NewButton());  // element 0 exists from the start
  LoadGUI();
  return true;
}

int TaskBar::Height() const { return kHeightPixels; }

std::unique_ptr<TaskBarButton> TaskBar::NewButton() {
  auto button = std::make_unique<TaskBarButton>(TaskBarButton::Host{[this] { ++releasesRunning_; },
                                                                    [this] {
                                                                      --releasesRunning_;
                                                                      RepaintIfPending();
                                                                    }});
  // A new element takes its look from element 0.
  const int32_t style = TaskBarButton1.empty() ? style_ : TaskBarButton1[0]->Style();
  button->Create(Handle(), style);
  return button;
}

int16_t TaskBar::PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX,
                           int16_t OffsetY, bool Enabled, int16_t Brightness) {
  return ::PaintSkin(DrawingSurface(), SkinRules::TaskBar(taskBarColor_), RunLength, Skin, OffsetX,
                     OffsetY, Enabled, Brightness);
}

void TaskBar::Refresh(int x0, int x1) { Present({x0, 0, x1, Surface().Height()}); }

void TaskBar::SetStyle(int32_t strStyle) {
  style_ = strStyle;
  TaskBarButton1[0]->SetStyle(strStyle);
  LoadGUI();
}

void TaskBar::LoadGUI() {
  taskBarColor_ = kDefaultTaskBarColor;
  clockShown_.clear();
  const auto width = static_cast<int16_t>(ScaleWidth());
  const SkinImage& background = SkinImages::TaskBarBackground(style_);
  PaintSkin(1, SkinImages::TaskBarBorder(), 0, 0, true, 0);
  PaintSkin(static_cast<int16_t>(width - 2), background, 1, 0, true, 0);
  PaintSkin(1, SkinImages::TaskBarBorder(), static_cast<int16_t>(width - 1), 0, true, 0);
  RECT rect;
  if (Handle() && GetClientRect(Handle(), &rect) && rect.bottom != Height())
    SetWindowPos(Handle(), nullptr, 0, 0, rect.right, Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Refresh(0, width);
}

int16_t TaskBar::ReadIcon(int32_t Index, int16_t Left, int16_t OffsetX, int16_t OffsetY, bool Arrow,
                          bool Enabled, int16_t Brightness) {
  const auto x = static_cast<int16_t>(Left + OffsetX);
  int16_t last = 0;
  if (Index == kGripImage)
    last = PaintSkin(1, SkinImages::QuickLaunch(kGripImage), x, OffsetY, true, 0);
  else if (Index >= ImageOf(FixedButton::Start) && Index <= ImageOf(FixedButton::Print))
    last = PaintSkin(1, SkinImages::QuickLaunch(Index), x, OffsetY, Enabled, Brightness);
  if (Arrow && Index != kGripImage) PaintSkin(1, SkinImages::ArrowOverlay(), x, OffsetY, true, 0);
  return last;
}

void TaskBar::AddButton(int32_t Icon, bool Arrow, bool Enabled) {
  const int16_t last = ReadIcon(Icon, nextFixedX_, 0, 0, Arrow, Enabled, 0);
  const auto right = static_cast<int16_t>(nextFixedX_ + last + 5);
  if (Arrow) PaintSkin(1, SkinImages::ArrowOverlay(), nextFixedX_, 0, true, 0);
  fClassList_.push_back({nextFixedX_, right, Icon, Arrow, Enabled});
  Refresh(nextFixedX_, right);
  highlighted_ = -1;
  nextFixedX_ = right;
}

int16_t TaskBar::GetButtonIndex(double x) const {
  for (size_t i = 0; i < fClassList_.size(); ++i)
    if (fClassList_[i].Left < x && x < fClassList_[i].Right) return static_cast<int16_t>(i + 1);
  return 0;
}

void TaskBar::DrawButton(int16_t position, Look look) {
  if (position < 1 || position > static_cast<int16_t>(fClassList_.size())) return;
  const TaskBar_Container& r = fClassList_[static_cast<size_t>(position - 1)];
  PaintSkin(static_cast<int16_t>(r.Right - r.Left), SkinImages::TaskBarBackground(style_), r.Left,
            0, true, 0);
  switch (look) {
    case Look::Normal:
      ReadIcon(r.IconIndex, r.Left, 0, 0, r.Arrow, r.Enabled, 0);
      break;
    case Look::Highlighted:
      ReadIcon(r.IconIndex, r.Left, 2, 2, r.Arrow, r.Enabled, 50);
      break;
    case Look::Pressed:
      ReadIcon(r.IconIndex, r.Left, 2, 2, r.Arrow, r.Enabled, 0);
      break;
  }
  Refresh(r.Left, r.Right + 2);
}

void TaskBar::RepaintIcon(int16_t Index) {
  if (Index == 0) {
    ResetLastButton();
    return;
  }
  if (Index == highlighted_) return;
  const TaskBar_Container& r = fClassList_.at(static_cast<size_t>(Index - 1));
  if (r.IconIndex != 0 && r.Enabled) DrawButton(Index, Look::Highlighted);
  ResetLastButton();
  highlighted_ = Index;  // also when it was not drawn highlighted (the grip, a disabled one)
}

void TaskBar::ResetLastButton() {
  if (highlighted_ != -1) DrawButton(highlighted_, Look::Normal);
  highlighted_ = -1;
}

void TaskBar::ButtonEnable(int16_t Index, bool Enable) {
  if (Index < 1 || Index > static_cast<int16_t>(fClassList_.size())) return;
  fClassList_[static_cast<size_t>(Index - 1)].Enabled = Enable;
  RepaintIcon(Index);
  ResetLastButton();
}

void TaskBar::MouseDown(int16_t button, int x) {
  const int16_t p = GetButtonIndex(x);
  if (p != 0) {
    const TaskBar_Container& r = fClassList_[static_cast<size_t>(p - 1)];
    if (r.IconIndex != 0 && r.Enabled) DrawButton(p, Look::Pressed);
  }
  if (button == 2) OpenMenu(x);
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

void TaskBar::MouseUp(int16_t button, int x) {
  const int16_t p = GetButtonIndex(x);
  if (p == 0) return;
  const TaskBar_Container& r = fClassList_[static_cast<size_t>(p - 1)];
  if (r.IconIndex == 0 || !r.Enabled) return;
  DrawButton(p, Look::Highlighted);
  if (buttonClicked_) buttonClicked_(p, button);
}

void TaskBar::ClockTick() {
  common::MemorySurface& surface = DrawingSurface();
  const int width = ScaleWidth(), height = surface.Height();
  const std::string text = common::ToAnsi(ClockText());
  // The text changes once a second; the nine ticks in between would paint the same pixels.
  // (LoadGUI, which paints over the clock, forgets the text.)
  if (text == clockShown_) return;
  clockShown_ = text;
  const int n = static_cast<int>(text.size());
  HDC dc = surface.Dc();
  common::ScopedSelect font(dc, font_.Get());
  RECT r = {4, 0, width - 4, height};
  const int h = DrawTextA(dc, text.c_str(), n, &r, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  // The clock area is 99 pixels wide; a long date reaches further left, and that part is
  // cleared too, or the old date would stay under the new one after midnight.
  const int textLeft = width - 4 - (r.right - r.left);
  const int clearLeft = std::max(std::min(width - kClockWidth, textLeft), 1);
  PaintSkin(static_cast<int16_t>(width - 1 - clearLeft), SkinImages::TaskBarBackground(style_),
            static_cast<int16_t>(clearLeft), 0, true, 0);
  r = {4, static_cast<LONG>(common::RoundHalfEven(height / 2.0 - h / 2.0)), width - 4,
       static_cast<LONG>(common::RoundHalfEven(h / 2.0 + height / 2.0))};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, text.c_str(), n, &r, DT_WORDBREAK | DT_RIGHT);
  GdiFlush();
  Refresh(clearLeft, width);
}

void TaskBar::PollTick() {
  // A rebuild lets events run while it reads icons, and so does a task button's release
  // handler: a tick arriving then does nothing. A rebuild started inside them would refresh the
  // list the rebuild is reading, or destroy the button whose handler is still running; the next
  // tick after they end sees the changed count and rebuilds then.
  if (rebuilding_ || releasesRunning_ > 0) return;
  // The enumeration lets events run when it is long; a tick among them does nothing.
  common::ReentryGuard guard(polling_);
  if (!guard.Entered()) return;
  EnumTasks1.GetWindows();
  const int n = std::stoi(EnumTasks1.RunningAppCount());
  if (n != knownTaskCount_) {
    knownTaskCount_ = n;
    LoadTasks();
  }
}

void TaskBar::LoadTasks() {
  {
    common::ReentryGuard guard(rebuilding_);
    if (!guard.Entered()) return;
    Rebuild();
    TrimSpares();
  }
  RepaintIfPending();
}

void TaskBar::Rebuild() {
  SetTimer(Handle(), kClockTimer, kTickMs, nullptr);
  // Windows that open or close while the buttons are made would leave buttons for windows that
  // are gone until a further rebuild after this one: the rebuild starts over as soon as it sees
  // the change. After a while it finishes in any case, so that a list that never rests still
  // gets its buttons; the next poll tick sees what changed since.
  const DWORD began = GetTickCount();
  while (!BuildButtons(GetTickCount() - began < kRestartsForMs)) {
  }
  // With no task left, no button stands for a window that is gone.
  if (knownTaskCount_ == 0) ShowWindow(TaskBarButton1[0]->Handle(), SW_HIDE);
  SetTimer(Handle(), kPollTimer, kTickMs, nullptr);
}

bool TaskBar::BuildButtons(bool mayRestart) {
  EmptyButtonBin();
  EnumTasks1.GetWindows();
  knownTaskCount_ = std::stoi(EnumTasks1.RunningAppCount());
  layout_.Begin(fClassList_.empty() ? 0 : fClassList_.back().Right, ScaleWidth(), knownTaskCount_);
  DWORD checked = GetTickCount();
  for (int i = 0; i < knownTaskCount_; ++i) {
    LoadTaskButton(static_cast<int16_t>(i));
    LoadEmpytButton();
    // As often as the poll would look, and only then: counting costs a pass over the windows.
    if (mayRestart && GetTickCount() - checked >= kTickMs) {
      common::PeriodicPump events(kEventsEveryMs, false);
      if (ModEnumTasks::CountTasks([&] { events.Step(); }) != knownTaskCount_) return false;
      checked = GetTickCount();
    }
  }
  return true;
}

void TaskBar::LoadTaskButton(int16_t Index) {
  if (Index < 0 || Index >= static_cast<int16_t>(TaskBarButton1.size())) return;
  const int count = std::stoi(EnumTasks1.RunningAppCount());
  TaskBarButton& button = *TaskBarButton1[static_cast<size_t>(Index)];
  const TaskButtonLayout::Place place = layout_.Next(count, button.FaceHeight());
  SetWindowPos(button.Handle(), nullptr, place.left, place.top, place.width, button.FaceHeight(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  button.SetOffSet(kTaskCaptionOffset);
  button.SetCaption(EnumTasks1.GetAppName(Index));
  button.SetIntHWND(static_cast<HWND>(common::TextToHandle(EnumTasks1.GetAppHWND(Index))));
  Picture1.FillRect(0, 0, Picture1.Width(), Picture1.Height(), 0xFFFFFF);
  EnumTasks1.GetIcon(Picture1.Dc(), Index);
  const std::string icon = RipPicture(0xFFFFFF);
  button.SetImage(icon);
  button.PrintIcon(icon);
  Picture1.FillRect(0, 0, Picture1.Width(), Picture1.Height(), 0xFFFFFF);
  button.SubClassMe();
}

void TaskBar::LoadEmpytButton() {
  if (spare_.empty()) {
    TaskBarButton1.push_back(NewButton());
    return;
  }
  // A button put aside by the last emptying, made again what a new element is: invisible, with
  // element 0's look and nothing of the task it showed.
  std::unique_ptr<TaskBarButton> button = std::move(spare_.back());
  spare_.pop_back();
  button->Reset(TaskBarButton1[0]->Style());
  TaskBarButton1.push_back(std::move(button));
}

void TaskBar::EmptyButtonBin() {
  if (TaskBarButton1.empty()) return;
  TaskBarButton1[0]->UnSubClassMe();
  // The elements leave the group at once. Inside a rebuild they are only hidden and put aside
  // for the next elements, since destroying and making a couple of hundred windows is what a
  // rebuild would spend most of its time on; elsewhere (shut-down) they are destroyed.
  // Events run every few milliseconds meanwhile; the rebuild's guard keeps others out.
  common::PeriodicPump events(kEventsEveryMs);
  while (TaskBarButton1.size() > 1) {
    std::unique_ptr<TaskBarButton> button = std::move(TaskBarButton1.back());
    TaskBarButton1.pop_back();
    button->UnSubClassMe();
    if (rebuilding_) {
      ShowWindow(button->Handle(), SW_HIDE);
      spare_.push_back(std::move(button));
      events.Step();
    }
  }
  if (!rebuilding_) spare_.clear();
}

void TaskBar::TrimSpares() {
  // What a crowd of windows left behind goes once the buttons are right, a few at a time with
  // events running in between.
  common::PeriodicPump events(kEventsEveryMs);
  while (spare_.size() > kSparesKept) {
    spare_.pop_back();
    events.Step();
  }
}

void TaskBar::SubClassOff() { EmptyButtonBin(); }

void TaskBar::RepaintIfPending() {
  if (repaintPending_ && !rebuilding_ && releasesRunning_ == 0 && Handle())
    PostMessageW(Handle(), kRepaintLater, 0, 0);
}

void TaskBar::Repaint() {
  // A rebuild or a task button's release is letting events run and still holds a button:
  // destroying the buttons now would pull it from under them. The repaint follows when they end.
  if (rebuilding_ || releasesRunning_ > 0) {
    repaintPending_ = true;
    return;
  }
  repaintPending_ = false;
  LoadTasks();  // empties the bin first
  for (size_t p = 1; p <= fClassList_.size(); ++p) RepaintIcon(static_cast<int16_t>(p));
}

std::string TaskBar::RipPicture(int32_t TransColor) const {
  return ::RipPicture(Picture1, TransColor);
}

void TaskBar::Compose(int width, int /*height*/) {
  if (width <= 0 || width == Surface().Width()) return;
  DrawingSurface().Resize(width, Height(), taskBarColor_);
  LoadGUI();
}

LRESULT TaskBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kClockTimer) ClockTick();
      if (wParam == kPollTimer) PollTick();
      return 0;
    case WM_MOUSEMOVE:
      RepaintIcon(GetButtonIndex(GET_X_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The strip keeps the mouse from press to release; only the release's x counts.
      SetCapture(Handle());
      MouseDown(message == WM_LBUTTONDOWN   ? 1
                : message == WM_RBUTTONDOWN ? 2
                                            : 4,
                GET_X_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == Handle())
        ReleaseCapture();
      MouseUp(message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4, GET_X_LPARAM(lParam));
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

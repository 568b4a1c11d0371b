#include "shell/taskbar/TaskArea.h"

#include "common/pump.h"
#include "common/text.h"
#include "shell/core/RipPicture.h"
#include "shell/taskbar/ModEnumTasks.h"

namespace {

// How the rebuild shares the thread: events run every few milliseconds; the task list is counted
// again as often as the poll would look, and the rebuild starts over when it changed, for up to
// two seconds. Hidden buttons are kept for the next rebuild, up to a number.
struct RebuildPacing {
  DWORD eventsEveryMs = 5;
  DWORD recountEveryMs = 100;
  DWORD restartsForMs = 2000;
  size_t sparesKept = 16;
};
constexpr RebuildPacing kPacing;

constexpr int16_t kTaskCaptionOffset = 25;
// The capture surface of one task icon: 24 x 24 pixels on white.
constexpr int kCaptureSize = 24;
constexpr uint32_t kCaptureWhite = 0xFFFFFF;

}  // namespace

TaskArea::TaskArea(const StripLayout& layout, Host host)
    : layout_(layout), host_(std::move(host)) {}

void TaskArea::Create(HWND strip, int32_t style) {
  strip_ = strip;
  style_ = style;
  Picture1.Resize(kCaptureSize, kCaptureSize, kCaptureWhite);
  TaskBarButton1.push_back(NewButton());  // element 0 exists from the start
}

std::unique_ptr<TaskBarButton> TaskArea::NewButton() {
  auto button = std::make_unique<TaskBarButton>(TaskBarButton::Host{[this] { ++releasesRunning_; },
                                                                    [this] {
                                                                      --releasesRunning_;
                                                                      if (host_.settled)
                                                                        host_.settled();
                                                                    }});
  // A new element takes its look from element 0.
  const int32_t style = TaskBarButton1.empty() ? style_ : TaskBarButton1[0]->Style();
  button->Create(strip_, style);
  return button;
}

void TaskArea::SetStyle(int32_t style) {
  style_ = style;
  if (!TaskBarButton1.empty()) TaskBarButton1[0]->SetStyle(style);
}

void TaskArea::PollTick() {
  // A rebuild lets events run while it reads icons, and so does a task button's release
  // handler: a tick arriving then does nothing. A rebuild started inside them would refresh the
  // list the rebuild is reading, or destroy the button whose handler is still running; the next
  // tick after they end sees the changed count and rebuilds then.
  if (Busy()) return;
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

void TaskArea::LoadTasks() {
  {
    common::ReentryGuard guard(rebuilding_);
    if (!guard.Entered()) return;
    Rebuild();
    TrimSpares();
  }
  if (host_.settled) host_.settled();
}

void TaskArea::Rebuild() {
  if (host_.rebuildBegins) host_.rebuildBegins();
  // Windows that open or close while the buttons are made would leave buttons for windows that
  // are gone until a further rebuild after this one: the rebuild starts over as soon as it sees
  // the change. After a while it finishes in any case, so that a list that never rests still
  // gets its buttons; the next poll tick sees what changed since.
  const DWORD began = GetTickCount();
  while (!BuildButtons(GetTickCount() - began < kPacing.restartsForMs)) {
  }
  // With no task left, no button stands for a window that is gone.
  if (knownTaskCount_ == 0) ShowWindow(TaskBarButton1[0]->Handle(), SW_HIDE);
  if (host_.rebuildEnds) host_.rebuildEnds();
}

bool TaskArea::BuildButtons(bool mayRestart) {
  EmptyButtonBin();
  EnumTasks1.GetWindows();
  knownTaskCount_ = std::stoi(EnumTasks1.RunningAppCount());
  places_.Begin(layout_.TaskArea(), knownTaskCount_);
  DWORD checked = GetTickCount();
  for (int i = 0; i < knownTaskCount_; ++i) {
    LoadTaskButton(static_cast<int16_t>(i));
    LoadEmpytButton();
    // Counting costs a pass over the windows: only as often as the poll would look.
    if (mayRestart && GetTickCount() - checked >= kPacing.recountEveryMs) {
      common::PeriodicPump events(kPacing.eventsEveryMs, false);
      if (ModEnumTasks::CountTasks([&] { events.Step(); }) != knownTaskCount_) return false;
      checked = GetTickCount();
    }
  }
  return true;
}

void TaskArea::LoadTaskButton(int16_t Index) {
  if (Index < 0 || Index >= static_cast<int16_t>(TaskBarButton1.size())) return;
  const int count = std::stoi(EnumTasks1.RunningAppCount());
  TaskBarButton& button = *TaskBarButton1[static_cast<size_t>(Index)];
  const TaskButtonLayout::Place place = places_.Next(count, button.FaceHeight());
  SetWindowPos(button.Handle(), nullptr, place.left, place.top, place.width, button.FaceHeight(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  button.SetOffSet(kTaskCaptionOffset);
  button.SetCaption(EnumTasks1.GetAppName(Index));
  button.SetIntHWND(static_cast<HWND>(common::TextToHandle(EnumTasks1.GetAppHWND(Index))));
  Picture1.FillRect(0, 0, Picture1.Width(), Picture1.Height(), kCaptureWhite);
  EnumTasks1.GetIcon(Picture1.Dc(), Index);
  const std::string icon = RipPicture(kCaptureWhite);
  button.SetImage(icon);
  button.PrintIcon(icon);
  Picture1.FillRect(0, 0, Picture1.Width(), Picture1.Height(), kCaptureWhite);
  button.SubClassMe();
}

void TaskArea::LoadEmpytButton() {
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

void TaskArea::EmptyButtonBin() {
  if (TaskBarButton1.empty()) return;
  TaskBarButton1[0]->UnSubClassMe();
  // The elements leave the group at once. Inside a rebuild they are only hidden and put aside
  // for the next elements, since destroying and making a couple of hundred windows is what a
  // rebuild would spend most of its time on; elsewhere (shut-down) they are destroyed.
  // Events run every few milliseconds meanwhile; the rebuild's guard keeps others out.
  common::PeriodicPump events(kPacing.eventsEveryMs);
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

void TaskArea::TrimSpares() {
  // What a crowd of windows left behind goes once the buttons are right, a few at a time with
  // events running in between.
  common::PeriodicPump events(kPacing.eventsEveryMs);
  while (spare_.size() > kPacing.sparesKept) {
    spare_.pop_back();
    events.Step();
  }
}

std::string TaskArea::RipPicture(int32_t TransColor) const {
  return ::RipPicture(Picture1, TransColor);
}

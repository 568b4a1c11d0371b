#include "shell/taskbar/TaskArea.h"

#include <algorithm>

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
    : layout_(layout),
      host_(std::move(host)),
      events_({[this](HWND w) { Came(w); }, [this](HWND w) { Went(w); },
               [this](HWND w) { Retitled(w); }, [this](HWND w) { Redrawn(w); },
               [this](HWND w) { FlashStarts(w); }, [this](HWND w) { FlashStops(w); },
               [this] { PollTick(); }, [this] { FetchIcons(); }}) {}

void TaskArea::Create(HWND strip, int32_t style) {
  strip_ = strip;
  style_ = style;
  Picture1.Resize(kCaptureSize, kCaptureSize, kCaptureWhite);
  TaskBarButton1.push_back(NewButton());  // element 0 exists from the start
  events_.Start();
}

std::unique_ptr<TaskBarButton> TaskArea::NewButton() {
  auto button = std::make_unique<TaskBarButton>(TaskBarButton::Host{[this] { ++releasesRunning_; },
                                                                    [this] {
                                                                      --releasesRunning_;
                                                                      Settled();
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
  // A rebuild or a change of many buttons lets events run, and so does a task button's release
  // handler: a tick or an event arriving then only asks for a look once they have ended. A
  // change made inside them would pull the list or the button they hold from under them.
  if (Busy()) {
    lookAfterwards_ = true;
    return;
  }
  // The enumeration lets events run when it is long; a tick among them does nothing.
  common::ReentryGuard guard(polling_);
  if (!guard.Entered()) return;
  common::PeriodicPump events(kPacing.eventsEveryMs, false);
  const std::vector<ModEnumTasks::Task> now = ModEnumTasks::EnumerateTasks([&] { events.Step(); });
  if (Busy()) {
    lookAfterwards_ = true;
    return;
  }
  const TaskChanges changes = CompareTasks(shown_, now);
  if (changes.Any()) Apply(changes, now);
  ShowFlashes();
  // Icons are read right after the poll, never inside it: the question goes to the window.
  if (!iconsWanted_.empty()) events_.FetchIconsSoon();
}

void TaskArea::Apply(const TaskChanges& changes, const std::vector<ModEnumTasks::Task>& now) {
  {
    common::ReentryGuard guard(rebuilding_);
    for (const TaskChanges::Kept& kept : changes.retitled) {
      shown_[kept.shown].caption = now[kept.now].caption;
      TaskButton(static_cast<int>(kept.shown)).SetCaption(shown_[kept.shown].caption);
    }
    for (const TaskChanges::Kept& kept : changes.reiconed) {
      shown_[kept.shown].classIcon = now[kept.now].classIcon;
      WantIcon(shown_[kept.shown].window);
    }
    for (auto gone = changes.gone.rbegin(); gone != changes.gone.rend(); ++gone)
      RemoveButton(*gone);
    // A crowd of windows that came at once makes as many buttons: events run every few
    // milliseconds meanwhile.
    common::PeriodicPump events(kPacing.eventsEveryMs, false);
    for (const size_t come : changes.come) {
      AddButton(now[come]);
      events.Step();
    }
    if (changes.CountChanges()) {
      knownTaskCount_ = static_cast<int>(shown_.size());
      PlaceButtons();
    }
    TrimSpares();  // what a crowd that went left behind
  }
  Settled();
}

void TaskArea::RemoveButton(size_t position) {
  flashing_.Stop(shown_[position].window);
  std::unique_ptr<TaskBarButton> button = std::move(TaskBarButton1[position]);
  TaskBarButton1.erase(TaskBarButton1.begin() + static_cast<std::ptrdiff_t>(position));
  shown_.erase(shown_.begin() + static_cast<std::ptrdiff_t>(position));
  button->UnSubClassMe();
  ShowWindow(button->Handle(), SW_HIDE);
  spare_.push_back(std::move(button));
}

void TaskArea::AddButton(const ModEnumTasks::Task& task) {
  // The invisible element after the last button becomes the new task's button, and a new
  // invisible one follows it. Its icon comes right after the poll.
  TaskBarButton& button = *TaskBarButton1.back();
  button.SetOffSet(kTaskCaptionOffset);
  button.SetIntHWND(task.window);
  button.SetImage({});
  button.ShowFlash(flashing_.LitAt(task.window, GetTickCount()));
  button.SetCaption(task.caption);
  button.SubClassMe();
  shown_.push_back(task);
  WantIcon(task.window);
  LoadEmpytButton();
}

void TaskArea::PlaceButtons() {
  const int count = static_cast<int>(shown_.size());
  places_.Begin(layout_.TaskArea(), count);
  // A crowd's buttons all change their width: events run every few milliseconds meanwhile (the
  // caller holds the buttons still).
  common::PeriodicPump events(kPacing.eventsEveryMs, false);
  for (int i = 0; i < count; ++i) {
    TaskBarButton& button = TaskButton(i);
    const TaskButtonLayout::Place place = places_.Next(count, button.FaceHeight());
    // A new size paints the face again from what the button holds; nothing is read anew.
    SetWindowPos(button.Handle(), nullptr, place.left, place.top, place.width, button.FaceHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    events.Step();
  }
}

void TaskArea::WantIcon(HWND window) {
  if (std::find(iconsWanted_.begin(), iconsWanted_.end(), window) == iconsWanted_.end())
    iconsWanted_.push_back(window);
}

void TaskArea::FetchIcons() {
  // Asked for while the buttons change, the icons wait for the look that follows.
  if (Busy()) {
    lookAfterwards_ = true;
    return;
  }
  {
    common::ReentryGuard guard(rebuilding_);
    while (!iconsWanted_.empty()) {
      const HWND window = iconsWanted_.front();
      iconsWanted_.pop_front();
      // Encoding lets events run; the guard keeps the buttons as they are meanwhile.
      const std::string icon = CaptureIcon(window);
      if (TaskBarButton* button = ButtonOf(window)) {
        button->SetImage(icon);
        button->LoadGUI();  // the whole face: an icon that went leaves nothing behind
      }
    }
  }
  Settled();
}

std::string TaskArea::CaptureIcon(HWND window) {
  Picture1.FillRect(0, 0, Picture1.Width(), Picture1.Height(), kCaptureWhite);
  EnumTasks::DrawIcon(Picture1.Dc(), window, 0, 0);
  std::string icon = RipPicture(kCaptureWhite);
  Picture1.FillRect(0, 0, Picture1.Width(), Picture1.Height(), kCaptureWhite);
  return icon;
}

int TaskArea::ShownAt(HWND window) const {
  for (size_t i = 0; i < shown_.size(); ++i)
    if (shown_[i].window == window) return static_cast<int>(i);
  return -1;
}

TaskBarButton* TaskArea::ButtonOf(HWND window) {
  const int at = ShownAt(window);
  return at < 0 ? nullptr : TaskBarButton1[static_cast<size_t>(at)].get();
}

void TaskArea::ShowFlashes() {
  if (!flashing_.Any() && !flashesShown_) return;
  if (flashing_.Any()) {
    // The window the user turned to flashes no more; neither does a window that is gone.
    flashing_.Stop(GetForegroundWindow());
    flashing_.KeepOnly([](HWND window) { return IsWindow(window) != FALSE; });
  }
  const DWORD now = GetTickCount();
  for (size_t i = 0; i < shown_.size(); ++i)
    TaskBarButton1[i]->ShowFlash(flashing_.LitAt(shown_[i].window, now));
  flashesShown_ = flashing_.Any();
}

void TaskArea::Came(HWND window) {
  // Made or shown: worth a look when it is a task without a button.
  if (ShownAt(window) < 0 && ModEnumTasks::IsTask(window)) events_.LookSoon();
}

void TaskArea::Went(HWND window) {
  if (ShownAt(window) >= 0) events_.LookSoon();
}

void TaskArea::Retitled(HWND window) {
  if (ShownAt(window) >= 0) events_.LookSoon();
}

void TaskArea::Redrawn(HWND window) {
  // The caption or the icon: the look compares the caption, the icon is read again after it.
  if (ShownAt(window) < 0) return;
  WantIcon(window);
  events_.LookSoon();
}

void TaskArea::FlashStarts(HWND window) {
  flashing_.Start(window, GetTickCount());
  if (Busy()) return;  // the next tick shows it
  if (TaskBarButton* button = ButtonOf(window)) button->ShowFlash(true);
  flashesShown_ = true;
}

void TaskArea::FlashStops(HWND window) {
  flashing_.Stop(window);
  if (Busy()) return;
  if (TaskBarButton* button = ButtonOf(window)) button->ShowFlash(false);
}

void TaskArea::Settled() {
  if (Busy()) return;
  if (placeAfterwards_) {
    placeAfterwards_ = false;
    common::ReentryGuard guard(rebuilding_);
    PlaceButtons();
  }
  if (lookAfterwards_) {
    lookAfterwards_ = false;
    events_.LookSoon();
  }
  if (!iconsWanted_.empty()) events_.FetchIconsSoon();
  if (host_.settled) host_.settled();
}

void TaskArea::Relayout() {
  placeAfterwards_ = true;
  Settled();
}

void TaskArea::LoadTasks() {
  {
    common::ReentryGuard guard(rebuilding_);
    if (!guard.Entered()) return;
    Rebuild();
    TrimSpares();
  }
  Settled();
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
  // The buttons show the list they were made from, icons included.
  shown_ = EnumTasks1.Tasks();
  iconsWanted_.clear();
  flashesShown_ = true;
  ShowFlashes();
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
  if (!rebuilding_) {
    // Shut-down: no button is left to show anything.
    spare_.clear();
    shown_.clear();
    iconsWanted_.clear();
  }
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

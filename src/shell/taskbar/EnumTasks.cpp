#include "shell/taskbar/EnumTasks.h"

#include "common/pump.h"
#include "common/text.h"
#include "shell/taskbar/ModEnumTasks.h"

namespace {
constexpr DWORD kEventsEveryMs = 5;
}  // namespace

void EnumTasks::GetWindows() {
  // With a couple of hundred windows the pass takes long enough to be felt: events run every
  // few milliseconds of it. The lists are filled only at the end, in one go.
  common::PeriodicPump events(kEventsEveryMs, false);
  tasks_ = ModEnumTasks::EnumerateTasks([&] { events.Step(); });
  List1.clear();
  List2.clear();
  for (const ModEnumTasks::Task& task : tasks_) {
    List1.push_back(common::HandleToText(task.window));
    List2.push_back(task.caption);
  }
}

std::wstring EnumTasks::RunningAppCount() const { return std::to_wstring(List1.size()); }

std::wstring EnumTasks::GetAppName(int16_t Index) const {
  return Index >= 0 && static_cast<size_t>(Index) < List2.size() ? List2[Index] : std::wstring();
}

std::wstring EnumTasks::GetAppHWND(int16_t Index) const {
  return Index >= 0 && static_cast<size_t>(Index) < List1.size() ? List1[Index] : std::wstring();
}

void EnumTasks::GetIcon(HDC picture, int16_t Index) const {
  const std::wstring handle = GetAppHWND(Index);
  if (handle.empty()) return;
  DrawIcon(picture, static_cast<HWND>(common::TextToHandle(handle)), 0, 0);
}

void EnumTasks::DrawIcon(HDC hdc, HWND hwnd, int16_t x, int16_t y) {
  HICON icon = GetIcons(hwnd);
  if (icon) DrawIconEx(hdc, x, y, icon, 16, 16, 0, nullptr, DI_NORMAL);
}

HICON EnumTasks::GetIcons(HWND hwnd) {
  bool answering = true;
  auto ask = [hwnd, &answering](UINT message, WPARAM wParam) -> HICON {
    if (!answering) return nullptr;
    DWORD_PTR result = 0;
    // A window that does not answer within the time-out gives no icon for this step, and is
    // not asked again.
    if (!SendMessageTimeoutA(hwnd, message, wParam, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kIconTimeoutMs, &result)) {
      answering = false;
      return nullptr;
    }
    return reinterpret_cast<HICON>(result);
  };
  auto classIcon = [hwnd](int index) {
    return reinterpret_cast<HICON>(GetClassLongPtrA(hwnd, index));
  };
  if (HICON icon = ask(WM_GETICON, ICON_SMALL)) return icon;
  if (HICON icon = classIcon(GCLP_HICONSM)) return icon;
  if (HICON icon = ask(WM_GETICON, ICON_BIG)) return icon;
  if (HICON icon = classIcon(GCLP_HICON)) return icon;
  return ask(WM_QUERYDRAGICON, 0);
}

#include "support/controls.h"

#include "support/testing.h"

namespace testing_support {

RECT PlaceInParent(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<HWND> TabOrder(HWND window, HWND first) {
  std::vector<HWND> order;
  HWND control = first;
  // Bounded: a broken chain must fail the test, not hang it.
  for (int i = 0; control && i < 100; ++i) {
    order.push_back(control);
    control = GetNextDlgTabItem(window, control, FALSE);
    if (control == first) break;
  }
  return order;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == s->processId && IsWindowVisible(w)) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring ChildTexts(HWND window, const wchar_t* className) {
  std::wstring texts;
  for (HWND child = FindWindowExW(window, nullptr, className, nullptr); child;
       child = FindWindowExW(window, child, className, nullptr)) {
    const std::wstring text = WindowText(child);
    if (text.empty()) continue;
    if (!texts.empty()) texts += L"\n";
    texts += text;
  }
  return texts;
}

}  // namespace testing_support

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

namespace {
BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> list;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> list;
  EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::vector<HWND> ThreadWindows(DWORD threadId) {
  std::vector<HWND> list;
  EnumThreadWindows(threadId, &Collect, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
  std::vector<HWND> found;
  for (HWND w : TopLevelWindows()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == processId && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
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

#pragma once
// Looking at windows the way a user meets them: where a control stands in its window, the
// order in which Tab visits the controls, and the top-level windows a process shows.
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// The control's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND control);

// The controls that Tab visits, starting at `first`, until it comes back to `first`.
std::vector<HWND> TabOrder(HWND window, HWND first);

// Top-level windows in z-order; the children of a window, at every depth; the top-level windows
// of a thread. (The system's enumerations, gathered into lists so that no caller writes a
// window-enumeration callback of its own, with the calling convention that 32-bit Windows needs.)
std::vector<HWND> TopLevelWindows();
std::vector<HWND> ChildWindows(HWND parent);
std::vector<HWND> ThreadWindows(DWORD threadId);

// Visible top-level windows of a process, in z-order.
std::vector<HWND> VisibleWindowsOf(DWORD processId);

// Class name of a window.
std::wstring ClassOf(HWND window);

// Texts of a window's children of a class (for example the "Static" texts of a message box),
// joined with line breaks.
std::wstring ChildTexts(HWND window, const wchar_t* className);

}  // namespace testing_support

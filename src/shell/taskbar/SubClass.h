#pragma once
// The registry of hover trackers and the one subclass procedure of every watched window. There
// is at most one tracker per window; a window's hook ends at the latest with its WM_NCDESTROY.
#include <windows.h>

#include <commctrl.h>

class CTrackMouse;

namespace SubClass {

// The id under which the trackers' procedure is installed on a window.
constexpr UINT_PTR kSubclassId = 0x544D;  // "TM"

// The tracker that watches a window, or null.
CTrackMouse* Find(HWND window);
// Number of windows being watched.
int Count();

// Registers the tracker of a window and hooks the window; false when the window has a tracker
// already (or the platform refused the hook).
bool Add(HWND window, CTrackMouse* tracker);
// Unhooks the window and drops it from the registry, when `tracker` is the one registered.
void Remove(HWND window, CTrackMouse* tracker);

// The subclass procedure of every watched window.
LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR data);

}  // namespace SubClass

#pragma once
// The keyboard routing of the message loop: before a key message is dispatched, the shortcut
// keys and the dialog keys (Tab between controls, Enter for the default button) of the
// top-level window it is meant for get it. Windows that want either register; a window's entry
// ends with the window (the window base class removes it at WM_NCDESTROY).
#include <windows.h>

namespace common {

void RegisterKeyboard(HWND window, HACCEL accelerators, bool dialogKeys);
void UnregisterKeyboard(HWND window);
bool KeyboardRegistered(HWND window);

// True when the message was used up as a shortcut or dialog key.
bool TranslateKeyboard(MSG& msg);

// The message loop of every program: runs until WM_QUIT and returns its code.
int RunMessageLoop();

}  // namespace common

#pragma once
// Keyboard routing of the message loop: before a message is dispatched, the active window's
// shortcut keys and dialog keys (Tab between controls, Enter for the default button) get it.
// Windows that want either register while they exist.
#include <windows.h>

namespace common {

void RegisterKeyboard(HWND window, HACCEL accelerators, bool dialogKeys);
void UnregisterKeyboard(HWND window);

// True when the message was used up as a shortcut or dialog key.
bool TranslateKeyboard(MSG& msg);

// The message loop of a program: runs until WM_QUIT and returns its code.
int RunMessageLoop();

}  // namespace common

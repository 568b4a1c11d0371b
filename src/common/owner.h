#pragma once
// A hidden, never shown top-level window that owns a program's other top-level windows. An owned
// window without WS_EX_APPWINDOW gets no taskbar button and no place in the system's task list.
#include <windows.h>

#include "common/handles.h"

namespace common {

// Creates the owner window of the class `className` (registered once) with the given title.
WindowHandle CreateHiddenOwner(const wchar_t* className, const wchar_t* title);

}  // namespace common

#pragma once
// Palomid's thirteen buttons: each starts one fixed command line (a Control Panel applet or
// applet page, or the dial-up dialog) with a fixed window style, without waiting for it. What a
// click starts goes through the services, so that tests can record it instead.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "common/launch.h"
#include "common/twips.h"

namespace palomid {

// Window styles of the started programs.
inline constexpr int kNormalFocus = 1;     // normal window with the focus
inline constexpr int kMinimizedFocus = 2;  // minimised, with the focus

// The dial-up command dials the connection of this fixed name.
inline constexpr wchar_t kDialCommand[] = L"rundll32.exe rnaui.dll,RnaDial ";
inline constexpr wchar_t kConnectionName[] = L"连接_名称";

struct Command1Entry {
  const wchar_t* caption;
  double left, top;  // twips
  std::wstring commandLine;
  int windowStyle;
};

inline constexpr int kCommandCount = 13;
inline constexpr double kButtonWidth = 1330, kButtonHeight = 400;  // twips

// The buttons by index.
const std::array<Command1Entry, kCommandCount>& Command1Table();

// The three frames around the button columns, in twips.
const std::array<common::TwipsRect, 3>& ShapeTable();

struct PalomidServices {
  // Starts a command line as a new process with a window style, without waiting.
  std::function<common::StartResult(const std::wstring& commandLine, int windowStyle)> startCommand;
  // A message box with an error icon, owned by `owner`; returns when the user closes it.
  std::function<void(HWND owner, const std::wstring& text, const std::wstring& caption)> showError;
  // The window has closed: the program ends.
  std::function<void()> quit;

  static PalomidServices Real();
};

inline constexpr wchar_t kErrorCaption[] = L"Palomid";

// What the user is told when a command line cannot be started.
std::wstring StartFailureText(const std::wstring& commandLine, DWORD error);

// A click on button Index: starts its command line with its window style. Any other index does
// nothing. A command line that cannot be started is reported in a message box and the program
// goes on. Returns whether a process was started.
bool Command1Click(int Index, HWND owner, const PalomidServices& services);

}  // namespace palomid

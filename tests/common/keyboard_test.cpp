#include "common/keyboard.h"

#include <gtest/gtest.h>

#include "common/handles.h"
#include "common/pump.h"

namespace {

constexpr WORD kShortcutCommand = 300;

// A top-level window with two tab stops; it counts the shortcut's commands.
class KeyboardWindow {
 public:
  KeyboardWindow() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZephraKeyboardTest";
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, L"ZephraKeyboardTest", L"", WS_POPUP, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (HWND& b : buttons_)
      b = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 20,
                          window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    ACCEL key = {FVIRTKEY | FCONTROL, 'K', kShortcutCommand};
    accelerators_.Reset(CreateAcceleratorTableW(&key, 1));
  }
  ~KeyboardWindow() {
    common::UnregisterKeyboard(window_);
    if (IsWindow(window_)) DestroyWindow(window_);
  }

  HWND Window() const { return window_; }
  HWND Button(int i) const { return buttons_[i]; }
  HACCEL Accelerators() const { return accelerators_.Get(); }
  static inline int commands = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && LOWORD(wParam) == kShortcutCommand) ++commands;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  HWND window_ = nullptr;
  HWND buttons_[2] = {};
  common::AcceleratorTable accelerators_;
};

// Keyboard state of this thread with Ctrl held down.
class ControlHeld {
 public:
  ControlHeld() {
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof(state));
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
  }
  ~ControlHeld() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

TEST(KeyboardRouting, KeysGoToTheRegistrationOfTheirTopLevelWindow) {
  const struct {
    bool registered, dialogKeys, shortcuts;
    UINT message;
    WPARAM key;
    bool taken;
    int commands;
  } cases[] = {
      {false, true, true, WM_KEYDOWN, VK_TAB, false, 0},   // not registered: dispatched
      {true, true, false, WM_KEYDOWN, VK_TAB, true, 0},    // Tab between the controls
      {true, false, false, WM_KEYDOWN, VK_TAB, false, 0},  // no dialog keys wanted
      {true, true, false, WM_MOUSEMOVE, 0, false, 0},      // only key messages
      {true, false, true, WM_KEYDOWN, 'K', true, 1},       // Ctrl+K: the shortcut's command
      {true, true, true, WM_KEYDOWN, 'K', true, 1},        // shortcuts before dialog keys
  };
  for (const auto& c : cases) {
    KeyboardWindow w;
    KeyboardWindow::commands = 0;
    if (c.registered)
      common::RegisterKeyboard(w.Window(), c.shortcuts ? w.Accelerators() : nullptr, c.dialogKeys);
    const ControlHeld control;
    // The key comes to the focused control, a child of the registered window.
    MSG msg = {w.Button(0), c.message, c.key, 0x000F0001, 0, {}};
    EXPECT_EQ(common::TranslateKeyboard(msg), c.taken) << c.key << " " << c.message;
    EXPECT_EQ(KeyboardWindow::commands, c.commands) << c.key;
  }
}

TEST(KeyboardRouting, EventsLetRunInsideAHandlerRouteKeysAsTheLoopDoes) {
  // A rebuild or a fade lets pending events run; a Tab and a shortcut pressed meanwhile do what
  // they do in the message loop.
  KeyboardWindow w;
  KeyboardWindow::commands = 0;
  common::RegisterKeyboard(w.Window(), w.Accelerators(), true);
  ShowWindow(w.Window(), SW_SHOW);
  SetForegroundWindow(w.Window());
  SetFocus(w.Button(0));
  PostMessageW(w.Button(0), WM_KEYDOWN, VK_TAB, 0x000F0001);
  common::PumpPendingMessages();
  EXPECT_EQ(GetFocus(), w.Button(1));
  const ControlHeld control;
  PostMessageW(w.Button(1), WM_KEYDOWN, 'K', 0x00250001);
  common::PumpPendingMessages();
  EXPECT_EQ(KeyboardWindow::commands, 1);
}

}  // namespace

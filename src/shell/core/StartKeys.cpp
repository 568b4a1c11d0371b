#include "shell/core/StartKeys.h"

#include <atomic>

namespace {

enum Modifier : unsigned {
  kCtrl = 1u << 0, kLeftCtrl = 1u << 1, kRightCtrl = 1u << 2,
  kShift = 1u << 3, kLeftShift = 1u << 4, kRightShift = 1u << 5,
  kAlt = 1u << 6, kLeftAlt = 1u << 7, kRightAlt = 1u << 8,
};
constexpr unsigned kAnyCtrl = kCtrl | kLeftCtrl | kRightCtrl;
constexpr unsigned kAnyShift = kShift | kLeftShift | kRightShift;
constexpr unsigned kAnyAlt = kAlt | kLeftAlt | kRightAlt;

unsigned ModifierOf(DWORD key) {
  switch (key) {
    case VK_CONTROL: return kCtrl;
    case VK_LCONTROL: return kLeftCtrl;
    case VK_RCONTROL: return kRightCtrl;
    case VK_SHIFT: return kShift;
    case VK_LSHIFT: return kLeftShift;
    case VK_RSHIFT: return kRightShift;
    case VK_MENU: return kAlt;
    case VK_LMENU: return kLeftAlt;
    case VK_RMENU: return kRightAlt;
    default: return 0;
  }
}

bool IsWindowsKey(DWORD key) { return key == VK_LWIN || key == VK_RWIN; }

// The hook procedure has no context of its own. UI thread only, except `hook`, which the crash
// handler may take on any thread.
std::atomic<HHOOK> hook{nullptr};
StartKeys keys;
HWND target = nullptr;
UINT targetMessage = 0;

// The key that means nothing, then the Windows key's release that the hook took.
void SendMaskAndRelease(DWORD windowsKey) {
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.dwExtraInfo = StartKeys::kOurInput;
  }
  inputs[0].ki.wVk = StartKeys::kMaskKey;
  inputs[1].ki.wVk = StartKeys::kMaskKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  inputs[2].ki.wVk = static_cast<WORD>(windowsKey);
  inputs[2].ki.dwFlags = KEYEVENTF_KEYUP | KEYEVENTF_EXTENDEDKEY;
  SendInput(3, inputs, sizeof(INPUT));
}

}  // namespace

void StartKeys::Follow(const Event& event) {
  if (const unsigned modifier = ModifierOf(event.key)) {
    if (event.down)
      held_ |= modifier;
    else
      held_ &= ~modifier;
  }
}

StartKeys::Decision StartKeys::Decide(const Event& event) {
  if (event.ours) return {};  // the mask and the release the shell sends pass untouched
  Decision decision;
  if (IsWindowsKey(event.key)) {
    if (event.down) {
      // A press with Ctrl, Shift or Alt held is a combination; a repeat changes nothing.
      if (!winDown_) winAlone_ = (held_ & (kAnyCtrl | kAnyShift | kAnyAlt)) == 0;
      winDown_ = true;
    } else {
      if (winDown_ && winAlone_) decision = {true, true, true};
      winDown_ = winAlone_ = false;
    }
    return decision;
  }
  if (event.key == VK_ESCAPE) {
    if (event.down && !escTaken_ && Held(kAnyCtrl) && !Held(kAnyShift | kAnyAlt) && !winDown_) {
      // Ctrl+Esc; with Shift it opens the task manager and stays the system's.
      escTaken_ = true;
      return {true, false, true};
    }
    if (escTaken_) {
      if (!event.down) escTaken_ = false;
      return {true, false, false};
    }
  }
  Follow(event);
  if (event.down && winDown_) winAlone_ = false;  // Win+D, Win+E, Win+Shift+S, ...
  return decision;
}

bool StartKeyHook::Install(HWND window, UINT message) {
  if (hook.load() != nullptr) return false;
  keys = StartKeys();
  target = window;
  targetMessage = message;
  mine_ = SetWindowsHookExW(WH_KEYBOARD_LL, &Procedure, GetModuleHandleW(nullptr), 0);
  hook = mine_;
  return mine_ != nullptr;
}

bool StartKeyHook::Installed() const { return mine_ != nullptr && hook.load() == mine_; }

void StartKeyHook::Remove() {
  // Only the hook this object installed (the crash handler may have taken it already).
  HHOOK expected = mine_;
  if (mine_ != nullptr && hook.compare_exchange_strong(expected, nullptr)) {
    UnhookWindowsHookEx(mine_);
    target = nullptr;
  }
  mine_ = nullptr;
}

void StartKeyHook::RemoveAfterCrash() {
  if (HHOOK installed = hook.exchange(nullptr)) UnhookWindowsHookEx(installed);
}

LRESULT CALLBACK StartKeyHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
  // Every key press of the session passes here: a few flags, a post at most, nothing that waits.
  if (code == HC_ACTION) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    StartKeys::Event event;
    event.key = info->vkCode;
    event.down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    event.ours = (info->flags & LLKHF_INJECTED) != 0 && info->dwExtraInfo == StartKeys::kOurInput;
    const StartKeys::Decision decision = keys.Decide(event);
    if (decision.toggleMenu && target != nullptr) PostMessageW(target, targetMessage, 0, 0);
    if (decision.mask) SendMaskAndRelease(info->vkCode);
    if (decision.swallow) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

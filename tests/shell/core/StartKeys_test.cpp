#include "shell/core/StartKeys.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/testing.h"

namespace {

struct Key {
  DWORD key;
  bool down;
  bool operator==(const Key&) const = default;
};

std::vector<Key>* passed = nullptr;

// A hook of the test's own, installed before the shell's and so asked after it: it hears only
// the keys that the shell's hook lets through to the system.
LRESULT CALLBACK Passed(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && passed) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    passed->push_back({info->vkCode, wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountToggles(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    SetPropW(hwnd, L"toggles",
             reinterpret_cast<HANDLE>(reinterpret_cast<intptr_t>(GetPropW(hwnd, L"toggles")) + 1));
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(StartKeys, TheWindowsKeyAloneAndCtrlEscOpenTheStartMenuOtherKeysStayTheSystems) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &CountToggles;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ZephraStartKeysTest";
  RegisterClassW(&wc);
  HWND target = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
  std::vector<Key> heard;
  passed = &heard;
  HHOOK recorder = SetWindowsHookExW(WH_KEYBOARD_LL, &Passed, GetModuleHandleW(nullptr), 0);
  ASSERT_NE(recorder, nullptr);
  StartKeyHook hook;
  ASSERT_TRUE(hook.Install(target, WM_APP));
  EXPECT_FALSE(StartKeyHook().Install(target, WM_APP)) << "one per process";

  constexpr DWORD E = 'E', Mask = StartKeys::kMaskKey;
  const struct {
    const char* keys;
    std::vector<Key> sent;
    int toggles;
    std::vector<Key> system;  // what the system and the programs see
  } cases[] = {
      {"Win alone", {{VK_LWIN, true}, {VK_LWIN, false}}, 1,
       {{VK_LWIN, true}, {Mask, true}, {Mask, false}, {VK_LWIN, false}}},
      {"Win held (repeating) alone", {{VK_RWIN, true}, {VK_RWIN, true}, {VK_RWIN, false}}, 1,
       {{VK_RWIN, true}, {VK_RWIN, true}, {Mask, true}, {Mask, false}, {VK_RWIN, false}}},
      {"Win+E", {{VK_LWIN, true}, {E, true}, {E, false}, {VK_LWIN, false}}, 0, {}},
      {"Ctrl then Win", {{VK_LCONTROL, true}, {VK_LWIN, true}, {VK_LWIN, false}, {VK_LCONTROL, false}},
       0, {}},
      {"Ctrl+Esc", {{VK_LCONTROL, true}, {VK_ESCAPE, true}, {VK_ESCAPE, false}, {VK_LCONTROL, false}},
       1, {{VK_LCONTROL, true}, {VK_LCONTROL, false}}},
      {"Ctrl+Shift+Esc (the task manager)",
       {{VK_RCONTROL, true}, {VK_LSHIFT, true}, {VK_ESCAPE, true}, {VK_ESCAPE, false},
        {VK_LSHIFT, false}, {VK_RCONTROL, false}},
       0, {}},
      {"Esc alone", {{VK_ESCAPE, true}, {VK_ESCAPE, false}}, 0, {}},
  };
  for (const auto& c : cases) {
    heard.clear();
    RemovePropW(target, L"toggles");
    std::vector<INPUT> inputs;
    for (const Key& key : c.sent) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = static_cast<WORD>(key.key);
      input.ki.dwFlags = key.down ? 0 : KEYEVENTF_KEYUP;
      inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    const std::vector<Key>& expected = c.system.empty() ? c.sent : c.system;
    testing_support::WaitFor([&] { return heard.size() >= expected.size(); }, 2000);
    testing_support::PumpFor(50);
    EXPECT_EQ(heard, expected) << c.keys;
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(target, L"toggles")), c.toggles) << c.keys;
  }
  hook.Remove();
  UnhookWindowsHookEx(recorder);
  passed = nullptr;
  DestroyWindow(target);
}

}  // namespace

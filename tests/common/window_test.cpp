#include "common/window.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/keyboard.h"

namespace {

constexpr UINT kThrow = WM_APP + 1, kNested = WM_APP + 2, kDestroySelf = WM_APP + 3;

// What the windows of these tests saw, kept outside them so that it outlives them.
struct Log {
  std::vector<std::wstring> events;
  void Add(const std::wstring& event) { events.push_back(event); }
  bool Has(const std::wstring& event) const {
    for (const auto& e : events)
      if (e == event) return true;
    return false;
  }
};

class ProbeWindow : public common::Window {
 public:
  // `keepsRule`: its own destructor destroys the window, as every window of the programs does.
  ProbeWindow(Log& log, bool keepsRule) : log_(log), keepsRule_(keepsRule) {}
  ~ProbeWindow() override {
    if (keepsRule_) Destroy();
    log_.Add(L"derived part gone");
  }

  bool Make() {
    ClassSpec windowClass;
    windowClass.name = L"ZephraProbeWindow";
    if (!Create(windowClass, 0, L"", WS_POPUP, 0, 0, 10, 10, nullptr)) return false;
    common::RegisterKeyboard(Handle(), nullptr, true);
    return true;
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case kThrow:
        throw std::runtime_error("handler");
      case kNested:
        // A handler that sends to its own window: the nested message is routed as well.
        return wParam == 0 ? SendMessageW(Handle(), kNested, 1, 0) + 1 : 41;
      case kDestroySelf:
        Destroy();
        log_.Add(Handle() == nullptr ? L"handle cleared inside" : L"handle kept inside");
        return 7;
      case WM_DESTROY:
        log_.Add(L"WM_DESTROY");
        return 0;
      default:
        return DefaultHandling(message, wParam, lParam);
    }
  }
  void OnDestroyed() override { log_.Add(L"OnDestroyed"); }

 private:
  Log& log_;
  bool keepsRule_;
};

TEST(WindowRouter, AnErrorInAHandlerIsAnsweredWithZeroAndTheWindowGoesOn) {
  Log log;
  ProbeWindow window(log, true);
  ASSERT_TRUE(window.Make());
  EXPECT_EQ(SendMessageW(window.Handle(), kThrow, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window.Handle(), kNested, 0, 0), 42);
}

TEST(WindowRouter, AHandlerMayDestroyItsOwnWindow) {
  Log log;
  ProbeWindow window(log, true);
  ASSERT_TRUE(window.Make());
  HWND hwnd = window.Handle();
  EXPECT_EQ(SendMessageW(hwnd, kDestroySelf, 0, 0), 7);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(log.events,
            (std::vector<std::wstring>{L"WM_DESTROY", L"OnDestroyed", L"handle cleared inside"}));
  EXPECT_FALSE(common::KeyboardRegistered(hwnd));
  window.Destroy();  // nothing left to destroy
}

// Reads the router's link of a window as each WM_DESTROY arrives, before any window procedure.
struct DestroyWatch {
  static inline HWND watched = nullptr;
  static inline std::vector<LONG_PTR> links;
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_DESTROY && call->hwnd == watched)
      links.push_back(GetWindowLongPtrW(call->hwnd, GWLP_USERDATA));
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

TEST(WindowTeardown, OwnDestructorRunsTheWindowsOwnDestroyHandlingAndTheBaseIsTheLastResort) {
  const struct {
    bool keepsRule;
    bool destroyHandled;  // the derived WM_DESTROY handling ran
    bool linked;          // the router's link was still there when WM_DESTROY came
  } cases[] = {{true, true, true}, {false, false, false}};
  for (const auto& c : cases) {
    Log log;
    DestroyWatch::links.clear();
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, &DestroyWatch::Hook, nullptr, GetCurrentThreadId());
    HWND hwnd = nullptr;
    {
      ProbeWindow window(log, c.keepsRule);
      ASSERT_TRUE(window.Make());
      hwnd = window.Handle();
      DestroyWatch::watched = hwnd;
      ASSERT_TRUE(common::KeyboardRegistered(hwnd));
    }
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsWindow(hwnd)) << c.keepsRule;
    EXPECT_FALSE(common::KeyboardRegistered(hwnd)) << c.keepsRule;  // nothing outlives it
    EXPECT_EQ(log.Has(L"WM_DESTROY"), c.destroyHandled) << c.keepsRule;
    // Nothing of the window reaches the object once its derived part is gone.
    EXPECT_EQ(log.events.back(), L"derived part gone") << c.keepsRule;
    ASSERT_EQ(DestroyWatch::links.size(), 1u) << c.keepsRule;
    EXPECT_EQ(DestroyWatch::links[0] != 0, c.linked) << c.keepsRule;
  }
}

}  // namespace

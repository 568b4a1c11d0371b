#pragma once
// The icons that programs show in the notification area, as their notify-icon requests leave
// them: each with a copy of its picture (its owner may destroy its own), its tip, its state and
// the protocol version its owner asked for; the balloons they asked for wait in a queue, shown one
// at a time. Every request comes from another program and is checked: the owner must be a window,
// an icon handle is copied only through the system (which refuses a bad one), and one program
// adds no more than kMaxPerProcess icons. The answers to the owners (clicks, balloon events) go
// out as the owner's version asks. UI thread only.
#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/handles.h"
#include "shell/taskbar/NotifyRecord.h"

// What the owner of an icon hears, beyond its mouse messages.
namespace TrayEvent {
constexpr UINT Select = WM_USER + 0;            // NIN_SELECT: chosen with the mouse
constexpr UINT KeySelect = WM_USER + 1;         // NIN_KEYSELECT: chosen with the keyboard
constexpr UINT BalloonShow = WM_USER + 2;       // NIN_BALLOONSHOW
constexpr UINT BalloonHide = WM_USER + 3;       // NIN_BALLOONHIDE: gone before its time
constexpr UINT BalloonTimeout = WM_USER + 4;    // NIN_BALLOONTIMEOUT: its time is up or closed
constexpr UINT BalloonUserClick = WM_USER + 5;  // NIN_BALLOONUSERCLICK
}  // namespace TrayEvent

struct TrayIcon {
  HWND owner = nullptr;
  uint32_t id = 0;
  std::optional<std::array<uint8_t, 16>> guid;
  DWORD processId = 0;
  uint32_t callbackMessage = 0;  // 0: the owner hears nothing
  common::IconHandle image;
  std::wstring tip;
  uint32_t state = 0;  // NotifyState
  uint32_t version = 0;
  bool showTip = false;  // from version 4, the tip shows only when asked for

  bool Hidden() const { return (state & tray::NotifyState::Hidden) != 0; }
  // Whether the standard tooltip shows the tip.
  bool ShowsTip() const { return !tip.empty() && (version < 4 || showTip); }
};

// A balloon an icon asked for.
struct TrayBalloonRequest {
  HWND owner = nullptr;
  uint32_t id = 0;
  std::wstring title;
  std::wstring text;
  uint32_t infoFlags = 0;  // NIIF_: its picture in the low bits
  uint32_t timeoutMs = 0;
  uint64_t serial = 0;  // tells a balloon from a later one of the same icon
};

class TrayIcons {
 public:
  // How many icons one program may have, and all programs together.
  static constexpr size_t kMaxPerProcess = 32;
  static constexpr size_t kMax = 256;
  // A balloon stays between these times, whatever its owner asks.
  static constexpr uint32_t kBalloonMinMs = 10000, kBalloonMaxMs = 30000;

  struct Host {
    std::function<void()> changed;               // an icon came, went, or looks different
    std::function<void(const TrayIcon&)> focus;  // NIM_SETFOCUS: the keyboard goes to it
    std::function<void()> balloonsChanged;       // the queue or the shown balloon's icon changed
  };

  explicit TrayIcons(Host host) : host_(std::move(host)) {}
  TrayIcons(const TrayIcons&) = delete;
  TrayIcons& operator=(const TrayIcons&) = delete;

  // Carries one request out; the answer its sender gets (false: refused or not found).
  bool Apply(const tray::NotifyRequest& request);

  const std::vector<std::unique_ptr<TrayIcon>>& All() const { return icons_; }
  // The icons shown, in the order they came.
  std::vector<TrayIcon*> Visible() const;
  TrayIcon* Find(HWND owner, uint32_t id) const;

  // Icons whose owner window is gone, go; true if any went.
  bool RemoveOrphans();
  void Clear();

  // Tells the icon's owner of a mouse message at a screen point, as its version asks; a click
  // (a button's release) also lets the owner take the foreground for its menu. False when the
  // owner is gone (the icon goes too).
  bool SendMouse(TrayIcon& icon, UINT mouseMessage, POINT screen);
  // Tells the owner of an event without a mouse message (a balloon's or the keyboard's).
  bool SendEvent(HWND owner, uint32_t id, UINT event, POINT screen);

  // The balloons waiting, the first shown next.
  std::deque<TrayBalloonRequest>& Balloons() { return balloons_; }

  // The wParam and lParam of a callback message for an owner of `version`.
  static std::pair<WPARAM, LPARAM> CallbackParameters(uint32_t version, uint32_t id, UINT message,
                                                      POINT screen);

 private:
  TrayIcon* FindFor(const tray::NotifyRequest& request, HWND owner) const;
  bool Add(const tray::NotifyRequest& request, HWND owner);
  void Update(TrayIcon& icon, const tray::NotifyRequest& request);
  void Remove(const TrayIcon* icon);
  void QueueBalloon(const TrayIcon& icon, const tray::NotifyRequest& request);
  void Changed() const {
    if (host_.changed) host_.changed();
  }

  Host host_;
  std::vector<std::unique_ptr<TrayIcon>> icons_;
  std::deque<TrayBalloonRequest> balloons_;
  uint64_t nextSerial_ = 1;
};

// The handle a 32-bit handle value of the protocol stands for (sign-extended, as the system
// widens handles for 64-bit programs).
template <typename Handle>
Handle HandleFrom32(uint32_t value) {
  return reinterpret_cast<Handle>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

// A copy of the icon a request carries: through the system from a handle (Windows), or made from
// its bits (Wine). None when there is no usable picture.
common::IconHandle MakeTrayIcon(const tray::NotifyRequest& request);

#include "shell/taskbar/TrayIcons.h"

#include <algorithm>

namespace {

using namespace tray::NotifyFlag;  // the NIF_ flags by their short names

// The states a program may set; others are the shell's.
constexpr uint32_t kKnownStates = tray::NotifyState::Hidden | tray::NotifyState::SharedIcon;
// The newest protocol version; a larger one asked for is taken as this.
constexpr uint32_t kNewestVersion = 4;

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

bool HasGuid(const tray::NotifyRequest& request) {
  if (!(request.flags & Guid)) return false;
  return std::any_of(request.guid.begin(), request.guid.end(), [](uint8_t b) { return b != 0; });
}

}  // namespace

common::IconHandle MakeTrayIcon(const tray::NotifyRequest& request) {
  if (request.iconBits) {
    const tray::IconBits& bits = *request.iconBits;
    return common::IconHandle(CreateIcon(GetModuleHandleW(nullptr), static_cast<int>(bits.width),
                                         static_cast<int>(bits.height),
                                         static_cast<BYTE>(bits.planes),
                                         static_cast<BYTE>(bits.bitsPerPixel), bits.mask.data(),
                                         bits.color.data()));
  }
  if (request.icon == 0) return {};
  // The system checks the handle: one that is no icon gives no copy.
  return common::IconHandle(CopyIcon(HandleFrom32<HICON>(request.icon)));
}

std::pair<WPARAM, LPARAM> TrayIcons::CallbackParameters(uint32_t version, uint32_t id,
                                                        UINT message, POINT screen) {
  if (version >= 4)
    return {MAKEWPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)),
            MAKELPARAM(static_cast<WORD>(message), static_cast<WORD>(id))};
  return {static_cast<WPARAM>(id), static_cast<LPARAM>(message)};
}

TrayIcon* TrayIcons::FindFor(const tray::NotifyRequest& request, HWND owner) const {
  // From version 4 an icon may be known by its GUID alone, whatever window it now names.
  if (HasGuid(request)) {
    for (const auto& icon : icons_)
      if (icon->guid && *icon->guid == request.guid) return icon.get();
    return nullptr;
  }
  return Find(owner, request.id);
}

TrayIcon* TrayIcons::Find(HWND owner, uint32_t id) const {
  for (const auto& icon : icons_)
    if (icon->owner == owner && icon->id == id) return icon.get();
  return nullptr;
}

std::vector<TrayIcon*> TrayIcons::Visible() const {
  std::vector<TrayIcon*> shown;
  for (const auto& icon : icons_)
    if (!icon->Hidden()) shown.push_back(icon.get());
  return shown;
}

bool TrayIcons::Apply(const tray::NotifyRequest& request) {
  const HWND owner = HandleFrom32<HWND>(request.owner);
  TrayIcon* icon = FindFor(request, owner);
  switch (request.message) {
    case tray::NotifyMessage::Add:
      if (icon != nullptr) return false;  // added already: a second add is refused
      return Add(request, owner);
    case tray::NotifyMessage::Modify:
      if (icon == nullptr) return false;
      if (!IsWindow(icon->owner)) {
        Remove(icon);
        return false;
      }
      Update(*icon, request);
      return true;
    case tray::NotifyMessage::Delete:
      if (icon == nullptr) return false;
      Remove(icon);
      return true;
    case tray::NotifyMessage::SetFocus:
      if (icon == nullptr) return false;
      if (host_.focus) host_.focus(*icon);
      return true;
    case tray::NotifyMessage::SetVersion:
      if (icon == nullptr) return false;
      icon->version = std::min(request.timeoutOrVersion, kNewestVersion);
      Changed();  // the tooltip follows the version
      return true;
  }
  return false;
}

bool TrayIcons::Add(const tray::NotifyRequest& request, HWND owner) {
  if (!IsWindow(owner) || icons_.size() >= kMax) return false;
  DWORD processId = 0;
  GetWindowThreadProcessId(owner, &processId);
  const auto fromProcess = std::count_if(icons_.begin(), icons_.end(), [&](const auto& icon) {
    return icon->processId == processId;
  });
  if (static_cast<size_t>(fromProcess) >= kMaxPerProcess) return false;
  auto icon = std::make_unique<TrayIcon>();
  icon->owner = owner;
  icon->id = request.id;
  icon->processId = processId;
  TrayIcon& added = *icon;
  icons_.push_back(std::move(icon));
  Update(added, request);
  return true;
}

void TrayIcons::Update(TrayIcon& icon, const tray::NotifyRequest& request) {
  if (request.flags & Message) icon.callbackMessage = request.callbackMessage;
  if (request.flags & Icon) icon.image = MakeTrayIcon(request);
  if (request.flags & Tip) icon.tip = ToWide(request.tip);
  if (request.flags & State) {
    const uint32_t mask = request.stateMask & kKnownStates;
    icon.state = (icon.state & ~mask) | (request.state & mask);
  }
  if (HasGuid(request)) icon.guid = request.guid;
  icon.showTip = (request.flags & ShowTip) != 0;
  Changed();
  if (request.flags & Info) QueueBalloon(icon, request);
}

void TrayIcons::QueueBalloon(const TrayIcon& icon, const tray::NotifyRequest& request) {
  // A new balloon of an icon takes the place of the one it had waiting; an empty one takes it
  // away (and the one shown, which the presenter sees gone from the front of the queue).
  std::erase_if(balloons_, [&](const TrayBalloonRequest& b) {
    return b.owner == icon.owner && b.id == icon.id;
  });
  if (!request.info.empty() && !icon.Hidden()) {
    TrayBalloonRequest balloon;
    balloon.owner = icon.owner;
    balloon.id = icon.id;
    balloon.title = ToWide(request.infoTitle);
    balloon.text = ToWide(request.info);
    balloon.infoFlags = request.infoFlags;
    balloon.timeoutMs = std::clamp(request.timeoutOrVersion, kBalloonMinMs, kBalloonMaxMs);
    balloon.serial = nextSerial_++;
    balloons_.push_back(std::move(balloon));
  }
  if (host_.balloonsChanged) host_.balloonsChanged();
}

void TrayIcons::Remove(const TrayIcon* icon) {
  const HWND owner = icon->owner;
  const uint32_t id = icon->id;
  std::erase_if(icons_, [icon](const auto& held) { return held.get() == icon; });
  const size_t before = balloons_.size();
  std::erase_if(balloons_,
                [&](const TrayBalloonRequest& b) { return b.owner == owner && b.id == id; });
  Changed();
  if (balloons_.size() != before && host_.balloonsChanged) host_.balloonsChanged();
}

bool TrayIcons::RemoveOrphans() {
  std::vector<const TrayIcon*> gone;
  for (const auto& icon : icons_)
    if (!IsWindow(icon->owner)) gone.push_back(icon.get());
  for (const TrayIcon* icon : gone) Remove(icon);
  return !gone.empty();
}

void TrayIcons::Clear() {
  icons_.clear();
  balloons_.clear();
  Changed();
}

bool TrayIcons::SendEvent(HWND owner, uint32_t id, UINT event, POINT screen) {
  TrayIcon* icon = Find(owner, id);
  if (icon == nullptr) return false;
  if (icon->callbackMessage == 0) return true;
  const auto [wParam, lParam] = CallbackParameters(icon->version, icon->id, event, screen);
  // Posted in effect: a program that does not answer never holds the shell up.
  if (!SendNotifyMessageW(icon->owner, icon->callbackMessage, wParam, lParam) &&
      !IsWindow(icon->owner)) {
    Remove(icon);
    return false;
  }
  return true;
}

bool TrayIcons::SendMouse(TrayIcon& icon, UINT mouseMessage, POINT screen) {
  const bool release = mouseMessage == WM_LBUTTONUP || mouseMessage == WM_RBUTTONUP ||
                       mouseMessage == WM_MBUTTONUP;
  // The owner opens its menu or window in answer to a click and must be let to the front.
  if (release) AllowSetForegroundWindow(icon.processId);
  const HWND owner = icon.owner;
  const uint32_t id = icon.id;
  const uint32_t version = icon.version;
  if (!SendEvent(owner, id, mouseMessage, screen)) return false;
  // From version 3 a click also says what it means: chosen, or the context menu asked for.
  if (version >= 3 && mouseMessage == WM_LBUTTONUP)
    return SendEvent(owner, id, TrayEvent::Select, screen);
  if (version >= 3 && mouseMessage == WM_RBUTTONUP)
    return SendEvent(owner, id, WM_CONTEXTMENU, screen);
  return true;
}

#include "shell/taskbar/NotificationArea.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {

// Tips may hold line breaks; the tooltip wraps at this width.
constexpr int kTipWidth = 320;
// The balloon's lower edge stands this far above the icon.
constexpr int kBalloonGap = 2;

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}
bool IsButtonUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

}  // namespace

NotificationArea::NotificationArea(StripCanvas& canvas, const StripLayout& layout,
                                   WidthChanged widthChanged)
    : canvas_(canvas),
      layout_(layout),
      widthChanged_(std::move(widthChanged)),
      icons_(TrayIcons::Host{[this] { IconsChanged(); },
                             [this](const TrayIcon& icon) { FocusIcon(icon); },
                             [this] { BalloonsChanged(); }}) {
  balloon_.SetEndHandler([this](TrayBalloon::End end) { BalloonEnded(end); });
}

NotificationArea::~NotificationArea() {
  // The icons go without telling anybody: the strip is going.
  balloon_.SetEndHandler(nullptr);
}

void NotificationArea::Create(HWND strip) {
  strip_ = strip;
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, strip, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  if (tooltip_) SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, kTipWidth);
}

int NotificationArea::IconSize() const { return GetSystemMetrics(SM_CXSMICON); }

TrayGrid NotificationArea::Grid() const {
  return TrayGrid(IconSize(), static_cast<int>(shown_.size()));
}

int NotificationArea::NeededWidth() const {
  return TrayGrid(IconSize(), static_cast<int>(icons_.Visible().size())).Width();
}

void NotificationArea::IconsChanged() {
  shown_ = icons_.Visible();
  // An icon that went is nobody's pressed or last-clicked icon any more.
  const auto held = [this](const TrayIcon* icon) {
    return std::any_of(icons_.All().begin(), icons_.All().end(),
                       [icon](const auto& h) { return h.get() == icon; });
  };
  if (pressed_ && !held(pressed_)) pressed_ = nullptr;
  if (lastLeftDown_ && !held(lastLeftDown_)) lastLeftDown_ = nullptr;
  if (focused_ && FocusedIndex() < 0) focused_ = nullptr;  // gone or hidden
  if (Grid().Width() != layout_.NotificationArea().Width()) {
    // The strip gives the area its new share and paints it then.
    if (widthChanged_) widthChanged_();
  } else {
    Paint();
  }
  UpdateTooltips();
}

void NotificationArea::Paint(int clearFrom) {
  const StripLayout::Area area = layout_.NotificationArea();
  const TrayGrid grid = Grid();
  // Until the strip has given the area the width its icons need, they are not painted.
  const bool fits = grid.Width() == area.Width();
  const int x0 = std::max(std::min(area.left, clearFrom), StripLayout::kBorder);
  const int x1 = area.right;
  if (x1 > x0) {
    canvas_.PaintBackground(x0, x1);
    if (fits) {
      HDC dc = canvas_.Surface().Dc();
      const int size = IconSize();
      for (size_t i = 0; i < shown_.size(); ++i) {
        if (!shown_[i]->image) continue;
        const TrayGrid::Cell cell = grid.CellOf(static_cast<int>(i), area.left);
        DrawIconEx(dc, cell.iconX, cell.iconY, shown_[i]->image.Get(), size, size, 0, nullptr,
                   DI_NORMAL);
      }
      if (const int focused = FocusedIndex(); focused >= 0) {
        const TrayGrid::Cell cell = grid.CellOf(focused, area.left);
        RECT frame = {cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
        DrawFocusRect(dc, &frame);
      }
      GdiFlush();
    }
    canvas_.Refresh(x0, x1);
  }
  if (fits && !balloonShown_) BalloonsChanged();
}

void NotificationArea::UpdateTooltips() {
  if (!tooltip_) return;
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = strip_;
  for (int id = 1; id <= tools_; ++id) {
    tool.uId = static_cast<UINT_PTR>(id);
    SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  tools_ = 0;
  const TrayGrid grid = Grid();
  const int left = layout_.NotificationArea().left;
  for (size_t i = 0; i < shown_.size(); ++i) {
    if (!shown_[i]->ShowsTip()) continue;
    const TrayGrid::Cell cell = grid.CellOf(static_cast<int>(i), left);
    tool.uId = i + 1;
    tool.rect = {cell.left, cell.top, cell.right, cell.bottom};
    tool.lpszText = const_cast<wchar_t*>(shown_[i]->tip.c_str());  // the control keeps a copy
    SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tools_ = static_cast<int>(i + 1);
  }
}

POINT NotificationArea::ScreenPoint(int x, int y) const {
  POINT point = {x, y};
  if (strip_) ClientToScreen(strip_, &point);
  return point;
}

RECT NotificationArea::IconScreenRect(int index) const {
  const TrayGrid::Cell cell = Grid().CellOf(index, layout_.NotificationArea().left);
  RECT rect = {cell.left, cell.top, cell.right, cell.bottom};
  if (strip_) MapWindowPoints(strip_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool NotificationArea::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  if (tooltip_) {
    MSG relayed = {strip_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageW(tooltip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  const StripLayout::Area area = layout_.NotificationArea();
  const TrayGrid grid = Grid();
  if (grid.Width() != area.Width() || x < area.left || x >= area.right) {
    if (IsButtonUp(message)) pressed_ = nullptr;
    return false;
  }
  const int index = grid.IndexAt(x, y, area.left);
  if (index < 0) {
    if (IsButtonUp(message)) pressed_ = nullptr;
    return false;
  }
  TrayIcon* icon = shown_[static_cast<size_t>(index)];
  const POINT screen = ScreenPoint(x, y);
  UINT told = message;
  if (message == WM_LBUTTONDOWN) {
    // A second press soon after the first on the same icon is a double click.
    const DWORD now = static_cast<DWORD>(GetMessageTime());
    if (lastLeftDown_ == icon && now - lastLeftDownTime_ <= GetDoubleClickTime() &&
        std::abs(x - lastLeftDownAt_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(y - lastLeftDownAt_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
      told = WM_LBUTTONDBLCLK;
      lastLeftDown_ = nullptr;
    } else {
      lastLeftDown_ = icon;
      lastLeftDownTime_ = now;
      lastLeftDownAt_ = {x, y};
    }
  }
  if (IsButtonDown(message)) {
    pressed_ = icon;
    DropFocus();
  }
  if (IsButtonUp(message)) {
    // A release counts only on the icon the button went down on.
    const bool same = pressed_ == icon;
    pressed_ = nullptr;
    if (!same) return true;
  }
  icons_.SendMouse(*icon, told, screen);  // may remove the icon: it is not used after this
  return message != WM_MOUSEMOVE;
}

int NotificationArea::FocusedIndex() const {
  if (focused_ == nullptr) return -1;
  const auto at = std::find(shown_.begin(), shown_.end(), focused_);
  return at == shown_.end() ? -1 : static_cast<int>(at - shown_.begin());
}

void NotificationArea::FocusIcon(const TrayIcon& icon) {
  focused_ = &icon;
  if (FocusedIndex() < 0) {  // hidden: nothing to show the keyboard on
    focused_ = nullptr;
    return;
  }
  if (strip_) {
    // The program that asked has just closed its menu and is still in front: the strip's
    // window comes forward when the system lets it, and takes the keyboard.
    SetForegroundWindow(GetAncestor(strip_, GA_ROOT));
    SetFocus(strip_);
  }
  Paint();
}

void NotificationArea::DropFocus() {
  if (focused_ == nullptr) return;
  focused_ = nullptr;
  Paint();
}

void NotificationArea::TellFocused(UINT event) {
  const int index = FocusedIndex();
  if (index < 0) return;
  TrayIcon* icon = shown_[static_cast<size_t>(index)];
  // The keyboard's choices are words of version 3 and later; older programs know only the mouse.
  if (icon->version < 3) return;
  const RECT rect = IconScreenRect(index);
  const POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  icons_.SendEvent(icon->owner, icon->id, event, centre);  // may remove the icon
}

bool NotificationArea::OnKey(UINT message, WPARAM key) {
  const int index = FocusedIndex();
  if (index < 0) {
    focused_ = nullptr;
    return false;
  }
  if (message == WM_KILLFOCUS) {
    DropFocus();
    return false;  // the strip's too
  }
  // The focused icon's key releases and characters are nobody else's either.
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)
    return message == WM_KEYUP || message == WM_CHAR;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const int count = static_cast<int>(shown_.size());
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      focused_ = shown_[static_cast<size_t>((index + count - 1) % count)];
      Paint();
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      focused_ = shown_[static_cast<size_t>((index + 1) % count)];
      Paint();
      return true;
    case VK_RETURN:
    case VK_SPACE:
      TellFocused(TrayEvent::KeySelect);
      return true;
    case VK_APPS:
      TellFocused(WM_CONTEXTMENU);
      return true;
    case VK_F10:
      if (!shift) return false;  // F10 alone is the system's
      TellFocused(WM_CONTEXTMENU);
      return true;
    case VK_ESCAPE:
      DropFocus();
      return true;
    default:
      return false;
  }
}

void NotificationArea::BalloonsChanged() {
  std::deque<TrayBalloonRequest>& queue = icons_.Balloons();
  if (balloonShown_) {
    if (!queue.empty() && queue.front().serial == shownBalloon_.serial) return;  // still shown
    // Taken away, or its icon asked for another one: it goes before its time.
    balloonShown_ = false;
    balloon_.Hide();
    icons_.SendEvent(shownBalloon_.owner, shownBalloon_.id, TrayEvent::BalloonHide, {});
  }
  // Not while the strip has yet to give the icons their places.
  if (Grid().Width() != layout_.NotificationArea().Width()) return;
  while (!queue.empty() && !balloonShown_) {
    const TrayBalloonRequest next = queue.front();
    const auto at = std::find_if(shown_.begin(), shown_.end(), [&](const TrayIcon* icon) {
      return icon->owner == next.owner && icon->id == next.id;
    });
    if (at == shown_.end()) {  // its icon is hidden now
      queue.pop_front();
      continue;
    }
    // Above the strip, at the icon.
    const RECT rect = IconScreenRect(static_cast<int>(at - shown_.begin()));
    RECT strip = rect;
    if (strip_) GetWindowRect(strip_, &strip);
    const POINT anchor = {(rect.left + rect.right) / 2, strip.top - kBalloonGap};
    if (!balloon_.Show(next, anchor, (*at)->image.Get())) {
      queue.pop_front();
      continue;
    }
    balloonShown_ = true;
    shownBalloon_ = next;
    icons_.SendEvent(next.owner, next.id, TrayEvent::BalloonShow, anchor);
  }
}

void NotificationArea::BalloonEnded(TrayBalloon::End end) {
  if (!balloonShown_) return;
  balloonShown_ = false;
  std::deque<TrayBalloonRequest>& queue = icons_.Balloons();
  if (!queue.empty() && queue.front().serial == shownBalloon_.serial) queue.pop_front();
  const UINT event =
      end == TrayBalloon::End::Clicked ? TrayEvent::BalloonUserClick : TrayEvent::BalloonTimeout;
  icons_.SendEvent(shownBalloon_.owner, shownBalloon_.id, event, {});
  BalloonsChanged();
}

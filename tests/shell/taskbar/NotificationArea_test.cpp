// The notification area in the strip, served by the shell's tray window: programs' requests
// arrive as WM_COPYDATA in the layouts their senders use, icons show in the strip, and the mouse
// over them reaches their owners as each owner asked.
#include "shell/taskbar/NotificationArea.h"

#include <gtest/gtest.h>

#include <vector>

#include "NotifyRecords.h"
#include "shell/taskbar/TaskBar.h"
#include "shell/taskbar/TrayGrid.h"
#include "shell/taskbar/TrayWindow.h"
#include "support/testing.h"

namespace {

using records::Fields;
using testing_support::WaitFor;
using namespace tray::NotifyFlag;  // the NIF_ flags by their short names

// Cells stand edge to edge inside the area, inside the strip, in at most two rows, the first
// row holding the larger half; no icon takes no width.
TEST(TrayGrid, CellsFillTheAreaInUpToTwoRows) {
  for (int iconSize : {16, 20, 24})
    for (int count : {0, 1, 2, 3, 7, 30}) {
      SCOPED_TRACE(testing::Message() << iconSize << " px, " << count << " icons");
      const TrayGrid grid(iconSize, count);
      if (count == 0) {
        EXPECT_EQ(grid.Width(), 0);
        continue;
      }
      const int left = 500;
      EXPECT_EQ(grid.Rows(), count > 1 ? 2 : 1);
      for (int i = 0; i < count; ++i) {
        const TrayGrid::Cell cell = grid.CellOf(i, left);
        EXPECT_GE(cell.left, left + TrayGrid::kAreaMargin);
        EXPECT_LE(cell.right, left + grid.Width() - TrayGrid::kAreaMargin);
        EXPECT_GE(cell.top, 0);
        EXPECT_LE(cell.bottom, StripLayout::kHeight);
        EXPECT_GE(cell.iconX, cell.left);
        EXPECT_LE(cell.iconY + iconSize, StripLayout::kHeight);
        EXPECT_EQ(grid.IndexAt(cell.iconX + iconSize / 2, cell.iconY + iconSize / 2, left), i);
        if (i % grid.Columns() != 0) {
          EXPECT_EQ(cell.left, grid.CellOf(i - 1, left).right) << "edge to edge";
        }
      }
      EXPECT_EQ(grid.CellOf(count - 1, left).top > grid.CellOf(0, left).top, count > 1);
    }
}

// A window of the test that owns icons and records the callback messages it gets.
class Owner {
 public:
  static constexpr UINT kCallback = WM_APP + 77;
  struct Heard {
    WPARAM wParam;
    LPARAM lParam;
  };

  Owner() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &Owner::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZephraTrayOwner";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, L"ZephraTrayOwner", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Owner() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  HWND Get() const { return hwnd_; }
  uint32_t Handle32() const { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd_)); }
  std::vector<Heard> heard;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == kCallback && self) self->heard.push_back({wParam, lParam});
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HWND hwnd_;
};

class NotificationAreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The pointer away from the strip: a fixed button under it would light up.
    SetCursorPos(512, 300);
    host_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 714, 1024,
                            54, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(bar_.Create(host_, 0, 0, 1024));
    for (int32_t n = 1; n <= 7; ++n) bar_.AddButton(n, n == 1, true);
    bar_.AddButton(0, false, true);
    TrayWindow::Host host;
    host.notify = [this](const tray::NotifyRequest& r) { return bar_.Tray().Apply(r); };
    host.stripRect = [] { return RECT{0, 714, 1024, 768}; };
    ASSERT_TRUE(tray_.Create(std::move(host)));
    before_ = Pixels();
  }
  void TearDown() override {
    tray_.Destroy();
    bar_.SubClassOff();
    bar_.Destroy();
    DestroyWindow(host_);
  }

  std::vector<uint32_t> Pixels() const {
    const common::MemorySurface& s = bar_.Surface();
    GdiFlush();
    return std::vector<uint32_t>(s.Pixels(), s.Pixels() + s.Width() * s.Height());
  }
  LRESULT Send(uint64_t dwData, const std::vector<uint8_t>& bytes) {
    COPYDATASTRUCT data = {static_cast<ULONG_PTR>(dwData), static_cast<DWORD>(bytes.size()),
                           const_cast<uint8_t*>(bytes.data())};
    return SendMessageW(tray_.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  }
  Fields Request(uint32_t message, uint32_t id, uint32_t flags) const {
    Fields f;
    f.message = message;
    f.owner = owner_.Handle32();
    f.id = id;
    f.flags = flags;
    f.callback = Owner::kCallback;
    f.icon = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(picture_));
    f.tip = u"音量";
    return f;
  }
  // Waits until the area has the width its icons need.
  bool Settled() {
    return WaitFor(
        [&] { return bar_.Layout().NotificationArea().Width() == bar_.Tray().NeededWidth(); });
  }
  POINT IconCentre(int index) {
    const TrayGrid grid(GetSystemMetrics(SM_CXSMICON),
                        static_cast<int>(bar_.Tray().Icons().Visible().size()));
    const TrayGrid::Cell cell = grid.CellOf(index, bar_.Layout().NotificationArea().left);
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  }
  void Click(UINT down, UINT up, POINT at) {
    SendMessageW(bar_.Handle(), down, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(bar_.Handle(), up, 0, MAKELPARAM(at.x, at.y));
    testing_support::PumpFor(50);
  }

  HWND host_ = nullptr;
  TaskBar bar_;
  TrayWindow tray_;
  Owner owner_;
  HICON picture_ = LoadIconW(nullptr, IDI_APPLICATION);
  std::vector<uint32_t> before_;
};

// An icon of every structure version, from 32-bit and 64-bit programs, shows in the strip left of
// the clock; the task area shrinks by its width; when it goes, the strip is as it was.
TEST_F(NotificationAreaTest, IconsOfEveryVersionShowAndGoLeavingTheStripAsItWas) {
  const int taskRightBefore = bar_.Layout().TaskArea().right;
  for (int version = 1; version <= 4; ++version)
    for (bool from64 : {false, true}) {
      SCOPED_TRACE(testing::Message() << "version " << version << (from64 ? " 64" : " 32"));
      const uint32_t id = static_cast<uint32_t>(version * 2 + from64);
      EXPECT_EQ(Send(1, records::Windows(version, from64, Request(0, id, Message | Icon | Tip))),
                TRUE);
      EXPECT_EQ(Send(1, records::Windows(version, from64, Request(0, id, Message | Icon | Tip))),
                FALSE)
          << "added already";
    }
  ASSERT_TRUE(Settled());
  ASSERT_EQ(bar_.Tray().Icons().Visible().size(), 8u);
  const StripLayout::Area area = bar_.Layout().NotificationArea();
  EXPECT_EQ(area.right, bar_.Layout().Clock().left);
  EXPECT_EQ(bar_.Layout().TaskArea().right, taskRightBefore - area.Width());
  EXPECT_NE(Pixels(), before_) << "icons painted";
  // The child over the icons, for programs that place their pop-ups beside them.
  EXPECT_NE(tray_.NotifyChild(), nullptr);

  for (int version = 1; version <= 4; ++version)
    for (bool from64 : {false, true})
      EXPECT_EQ(
          Send(1, records::Windows(version, from64,
                                   Request(2, static_cast<uint32_t>(version * 2 + from64), 0))),
          TRUE);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(bar_.Layout().NotificationArea().Width(), 0);
  EXPECT_EQ(bar_.Layout().TaskArea().right, taskRightBefore);
  // Left of the clock, whose text the timers have painted meanwhile.
  const std::vector<uint32_t> after = Pixels();
  int differing = 0;
  RECT where = {1024, StripLayout::kHeight, -1, -1};
  for (int y = 0; y < StripLayout::kHeight; ++y)
    for (int x = 0; x < bar_.Layout().Clock().left; ++x)
      if (after[static_cast<size_t>(y * 1024 + x)] != before_[static_cast<size_t>(y * 1024 + x)]) {
        ++differing;
        where = {std::min<LONG>(where.left, x), std::min<LONG>(where.top, y),
                 std::max<LONG>(where.right, x), std::max<LONG>(where.bottom, y)};
      }
  EXPECT_EQ(differing, 0) << "pixel-identical without icons; differing in x " << where.left << ".."
                          << where.right << ", y " << where.top << ".." << where.bottom;
}

// Hidden icons take no place; an icon whose owner is gone goes; a request for another window,
// garbage and short records are refused and change nothing; one program's icons are capped.
TEST_F(NotificationAreaTest, UntrustedRequestsAreCheckedAndCapped) {
  Fields hidden = Request(0, 1, Message | Icon | State);
  hidden.state = hidden.stateMask = tray::NotifyState::Hidden;
  EXPECT_EQ(Send(1, records::Windows(3, false, hidden)), TRUE);
  EXPECT_TRUE(Settled());
  EXPECT_EQ(bar_.Layout().NotificationArea().Width(), 0);

  Fields noWindow = Request(0, 2, Message);
  noWindow.owner = 0x7FFF0000;
  EXPECT_EQ(Send(1, records::Windows(4, false, noWindow)), FALSE);
  for (size_t size : {0, 3, 8, 100, 959, 961}) {
    std::vector<uint8_t> garbage(size, 0xEE);
    for (uint64_t dwData : {0, 1, 2, 4, 99}) EXPECT_EQ(Send(dwData, garbage), FALSE) << size;
  }
  COPYDATASTRUCT lying = {1, 100000, nullptr};
  EXPECT_EQ(SendMessageW(tray_.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&lying)), FALSE);

  for (uint32_t id = 100; id < 100 + TrayIcons::kMaxPerProcess + 5; ++id)
    Send(1, records::Windows(2, false, Request(0, id, Message)));
  EXPECT_EQ(bar_.Tray().Icons().All().size(), TrayIcons::kMaxPerProcess);

  DestroyWindow(owner_.Get());
  bar_.Tray().RemoveOrphans();
  EXPECT_TRUE(bar_.Tray().Icons().All().empty());
}

// Before version 4 an owner hears (id, mouse message); from version 4 the pointer's place and
// (message, id); from version 3 a left click also says NIN_SELECT and a right click asks for
// the context menu. A double click is one. Wine's record, with the icon's bits, works alike.
TEST_F(NotificationAreaTest, ClicksReachTheOwnerAsItsVersionAsks) {
  ASSERT_EQ(Send(0, records::Wine(Request(0, 5, Message | Icon | Tip), 16, 16, 32, 0x40)), TRUE);
  ASSERT_TRUE(Settled());
  const POINT at = IconCentre(0);
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, at);
  ASSERT_EQ(owner_.heard.size(), 2u);
  EXPECT_EQ(owner_.heard[0].wParam, 5u);
  EXPECT_EQ(owner_.heard[0].lParam, WM_LBUTTONDOWN);
  EXPECT_EQ(owner_.heard[1].lParam, WM_LBUTTONUP);
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, at);
  ASSERT_EQ(owner_.heard.size(), 4u);
  EXPECT_EQ(owner_.heard[2].lParam, WM_LBUTTONDBLCLK);

  Fields version = Request(4, 5, 0);
  version.timeout = 4;
  ASSERT_EQ(Send(4, records::Wine(version)), TRUE);
  owner_.heard.clear();
  SendMessageW(bar_.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));  // no double click now
  Click(WM_RBUTTONDOWN, WM_RBUTTONUP, at);
  ASSERT_EQ(owner_.heard.size(), 4u);
  POINT screen = at;
  ClientToScreen(bar_.Handle(), &screen);
  EXPECT_EQ(owner_.heard[0].lParam, MAKELPARAM(WM_MOUSEMOVE, 5));
  EXPECT_EQ(owner_.heard[1].wParam, MAKEWPARAM(screen.x, screen.y));
  EXPECT_EQ(owner_.heard[1].lParam, MAKELPARAM(WM_RBUTTONDOWN, 5));
  EXPECT_EQ(owner_.heard[2].lParam, MAKELPARAM(WM_RBUTTONUP, 5));
  EXPECT_EQ(owner_.heard[3].lParam, MAKELPARAM(WM_CONTEXTMENU, 5));
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, at);
  EXPECT_EQ(owner_.heard.back().lParam, MAKELPARAM(TrayEvent::Select, 5));
  EXPECT_FALSE(bar_.HighlightedPosition() > 0);
}

// A program gives the keyboard to its icon (NIM_SETFOCUS): the keys move among the icons and
// tell the focused icon's owner what the user chose, from version 3 on.
TEST_F(NotificationAreaTest, TheKeyboardMovesAmongIconsAndChoosesOne) {
  for (uint32_t id : {5u, 6u}) {
    ASSERT_EQ(Send(0, records::Wine(Request(0, id, Message | Icon | Tip), 16, 16, 32, 0x40)), TRUE);
    Fields version = Request(4, id, 0);
    version.timeout = 4;
    ASSERT_EQ(Send(4, records::Wine(version)), TRUE);
  }
  ASSERT_TRUE(Settled());
  const std::vector<uint32_t> unfocused = Pixels();
  EXPECT_EQ(Send(3, records::Wine(Request(3, 9, 0))), FALSE) << "no such icon";
  ASSERT_EQ(Send(3, records::Wine(Request(3, 5, 0))), TRUE);
  ASSERT_NE(bar_.Tray().FocusedIcon(), nullptr);
  EXPECT_NE(Pixels(), unfocused) << "a focus rectangle shows it";

  const struct {
    WPARAM key;
    UINT told;              // 0: nothing
    uint32_t focusedAfter;  // 0: none
  } steps[] = {
      {VK_RETURN, TrayEvent::KeySelect, 5},
      {VK_RIGHT, 0, 6},
      {VK_SPACE, TrayEvent::KeySelect, 6},
      {VK_APPS, WM_CONTEXTMENU, 6},
      {VK_RIGHT, 0, 5},
      {VK_LEFT, 0, 6},
      {VK_ESCAPE, 0, 0},
      {VK_RETURN, 0, 0},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << "key " << step.key);
    owner_.heard.clear();
    SendMessageW(bar_.Handle(), WM_KEYDOWN, step.key, 0);
    if (step.told == 0) {
      EXPECT_TRUE(owner_.heard.empty());
    } else {
      ASSERT_EQ(owner_.heard.size(), 1u);
      EXPECT_EQ(owner_.heard[0].lParam, MAKELPARAM(step.told, step.focusedAfter));
    }
    const TrayIcon* focused = bar_.Tray().FocusedIcon();
    EXPECT_EQ(focused ? focused->id : 0u, step.focusedAfter);
  }
  EXPECT_EQ(Pixels(), unfocused) << "the rectangle went with the focus";
}

// A balloon shows above its icon with its title and text; a click on it tells the owner; an
// empty balloon takes a waiting one away.
TEST_F(NotificationAreaTest, BalloonsShowOneAtATimeAndTellTheirOwner) {
  Fields f = Request(0, 9, Message | Icon | Info);
  f.title = u"网络";
  f.info = u"已连接到网络";
  f.infoFlags = 1;
  ASSERT_EQ(Send(1, records::Windows(4, false, f)), TRUE);
  Fields second = Request(0, 10, Message | Icon | Info);
  second.info = u"第二个";
  ASSERT_EQ(Send(1, records::Windows(4, false, second)), TRUE);
  ASSERT_TRUE(Settled());
  TrayBalloon& balloon = bar_.Tray().Balloon();
  ASSERT_TRUE(WaitFor([&] { return balloon.Shown(); }));
  EXPECT_EQ(balloon.Title(), L"网络");
  EXPECT_EQ(balloon.Text(), L"已连接到网络");
  RECT rect = {};
  GetWindowRect(balloon.Handle(), &rect);
  EXPECT_LE(rect.bottom, 714) << "above the strip";
  EXPECT_EQ(owner_.heard.back().lParam, TrayEvent::BalloonShow);

  SendMessageW(balloon.Handle(), WM_LBUTTONUP, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return owner_.heard.size() >= 3; }));
  EXPECT_EQ(owner_.heard[1].lParam, TrayEvent::BalloonUserClick);
  EXPECT_EQ(balloon.Text(), L"第二个") << "the next one follows";
  Fields cancel = Request(1, 10, Info);
  EXPECT_EQ(Send(1, records::Windows(4, false, cancel)), TRUE);
  EXPECT_FALSE(balloon.Shown());
  EXPECT_EQ(owner_.heard.back().lParam, TrayEvent::BalloonHide);
}

}  // namespace

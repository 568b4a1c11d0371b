#include "shell/menus/MenuButton.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"

namespace {

// Colours of the normal look (0x00BBGGRR).
constexpr uint32_t kDark = 6052956, kLight = 16448250, kFace = 15132390, kShade = 13553358;
// The highlighted band.
constexpr uint32_t kBlue = 11557709, kPale = 15182496, kDeep = 7226943;
constexpr uint32_t kBlack = 0, kWhite = 0xFFFFFF, kSilver = 12632256;
constexpr int W = 194;

uint32_t Brightened(uint32_t color, int16_t brightness) {
  return static_cast<uint32_t>(
      SkinPixelColor(SkinRules::Control(), static_cast<int32_t>(color), true, brightness));
}

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  int count = 0;
  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
    ++count;
  }
};

class MenuButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    button_.reset();
    DestroyWindow(host_);
  }

  MenuButton& Make(MenuButton::Hold hold = {}, int16_t index = 7) {
    MenuButton::Events events;
    events.MouseOver = [this](int16_t i) { events_.push_back(L"over " + std::to_wstring(i)); };
    events.MouseOut = [this](int16_t i) { events_.push_back(L"out " + std::to_wstring(i)); };
    events.MouseDown = [this](int16_t i) { events_.push_back(L"down " + std::to_wstring(i)); };
    events.MouseUp = [this](int16_t i) { events_.push_back(L"up " + std::to_wstring(i)); };
    button_ = std::make_unique<MenuButton>(index, std::move(hold), events);
    EXPECT_TRUE(button_->Create(host_, 2910));
    return *button_;
  }
  // An entry with neither caption nor picture, so that only the skin is on it.
  MenuButton& Plain(bool capTop, bool capBottom) {
    MenuButton& b = Make({capTop, capBottom, L"", 0});
    b.LoadGUI();
    return b;
  }
  uint32_t At(int x, int y) const { return button_->Surface().ColorAt(x, y); }
  Box Find(uint32_t color, int x0 = 0) const {
    Box box;
    const auto& s = button_->Surface();
    for (int y = 0; y < s.Height(); ++y)
      for (int x = x0; x < s.Width(); ++x)
        if (s.ColorAt(x, y) == color) box.Add(x, y);
    return box;
  }
  void Send(UINT message) { SendMessageW(button_->Handle(), message, 0, MAKELPARAM(50, 10)); }

  HWND host_ = nullptr;
  std::unique_ptr<MenuButton> button_;
  std::vector<std::wstring> events_;
};

TEST_F(MenuButtonTest, HeightFollowsTheSeparators) {
  struct Case {
    bool top, bottom;
    int pixels;
  };
  for (const Case& c : {Case{false, false, 25}, Case{false, true, 27}, Case{true, false, 27},
                        Case{true, true, 29}}) {
    MenuButton& b = Plain(c.top, c.bottom);
    RECT client;
    GetClientRect(b.Handle(), &client);
    EXPECT_EQ(client.right, W);
    EXPECT_EQ(client.bottom, c.pixels) << c.top << c.bottom;
    EXPECT_EQ(b.Height(), c.pixels * 15.0);
    EXPECT_EQ(b.Surface().Height(), c.pixels);
  }
}

TEST_F(MenuButtonTest, NormalLookIsTheGreyBodyBetweenSeparators) {
  Plain(true, true);
  // Top separator: a dark row, then dark ends around a light line.
  for (int x : {0, 1, 100, W - 2, W - 1}) EXPECT_EQ(At(x, 0), kDark) << x;
  EXPECT_EQ(At(0, 1), kDark);
  EXPECT_EQ(At(1, 1), kLight);
  EXPECT_EQ(At(W - 2, 1), kLight);
  EXPECT_EQ(At(W - 1, 1), kDark);
  // Body rows 2 ... 26: outer edge, inner left edge, face, inner right edge, outer edge.
  for (int y : {2, 3, 14, 26}) {
    EXPECT_EQ(At(0, y), kDark) << y;
    EXPECT_EQ(At(1, y), kLight) << y;
    EXPECT_EQ(At(2, y), kFace) << y;
    EXPECT_EQ(At(W - 3, y), kFace) << y;
    EXPECT_EQ(At(W - 2, y), kShade) << y;
    EXPECT_EQ(At(W - 1, y), kDark) << y;
  }
  // Bottom separator: a grey line between dark ends, then a dark row.
  EXPECT_EQ(At(0, 27), kDark);
  EXPECT_EQ(At(1, 27), kShade);
  EXPECT_EQ(At(W - 2, 27), kShade);
  EXPECT_EQ(At(W - 1, 27), kDark);
  for (int x : {0, 100, W - 1}) EXPECT_EQ(At(x, 28), kDark) << x;
}

TEST_F(MenuButtonTest, HighlightedBandCoversRowsOneToTwentyTwoInsideTheEdges) {
  MenuButton& b = Plain(true, false);
  b.LoadGUI_OVER();  // no argument: brightness 0
  const int t = 2;
  EXPECT_EQ(At(100, t), kFace) << "the band's first row is transparent";
  EXPECT_EQ(At(100, t + 1), kBlue);
  EXPECT_EQ(At(100, t + 2), kPale);
  EXPECT_EQ(At(100, t + 3), 9523784u);    // the gradient's first value
  EXPECT_EQ(At(100, t + 20), 11756377u);  // and its last
  EXPECT_EQ(At(100, t + 21), kDeep);
  EXPECT_EQ(At(100, t + 22), kBlue);
  EXPECT_EQ(At(100, t + 23), kFace);
  // Columns 2 ... W - 3 are covered; the edge columns stay.
  EXPECT_EQ(At(2, t + 5), kBlue);
  EXPECT_EQ(At(3, t + 5), At(100, t + 5));
  EXPECT_EQ(At(W - 4, t + 5), kDeep);
  EXPECT_EQ(At(W - 3, t + 5), kBlue);
  EXPECT_EQ(At(1, t + 5), kLight);
  EXPECT_EQ(At(W - 2, t + 5), kShade);
  EXPECT_EQ(At(100, 0), kDark) << "the separator is not repainted";

  // Pressed: the band 50 brighter in every channel.
  b.LoadGUI_OVER(MenuButton::kPressedBrightness);
  EXPECT_EQ(At(100, t + 1), Brightened(kBlue, 50));
  EXPECT_EQ(At(100, t + 2), Brightened(kPale, 50));
  EXPECT_EQ(At(100, t + 3), Brightened(9523784, 50));
  EXPECT_EQ(At(1, t + 5), kLight);
}

TEST_F(MenuButtonTest, ArrowIsBlackWhenNormalAndWhiteWhenHighlighted) {
  MenuButton& b = Plain(false, false);
  b.SetArrow(true);
  const int x = W - 13;
  // The arrowhead's rows cover columns {1}, {0,1,2}, {1,2,3}, {1,2,3,4}, {1,2,3}, {0,1,2}, {1}.
  EXPECT_EQ(At(x + 1, 7), kBlack);
  EXPECT_EQ(At(x + 4, 10), kBlack);
  EXPECT_EQ(At(x + 1, 13), kBlack);
  EXPECT_EQ(At(x + 1, 6), kFace);
  EXPECT_EQ(At(x + 4, 9), kFace);
  b.LoadGUI_OVER();
  EXPECT_EQ(At(x + 1, 9), kWhite);
  EXPECT_EQ(At(x + 4, 12), kWhite);
  EXPECT_EQ(At(x + 1, 15), kWhite);
  EXPECT_NE(At(x + 1, 7), kBlack);
}

TEST_F(MenuButtonTest, CaptionHasItsShadowTwoRightAndOneDown) {
  MenuButton& b = Make({false, false, L"办公软件 Office", 0});
  b.LoadGUI();
  const Box text = Find(kBlack);
  const Box shadow = Find(kSilver);
  ASSERT_GT(text.count, 20);
  ASSERT_GT(shadow.count, 0);
  EXPECT_GE(text.left, 29);
  EXPECT_LE(text.left, 31);
  EXPECT_EQ(shadow.left, text.left + 2);
  EXPECT_EQ(shadow.top, text.top + 1);
  EXPECT_EQ(shadow.right, text.right + 2);
  // Centred in the 25 rows: as much room above as below, give or take the glyphs' design.
  EXPECT_LE(std::abs(text.top - (24 - text.bottom)), 4) << text.top << " " << text.bottom;

  // Highlighted: bold white with a black shadow, in the same place.
  b.LoadGUI_OVER();
  const Box lit = Find(kWhite, 20);
  const Box litShadow = Find(kBlack, 20);
  ASSERT_GT(lit.count, 20);
  EXPECT_EQ(lit.top, text.top);
  EXPECT_EQ(litShadow.top, lit.top + 1);
  EXPECT_EQ(litShadow.left, lit.left + 2);
  EXPECT_GT(lit.count, text.count) << "bold strokes are wider";
}

TEST_F(MenuButtonTest, CaptionIsCentredInTheWholeEntryAndCutAtTheRightEdge) {
  MenuButton& b = Make({true, true, std::wstring(40, L'宽'), 0});
  b.LoadGUI();
  const Box text = Find(kBlack, 20);
  ASSERT_GT(text.count, 0);
  EXPECT_LT(text.right, W - 4) << "cut, not wrapped";
  EXPECT_LE(text.bottom, 26) << "one line only";
  EXPECT_LE(std::abs(text.top - (28 - text.bottom)), 4);
}

TEST_F(MenuButtonTest, NeverSetCaptionReadsNull) {
  MenuButton& b = Make();
  EXPECT_EQ(b.Caption(), L"null");
  EXPECT_GT(Find(kBlack, 20).count, 10);
  b.SetCaption(L"");
  EXPECT_EQ(Find(kBlack, 20).count, 0) << "an empty caption draws no text";
}

TEST_F(MenuButtonTest, PictureIsPaintedAtTheTopLeftOverTheSeparator) {
  MenuButton& b = Plain(true, true);
  b.SetIcon(18);
  const SkinImage& picture = SkinImages::MenuPicture(18);
  int checked = 0;
  for (int x = 0; x < picture.Columns(); ++x)
    for (int y = 0; y < picture.Rows(); ++y) {
      const int32_t v = picture.At(x, y);
      if (v < 0) continue;
      EXPECT_EQ(At(x, y), static_cast<uint32_t>(v)) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 100);
  for (int32_t none : {0, 20, -1}) {
    b.SetIcon(none);
    EXPECT_EQ(At(12, 12), kFace) << none;
  }
}

TEST_F(MenuButtonTest, PointerEventsRaiseOncePerVisitWithTheIndex) {
  MenuButton& b = Make({false, false, L"x", 0}, 12);
  b.SubClassMe();
  EXPECT_TRUE(b.PointerTracking());
  Send(WM_MOUSEHOVER);
  EXPECT_EQ(b.ButtonOver(), MenuButton::kOverPainted);
  EXPECT_EQ(At(100, 1), kBlue);
  Send(WM_MOUSEHOVER);  // the tracker reports the rest again after every movement
  Send(WM_LBUTTONDOWN);
  EXPECT_EQ(At(100, 1), Brightened(kBlue, 50));
  Send(WM_LBUTTONUP);
  EXPECT_EQ(At(100, 1), kBlue);
  Send(WM_RBUTTONDOWN);
  Send(WM_MOUSELEAVE);
  EXPECT_EQ(b.ButtonOver(), MenuButton::kNormalPainted);
  EXPECT_EQ(At(100, 1), kFace);
  Send(WM_MOUSEHOVER);  // the next visit
  const std::vector<std::wstring> expected = {L"over 12", L"down 12", L"up 12", L"out 12",
                                              L"over 12"};
  EXPECT_EQ(events_, expected);

  b.UnSubClassMe();
  EXPECT_FALSE(b.PointerTracking());
  Send(WM_MOUSELEAVE);
  EXPECT_EQ(events_.size(), expected.size());
}

TEST_F(MenuButtonTest, SettingAPropertyRepaintsNormalReadingDoesNot) {
  MenuButton& b = Make({false, false, L"x", 0});
  b.SubClassMe();
  Send(WM_MOUSEHOVER);
  ASSERT_EQ(At(100, 1), kBlue);
  (void)b.Caption();
  (void)b.Arrow();
  (void)b.CapTop();
  EXPECT_EQ(At(100, 1), kBlue);
  b.SetCaption(L"y");  // even with the pointer still on it
  EXPECT_EQ(At(100, 1), kFace);
  EXPECT_EQ(b.ButtonOver(), MenuButton::kNormalPainted);
  // So the next rest of the pointer is a new visit.
  Send(WM_MOUSEHOVER);
  EXPECT_EQ(events_.size(), 2u);
}

TEST_F(MenuButtonTest, NewEntryStartsFromTheSavedProperties) {
  MenuButton& b = Make({true, false, L"保存", 5});
  EXPECT_TRUE(b.CapTop());
  EXPECT_FALSE(b.CapBottom());
  EXPECT_EQ(b.Caption(), L"保存");
  EXPECT_EQ(b.Icon(), 5);
  EXPECT_FALSE(b.Arrow());
  EXPECT_EQ(b.Surface().Height(), 27);
}

}  // namespace

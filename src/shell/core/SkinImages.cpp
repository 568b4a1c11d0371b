#include "shell/core/SkinImages.h"

#include <initializer_list>
#include <iterator>
#include <string>

#include "shell/core/SkinArtwork.h"

namespace SkinImages {

namespace {

// A value repeated `count` times down a column.
struct Run {
  int32_t value;
  int count = 1;
};

// The text of an image of `rows` rows given column by column as runs of values.
std::string Text(int rows, std::initializer_list<std::initializer_list<Run>> columns) {
  std::string text = std::to_string(rows - 1);
  for (const auto& column : columns) {
    for (const Run& run : column) {
      for (int i = 0; i < run.count; ++i) text += ',' + std::to_string(run.value);
    }
  }
  return text;
}

// An image kept as its compiled-in text and its decoded form.
struct Stored {
  std::string text;
  SkinImage image;
  explicit Stored(std::string t) : text(std::move(t)), image(SkinImage::Parse(text)) {}
};

constexpr int32_t kBlack = 0;
constexpr int32_t kWhite = 16777215;
constexpr int32_t kDark = 6052956;      // 0x5C5C5C
constexpr int32_t kLight = 16448250;    // 0xFAFAFA
constexpr int32_t kFace = 15132390;     // 0xE6E6E6
constexpr int32_t kShade = 13553358;    // 0xCECECE
constexpr int32_t kBorder = 10066329;   // 0x999999
constexpr int32_t kHoverEdge = 11557709;
constexpr int32_t kHoverLight = 15182496;
constexpr int32_t kHoverShadow = 7226943;

// --- taskbar ---

const Stored& BorderStored() {
  static const Stored s(Text(54, {{{kBorder, 54}}}));
  return s;
}

const Stored& Background0Stored() {
  static const Stored s(Text(54, {{{8947848}, {14606046}, {12829635}, {10855845}, {9342606},
                                   {8553090}, {8289918}, {8026746}, {7763574}, {7434609},
                                   {7303023}, {6974058}, {6776679}, {6513507}, {6250335},
                                   {6052956, 3}, {5855577}, {5658198}, {5526612}, {5395026},
                                   {5263440}, {5131854, 4}, {5197647}, {5395026},
                                   {5526612, 25}}}));
  return s;
}

const Stored& Background1Stored() {
  static const Stored s(Text(54, {{{kBorder}, {kSkinTaskBarColor, 52}, {kBorder}}}));
  return s;
}

// The grip: dotted diagonal strokes (grey dots, each with a highlight below right of it) and
// an etched two-pixel separator line towards the task buttons.
std::string GripText() {
  constexpr int kRows = 47, kColumns = 8;
  std::string text = std::to_string(kRows - 1);
  for (int x = 0; x < kColumns; ++x) {
    for (int y = 0; y < kRows; ++y) {
      int32_t v = kSkinTransparent;
      if (x == 6 && y >= 7) {
        v = kDark;
      } else if (x == 7 && y >= 7) {
        v = kLight;
      } else if (x <= 4 && x % 2 == 0 && y >= 10 && y <= 44 && (x + y) % 4 == 0) {
        v = 12829635;  // dot
      } else if (x >= 1 && x <= 5 && x % 2 == 1 && y >= 11 && y <= 45 && (x + y) % 4 == 2) {
        v = 16053492;  // its highlight, one pixel right of and below it
      }
      text += ',' + std::to_string(v);
    }
  }
  return text;
}

// Up-pointing triangle at the top right of a 44-column quick-launch image: black outline,
// white inside, black base line.
std::string ArrowOverlayText() {
  constexpr std::string_view triangle[] = {
      "....B....",  // row 6
      "...BWB...",  //
      "...BWB...",  //
      "..BWWWB..",  //
      "..BWWWB..",  //
      ".BWWWWWB.",  //
      ".BWWWWWB.",  //
      "BBBBBBBBB",  // row 13
  };
  std::string text = "13";
  for (int x = 0; x < 44; ++x) {
    for (int y = 0; y < 14; ++y) {
      int32_t v = kSkinTransparent;
      if (x >= 35 && y >= 6) {
        const char c = triangle[y - 6][x - 35];
        if (c == 'B') v = kBlack;
        if (c == 'W') v = kWhite;
      }
      text += ',' + std::to_string(v);
    }
  }
  return text;
}

// --- task button ---

const Stored& TaskLeft0() {
  static const Stored s(Text(27, {{{-1}, {6118749, 3}, {6184542, 18}, {6250335}, {6381921},
                                   {6052956, 2}, {-1}},
                                  {{6118749}, {11316396}, {12829635, 2}, {12697793}, {12566206, 2},
                                   {12369084}, {12105912}, {11842997}, {11579825}, {11316396},
                                   {11053224}, {10790052}, {10461087}, {10197915}, {9869206},
                                   {9606035}, {9342606}, {9145227}, {8947847, 2}, {8684932},
                                   {8553090}, {8421504}, {6710886}, {4210752}}}));
  return s;
}

const Stored& TaskBody0() {
  static const Stored s(Text(27, {{{6052956}, {10395294}, {14606046}, {12829635}, {10855845},
                                   {9408399, 2}, {8618883}, {8289918}, {8026746}, {7763574},
                                   {7434609}, {7303023}, {6974058}, {6776679}, {6513507, 3},
                                   {6250335}, {6052956}, {5855577, 2}, {5658198}, {5526612},
                                   {5395026}, {7171437}, {4210752}}}));
  return s;
}

const Stored& TaskRight0() {
  static const Stored s(Text(27, {{{6118749}, {11645361}, {12829635, 2}, {12697793}, {12566206, 2},
                                   {12369084}, {12105912}, {11842997}, {11579825}, {11316396},
                                   {11053224}, {10790052}, {10461087}, {10197915}, {9869206},
                                   {9606035}, {9342606}, {9145227}, {8947847, 2}, {8684932},
                                   {8553090}, {8421504}, {6447714}, {4210752}},
                                  {{-1}, {6381921}, {6579300}, {6316128}, {6250335, 3}, {6316128},
                                   {6381921, 15}, {6316128}, {6250335}, {6052956}, {-1}}}));
  return s;
}

const Stored& TaskLeft1() {
  static const Stored s(Text(24, {{{kDark, 24}}, {{kDark}, {kShade, 21}, {kLight}, {kDark}}}));
  return s;
}

const Stored& TaskBody1() {
  static const Stored s(Text(24, {{{kDark}, {kShade}, {kFace, 20}, {kLight}, {kDark}}}));
  return s;
}

const Stored& TaskRight1() {
  static const Stored s(Text(24, {{{kDark}, {kShade}, {kLight, 21}, {kDark}}, {{kDark, 24}}}));
  return s;
}

// --- menu button ---

// One full column of 25 rows and the first 3 pixels of a second, all of one colour.
std::string MenuColumn(int32_t color) { return Text(25, {{{color, 28}}}); }

const Stored& OuterEdge() {
  static const Stored s(MenuColumn(kDark));
  return s;
}
const Stored& InnerLeftEdge() {
  static const Stored s(MenuColumn(kLight));
  return s;
}
const Stored& Body() {
  static const Stored s(MenuColumn(kFace));
  return s;
}
const Stored& InnerRightEdge() {
  static const Stored s(MenuColumn(kShade));
  return s;
}

const Stored& DividerEnd() {
  static const Stored s(Text(2, {{{kDark}, {kDark}}}));
  return s;
}
const Stored& DividerTop() {
  static const Stored s(Text(2, {{{kDark}, {kLight}}}));
  return s;
}
const Stored& DividerBottom() {
  static const Stored s(Text(2, {{{kShade}, {kDark}}}));
  return s;
}

// The submenu arrowhead: seven rows covering the columns {1}, {0,1,2}, {1,2,3}, {1,2,3,4},
// {1,2,3}, {0,1,2}, {1}, starting at row `top`.
std::string ArrowText(int rows, int top, int32_t color) {
  constexpr std::string_view head[] = {".X...", "XXX..", ".XXX.", ".XXXX",
                                       ".XXX.", "XXX..", ".X..."};
  std::string text = std::to_string(rows - 1);
  for (int x = 0; x < 5; ++x) {
    for (int y = 0; y < rows; ++y) {
      const bool on = y >= top && y < top + 7 && head[y - top][x] == 'X';
      text += ',' + std::to_string(on ? color : kSkinTransparent);
    }
  }
  return text;
}

const Stored& Arrow() {
  static const Stored s(ArrowText(14, 7, kBlack));
  return s;
}
const Stored& HoverArrow() {
  static const Stored s(ArrowText(16, 9, kWhite));
  return s;
}

const Stored& HoverLeft() {
  static const Stored s(Text(23, {{{-1, 23}},
                                  {{-1}, {kHoverEdge, 22}},
                                  {{-1}, {kHoverEdge}, {kHoverLight, 19}, {kHoverShadow},
                                   {kHoverEdge}}}));
  return s;
}

// 18 steps from 9523784 to 11756377, each adding 1 to red, 1 to green and 2 to blue.
std::string HoverBodyText() {
  std::string text = "22,-1," + std::to_string(kHoverEdge) + ',' + std::to_string(kHoverLight);
  for (int step = 0; step < 18; ++step) text += ',' + std::to_string(9523784 + step * 131329);
  text += ',' + std::to_string(kHoverShadow) + ',' + std::to_string(kHoverEdge);
  return text;
}

const Stored& HoverBody() {
  static const Stored s(HoverBodyText());
  return s;
}

const Stored& HoverRight() {
  static const Stored s(Text(23, {{{-1}, {kHoverEdge}, {kHoverShadow, 20}, {kHoverEdge}},
                                  {{-1}, {kHoverEdge, 22}}}));
  return s;
}

// --- pictures ---

const Stored& Grip() {
  static const Stored s(GripText());
  return s;
}
const Stored& Overlay() {
  static const Stored s(ArrowOverlayText());
  return s;
}

const Stored& QuickLaunchStored(int index) {
  static const Stored images[] = {
      Stored(SkinArtwork::kQuickLaunch[0]), Stored(SkinArtwork::kQuickLaunch[1]),
      Stored(SkinArtwork::kQuickLaunch[2]), Stored(SkinArtwork::kQuickLaunch[3]),
      Stored(SkinArtwork::kQuickLaunch[4]), Stored(SkinArtwork::kQuickLaunch[5]),
      Stored(SkinArtwork::kQuickLaunch[6]),
  };
  return images[index - 1];
}

const Stored& MenuPictureStored(int icon) {
  static const std::vector<Stored> images = [] {
    std::vector<Stored> all;
    all.reserve(SkinArtwork::kMenuPictureCount);
    for (const char* text : SkinArtwork::kMenuPicture) all.emplace_back(text);
    return all;
  }();
  return images[static_cast<size_t>(icon - 1)];
}

struct MenuPictureInfo {
  std::string_view name;
  int rows, columns;
};
constexpr MenuPictureInfo kMenuPictures[] = {
    {"picture 1: power button", 25, 25},  {"picture 2: padlock", 25, 25},
    {"picture 3: window, gear", 22, 27},  {"picture 4: home folder", 22, 27},
    {"picture 5: life buoy", 22, 27},     {"picture 6: window, magnifier", 22, 27},
    {"picture 7: circuit board", 22, 27}, {"picture 8: screwdriver, wrench", 22, 27},
    {"picture 9: computer", 22, 27},      {"picture 10: film, loudspeaker", 22, 27},
    {"picture 11: tool box", 22, 27},     {"picture 12: window, leaf", 22, 27},
    {"picture 13: office, pie chart", 22, 27}, {"picture 14: globe", 22, 27},
    {"picture 15: palette, brush", 22, 27}, {"picture 16: cards, game piece", 22, 26},
    {"picture 17: documents", 22, 26},    {"picture 18: animal head", 22, 26},
    {"picture 19: exclamation mark", 26, 26},
};
static_assert(std::size(kMenuPictures) == SkinArtwork::kMenuPictureCount);

const SkinImage& NoImage() {
  static const SkinImage empty;
  return empty;
}

}  // namespace

const SkinImage& TaskBarBorder() { return BorderStored().image; }
const SkinImage& TaskBarBackground(int32_t style) {
  return style == 0 ? Background0Stored().image : Background1Stored().image;
}
const SkinImage& QuickLaunch(int32_t index) {
  if (index == 0) return Grip().image;
  if (index >= 1 && index <= 7) return QuickLaunchStored(index).image;
  return NoImage();
}
const SkinImage& ArrowOverlay() { return Overlay().image; }

const SkinImage& TaskButtonLeft(int32_t style) {
  return style == 0 ? TaskLeft0().image : TaskLeft1().image;
}
const SkinImage& TaskButtonBody(int32_t style) {
  return style == 0 ? TaskBody0().image : TaskBody1().image;
}
const SkinImage& TaskButtonRight(int32_t style) {
  return style == 0 ? TaskRight0().image : TaskRight1().image;
}

const SkinImage& MenuOuterEdge() { return OuterEdge().image; }
const SkinImage& MenuInnerLeftEdge() { return InnerLeftEdge().image; }
const SkinImage& MenuBody() { return Body().image; }
const SkinImage& MenuInnerRightEdge() { return InnerRightEdge().image; }
const SkinImage& MenuDividerEnd() { return DividerEnd().image; }
const SkinImage& MenuDividerTop() { return DividerTop().image; }
const SkinImage& MenuDividerBottom() { return DividerBottom().image; }
const SkinImage& MenuArrow() { return Arrow().image; }
const SkinImage& MenuHoverLeft() { return HoverLeft().image; }
const SkinImage& MenuHoverBody() { return HoverBody().image; }
const SkinImage& MenuHoverRight() { return HoverRight().image; }
const SkinImage& MenuHoverArrow() { return HoverArrow().image; }

const SkinImage& MenuPicture(int32_t icon) {
  if (icon >= 1 && icon <= SkinArtwork::kMenuPictureCount) return MenuPictureStored(icon).image;
  return NoImage();
}

const std::vector<Entry>& All() {
  static const std::vector<Entry> entries = [] {
    std::vector<Entry> all;
    auto add = [&all](std::string_view control, std::string_view name, int rows, int columns,
                      const Stored& stored) {
      all.push_back({control, name, rows, columns, stored.text, &stored.image});
    };
    add("taskbar", "border column", 54, 1, BorderStored());
    add("taskbar", "background, style 0", 54, 1, Background0Stored());
    add("taskbar", "background, style 1", 54, 1, Background1Stored());
    add("taskbar", "quick-launch image 0 (grip)", 47, 8, Grip());
    static constexpr int kQuickLaunchRows[] = {44, 47, 46, 48, 49, 47, 48};
    static constexpr std::string_view kQuickLaunchNames[] = {
        "quick-launch image 1 (start)", "quick-launch image 2", "quick-launch image 3",
        "quick-launch image 4",         "quick-launch image 5", "quick-launch image 6",
        "quick-launch image 7"};
    for (int i = 1; i <= 7; ++i)
      add("taskbar", kQuickLaunchNames[i - 1], kQuickLaunchRows[i - 1], 48, QuickLaunchStored(i));
    add("taskbar", "arrow overlay", 14, 44, Overlay());
    add("task button", "left edge, style 0", 27, 2, TaskLeft0());
    add("task button", "body, style 0", 27, 1, TaskBody0());
    add("task button", "right edge, style 0", 27, 2, TaskRight0());
    add("task button", "left edge, style 1", 24, 2, TaskLeft1());
    add("task button", "body, style 1", 24, 1, TaskBody1());
    add("task button", "right edge, style 1", 24, 2, TaskRight1());
    add("menu button", "outer edge", 25, 2, OuterEdge());
    add("menu button", "inner left edge", 25, 2, InnerLeftEdge());
    add("menu button", "body", 25, 2, Body());
    add("menu button", "inner right edge", 25, 2, InnerRightEdge());
    add("menu button", "divider, ends", 2, 1, DividerEnd());
    add("menu button", "divider, top", 2, 1, DividerTop());
    add("menu button", "divider, bottom", 2, 1, DividerBottom());
    add("menu button", "submenu arrow", 14, 5, Arrow());
    add("menu button", "hover left part", 23, 3, HoverLeft());
    add("menu button", "hover body", 23, 1, HoverBody());
    add("menu button", "hover right part", 23, 2, HoverRight());
    add("menu button", "hover submenu arrow", 16, 5, HoverArrow());
    for (int icon = 1; icon <= SkinArtwork::kMenuPictureCount; ++icon) {
      const MenuPictureInfo& info = kMenuPictures[icon - 1];
      add("menu button", info.name, info.rows, info.columns, MenuPictureStored(icon));
    }
    return all;
  }();
  return entries;
}

}  // namespace SkinImages

#include "shell/core/SkinImages.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "common/surface.h"
#include "shell/core/SkinPainter.h"

namespace {

using namespace SkinImages;

int ValueCount(std::string_view text) {
  int commas = 0;
  for (char c : text) commas += c == ',';
  return commas;  // the first number is the height
}

// Rows x columns of every image, as the controls are designed around them.
TEST(SkinCatalogue, EveryImageHasItsRowsAndColumns) {
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"border column", {54, 1}},
      {"background, style 0", {54, 1}},
      {"background, style 1", {54, 1}},
      {"quick-launch image 0 (grip)", {47, 8}},
      {"quick-launch image 1 (start)", {44, 48}},
      {"quick-launch image 2", {47, 48}},
      {"quick-launch image 3", {46, 48}},
      {"quick-launch image 4", {48, 48}},
      {"quick-launch image 5", {49, 48}},
      {"quick-launch image 6", {47, 48}},
      {"quick-launch image 7", {48, 48}},
      {"arrow overlay", {14, 44}},
      {"left edge, style 0", {27, 2}},
      {"body, style 0", {27, 1}},
      {"right edge, style 0", {27, 2}},
      {"left edge, style 1", {24, 2}},
      {"body, style 1", {24, 1}},
      {"right edge, style 1", {24, 2}},
      {"outer edge", {25, 2}},
      {"inner left edge", {25, 2}},
      {"body", {25, 2}},
      {"inner right edge", {25, 2}},
      {"divider, ends", {2, 1}},
      {"divider, top", {2, 1}},
      {"divider, bottom", {2, 1}},
      {"submenu arrow", {14, 5}},
      {"hover left part", {23, 3}},
      {"hover body", {23, 1}},
      {"hover right part", {23, 2}},
      {"hover submenu arrow", {16, 5}},
  };
  const int pictureRows[] = {25, 25, 22, 22, 22, 22, 22, 22, 22, 22,
                             22, 22, 22, 22, 22, 22, 22, 22, 26};
  const int pictureColumns[] = {25, 25, 27, 27, 27, 27, 27, 27, 27, 27,
                                27, 27, 27, 27, 27, 26, 26, 26, 26};
  std::map<std::string, int> seen;
  int pictures = 0;
  for (const Entry& e : All()) {
    SCOPED_TRACE(std::string(e.name));
    ++seen[std::string(e.name)];
    int rows, columns;
    if (e.name.starts_with("picture ")) {
      rows = pictureRows[pictures];
      columns = pictureColumns[pictures];
      ++pictures;
    } else {
      ASSERT_TRUE(sizes.contains(std::string(e.name)));
      std::tie(rows, columns) = sizes.at(std::string(e.name));
    }
    const auto image = SkinImage::Parse(e.text);
    EXPECT_EQ(image.Rows(), rows);
    EXPECT_EQ(image.Columns(), columns);
    EXPECT_EQ(e.image->Rows(), rows);
    EXPECT_EQ(e.image->Columns(), columns);
    // Only the menu button's body columns stop part-way through their last column.
    const bool menuColumn = e.control == "menu button" && rows == 25 && columns == 2;
    EXPECT_EQ(ValueCount(e.text), menuColumn ? 28 : rows * columns);
  }
  EXPECT_EQ(pictures, 19);
  EXPECT_EQ(seen.size(), sizes.size() + 19);
}

std::vector<int32_t> Column(const SkinImage& image, int column) {
  std::vector<int32_t> values;
  for (int row = 0; row < image.Rows(); ++row) values.push_back(image.At(column, row));
  return values;
}

TEST(SkinCatalogue, TaskBarBandsHoldTheirColours) {
  EXPECT_EQ(Column(TaskBarBorder(), 0), std::vector<int32_t>(54, 10066329));
  const auto flat = Column(TaskBarBackground(1), 0);
  EXPECT_EQ(flat.front(), 10066329);
  EXPECT_EQ(flat.back(), 10066329);
  EXPECT_EQ(std::vector<int32_t>(flat.begin() + 1, flat.end() - 1), std::vector<int32_t>(52, -2));
  const auto grey = Column(TaskBarBackground(0), 0);
  EXPECT_EQ(grey[0], 8947848);
  EXPECT_EQ(grey[14], 6250335);
  EXPECT_EQ(grey[15], 6052956);
  EXPECT_EQ(grey[17], 6052956);
  EXPECT_EQ(grey[22], 5263440);
  EXPECT_EQ(grey[26], 5131854);
  EXPECT_EQ(grey[27], 5197647);
  EXPECT_EQ(grey[28], 5395026);
  EXPECT_EQ(std::vector<int32_t>(grey.begin() + 29, grey.end()), std::vector<int32_t>(25, 5526612));
}

TEST(SkinCatalogue, TaskButtonEdgesHaveTransparentCornersInStyle0Only) {
  for (const SkinImage* edge : {&TaskButtonLeft(0), &TaskButtonRight(0)}) {
    const int outer = edge == &TaskButtonLeft(0) ? 0 : 1;
    EXPECT_EQ(edge->At(outer, 0), -1);
    EXPECT_EQ(edge->At(outer, 26), -1);
    EXPECT_NE(edge->At(1 - outer, 0), -1);
    EXPECT_EQ(edge->At(1 - outer, 26), 4210752);
  }
  for (const Entry& e : All())
    if (e.name.ends_with("style 1")) {
      EXPECT_EQ(e.text.find("-1"), std::string_view::npos);
    }
}

TEST(SkinCatalogue, HoverBodyIsAnEighteenStepGradient) {
  const auto body = Column(MenuHoverBody(), 0);
  EXPECT_EQ(body[0], -1);
  EXPECT_EQ(body[1], 11557709);
  EXPECT_EQ(body[2], 15182496);
  EXPECT_EQ(body[3], 9523784);
  EXPECT_EQ(body[20], 11756377);
  for (int i = 4; i <= 20; ++i) {
    EXPECT_EQ(body[i] & 0xFF, (body[i - 1] & 0xFF) + 1);
    EXPECT_EQ((body[i] >> 8) & 0xFF, ((body[i - 1] >> 8) & 0xFF) + 1);
    EXPECT_EQ(body[i] >> 16, (body[i - 1] >> 16) + 2);
  }
  EXPECT_EQ(body[21], 7226943);
  EXPECT_EQ(body[22], 11557709);
}

// The arrowhead's seven rows cover the columns {1}, {0,1,2}, {1,2,3}, {1,2,3,4}, {1,2,3},
// {0,1,2}, {1}; black from row 7 normally, white from row 9 when highlighted.
TEST(SkinCatalogue, SubmenuArrowsAreTheSameArrowhead) {
  const std::set<int> head[] = {{1}, {0, 1, 2}, {1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3}, {0, 1, 2}, {1}};
  const struct {
    const SkinImage& image;
    int top;
    int32_t color;
  } arrows[] = {{MenuArrow(), 7, 0}, {MenuHoverArrow(), 9, 16777215}};
  for (const auto& arrow : arrows) {
    for (int y = 0; y < arrow.image.Rows(); ++y) {
      for (int x = 0; x < 5; ++x) {
        const bool on = y >= arrow.top && head[y - arrow.top].contains(x);
        EXPECT_EQ(arrow.image.At(x, y), on ? arrow.color : -1) << x << "," << y;
      }
    }
  }
}

TEST(SkinCatalogue, ArrowOverlayIsAnOutlinedTriangleAtTheTopRight) {
  const SkinImage& overlay = ArrowOverlay();
  for (int x = 0; x < 44; ++x) {
    for (int y = 0; y < 14; ++y) {
      const int32_t v = overlay.At(x, y);
      if (x < 35 || y < 6) {
        EXPECT_EQ(v, -1) << x << "," << y;
      }
      if (y == 13 && x >= 35) {
        EXPECT_EQ(v, 0) << x;  // the base line
      }
      EXPECT_TRUE(v == -1 || v == 0 || v == 16777215);
    }
  }
  EXPECT_EQ(overlay.At(39, 6), 0);  // apex, in the middle of columns 35 ... 43
  EXPECT_EQ(overlay.At(39, 7), 16777215);
  // Symmetric about column 39, and every white pixel is enclosed by the outline in its row.
  for (int y = 6; y < 14; ++y) {
    for (int d = 1; d <= 4; ++d) EXPECT_EQ(overlay.At(39 - d, y), overlay.At(39 + d, y));
    int first = 35;
    while (overlay.At(first, y) == -1) ++first;
    EXPECT_EQ(overlay.At(first, y), 0) << y;
  }
}

TEST(SkinCatalogue, GripUsesItsFourColoursAndASeparator) {
  const SkinImage& grip = QuickLaunch(0);
  std::set<int32_t> colors;
  for (int32_t v : grip.Pixels()) colors.insert(v);
  EXPECT_EQ(colors, (std::set<int32_t>{-1, 6052956, 16448250, 12829635, 16053492}));
  // The two-pixel separator: a dark column beside a light one.
  EXPECT_EQ(grip.At(6, 30), 6052956);
  EXPECT_EQ(grip.At(7, 30), 16448250);
}

TEST(SkinCatalogue, ArtworkIsRealColourOnATransparentBackground) {
  std::vector<const SkinImage*> artwork;
  for (int i = 1; i <= 7; ++i) artwork.push_back(&QuickLaunch(i));
  for (int i = 1; i <= 19; ++i) artwork.push_back(&MenuPicture(i));
  for (const SkinImage* image : artwork) {
    int opaque = 0;
    std::set<int32_t> colors;
    for (int32_t v : image->Pixels()) {
      ASSERT_TRUE(v == -1 || (v >= 0 && v <= 0xFFFFFF)) << v;
      if (v != -1) {
        ++opaque;
        colors.insert(v);
      }
    }
    const int total = image->Rows() * image->Columns();
    EXPECT_EQ(image->At(0, 0), -1);  // the corner shows what is below
    EXPECT_GT(opaque, total / 8);
    EXPECT_LT(opaque, total);
    EXPECT_GT(colors.size(), 24u);  // shaded artwork, not a flat shape
  }
}

TEST(SkinCatalogue, NumbersWithoutAnImagePaintNothing) {
  common::MemorySurface surface;
  ASSERT_TRUE(surface.Resize(60, 60, 0x123456));
  for (int index : {-1, 8, 100}) {
    EXPECT_TRUE(QuickLaunch(index).Empty());
    EXPECT_EQ(PaintSkin(surface, SkinRules::TaskBar(kDefaultTaskBarColor), 1, QuickLaunch(index),
                        0, 0, true, 0),
              0);
  }
  for (int icon : {0, 20, -3}) EXPECT_TRUE(MenuPicture(icon).Empty());
  EXPECT_EQ(surface.ColorAt(10, 10), 0x123456u);
}

}  // namespace

#pragma once
// The compiled-in skin images of the shell's skinned controls. Each is decoded on first use and
// kept for the life of the program.
#include <cstdint>
#include <string_view>
#include <vector>

#include "shell/core/SkinImage.h"

namespace SkinImages {

// Taskbar (54 rows; -2 is the taskbar's background colour).
const SkinImage& TaskBarBorder();
const SkinImage& TaskBarBackground(int32_t style);  // 0: 3D grey, 1 (and anything else): flat
// Quick-launch images: 0 the grip, 1 the start button, 2 ... 7 the quick-launch buttons; any
// other index has no image (an empty image: nothing drawn, last column 0).
const SkinImage& QuickLaunch(int32_t index);
const SkinImage& ArrowOverlay();

// Task button faces by style (0: 3D grey, 27 rows; 1: flat light, 24 rows).
const SkinImage& TaskButtonLeft(int32_t style);
const SkinImage& TaskButtonBody(int32_t style);
const SkinImage& TaskButtonRight(int32_t style);

// Menu button, normal look: one-colour columns of 25 rows (plus 3 pixels of a second column).
const SkinImage& MenuOuterEdge();
const SkinImage& MenuInnerLeftEdge();
const SkinImage& MenuBody();
const SkinImage& MenuInnerRightEdge();
// Two-pixel separator pieces: dark over dark (the ends), dark over light (top separator), grey
// over dark (bottom separator).
const SkinImage& MenuDividerEnd();
const SkinImage& MenuDividerTop();
const SkinImage& MenuDividerBottom();
const SkinImage& MenuArrow();
// Highlighted look.
const SkinImage& MenuHoverLeft();
const SkinImage& MenuHoverBody();
const SkinImage& MenuHoverRight();
const SkinImage& MenuHoverArrow();
// Start-menu entry pictures 1 ... 19; any other number has no picture.
const SkinImage& MenuPicture(int32_t icon);

// Every image with the size it is made to have, for the artwork sheet and the tests.
struct Entry {
  std::string_view control;  // "taskbar", "task button", "menu button"
  std::string_view name;
  int rows;
  int columns;
  std::string_view text;
  const SkinImage* image;
};
const std::vector<Entry>& All();

}  // namespace SkinImages

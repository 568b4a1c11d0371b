#pragma once
// The skin encoder: turns a picture (the taskbar's 24 x 24 icon capture surface) into an image
// string, column by column, every pixel of colour TransColor written as -1 (transparent).
#include <cstdint>
#include <string>

#include "common/surface.h"

// Returns "H - 1,c,c,..." for the whole surface; a number that is not negative has one blank
// before it (" 23, 16777215,-1"). Pending window events run before the first pixel is read and
// then again whenever a few milliseconds have passed, so the shell stays responsive while icons
// are read without paying for a pass over the queue at every one of the 576 pixels (which,
// with a hundred tasks, made a rebuild take many seconds). A call made from inside those events
// while an encoding runs returns an empty text (an image that paints nothing).
std::string RipPicture(const common::MemorySurface& picture, int32_t TransColor);

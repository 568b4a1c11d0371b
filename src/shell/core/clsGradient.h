#pragma once
// The desktop background painter: a linear gradient between two colours, one line per pixel
// of the span plus one, the colour advanced before each line.
#include <cstdint>
#include <vector>

#include "common/surface.h"

class clsGradient {
 public:
  // Splits a colour 0x00BBGGRR into the object's parts; the argument is consumed (0 after).
  // Negative values (system colours) are not translated and give 0 parts.
  void Analyze(int32_t& CConst);

  // Paints the whole surface: orientation 1 runs from the left edge to the right edge (vertical
  // lines), 0 from top to bottom. A surface with no extent, or another orientation, gets nothing.
  void Gradient(common::MemorySurface& target, int32_t Orientation, int32_t SClr, int32_t EClr);

  // Colours (0x00BBGGRR) of the N + 1 lines over a span of N pixels; empty when N is 0 or less.
  static std::vector<uint32_t> LineColors(int32_t SClr, int32_t EClr, int N);

  int Red() const { return red_; }
  int Green() const { return green_; }
  int Blue() const { return blue_; }

 private:
  int red_ = 0, green_ = 0, blue_ = 0;
};

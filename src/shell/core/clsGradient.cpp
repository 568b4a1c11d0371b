#include "shell/core/clsGradient.h"

#include <algorithm>

#include "common/screen.h"

void clsGradient::Analyze(int32_t& CConst) {
  // Integer division truncates toward zero and the remainder keeps the dividend's sign.
  blue_ = std::max(CConst / 65536, 0);
  CConst %= 65536;
  green_ = std::max(CConst / 256, 0);
  CConst %= 256;
  red_ = std::max(CConst, 0);
  CConst = 0;
}

std::vector<uint32_t> clsGradient::LineColors(int32_t SClr, int32_t EClr, int N) {
  std::vector<uint32_t> colors;
  if (N <= 0) return colors;  // a span of no pixels has no step
  clsGradient start, end;
  start.Analyze(SClr);
  end.Analyze(EClr);
  double r = start.red_, g = start.green_, b = start.blue_;
  const double dr = static_cast<double>(end.red_ - start.red_) / N;
  const double dg = static_cast<double>(end.green_ - start.green_) / N;
  const double db = static_cast<double>(end.blue_ - start.blue_) / N;
  auto part = [](double value) {
    return static_cast<uint32_t>(std::min<long long>(common::RoundHalfEven(value), 255));
  };
  colors.reserve(static_cast<size_t>(N) + 1);
  for (int i = 0; i <= N; ++i) {
    // The colour moves one step before the line is drawn, so line 0 is already one step on.
    r = std::max(r + dr, 0.0);
    g = std::max(g + dg, 0.0);
    b = std::max(b + db, 0.0);
    colors.push_back(part(r) | (part(g) << 8) | (part(b) << 16));
  }
  return colors;
}

void clsGradient::Gradient(common::MemorySurface& target, int32_t Orientation, int32_t SClr,
                           int32_t EClr) {
  if (Orientation != 0 && Orientation != 1) return;
  const int width = target.Width(), height = target.Height();
  const int span = Orientation == 1 ? width : height;
  const std::vector<uint32_t> colors = LineColors(SClr, EClr, span);
  // Line i covers column (or row) i; the last line, i = span, lies just outside the surface.
  if (Orientation == 1) {
    for (int x = 0; x < width; ++x) target.SetColor(x, 0, colors[static_cast<size_t>(x)]);
    uint32_t* pixels = target.Pixels();
    for (int y = 1; y < height; ++y)
      std::copy(pixels, pixels + width, pixels + static_cast<size_t>(y) * width);
  } else {
    for (int y = 0; y < height; ++y) target.FillRun(0, width, y, colors[static_cast<size_t>(y)]);
  }
}

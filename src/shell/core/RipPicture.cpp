#include "shell/core/RipPicture.h"

#include "common/pump.h"

namespace {

// Longest stretch of reading pixels without letting pending events run.
constexpr DWORD kEventsEveryMs = 5;

void AppendNumber(std::string& text, int64_t value) {
  if (value >= 0) text += ' ';
  text += std::to_string(value);
  text += ',';
}

}  // namespace

std::string RipPicture(const common::MemorySurface& picture, int32_t TransColor) {
  // The events that run between two pixels may include a poll tick that rebuilds the task
  // buttons and captures the next icon into the same surface; a nested encoding would redraw the
  // picture under this one and mix two icons into one text. The nested call gets nothing.
  // UI thread only, like every caller.
  static bool encoding = false;
  common::ReentryGuard guard(encoding);
  if (!guard.Entered()) return {};

  const int width = picture.Width(), height = picture.Height();
  std::string text;
  text.reserve(static_cast<size_t>(width) * height * 10 + 8);
  AppendNumber(text, static_cast<int64_t>(height) - 1);
  common::PeriodicPump events(kEventsEveryMs);
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      events.Step();
      // Reads the surface's bits (what GetPixel would return); a surface resized meanwhile reads
      // as black outside its new bounds instead of outside its memory.
      const auto color = static_cast<int32_t>(picture.ColorAt(x, y));
      AppendNumber(text, color == TransColor ? -1 : color);
    }
  }
  text.pop_back();  // the last comma
  return text;
}

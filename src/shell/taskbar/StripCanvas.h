#pragma once
// The strip's memory surface as the taskbar's parts paint on it: skins with the taskbar's rule
// for -2 pixels (TaskBarColor), the background band of the current look, and a refresh of the
// columns a part has painted. UI thread only.
#include <cstdint>
#include <functional>

#include "common/surface.h"
#include "shell/core/SkinImage.h"
#include "shell/core/SkinImages.h"
#include "shell/core/SkinPainter.h"
#include "shell/taskbar/StripLayout.h"

class StripCanvas {
 public:
  // `refresh` shows columns x0 ... x1 - 1 of the surface on the screen.
  StripCanvas(common::MemorySurface& surface, std::function<void(int x0, int x1)> refresh)
      : surface_(surface), refresh_(std::move(refresh)) {}

  common::MemorySurface& Surface() { return surface_; }
  int Width() const { return surface_.Width(); }
  int Height() const { return surface_.Height(); }

  int32_t Style() const { return style_; }
  void SetStyle(int32_t style) { style_ = style; }
  int32_t TaskBarColor() const { return taskBarColor_; }
  void SetTaskBarColor(int32_t color) { taskBarColor_ = color; }

  // The painter of the strip; returns the index of the image's last column.
  int16_t PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX, int16_t OffsetY,
                    bool Enabled, int16_t Brightness) {
    return ::PaintSkin(surface_, SkinRules::TaskBar(taskBarColor_), RunLength, Skin, OffsetX,
                       OffsetY, Enabled, Brightness);
  }
  // The background band of the current look over columns x0 ... x1 - 1.
  void PaintBackground(int x0, int x1) {
    PaintSkin(static_cast<int16_t>(x1 - x0), SkinImages::TaskBarBackground(style_),
              static_cast<int16_t>(x0), 0, true, 0);
  }
  void Refresh(int x0, int x1) {
    if (refresh_) refresh_(x0, x1);
  }

 private:
  common::MemorySurface& surface_;
  std::function<void(int, int)> refresh_;
  int32_t style_ = StyleValue(TaskBarStyle::Flat);
  int32_t taskBarColor_ = kDefaultTaskBarColor;
};

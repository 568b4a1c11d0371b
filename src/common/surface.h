#pragma once
// A persistent drawing surface: a 32-bit top-down memory DIB section that a window or control
// draws into and blits in WM_PAINT. Pixels can be written directly, without a GDI call each.
#include <windows.h>

#include <cstdint>

#include "common/handles.h"

namespace common {

class MemorySurface;

// Answers WM_PAINT of a window whose face is kept in a memory surface.
void PaintFrom(HWND window, const MemorySurface& surface);

// Copies a picture, at its own size, to (x, y) of a DC (a window's background picture).
void DrawPicture(HDC target, HBITMAP picture, int x, int y);

// Colours are kept as the system writes them, 0x00BBGGRR; the DIB stores 0x00RRGGBB.
constexpr uint32_t ColorToPixel(uint32_t bgr) {
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
constexpr uint32_t PixelToColor(uint32_t pixel) { return ColorToPixel(pixel & 0xFFFFFF); }

class MemorySurface {
 public:
  MemorySurface() = default;
  ~MemorySurface() { Release(); }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

  // Makes the surface width x height, filled with `color`; false if the platform refused.
  bool Resize(int width, int height, uint32_t color = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  HDC Dc() const { return dc_.Get(); }

  // Row-major pixels in 0x00RRGGBB; call GdiFlush() before reading after GDI drawing.
  uint32_t* Pixels() { return bits_; }
  const uint32_t* Pixels() const { return bits_; }

  // Colour (0x00BBGGRR) at a point; 0 outside the surface.
  uint32_t ColorAt(int x, int y) const;
  void SetColor(int x, int y, uint32_t color);
  // Fills x0 .. x1 - 1 of row y, clipped to the surface.
  void FillRun(int x0, int x1, int y, uint32_t color);
  void FillRect(int x0, int y0, int x1, int y1, uint32_t color);

  // Copies `area` (in surface coordinates) to the same place of a target DC.
  void BlitTo(HDC target, const RECT& area) const;

 private:
  MemoryDc dc_;
  Bitmap bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;

  void Release();
};

}  // namespace common

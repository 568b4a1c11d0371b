#include "common/surface.h"

#include <algorithm>

namespace common {

void MemorySurface::Release() {
  if (dc_ && oldBitmap_) SelectObject(dc_.Get(), oldBitmap_);
  oldBitmap_ = nullptr;
  bitmap_.Reset();
  dc_.Reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool MemorySurface::Resize(int width, int height, uint32_t color) {
  Release();
  if (width <= 0 || height <= 0) return true;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc || bits == nullptr) return false;
  oldBitmap_ = SelectObject(dc.Get(), bitmap.Get());
  dc_ = std::move(dc);
  bitmap_ = std::move(bitmap);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  std::fill(bits_, bits_ + static_cast<size_t>(width) * height, ColorToPixel(color));
  return true;
}

uint32_t MemorySurface::ColorAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return PixelToColor(bits_[static_cast<size_t>(y) * width_ + x]);
}

void MemorySurface::SetColor(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  bits_[static_cast<size_t>(y) * width_ + x] = ColorToPixel(color);
}

void MemorySurface::FillRun(int x0, int x1, int y, uint32_t color) {
  if (y < 0 || y >= height_) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, width_);
  if (x0 >= x1) return;
  uint32_t* row = bits_ + static_cast<size_t>(y) * width_;
  std::fill(row + x0, row + x1, ColorToPixel(color));
}

void MemorySurface::FillRect(int x0, int y0, int x1, int y1, uint32_t color) {
  y0 = std::max(y0, 0);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y) FillRun(x0, x1, y, color);
}

void PaintFrom(HWND window, const MemorySurface& surface) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  surface.BlitTo(dc, ps.rcPaint);
  EndPaint(window, &ps);
}

void DrawPicture(HDC target, HBITMAP picture, int x, int y) {
  if (picture == nullptr) return;
  MemoryDc source(CreateCompatibleDC(target));
  ScopedSelect select(source.Get(), picture);
  BITMAP info = {};
  GetObjectW(picture, sizeof(info), &info);
  BitBlt(target, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCCOPY);
}

void MemorySurface::BlitTo(HDC target, const RECT& area) const {
  if (!dc_) return;
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.Get(),
         area.left, area.top, SRCCOPY);
}

}  // namespace common

#include "e2e/screenshot.h"

#include <windows.h>

#include "common/handles.h"
#include "common/surface.h"
#include "support/png.h"

namespace e2e {

bool SaveScreenshot(const std::wstring& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  common::MemorySurface surface;
  if (!surface.Resize(width, height)) return false;
  common::WindowDc screen(nullptr);
  if (!BitBlt(surface.Dc(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY)) return false;
  GdiFlush();
  return testing_support::WritePng(path, surface);
}

}  // namespace e2e

#include "common/font.h"

#include <cmath>

#include "common/screen.h"

namespace common {

Font CreatePointFont(const wchar_t* face, double points, int weight, BYTE charset, BYTE quality) {
  return CreatePixelFont(face, static_cast<int>(std::lround(points * LogicalDpiY() / 72.0)), weight,
                         charset, quality);
}

Font CreatePixelFont(const wchar_t* face, int pixels, int weight, BYTE charset, BYTE quality) {
  return Font(CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, face));
}

Font CreateSongTiFont(int points) {
  return CreatePointFont(L"宋体", points, FW_NORMAL, GB2312_CHARSET);
}

Font CreateSongTiPixelFont(int pixels) {
  return CreatePixelFont(L"宋体", pixels, FW_NORMAL, GB2312_CHARSET);
}

}  // namespace common

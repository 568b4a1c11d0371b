#include "common/font.h"

#include <cmath>

#include "common/screen.h"

namespace common {

Font CreatePointFont(const wchar_t* face, double points, int weight, BYTE charset, BYTE quality) {
  const int height = -static_cast<int>(std::lround(points * LogicalDpiY() / 72.0));
  return Font(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, face));
}

Font CreateSongTiFont(int points) {
  return CreatePointFont(L"宋体", points, FW_NORMAL, GB2312_CHARSET);
}

}  // namespace common

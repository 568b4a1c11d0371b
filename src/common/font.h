#pragma once
// Fonts at a point size, scaled by the screen's logical dpi.
#include "common/handles.h"

namespace common {

Font CreatePointFont(const wchar_t* face, double points, int weight, BYTE charset,
                     BYTE quality = DEFAULT_QUALITY);

// The programs' control font: 宋体 (GB2312 character set) at `points`, normal weight.
Font CreateSongTiFont(int points);

}  // namespace common

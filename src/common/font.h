#pragma once
// Fonts at a point size, scaled by the screen's logical dpi.
#include "common/handles.h"

namespace common {

Font CreatePointFont(const wchar_t* face, double points, int weight, BYTE charset,
                     BYTE quality = DEFAULT_QUALITY);

// A font `pixels` high (character height), whatever the dpi: for windows laid out in pixels.
Font CreatePixelFont(const wchar_t* face, int pixels, int weight, BYTE charset,
                     BYTE quality = DEFAULT_QUALITY);

// The programs' control font: 宋体 (GB2312 character set) at `points`, normal weight.
Font CreateSongTiFont(int points);
// The same face `pixels` high at every dpi: the checker's windows, laid out in pixels, keep the
// 12-pixel text they were designed with, so nothing grows out of its box at 120 or 144 dpi.
Font CreateSongTiPixelFont(int pixels);

}  // namespace common

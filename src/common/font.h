#pragma once
// The programs' control font: the system's Chinese UI face at a point size, scaled by the
// screen's logical dpi.
#include "common/handles.h"

namespace common {

// 宋体 (GB2312 character set) at `points`, normal weight.
Font CreateSongTiFont(int points);

}  // namespace common

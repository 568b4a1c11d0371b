#pragma once
// Saves a memory surface as a PNG file (uncompressed deflate blocks: large, but needs no zlib),
// for pictures that a person looks at: artwork sheets, screenshots of surfaces.
#include <string>

#include "common/surface.h"

namespace testing_support {

bool WritePng(const std::wstring& path, const common::MemorySurface& surface);

}  // namespace testing_support

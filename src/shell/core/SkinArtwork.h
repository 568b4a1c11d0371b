#pragma once
// Artwork texts of the quick-launch buttons and the start-menu entry pictures, made by
// tools/make_skin_artwork.py from the Tango icons (see res/README-artwork.md).

namespace SkinArtwork {

inline constexpr int kQuickLaunchCount = 7;
// Quick-launch images 1 (the start button) ... 7.
extern const char* const kQuickLaunch[kQuickLaunchCount];

inline constexpr int kMenuPictureCount = 19;
// Start-menu entry pictures 1 ... 19.
extern const char* const kMenuPicture[kMenuPictureCount];

}  // namespace SkinArtwork

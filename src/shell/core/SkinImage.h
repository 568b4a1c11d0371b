#pragma once
// Skin image strings: comma-separated decimal numbers, the first the image height minus one, the
// rest the pixel colours column by column, top to bottom (-1 transparent, -2 the taskbar's
// background colour). A number may have one blank before it. The width is not stored: the last
// column may be incomplete and then holds only its first rows.
//
// A text is decoded once into a SkinImage (height and the columns of colours); the painter works
// from that form only.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int32_t kSkinTransparent = -1;
inline constexpr int32_t kSkinTaskBarColor = -2;

class SkinImage {
 public:
  SkinImage() = default;

  // Decodes a text. An empty text, or one with anything but integers between its commas, gives
  // an image without pixels, which paints nothing.
  static SkinImage Parse(std::string_view text);

  int Rows() const { return rows_; }
  // Number of pixel values divided by Rows, rounded up; 0 without pixels.
  int Columns() const;
  // What the painter returns for this image: the index of its last column, 0 without pixels.
  int16_t LastColumn() const;
  bool Empty() const { return pixels_.empty(); }

  // Column-major pixel values, as stored (the incomplete last column is not padded).
  const std::vector<int32_t>& Pixels() const { return pixels_; }
  // The value at a place; -1 (transparent) outside the image or past an incomplete column's end.
  int32_t At(int column, int row) const;

 private:
  int rows_ = 0;
  std::vector<int32_t> pixels_;
};

// The decoded form of a text, decoded on first use and kept. Run-time texts (task icons) come and
// go, so the cache is bounded: when it is full it starts again empty. UI thread only.
std::shared_ptr<const SkinImage> CachedSkin(std::string_view text);
void ClearSkinCache();
size_t SkinCacheSize();

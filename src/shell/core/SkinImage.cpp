#include "shell/core/SkinImage.h"

#include <charconv>
#include <functional>
#include <limits>
#include <unordered_map>

namespace {

// Blanks around a number are accepted (the encoder writes one before each non-negative number).
bool ParseNumber(std::string_view token, int32_t& value) {
  while (!token.empty() && token.front() == ' ') token.remove_prefix(1);
  while (!token.empty() && token.back() == ' ') token.remove_suffix(1);
  if (token.empty()) return false;
  const char* end = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(token.data(), end, value);
  return ec == std::errc() && ptr == end;
}

constexpr size_t kMaxCachedSkins = 256;

// Looks texts up without copying them first.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};
using SkinCache =
    std::unordered_map<std::string, std::shared_ptr<const SkinImage>, TextHash, std::equal_to<>>;

SkinCache& Cache() {
  static SkinCache cache;
  return cache;
}

}  // namespace

SkinImage SkinImage::Parse(std::string_view text) {
  SkinImage image;
  if (text.empty()) return image;
  std::vector<int32_t> values;
  values.reserve(text.size() / 4 + 1);
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string_view token =
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    int32_t value = 0;
    if (!ParseNumber(token, value)) return image;
    values.push_back(value);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  const int32_t maxRow = values.front();
  values.erase(values.begin());
  if (maxRow < 0) {
    // Every pixel then starts a new column of one row before it is drawn, so pixel i lands in
    // column i + 1: the same as one-row columns behind an empty (transparent) column 0.
    image.rows_ = 1;
    image.pixels_.reserve(values.size() + 1);
    image.pixels_.push_back(kSkinTransparent);
    image.pixels_.insert(image.pixels_.end(), values.begin(), values.end());
    if (values.empty()) image.pixels_.clear();
  } else if (maxRow == std::numeric_limits<int32_t>::max()) {
    return image;  // a height beyond any surface; nothing sensible to paint
  } else {
    image.rows_ = maxRow + 1;
    image.pixels_ = std::move(values);
  }
  return image;
}

int SkinImage::Columns() const {
  if (pixels_.empty() || rows_ <= 0) return 0;
  return static_cast<int>((pixels_.size() + rows_ - 1) / rows_);
}

int16_t SkinImage::LastColumn() const {
  const int columns = Columns();
  return static_cast<int16_t>(columns > 0 ? columns - 1 : 0);
}

int32_t SkinImage::At(int column, int row) const {
  if (column < 0 || row < 0 || row >= rows_) return kSkinTransparent;
  const size_t index = static_cast<size_t>(column) * rows_ + row;
  return index < pixels_.size() ? pixels_[index] : kSkinTransparent;
}

std::shared_ptr<const SkinImage> CachedSkin(std::string_view text) {
  auto& cache = Cache();
  if (auto found = cache.find(text); found != cache.end()) return found->second;
  if (cache.size() >= kMaxCachedSkins) cache.clear();
  auto image = std::make_shared<const SkinImage>(SkinImage::Parse(text));
  cache.emplace(std::string(text), image);
  return image;
}

void ClearSkinCache() { Cache().clear(); }

size_t SkinCacheSize() { return Cache().size(); }

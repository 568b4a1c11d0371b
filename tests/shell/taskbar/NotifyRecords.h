#pragma once
// Notify-icon and app-bar records as the senders lay them out, for the decoder's and the tray
// window's tests: Windows' Shell_NotifyIcon of each structure version from 32-bit and 64-bit
// programs (the data always in the 32-bit layout, handles in 32 bits, cbSize the caller's), and
// Wine 8's own record with an icon's bits.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace records {

inline void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  if (bytes.size() < offset + 4) bytes.resize(offset + 4);
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}
inline void PutText(std::vector<uint8_t>& bytes, size_t offset, const std::u16string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[offset + 2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
    bytes[offset + 2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
}

struct Fields {
  uint32_t message = 0;
  uint32_t owner = 0;
  uint32_t id = 0;
  uint32_t flags = 0;
  uint32_t callback = 0;
  uint32_t icon = 0;
  std::u16string tip, info, title;
  uint32_t state = 0, stateMask = 0, timeout = 0, infoFlags = 0;
  uint8_t guidFirst = 0;
};

// The caller's cbSize for structure version 1 ... 4.
inline uint32_t WindowsSize(int version, bool from64Bit) {
  static const uint32_t sizes32[] = {0, 152, 936, 952, 956};
  static const uint32_t sizes64[] = {0, 168, 952, 968, 976};
  return from64Bit ? sizes64[version] : sizes32[version];
}

// Windows' record: signature, message, then the structure in the 32-bit layout, as long as its
// version's 32-bit structure.
inline std::vector<uint8_t> Windows(int version, bool from64Bit, const Fields& f) {
  static const size_t ends[] = {0, 152, 936, 952, 956};
  std::vector<uint8_t> bytes(8 + ends[version], 0);
  Put32(bytes, 0, 0x34753423);
  Put32(bytes, 4, f.message);
  const size_t b = 8;
  Put32(bytes, b, WindowsSize(version, from64Bit));
  Put32(bytes, b + 4, f.owner);
  Put32(bytes, b + 8, f.id);
  Put32(bytes, b + 12, f.flags);
  Put32(bytes, b + 16, f.callback);
  Put32(bytes, b + 20, f.icon);
  PutText(bytes, b + 24, f.tip.substr(0, version == 1 ? 63 : 127));
  if (version >= 2) {
    Put32(bytes, b + 280, f.state);
    Put32(bytes, b + 284, f.stateMask);
    PutText(bytes, b + 288, f.info);
    Put32(bytes, b + 800, f.timeout);
    PutText(bytes, b + 804, f.title);
    Put32(bytes, b + 932, f.infoFlags);
  }
  if (version >= 3) bytes[b + 936] = f.guidFirst;
  return bytes;
}

// Wine 8's record, with a width x height icon of `bpp` bits per pixel filled with `fill`.
inline std::vector<uint8_t> Wine(const Fields& f, uint32_t width = 0, uint32_t height = 0,
                                 uint32_t bpp = 32, uint8_t fill = 0) {
  std::vector<uint8_t> bytes(960, 0);
  Put32(bytes, 0, f.owner);
  Put32(bytes, 4, f.id);
  Put32(bytes, 8, f.flags);
  Put32(bytes, 12, f.callback);
  PutText(bytes, 16, f.tip.substr(0, 128));
  Put32(bytes, 272, f.state);
  Put32(bytes, 276, f.stateMask);
  PutText(bytes, 280, f.info);
  Put32(bytes, 792, f.timeout);
  PutText(bytes, 796, f.title);
  Put32(bytes, 924, f.infoFlags);
  bytes[928] = f.guidFirst;
  Put32(bytes, 944, width);
  Put32(bytes, 948, height);
  Put32(bytes, 952, width ? 1 : 0);
  Put32(bytes, 956, width ? bpp : 0);
  const size_t mask = (width + 15) / 16 * 2 * height, color = (width * bpp + 15) / 16 * 2 * height;
  bytes.resize(960 + mask + color, fill);
  return bytes;
}

}  // namespace records

#include "shell/taskbar/NotifyRecord.h"

namespace tray {

namespace {

// A record's bytes, read only where they are.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
  size_t Size() const { return size_; }
  bool Has(size_t offset, size_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  uint32_t U32(size_t offset) const {
    if (!Has(offset, 4)) return 0;
    return static_cast<uint32_t>(data_[offset]) | static_cast<uint32_t>(data_[offset + 1]) << 8 |
           static_cast<uint32_t>(data_[offset + 2]) << 16 |
           static_cast<uint32_t>(data_[offset + 3]) << 24;
  }
  uint8_t U8(size_t offset) const { return Has(offset, 1) ? data_[offset] : 0; }
  uint64_t U64(size_t offset) const {
    return static_cast<uint64_t>(U32(offset)) | static_cast<uint64_t>(U32(offset + 4)) << 32;
  }
  // A text of at most `chars` UTF-16 units, ending at its first NUL or at the field's end.
  std::u16string Text(size_t offset, size_t chars) const {
    std::u16string text;
    if (!Has(offset, chars * 2)) return text;
    for (size_t i = 0; i < chars; ++i) {
      const auto unit =
          static_cast<char16_t>(data_[offset + 2 * i] | data_[offset + 2 * i + 1] << 8);
      if (unit == 0) break;
      text.push_back(unit);
    }
    return text;
  }
  std::vector<uint8_t> Slice(size_t offset, size_t length) const {
    if (!Has(offset, length)) return {};
    return std::vector<uint8_t>(data_ + offset, data_ + offset + length);
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

// Where the fields lie in Windows' NOTIFYICONDATAW of a 32-bit program (offsets in the structure).
struct WindowsLayout {
  static constexpr size_t kOwner = 4, kId = 8, kFlags = 12, kCallback = 16, kIcon = 20, kTip = 24;
  static constexpr size_t kTipCharsV1 = 64, kTipChars = 128;
  static constexpr size_t kState = 280, kStateMask = 284, kInfo = 288, kInfoChars = 256;
  static constexpr size_t kTimeout = 800, kInfoTitle = 804, kInfoTitleChars = 64;
  static constexpr size_t kInfoFlags = 932, kGuid = 936, kBalloonIcon = 952;
  // Where each version of the structure ends, 1 ... 4.
  static constexpr size_t kEnd[5] = {0, 152, 936, 952, 956};
  // The header before the structure: the signature and the message.
  static constexpr size_t kHeader = 8;
};

// The version of the structure a caller's cbSize stands for. The wide structure of a 32-bit or
// a 64-bit caller, or the ANSI one (converted before it is sent); an unknown size below the
// largest gets the fields of NT 4 only, as Windows treats it, and a larger one every field.
int VersionOfSize(uint32_t cbSize) {
  struct Known {
    uint32_t size;
    int version;
  };
  static constexpr Known kKnown[] = {
      {152, 1}, {168, 1}, {88, 1},             // NT 4: 32-bit, 64-bit, ANSI
      {936, 2}, {488, 2},                      // 2000
      {952, 3}, {968, 3}, {504, 3},            // XP (952 is also 2000's for 64 bits)
      {956, 4}, {976, 4}, {508, 4}, {960, 4},  // Vista and later
  };
  for (const Known& k : kKnown)
    if (k.size == cbSize) return k.version;
  return cbSize > 976 ? 4 : 1;
}

uint32_t FlagsOfVersion(int version) {
  using namespace NotifyFlag;
  uint32_t flags = Message | Icon | Tip;
  if (version >= 2) flags |= State | Info;
  if (version >= 3) flags |= Guid;
  if (version >= 4) flags |= Realtime | ShowTip;
  return flags;
}

bool IsNotifyMessage(uint64_t value) {
  return value <= static_cast<uint64_t>(NotifyMessage::SetVersion);
}

std::optional<NotifyRequest> DecodeWindows(const Bytes& bytes) {
  using L = WindowsLayout;
  if (!bytes.Has(0, L::kHeader + 4)) return std::nullopt;
  const uint32_t message = bytes.U32(4);
  if (!IsNotifyMessage(message)) return std::nullopt;
  const size_t base = L::kHeader;
  int version = VersionOfSize(bytes.U32(base));
  // 952 bytes is XP's structure of a 32-bit program and 2000's of a 64-bit one: the record's
  // length tells them apart.
  if (bytes.U32(base) == L::kEnd[3] && !bytes.Has(base, L::kEnd[3])) version = 2;
  if (!bytes.Has(base, L::kEnd[version])) return std::nullopt;

  NotifyRequest r;
  r.sender = NotifyRequest::Sender::Windows;
  r.message = static_cast<NotifyMessage>(message);
  r.structureVersion = version;
  r.owner = bytes.U32(base + L::kOwner);
  r.id = bytes.U32(base + L::kId);
  r.flags = bytes.U32(base + L::kFlags) & FlagsOfVersion(version);
  r.callbackMessage = bytes.U32(base + L::kCallback);
  r.icon = bytes.U32(base + L::kIcon);
  r.tip = bytes.Text(base + L::kTip, version == 1 ? L::kTipCharsV1 : L::kTipChars);
  if (version >= 2) {
    r.state = bytes.U32(base + L::kState);
    r.stateMask = bytes.U32(base + L::kStateMask);
    r.info = bytes.Text(base + L::kInfo, L::kInfoChars);
    r.timeoutOrVersion = bytes.U32(base + L::kTimeout);
    r.infoTitle = bytes.Text(base + L::kInfoTitle, L::kInfoTitleChars);
    r.infoFlags = bytes.U32(base + L::kInfoFlags);
  }
  if (version >= 3)
    for (size_t i = 0; i < r.guid.size(); ++i) r.guid[i] = bytes.U8(base + L::kGuid + i);
  if (version >= 4) r.balloonIcon = bytes.U32(base + L::kBalloonIcon);
  return r;
}

// Wine's record (as Wine 8 sends it): the fields of XP's structure without its size and icon
// handle, then the icon's size, planes and depth, then its bits.
struct WineLayout {
  static constexpr size_t kOwner = 0, kId = 4, kFlags = 8, kCallback = 12, kTip = 16;
  static constexpr size_t kState = 272, kStateMask = 276, kInfo = 280, kTimeout = 792;
  static constexpr size_t kInfoTitle = 796, kInfoFlags = 924, kGuid = 928;
  static constexpr size_t kWidth = 944, kHeight = 948, kPlanes = 952, kBitsPerPixel = 956;
  static constexpr size_t kIconData = 960;
};

// Icons larger than this are not icons of a notification area.
constexpr uint32_t kMaxIconSide = 256;

// The icon bits of Wine's record: none when it sent none; false when they are malformed.
bool DecodeWineIcon(const Bytes& bytes, std::optional<IconBits>& icon) {
  using L = WineLayout;
  IconBits bits;
  bits.width = bytes.U32(L::kWidth);
  bits.height = bytes.U32(L::kHeight);
  bits.planes = bytes.U32(L::kPlanes);
  bits.bitsPerPixel = bytes.U32(L::kBitsPerPixel);
  if (bits.width == 0 && bits.height == 0) return true;  // no picture: the icon is cleared
  const uint32_t bpp = bits.bitsPerPixel;
  if (bits.width > kMaxIconSide || bits.height > kMaxIconSide || bits.width == 0 ||
      bits.height == 0 || bits.planes != 1 ||
      (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
    return false;
  const size_t maskBytes = static_cast<size_t>(IconBits::RowBytes(bits.width, 1)) * bits.height;
  const size_t colorBytes = static_cast<size_t>(IconBits::RowBytes(bits.width, bpp)) * bits.height;
  if (!bytes.Has(L::kIconData, maskBytes) || !bytes.Has(L::kIconData + maskBytes, colorBytes))
    return false;
  bits.mask = bytes.Slice(L::kIconData, maskBytes);
  bits.color = bytes.Slice(L::kIconData + maskBytes, colorBytes);
  icon = std::move(bits);
  return true;
}

std::optional<NotifyRequest> DecodeWine(uint64_t dwData, const Bytes& bytes) {
  using L = WineLayout;
  if (!IsNotifyMessage(dwData) || !bytes.Has(0, L::kIconData)) return std::nullopt;
  NotifyRequest r;
  r.sender = NotifyRequest::Sender::Wine;
  r.message = static_cast<NotifyMessage>(dwData);
  r.structureVersion = 3;
  r.owner = bytes.U32(L::kOwner);
  r.id = bytes.U32(L::kId);
  r.flags = bytes.U32(L::kFlags) & FlagsOfVersion(4);
  r.callbackMessage = bytes.U32(L::kCallback);
  r.tip = bytes.Text(L::kTip, WindowsLayout::kTipChars);
  r.state = bytes.U32(L::kState);
  r.stateMask = bytes.U32(L::kStateMask);
  r.info = bytes.Text(L::kInfo, WindowsLayout::kInfoChars);
  r.timeoutOrVersion = bytes.U32(L::kTimeout);
  r.infoTitle = bytes.Text(L::kInfoTitle, WindowsLayout::kInfoTitleChars);
  r.infoFlags = bytes.U32(L::kInfoFlags);
  for (size_t i = 0; i < r.guid.size(); ++i) r.guid[i] = bytes.U8(L::kGuid + i);
  if ((r.flags & NotifyFlag::Icon) && !DecodeWineIcon(bytes, r.iconBits)) return std::nullopt;
  return r;
}

}  // namespace

std::optional<NotifyRequest> DecodeNotifyRecord(uint64_t dwData, const uint8_t* data, size_t size) {
  const Bytes bytes(data, size);
  // Windows' record carries its signature; Wine's begins with a window handle, which is never
  // that value (Wine's handles are small numbers).
  if (dwData == kNotifyCopyData && bytes.Has(0, 4) && bytes.U32(0) == kNotifySignature)
    return DecodeWindows(bytes);
  return DecodeWine(dwData, bytes);
}

std::optional<AppBarRequest> DecodeAppBarRecord(uint64_t dwData, const uint8_t* data, size_t size) {
  if (dwData != kAppBarCopyData) return std::nullopt;
  const Bytes bytes(data, size);
  AppBarRequest r;
  r.window = bytes.U32(4);
  r.callbackMessage = bytes.U32(8);
  r.edge = bytes.U32(12);
  for (int i = 0; i < 4; ++i) r.rect[i] = static_cast<int32_t>(bytes.U32(16 + 4 * i));
  // Three layouts, told apart by their length alone: 2000's (lParam in 32 bits), XP's (lParam in
  // 64 bits) and Windows 8's (the shared memory's handle in 64 bits).
  struct Layout {
    size_t size;
    bool wideLParam;
    size_t messageAt, sharedAt;
    bool wideShared;
    size_t processAt;
  };
  constexpr Layout kLayouts[] = {
      {48, false, 36, 40, false, 44},
      {56, true, 40, 44, false, 48},
      {64, true, 40, 48, true, 56},
  };
  for (const Layout& layout : kLayouts) {
    if (bytes.Size() != layout.size) continue;
    r.lParam = layout.wideLParam ? static_cast<int64_t>(bytes.U64(32))
                                 : static_cast<int32_t>(bytes.U32(32));
    r.message = bytes.U32(layout.messageAt);
    r.sharedMemory = layout.wideShared ? bytes.U64(layout.sharedAt) : bytes.U32(layout.sharedAt);
    r.processId = bytes.U32(layout.processAt);
    return r;
  }
  return std::nullopt;
}

std::array<uint8_t, AppBarRequest::kAppBarDataBytes> EncodeAppBarData(const AppBarRequest& request,
                                                                      const int32_t rect[4],
                                                                      uint32_t edge) {
  std::array<uint8_t, AppBarRequest::kAppBarDataBytes> out = {};
  const auto put = [&out](size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  put(0, AppBarRequest::kAppBarDataBytes);
  put(4, request.window);
  put(8, request.callbackMessage);
  put(12, edge);
  for (int i = 0; i < 4; ++i) put(16 + 4 * i, static_cast<uint32_t>(rect[i]));
  put(32, static_cast<uint32_t>(request.lParam));
  return out;
}

}  // namespace tray

#pragma once
// What programs send the shell's tray window, decoded from the bytes of a WM_COPYDATA. Every such
// message is untrusted input from any program: each field is read only after the record was
// found long enough to hold it, texts end at their field's end whether or not they carry a NUL,
// and a record that fits no known layout is refused.
//
// Two senders' notify-icon records arrive:
// - Windows' Shell_NotifyIcon: dwData 1, a signature, the NIM_ message, then the caller's
//   NOTIFYICONDATAW in its 32-bit layout (handles in 32 bits), as long as the caller's cbSize says
//   (NT 4, 2000, XP, Vista and later, from 32-bit and 64-bit callers alike).
// - Wine's Shell_NotifyIcon: dwData the NIM_ message, a fixed record whose first field is the
//   owner window, then the icon's mask and colour bits (Wine hands no icon handle between
//   processes).
// and Windows' SHAppBarMessage sends dwData 0 with the app-bar data, in three lengths.
//
// Logic only, without the Windows headers: the decoders are fuzzed natively.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tray {

// The notify-icon messages (NIM_).
enum class NotifyMessage : uint32_t {
  Add = 0,
  Modify = 1,
  Delete = 2,
  SetFocus = 3,
  SetVersion = 4
};

// The notify-icon flags (NIF_): which fields of a record count.
namespace NotifyFlag {
constexpr uint32_t Message = 0x01, Icon = 0x02, Tip = 0x04, State = 0x08, Info = 0x10, Guid = 0x20,
                   Realtime = 0x40, ShowTip = 0x80;
}
// The states an icon can have (NIS_).
namespace NotifyState {
constexpr uint32_t Hidden = 0x01, SharedIcon = 0x02;
}

// dwData of the copy-data messages that Windows sends the tray window.
constexpr uint64_t kAppBarCopyData = 0;
constexpr uint64_t kNotifyCopyData = 1;
// The first field of Windows' notify-icon record.
constexpr uint32_t kNotifySignature = 0x34753423;

// An icon as Wine sends it: the rows of its AND mask, then the rows of its colour bitmap (for a
// monochrome icon: the XOR mask), each row padded to 16 bits, as a bitmap's bits are kept.
struct IconBits {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t planes = 0;
  uint32_t bitsPerPixel = 0;
  std::vector<uint8_t> mask;
  std::vector<uint8_t> color;

  static uint32_t RowBytes(uint32_t width, uint32_t bitsPerPixel) {
    return (width * bitsPerPixel + 15) / 16 * 2;
  }
};

// One notify-icon request, whatever the sender's layout.
struct NotifyRequest {
  enum class Sender { Windows, Wine };

  Sender sender = Sender::Windows;
  NotifyMessage message = NotifyMessage::Add;
  // The sender's structure: 1 (NT 4), 2 (2000), 3 (XP), 4 (Vista and later); Wine's record holds
  // every field of 3. The flags are cut to what it holds.
  int structureVersion = 1;
  uint32_t owner = 0;  // the owner window, 32 significant bits (sign-extend to a handle)
  uint32_t id = 0;
  uint32_t flags = 0;
  uint32_t callbackMessage = 0;
  uint32_t icon = 0;                 // Windows: the sender's icon handle, 32 significant bits
  std::optional<IconBits> iconBits;  // Wine: the icon itself
  std::u16string tip;
  uint32_t state = 0;
  uint32_t stateMask = 0;
  std::u16string info;
  std::u16string infoTitle;
  uint32_t timeoutOrVersion = 0;
  uint32_t infoFlags = 0;
  std::array<uint8_t, 16> guid = {};
  uint32_t balloonIcon = 0;
};

// A notify-icon record, or none when it is not one or is malformed.
std::optional<NotifyRequest> DecodeNotifyRecord(uint64_t dwData, const uint8_t* data, size_t size);

// One SHAppBarMessage request of Windows (32-bit layout, handles in 32 bits).
struct AppBarRequest {
  uint32_t message = 0;  // ABM_
  uint32_t window = 0;
  uint32_t callbackMessage = 0;
  uint32_t edge = 0;
  int32_t rect[4] = {};  // left, top, right, bottom
  int64_t lParam = 0;
  uint64_t sharedMemory = 0;  // where an answer with data goes: a handle in the sender's process
  uint32_t processId = 0;
  // The sender's APPBARDATA as a 32-bit caller lays it out (36 bytes, lParam in 32 bits), for
  // the answers written back into its shared memory.
  static constexpr size_t kAppBarDataBytes = 36;
};

std::optional<AppBarRequest> DecodeAppBarRecord(uint64_t dwData, const uint8_t* data, size_t size);

// The bytes of a 32-bit APPBARDATA holding `request` with `rect` and `edge`, as an answer.
std::array<uint8_t, AppBarRequest::kAppBarDataBytes> EncodeAppBarData(const AppBarRequest& request,
                                                                      const int32_t rect[4],
                                                                      uint32_t edge);

}  // namespace tray

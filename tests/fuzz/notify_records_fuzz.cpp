// Fuzz test of the decoders of what programs send the shell's tray window (notify-icon records
// of Windows and Wine, app-bar records), built natively with AddressSanitizer and
// UndefinedBehaviorSanitizer by scripts/fuzz.sh. Random records and mutations of well-formed ones
// of every layout; a read past a record's end stops the run with the sanitizer's report, an output
// that breaks a decoder's promise with the input that did it.
//
//   notify_records_fuzz [inputs] [seed]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "../shell/taskbar/NotifyRecords.h"
#include "shell/taskbar/NotifyRecord.h"

namespace {

std::vector<std::vector<uint8_t>> Seeds() {
  records::Fields f;
  f.message = 1;
  f.owner = 0x10054;
  f.flags = 0xFF;
  f.tip = u"tip";
  f.info = u"info";
  std::vector<std::vector<uint8_t>> seeds;
  for (int version = 1; version <= 4; ++version)
    for (bool from64 : {false, true}) seeds.push_back(records::Windows(version, from64, f));
  seeds.push_back(records::Wine(f));
  seeds.push_back(records::Wine(f, 16, 16, 32, 7));
  seeds.push_back(records::Wine(f, 32, 32, 1, 9));
  for (size_t size : {48, 56, 64}) seeds.push_back(std::vector<uint8_t>(size, 0));
  return seeds;
}

// The promises: texts never longer than their fields, icon bits exactly as long as their rows.
bool Check(const std::optional<tray::NotifyRequest>& r) {
  if (!r) return true;
  if (r->tip.size() > 128 || r->info.size() > 256 || r->infoTitle.size() > 64) return false;
  if (r->iconBits) {
    const auto& b = *r->iconBits;
    if (b.width == 0 || b.width > 256 || b.height == 0 || b.height > 256) return false;
    if (b.mask.size() != size_t{tray::IconBits::RowBytes(b.width, 1)} * b.height) return false;
    if (b.color.size() != size_t{tray::IconBits::RowBytes(b.width, b.bitsPerPixel)} * b.height)
      return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const long inputs = argc > 1 ? std::atol(argv[1]) : 1000000;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 26u;
  std::mt19937 random(seed);
  const auto seeds = Seeds();
  for (long n = 0; n < inputs; ++n) {
    std::vector<uint8_t> bytes;
    if (n % 4 == 0) {
      bytes.resize(random() % 6000);
      for (auto& b : bytes) b = static_cast<uint8_t>(random());
    } else {
      bytes = seeds[random() % seeds.size()];
      const int mutations = 1 + static_cast<int>(random() % 8);
      for (int m = 0; m < mutations && !bytes.empty(); ++m) {
        switch (random() % 4) {
          case 0:  // a byte changed
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            break;
          case 1:  // a size or count field made large
            bytes[(random() % bytes.size()) & ~size_t{3}] = 0xFF;
            break;
          case 2:  // cut short
            bytes.resize(random() % (bytes.size() + 1));
            break;
          default:  // longer
            bytes.resize(bytes.size() + random() % 64, static_cast<uint8_t>(random()));
            break;
        }
      }
    }
    // Exactly as long as the record: a read past it is a read past the heap block.
    std::vector<uint8_t> exact(bytes);
    exact.shrink_to_fit();
    const uint64_t dwData = random() % 6;
    const auto r = tray::DecodeNotifyRecord(dwData, exact.data(), exact.size());
    if (!Check(r)) {
      std::fprintf(stderr, "notify_records_fuzz: broken promise at input %ld (%zu bytes)\n", n,
                   exact.size());
      return 1;
    }
    tray::DecodeAppBarRecord(dwData, exact.data(), exact.size());
  }
  std::printf("notify_records_fuzz: %ld inputs, seed %u, no fault\n", inputs, seed);
  return 0;
}

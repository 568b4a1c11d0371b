#include "shell/taskbar/NotifyRecord.h"

#include <gtest/gtest.h>

#include "NotifyRecords.h"

namespace {

using records::Fields;
using tray::DecodeNotifyRecord;
using namespace tray::NotifyFlag;  // the NIF_ flags by their short names

constexpr uint32_t kAll = Message | Icon | Tip | State | Info | Guid | ShowTip;

Fields Full() {
  Fields f;
  f.message = 1;
  f.owner = 0x80012345;  // a handle whose 32-bit value has the high bit set
  f.id = 7;
  f.flags = kAll;
  f.callback = 0x8005;
  f.icon = 0x00020031;
  f.tip = u"音量 " + std::u16string(200, u'x');
  f.info = u"已连接";
  f.title = u"网络";
  f.state = 1;
  f.stateMask = 3;
  f.timeout = 15000;
  f.infoFlags = 2;
  f.guidFirst = 0xAB;
  return f;
}

// Every structure version, from 32-bit and 64-bit callers: the fields that version holds are
// read, the flags are cut to that version, texts to its field, and nothing beyond it is read.
TEST(NotifyRecord, WindowsRecordsOfEveryVersionFromBothBitnesses) {
  const struct {
    int version;
    uint32_t flags;
    size_t tipChars;
  } cases[] = {{1, Message | Icon | Tip, 63},
               {2, Message | Icon | Tip | State | Info, 127},
               {3, Message | Icon | Tip | State | Info | Guid, 127},
               {4, kAll, 127}};
  for (const auto& c : cases)
    for (bool from64 : {false, true}) {
      SCOPED_TRACE(testing::Message() << "version " << c.version << (from64 ? " 64" : " 32"));
      const auto bytes = records::Windows(c.version, from64, Full());
      const auto r = DecodeNotifyRecord(tray::kNotifyCopyData, bytes.data(), bytes.size());
      ASSERT_TRUE(r);
      EXPECT_EQ(r->sender, tray::NotifyRequest::Sender::Windows);
      EXPECT_EQ(r->structureVersion, c.version);
      EXPECT_EQ(r->message, tray::NotifyMessage::Modify);
      EXPECT_EQ(r->owner, 0x80012345u);
      EXPECT_EQ(r->id, 7u);
      EXPECT_EQ(r->flags, c.flags);
      EXPECT_EQ(r->callbackMessage, 0x8005u);
      EXPECT_EQ(r->icon, 0x00020031u);
      EXPECT_EQ(r->tip.size(), c.tipChars);
      EXPECT_EQ(r->tip.substr(0, 3), u"音量 ");
      EXPECT_EQ(r->info, c.version >= 2 ? u"已连接" : u"");
      EXPECT_EQ(r->infoTitle, c.version >= 2 ? u"网络" : u"");
      EXPECT_EQ(r->state, c.version >= 2 ? 1u : 0u);
      EXPECT_EQ(r->timeoutOrVersion, c.version >= 2 ? 15000u : 0u);
      EXPECT_EQ(r->guid[0], c.version >= 3 ? 0xAB : 0);
    }
}

// Short, garbled or foreign records are refused, never read past their end.
TEST(NotifyRecord, RefusesWhatFitsNoLayout) {
  const auto v3 = records::Windows(3, false, Full());
  const auto v4 = records::Windows(4, false, Full());
  auto badMessage = v3;
  records::Put32(badMessage, 4, 9);
  auto unknownSize = records::Windows(1, false, Full());
  records::Put32(unknownSize, 8, 500);  // unknown size: NT 4's fields only, which are there
  auto claimsMore = records::Windows(1, false, Full());
  records::Put32(claimsMore, 8, 956);  // says Vista, carries NT 4's length
  Fields plain;
  plain.flags = Icon;
  auto wineBadDepth = records::Wine(plain, 16, 16, 32);
  records::Put32(wineBadDepth, 956, 3);
  auto wineHuge = records::Wine(plain, 16, 16, 32);
  records::Put32(wineHuge, 944, 100000);
  const auto wineShortBits = records::Wine(plain, 32, 32, 32);

  const struct {
    const char* what;
    uint64_t dwData;
    std::vector<uint8_t> bytes;
    size_t size;
    bool accepted;
  } cases[] = {
      {"empty", 1, {}, 0, false},
      {"signature only", 1, v3, 4, false},
      {"header only", 1, v3, 8, false},
      {"one byte short of Vista", 1, v4, v4.size() - 1, false},
      {"a message beyond NIM_SETVERSION", 1, badMessage, badMessage.size(), false},
      {"unknown size, NT 4 length", 1, unknownSize, unknownSize.size(), true},
      {"claims Vista, NT 4 length", 1, claimsMore, claimsMore.size(), false},
      {"Wine, dwData beyond the messages", 5, records::Wine(plain), 960, false},
      {"Wine, short of its header", 0, records::Wine(plain), 959, false},
      {"Wine, a bad colour depth", 0, wineBadDepth, wineBadDepth.size(), false},
      {"Wine, an icon too large", 0, wineHuge, wineHuge.size(), false},
      {"Wine, bits cut short", 0, wineShortBits, wineShortBits.size() - 1, false},
      {"Wine, whole", 0, wineShortBits, wineShortBits.size(), true},
  };
  for (const auto& c : cases) {
    // A copy exactly as long as the case says, so that a read past it is a read past the end.
    const std::vector<uint8_t> exact(c.bytes.begin(),
                                     c.bytes.begin() + static_cast<ptrdiff_t>(c.size));
    EXPECT_EQ(DecodeNotifyRecord(c.dwData, exact.data(), exact.size()).has_value(), c.accepted)
        << c.what;
  }
  EXPECT_FALSE(DecodeNotifyRecord(1, nullptr, 5000));
}

// Wine's record: the measured layout, its message in dwData, and the icon's bits split into the
// mask and the colour rows; a record without a picture clears the icon.
TEST(NotifyRecord, WineRecordWithAndWithoutItsIcon) {
  Fields f = Full();
  f.flags = Message | Icon | Tip | State | Info;
  const auto bytes = records::Wine(f, 32, 32, 32, 0x5A);
  ASSERT_EQ(bytes.size(), 5184u) << "as Wine 8 sends a 32 x 32 icon";
  const auto r = DecodeNotifyRecord(0, bytes.data(), bytes.size());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->sender, tray::NotifyRequest::Sender::Wine);
  EXPECT_EQ(r->message, tray::NotifyMessage::Add);
  EXPECT_EQ(r->owner, 0x80012345u);
  EXPECT_EQ(r->tip.size(), 128u);
  EXPECT_EQ(r->info, u"已连接");
  EXPECT_EQ(r->infoTitle, u"网络");
  EXPECT_EQ(r->timeoutOrVersion, 15000u);
  ASSERT_TRUE(r->iconBits);
  EXPECT_EQ(r->iconBits->mask.size(), 128u);
  EXPECT_EQ(r->iconBits->color.size(), 4096u);

  const auto noPicture = records::Wine(f);
  const auto cleared = DecodeNotifyRecord(4, noPicture.data(), noPicture.size());
  ASSERT_TRUE(cleared);
  EXPECT_EQ(cleared->message, tray::NotifyMessage::SetVersion);
  EXPECT_FALSE(cleared->iconBits);
}

TEST(NotifyRecord, AppBarRecordsOfTheirThreeLengths) {
  const struct {
    size_t size;
    size_t messageAt, memoryAt, processAt;
  } cases[] = {{48, 36, 40, 44}, {56, 40, 44, 48}, {64, 40, 48, 56}};
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes(c.size, 0);
    records::Put32(bytes, 4, 0x1234);
    records::Put32(bytes, 16, 5);
    records::Put32(bytes, c.messageAt, 5);  // ABM_GETTASKBARPOS
    records::Put32(bytes, c.memoryAt, 0x88);
    records::Put32(bytes, c.processAt, 4242);
    const auto r = tray::DecodeAppBarRecord(0, bytes.data(), bytes.size());
    ASSERT_TRUE(r) << c.size;
    EXPECT_EQ(r->message, 5u) << c.size;
    EXPECT_EQ(r->window, 0x1234u) << c.size;
    EXPECT_EQ(r->rect[0], 5) << c.size;
    EXPECT_EQ(r->sharedMemory, 0x88u) << c.size;
    EXPECT_EQ(r->processId, 4242u) << c.size;
    EXPECT_FALSE(tray::DecodeAppBarRecord(0, bytes.data(), c.size - 1)) << c.size;
    EXPECT_FALSE(tray::DecodeAppBarRecord(1, bytes.data(), c.size)) << c.size;
  }
}

}  // namespace

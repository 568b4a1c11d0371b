#include "common/text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/screen.h"

namespace {

TEST(Text, ChineseRoundTripsThroughCodePage936) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run with the Chinese ANSI code page";
  const std::wstring caption = L"网络快搜 - Lumora软件";
  const std::string bytes = common::ToAnsi(caption);
  EXPECT_EQ(bytes.size(), 21u);  // 6 Chinese characters of two bytes, 9 single-byte ones
  EXPECT_EQ(common::AnsiLength(caption), 21);
  EXPECT_EQ(common::FromAnsi(bytes), caption);
}

TEST(Text, CutAnsiTextLosesOnlyTheHalfCharacter) {
  std::string bytes = common::ToAnsi(L"桌面");
  bytes.pop_back();  // half of 面 left
  common::TrimIncompleteAnsi(bytes);
  EXPECT_EQ(common::FromAnsi(bytes), L"桌");

  std::string ascii = "abc";
  common::TrimIncompleteAnsi(ascii);
  EXPECT_EQ(ascii, "abc");
}

TEST(Text, HandlesAreWrittenAsSigned32BitDecimal) {
  EXPECT_EQ(common::HandleToText(reinterpret_cast<void*>(0x10036)), L"65590");
  // A handle with the top bit of its low 32 bits set is negative, as a 32-bit Long.
  EXPECT_EQ(common::HandleToText(reinterpret_cast<void*>(static_cast<uintptr_t>(0xFFFFFFFEu))),
            L"-2");
  EXPECT_EQ(common::TextToHandle(L"65590"), reinterpret_cast<void*>(0x10036));
  EXPECT_EQ(common::HandleToText(common::TextToHandle(L"-2")), L"-2");
}

TEST(ParseDecimal, TakesWholeDecimalIntegersOnly) {
  EXPECT_EQ(common::ParseDecimal(L"465"), 465);
  EXPECT_EQ(common::ParseDecimal(L"-32"), -32);
  EXPECT_EQ(common::ParseDecimal(L"+7"), 7);
  EXPECT_EQ(common::ParseDecimal(L"  12"), 12);
  EXPECT_EQ(common::ParseDecimal(L"2147483647"), 2147483647);
  EXPECT_EQ(common::ParseDecimal(L"-2147483648"), -2147483647 - 1);
  for (const wchar_t* bad : {L"", L"-", L"abc", L"12a", L"1 2", L"0x10", L"2147483648", L"１２"})
    EXPECT_EQ(common::ParseDecimal(bad), std::nullopt) << bad;
}

TEST(Rounding, HalfGoesToTheEvenNeighbour) {
  EXPECT_EQ(common::RoundHalfEven(0.5), 0);
  EXPECT_EQ(common::RoundHalfEven(1.5), 2);
  EXPECT_EQ(common::RoundHalfEven(2.5), 2);
  EXPECT_EQ(common::RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(common::RoundHalfEven(-0.5), 0);
  EXPECT_EQ(common::RoundHalfEven(-1.5), -2);
  EXPECT_EQ(common::RoundHalfEven(84.6666), 85);
}

}  // namespace

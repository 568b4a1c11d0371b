// The repair history file: its entries as the profile functions write them, and its text as the
// history window shows it.
#include "checker/app/History.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "support/testing.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

SYSTEMTIME At(int hour, int minute, int second) {
  SYSTEMTIME time = {};
  time.wYear = 2024, time.wMonth = 5, time.wDay = 1;
  time.wHour = static_cast<WORD>(hour), time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  return time;
}

std::string Ansi(const std::wstring& text) { return common::ToAnsi(text); }

TEST(History, EntriesAreSectionsOfOneSecondInTheCodePage) {
  TempFolder folder;
  const std::wstring log = HistoryPath(folder.Path());
  EXPECT_EQ(log, folder.File(L"Repair.log"));
  const std::wstring first = HistorySection(At(9, 5, 7));
  EXPECT_EQ(first.rfind(L"2024-05-01|", 0), 0u);
  EXPECT_NE(first.find(L"05:07"), std::wstring::npos);

  // The first entry after a clear makes the file: one section with both keys.
  ASSERT_TRUE(WriteHistory(log, At(9, 5, 7), L"删除", L"HKEY_CURRENT_USER Software\\A  ", L""));
  EXPECT_EQ(ReadFileBytes(log),
            Ansi(L"[" + first + L"]\r\n行为=删除\r\n记录=HKEY_CURRENT_USER Software\\A  \r\n"));

  // Within the same second the later entry replaces the earlier one, its undo file included;
  // a line break inside a text would end the INI line.
  ASSERT_TRUE(WriteHistory(log, At(9, 5, 8), L"删除", L"x", L"C:\\Undo_Sanivo_20240501.reg"));
  ASSERT_TRUE(WriteHistory(log, At(9, 5, 8), L"备份注册表", L"备份\r\n成功", L""));
  EXPECT_TRUE(ReadFileBytes(log).ends_with(
      Ansi(L"[" + HistorySection(At(9, 5, 8)) + L"]\r\n行为=备份注册表\r\n记录=备份  成功\r\n")));
  ASSERT_TRUE(ClearHistory(log));
  EXPECT_FALSE(ClearHistory(log));

  // A write that cannot be made says so.
  EXPECT_FALSE(WriteHistory(folder.File(L"missing\\Repair.log"), At(9, 0, 0), L"a", L"b", L""));
}

TEST(History, TheWindowShowsTheRawTextLineByLine) {
  TempFolder folder;
  const std::wstring log = HistoryPath(folder.Path());
  EXPECT_EQ(ReadHistoryText(log), L"");
  WriteFileBytes(log, Ansi(L"[2024-05-01|9:05:07]\r\n行为=删除\n记录=甲\r乙"));
  EXPECT_EQ(ReadHistoryText(log), L"[2024-05-01|9:05:07]\r\n行为=删除\r\n记录=甲\r\n乙");
}

}  // namespace

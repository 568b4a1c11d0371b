#include "checker/app/SystemCalls.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "common/paths.h"
#include "support/testing.h"

namespace {

using testing_support::TempFolder;

TEST(RunAndWait, ReturnsOnlyWhenTheCommandHasEndedAndKeepsPumping) {
  TempFolder folder;
  const std::wstring marker = folder.File(L"done.txt");
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  bool ownerDisabledWhileWaiting = false;
  int pumps = 0;
  RunAndWait(L"cmd.exe /c echo done> \"" + marker + L"\"", owner, [&] {
    ++pumps;
    ownerDisabledWhileWaiting = !IsWindowEnabled(owner);
    testing_support::PumpFor(1);
  });
  EXPECT_TRUE(common::FileExists(marker));
  EXPECT_TRUE(IsWindowEnabled(owner));
  if (pumps > 0) {
    EXPECT_TRUE(ownerDisabledWhileWaiting);
  }
  DestroyWindow(owner);
}

TEST(RunAndWait, ACommandThatCannotStartReturnsAtOnce) {
  int pumps = 0;
  RunAndWait(L"Z:\\no\\such\\program.exe /x", nullptr, [&] { ++pumps; });
  EXPECT_EQ(pumps, 0) << "nothing to wait for";
}

TEST(GetSpecialFolder, GivesThePathOrNothing) {
  const std::wstring programs = GetSpecialFolder(GetDesktopWindow(), CSIDL_PROGRAMS);
  EXPECT_FALSE(programs.empty());
  const DWORD attributes = GetFileAttributesW(programs.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetSpecialFolder(GetDesktopWindow(), 0x7E), L"");
}

TEST(WindowsDirectory, MatchesTheSystem) {
  wchar_t expected[MAX_PATH];
  GetWindowsDirectoryW(expected, MAX_PATH);
  EXPECT_EQ(WindowsDirectory(), std::optional<std::wstring>(expected));
}

TEST(OperatingSystemCount, CountsTheEntriesOfBootIni) {
  TempFolder folder;
  const std::wstring boot = folder.File(L"boot.ini");
  EXPECT_EQ(OperatingSystemCount(boot), 0);
  testing_support::WriteFileBytes(
      boot,
      "[boot loader]\r\ntimeout=30\r\ndefault=multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS\r\n"
      "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"XP\" /fastdetect\r\n");
  EXPECT_EQ(OperatingSystemCount(boot), 1);
  testing_support::WriteFileBytes(
      boot,
      "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"XP\"\r\n"
      "C:\\=\"Microsoft Windows 98\"\r\n");
  EXPECT_EQ(OperatingSystemCount(boot), 2);
}

}  // namespace

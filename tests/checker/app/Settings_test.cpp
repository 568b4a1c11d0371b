#include "checker/app/Settings.h"

#include <gtest/gtest.h>

#include <thread>

#include "checker/app/SingleInstance.h"
#include "support/testing.h"

namespace {

using testing_support::TempFolder;

TEST(Settings, RoundTripOfTheWindowSection) {
  TempFolder folder;
  const std::wstring path = SettingsPath(folder.Path());
  EXPECT_EQ(path, folder.Path() + L"\\Set.ini");
  WriteWindowSettings(path, false, 120, 300, 500);
  EXPECT_EQ(testing_support::ReadFileBytes(path),
            "[Sanivo]\r\nWindow=Normal\r\nTop=120\r\nHeight=300\r\nWidth=500\r\n");
  const WindowSettings normal = ReadWindowSettings(path);
  EXPECT_FALSE(normal.maximised);
  EXPECT_EQ(normal.top, 120);
  EXPECT_EQ(normal.height, 300);
  EXPECT_EQ(normal.width, 500);

  WriteWindowSettings(path, true, -4, 776, 1032);
  const WindowSettings max = ReadWindowSettings(path);
  EXPECT_TRUE(max.maximised);
  EXPECT_EQ(max.top, std::nullopt);  // not read with "Max"
}

TEST(Settings, MissingOrBadValuesAreLeftOut) {
  TempFolder folder;
  const std::wstring path = SettingsPath(folder.Path());
  const WindowSettings none = ReadWindowSettings(path);
  EXPECT_FALSE(none.maximised);
  EXPECT_EQ(none.top, std::nullopt);
  EXPECT_EQ(none.height, std::nullopt);
  EXPECT_EQ(none.width, std::nullopt);

  testing_support::WriteFileBytes(path, "[Sanivo]\r\nWindow=max\r\nTop=abc\r\nHeight=300\r\n");
  const WindowSettings some = ReadWindowSettings(path);
  EXPECT_FALSE(some.maximised);  // "Max" is compared exactly
  EXPECT_EQ(some.top, std::nullopt);
  EXPECT_EQ(some.height, 300);
  EXPECT_EQ(some.width, std::nullopt);
}

TEST(Settings, BackupFolderName) {
  TempFolder folder;
  const std::wstring path = SettingsPath(folder.Path());
  EXPECT_EQ(ReadBakPath(path), L"Backup");
  testing_support::WriteFileBytes(path, "[Other]\r\nBakPath=\r\n");
  EXPECT_EQ(ReadBakPath(path), L"Backup");
  testing_support::WriteFileBytes(path, "[Other]\r\nBakPath=\xB1\xB8\xB7\xDD\r\n");  // GBK
  EXPECT_EQ(ReadBakPath(path), L"备份");
}

TEST(SingleInstance, OnlyTheFirstProcessHoldsTheNamedMutex) {
  const std::wstring name = L"SanivoTest-" + std::to_wstring(GetCurrentProcessId());
  {
    const SingleInstance first(name);
    EXPECT_TRUE(first.First());
    // A second start finds the mutex made; a thread stands in for the second process.
    bool secondIsFirst = true;
    std::thread second([&] { secondIsFirst = SingleInstance(name).First(); });
    second.join();
    EXPECT_FALSE(secondIsFirst);
  }
  // Once the first has ended, the next start is first again.
  const SingleInstance again(name);
  EXPECT_TRUE(again.First());
}

}  // namespace

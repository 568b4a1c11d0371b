#include "shell/core/rwini.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "common/text.h"
#include "support/testing.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

TEST(ConfigStore, MissingFileIsCreatedWithTheKeysReadSoFarLeftEmpty) {
  TempFolder folder;
  const rwini::IniFile ini{folder.File(L"SysInfo.ini")};
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS1_Caption", L""), L"");
  EXPECT_EQ(ReadFileBytes(ini.path), "[Zephra]\r\nKS1_Caption=\r\n");
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"ZM1_Link", L""), L"");
  EXPECT_EQ(ReadFileBytes(ini.path), "[Zephra]\r\nKS1_Caption=\r\nZM1_Link=\r\n");
}

TEST(ConfigStore, PresentButEmptyKeyReadsEmptyAndStaysAsItIs) {
  TempFolder folder;
  const rwini::IniFile ini{folder.File(L"SysInfo.ini")};
  const std::string content = "[Zephra]\r\nKS3_Caption=\r\nKS3_1_Link=notepad.exe\r\n";
  WriteFileBytes(ini.path, content);
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS3_Caption", L""), L"");
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS3_Caption", L""), L"");
  EXPECT_EQ(ReadFileBytes(ini.path), content);
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS3_1_Link", L""), L"notepad.exe");
}

TEST(ConfigStore, LongValuesComeBackCutTo143Bytes) {
  TempFolder folder;
  const rwini::IniFile ini{folder.File(L"SysInfo.ini")};
  const std::string value(200, 'x');
  WriteFileBytes(ini.path, "[Zephra]\r\nKS1_1_Link=" + value + "\r\n");
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS1_1_Link", L""), std::wstring(143, L'x'));
}

TEST(ConfigStore, ChineseCaptionsRoundTripInCodePage936) {
  TempFolder folder;
  const rwini::IniFile ini{folder.File(L"SysInfo.ini")};
  WriteFileBytes(ini.path, "[Zephra]\r\nKS1_Caption=" + common::ToAnsi(L"常用工具") + "\r\n");
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS1_Caption", L""), L"常用工具");

  // 72 two-byte characters are 144 bytes: 71 whole characters fit, the cut half is dropped.
  const std::wstring longCaption(72, L'桌');
  WriteFileBytes(ini.path, "[Zephra]\r\nKS2_Caption=" + common::ToAnsi(longCaption) + "\r\n");
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS2_Caption", L""), std::wstring(71, L'桌'));
}

TEST(ConfigStore, LinkEditedOnDiskIsSeenAtTheNextRead) {
  TempFolder folder;
  const rwini::IniFile ini{folder.File(L"SysInfo.ini")};
  WriteFileBytes(ini.path, "[Zephra]\r\nKS2_3_Link=notepad.exe\r\n");
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS2_3_Link", L""), L"notepad.exe");
  WriteFileBytes(ini.path, "[Zephra]\r\nKS2_3_Link=C:\\Tools\\Prindle.exe\r\n");
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS2_3_Link", L""), L"C:\\Tools\\Prindle.exe");
}

TEST(ConfigStore, UnwritableFileStillReadsTheDefault) {
  TempFolder folder;
  const rwini::IniFile ini{folder.File(L"no such folder\\SysInfo.ini")};
  EXPECT_EQ(ini.ReadIni(L"Zephra", L"KS_A_Link", L""), L"");
  EXPECT_FALSE(common::FileExists(ini.path));
}

TEST(ConfigStore, TheShellsFileLiesBesideTheProgram) {
  EXPECT_EQ(rwini::GetIniPath(), common::ProgramDirectory() + L"\\SysInfo.ini");
}

}  // namespace

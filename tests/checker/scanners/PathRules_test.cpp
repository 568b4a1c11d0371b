// The path rules, on a made-up machine (MadeUpDisk.h).
#include "checker/scanners/PathRules.h"

#include <gtest/gtest.h>

#include "MadeUpDisk.h"

namespace {

constexpr wchar_t kWinDir[] = L"C:\\Windows";

struct Case {
  const wchar_t* text;
  bool bad;
};

void ExpectAll(std::initializer_list<Case> cases, bool (*test)(std::wstring_view, MadeUpDisk&),
               MadeUpDisk& disk) {
  for (const Case& c : cases)
    EXPECT_EQ(test(c.text, disk), c.bad) << testing::PrintToString(c.text);
}

bool RegistryTest(std::wstring_view text, MadeUpDisk& disk) {
  return IsBadPath(text, kWinDir, disk.Queries());
}

bool UninstallTest(std::wstring_view text, MadeUpDisk& disk) {
  return IsBadUninstallPath(text, disk.Queries());
}

TEST(IsBadPath, JudgesOnlyPathsOnLocalFixedDrives) {
  MadeUpDisk disk;
  disk.folders = {L"c:\\"};
  ExpectAll({{L"", false},
             {L"C:", false},
             {L"C:\\", false},
             {L"gone.exe", false},
             {L"C:gone.exe", false},
             {L"A:\\gone.exe", false},
             {L"E:\\setup\\gone.exe", false},  // CD-ROM
             {L"F:\\share\\gone.exe", false},  // network
             {L"G:\\gone.exe", false},         // no such drive
             {L"\\\\server\\share\\gone.exe", false},
             {L"%ProgramFiles%\\App\\gone.exe", false},
             {L"C:\\App\\gone.exe", true},
             {L"c:\\app\\gone.exe", true},
             {L"D:\\gone.dat", true},
             {L"\"C:\\App\\gone.exe\"", true},
             {L"@C:\\App\\gone.dll", true}},
            RegistryTest, disk);
}

TEST(IsBadPath, ExistingFilesAndFoldersAreNeverBad) {
  MadeUpDisk disk;
  disk.files = {L"c:\\windows\\notepad.exe", L"c:\\program files\\app\\app.exe"};
  disk.folders = {L"c:\\windows", L"c:\\program files\\app"};
  ExpectAll({{L"C:\\WINDOWS\\NOTEPAD.EXE", false},
             {L"C:\\Windows", false},
             {L"C:\\Windows\\", false},
             {L"C:\\\\Windows\\\\\\notepad.exe", false},
             {L"C:\\Windows\\notepad.exe /p %1", false},
             {L"\"C:\\Program Files\\App\\app.exe\" -x", false},
             {L"\"C:\\Program Files\\App\\gone.exe\" -x", true},
             {L"C:\\Windows\\gone", true}},
            RegistryTest, disk);
}

TEST(IsBadPath, CommandLinesAreTrimmedToThePathTheyStart) {
  // Nothing exists: every text is bad, and the last question asked is the trimmed path.
  const struct {
    const wchar_t* text;
    const wchar_t* path;
  } cases[] = {
      {L"C:\\App\\app.exe /s", L"C:\\App\\app.exe"},
      {L"C:\\Program Files\\App\\app.exe -silent", L"C:\\Program Files\\App\\app.exe"},
      {L"\"C:\\Program Files\\App\\app.exe\" /s", L"C:\\Program Files\\App\\app.exe"},
      {L"C:\\App\\app.exe\\", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe\"\\", L"C:\\App\\app.exe"},
      {L"C:\\App\\run me.exe", L"C:\\App\\run me.exe"},
      {L"C:\\App\\app.exe\"", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe^1", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe'x", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe/x", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe-x", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe%1", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe!x", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe|x", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe[x]", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe=x", L"C:\\App\\app.exe"},
      {L"C:\\App\\icons.dll,3", L"C:\\App\\icons.dll"},
      {L"C:\\App\\icons.dll,-3", L"C:\\App\\icons.dll"},
      {L"C:\\x.y\\ab.cd \\z", L"C:\\x.y\\ab.cd"},  // the dot rule
      {L"C:\\Windows\\gone.exe", L"C:\\Windows\\gone.exe"},
  };
  for (const auto& c : cases) {
    MadeUpDisk disk;
    EXPECT_TRUE(RegistryTest(c.text, disk)) << testing::PrintToString(c.text);
    ASSERT_FALSE(disk.asked.empty());
    EXPECT_EQ(disk.asked.back(), c.path) << testing::PrintToString(c.text);
  }
}

TEST(IsBadPath, IconsBelowTheWindowsFolderExcludedNamesAndArgumentsAreNeverJudged) {
  MadeUpDisk disk;
  ExpectAll({{L"C:\\WINDOWS\\system32\\gone.dll,4", false},
             {L"c:\\windows\\gone.exe,0", false},
             {L"C:\\Program Files\\Rational\\gone.exe", false},
             {L"c:\\rAtIoNaL.exe", false},
             {L"C:\\Apps\\IE6SETUP\\gone.exe", false},
             {L"C:\\Menus\\gone.MNS", false},
             {L"C:\\Apps\\app.exe.dll", false},
             {L"C:\\My Apps \\gone.exe", false},
             {L"C:\\Apps\\*.exe", false},
             {L"C:\\Apps\\gone?.exe", false},
             {L"C:\\Apps\\<gone>", false},
             {L"C:\\Apps\\a;b", false},
             {L"C:\\Apps\\a,b", false},
             {L"C:\\Apps\\a=b", false},
             {L"C:\\Apps\\run /x", false},
             {L"C:\\Apps\\run -x", false},
             {L"C:\\Apps\\run (x)", false}},
            RegistryTest, disk);
  // Without a Windows folder the comma rule has no exception.
  EXPECT_TRUE(IsBadPath(L"C:\\Windows\\gone.dll,4", L"", disk.Queries()));
}

TEST(IsBadUninstallPath, IsStricterAboutWhatIsAPathAndTrimsLess) {
  MadeUpDisk disk;
  disk.files = {L"c:\\app\\uninst.exe"};
  ExpectAll({{L"", true},
             {L"ab", true},
             {L"%SystemRoot%\\uninst.exe", true},
             {L"MsiExec.exe /X{1234}", true},
             {L"\\\\server\\share\\uninst.exe", true},
             {L"E:\\uninst.exe", false},  // CD-ROM
             {L"C:\\App\\uninst.exe /x", false},
             {L"C:\\Gone\\uninst.exe /x", true},
             {L"\"C:\\Gone\\uninst.exe\" /x", false},  // only the first blank rule: not judged
             {L"C:\\Windows\\gone.exe,0", true},       // no Windows-folder exception
             {L"C:\\Program Files\\Rational\\gone.exe", true},
             {L"C:\\Gone\\a=b", true},
             {L"C:\\Gone\\*.exe", false}},
            UninstallTest, disk);
}

TEST(ExtractExePath, FindsTheProgramACommandLineStarts) {
  const struct {
    const wchar_t* command;
    const wchar_t* path;
  } cases[] = {
      {L"\"C:\\Program Files\\App\\app.exe\" \"%1\"", L"C:\\Program Files\\App\\app.exe"},
      {L"\"C:\\Program Files\\App\\app.exe", L"C:\\Program Files\\App\\app.exe"},
      {L"C:\\App\\app.exe %1", L"C:\\App\\app.exe"},
      {L"C:\\App\\app.exe /open \"%1\"", L"C:\\App\\app.exe"},
      {L"C:\\APP\\APP.EXE %1", L"C:\\APP\\APP.EXE"},
      {L"C:\\APP\\APP.EXE /X", L"C:\\APP\\APP.EXE"},
      {L"C:\\APP\\APP.EXE -X", L"C:\\APP\\APP.EXE"},
      {L"C:\\App\\tool.com ,1", L"C:\\App\\tool.com"},
      {L"C:\\App\\lib.dll,Entry", L"C:\\App\\lib.dll"},
      {L"C:\\App\\app.exe", L"C:\\App\\app.exe"},
      {L"notepad.exe %1", L"notepad.exe"},
      {L"C:\\a.exec\\b.exe /x", L"C:\\a.exe"},  // the first ".exe" counts
      {L"C:\\App\\run %1", L"C:\\App\\run %1"},
      {L"", L""},
      {L"\"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtractExePath(c.command), c.path) << testing::PrintToString(c.command);
}

}  // namespace

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
             {L"%Unset%\\uninst.exe", false},  // a variable that stays: not judged
             {L"MsiExec.exe /X{1234}", true},
             {L"\\\\server\\share\\uninst.exe", false},  // a share that may be away
             {L"A:\\uninst.exe", false},                 // no such drive now
             {L"E:\\uninst.exe", false},                 // CD-ROM
             {L"C:\\App\\uninst.exe /x", false},
             {L"C:\\Gone\\uninst.exe /x", true},
             {L"\"C:\\Gone\\uninst.exe\" /x", false},  // only the first blank rule: not judged
             {L"C:\\Windows\\gone.exe,0", true},       // no Windows-folder exception
             {L"C:\\Program Files\\Rational\\gone.exe", true},
             {L"C:\\Gone\\a=b", true},
             {L"C:\\Gone\\*.exe", false}},
            UninstallTest, disk);
}

// Each working text beside its stale twin: the twin is still found.
TEST(IsBadPath, NeverReportsWhatWorks) {
  MadeUpDisk disk;
  disk.files = {L"c:\\windows\\notepad.exe", L"c:\\app\\app.exe", L"c:\\tools\\tidy.cmd"};
  disk.variables = {{L"programfiles", {L"C:\\App"}}};
  ExpectAll(
      {// A program whose arguments hold a path is judged by its program.
       {L"C:\\Windows\\notepad.exe C:\\Notes\\todo.txt", false},
       {L"C:\\Gone\\notepad.exe C:\\Notes\\todo.txt", true},
       {L"C:\\Tools\\tidy.cmd C:\\Notes\\todo.txt", false},
       {L"C:\\Gone\\tidy.cmd C:\\Notes\\todo.txt", true},
       // A variable: its value is that of the program that reads it; never judged here.
       {L"C:\\App\\%Lang%\\gone.dll", false},
       {L"%ProgramFiles%\\gone.exe", false},
       // Drives that are not there now, or not fixed: never judged.
       {L"G:\\Gone\\app.exe", false},
       {L"E:\\Gone\\app.exe", false},
       {L"F:\\Gone\\app.exe", false},
       {L"D:\\Gone\\app.exe", true},
       // A character the code page could not hold reads as "?".
       {L"C:\\Gone\\?.exe", false},
       {L"C:\\Gone\\a.exe", true}},
      RegistryTest, disk);
}

TEST(IsBadUninstallPath, JudgesPathsInEnvironmentFormAfterExpansion) {
  MadeUpDisk disk;
  disk.files = {L"c:\\program files\\app\\uninst.exe", L"c:\\windows\\app\\uninst.exe",
                L"c:\\program files\\common files\\app\\uninst.exe"};
  disk.variables = {{L"programfiles", {L"C:\\Program Files"}},
                    {L"systemroot", {L"C:\\Windows"}},
                    {L"windir", {L"C:\\Windows"}},
                    {L"commonprogramfiles", {L"C:\\Program Files\\Common Files"}},
                    // 64-bit Windows: a 32-bit and a 64-bit folder for one variable.
                    {L"twofolders", {L"C:\\Gone", L"C:\\Program Files"}},
                    {L"cdrom", {L"E:\\Setup"}}};
  ExpectAll({{L"\"%ProgramFiles%\\App\\uninst.exe\" /S", false},
             {L"%ProgramFiles%\\App\\uninst.exe /S", false},
             {L"%ProgramFiles%\\Gone\\uninst.exe /S", true},
             {L"%SystemRoot%\\App\\uninst.exe", false},
             {L"%SYSTEMROOT%\\Gone\\uninst.exe", true},
             {L"%windir%\\App\\uninst.exe", false},
             {L"%windir%\\Gone\\uninst.exe", true},
             {L"%CommonProgramFiles%\\App\\uninst.exe", false},
             {L"%CommonProgramFiles%\\Gone\\uninst.exe", true},
             {L"%TwoFolders%\\App\\uninst.exe", false},  // there in one of its folders
             {L"%TwoFolders%\\Gone\\uninst.exe", true},
             {L"%CDROM%\\Gone\\uninst.exe", false},
             {L"%Unset%\\Gone\\uninst.exe", false}},
            UninstallTest, disk);
}

TEST(ProgramCandidates, AreWhereTheSystemLooksForAProgram) {
  const struct {
    const wchar_t* command;
    std::vector<std::wstring> candidates;
  } cases[] = {
      {L"\"C:\\Program Files\\App\\app.exe\" \"%1\"", {L"C:\\Program Files\\App\\app.exe"}},
      {L"  \"C:\\App\\run\" x", {L"C:\\App\\run", L"C:\\App\\run.exe"}},
      {L"C:\\Program Files\\App\\app.exe %1",
       {L"C:\\Program", L"C:\\Program.exe", L"C:\\Program Files\\App\\app.exe",
        L"C:\\Program Files\\App\\app.exe %1"}},
      {L"C:\\App\\app.exe", {L"C:\\App\\app.exe"}},
      {L"", {}},
      {L"\"", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgramCandidates(c.command), c.candidates) << testing::PrintToString(c.command);
}

TEST(HoldsVariable, FindsNamesBetweenPercentSigns) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"%SystemRoot%\\x.exe", true},
      {L"C:\\App\\%lang%\\x.dll", true},
      {L"%ProgramFiles(x86)%", true},
      {L"C:\\app.exe %1", false},
      {L"C:\\app.exe \"%1\" %*", false},
      {L"%1 %Name%", true},
      {L"100% sure%", false},
      {L"%%", false},
      {L"%", false},
      {L"%_x%", true},
  };
  for (const auto& [text, holds] : cases)
    EXPECT_EQ(HoldsVariable(text), holds) << testing::PrintToString(text);
}

// Class and verb commands: each working command beside its stale twin.
TEST(CommandProgramMissing, JudgesTheProgramOfACommandOnly) {
  MadeUpDisk disk;
  disk.files = {L"c:\\windows\\system32\\rundll32.exe",
                L"c:\\windows\\notepad.exe",
                L"c:\\tools\\tidy.cmd",
                L"c:\\tools\\tidy.bat",
                L"c:\\tools\\tidy.com",
                L"c:\\tools\\tidy.pif",
                L"c:\\tools\\tidy.scr",
                L"c:\\program files\\app\\app.exe",
                L"c:\\tools\\noext"};
  disk.variables = {{L"systemroot", {L"C:\\Windows"}}};
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"C:\\WINDOWS\\SYSTEM32\\RUNDLL32.EXE C:\\Viewer\\FOO.DLL,View %1", false},
      {L"C:\\GONE\\RUNDLL32.EXE C:\\Viewer\\FOO.DLL,View %1", true},
      {L"C:\\Tools\\tidy.cmd \"%1\"", false},
      {L"C:\\Gone\\tidy.cmd \"%1\"", true},
      {L"C:\\Tools\\tidy.bat \"%1\"", false},
      {L"C:\\Tools\\tidy.com %1", false},
      {L"C:\\Tools\\tidy.pif %1", false},
      {L"C:\\Tools\\tidy.scr /S", false},
      {L"C:\\Gone\\tidy.scr /S", true},
      {L"C:\\Windows\\notepad.exe C:\\Notes\\todo.txt", false},
      {L"C:\\Gone\\notepad.exe C:\\Notes\\todo.txt", true},
      {L"C:\\Program Files\\App\\app.exe %1", false},  // unquoted, with a blank
      {L"C:\\Program Files\\Gone\\app.exe %1", true},
      {L"\"C:\\Program Files\\App\\app.exe\" \"%1\"", false},
      {L"C:\\Tools\\noext C:\\Notes\\todo.txt", false},
      {L"%SystemRoot%\\notepad.exe %1", false},
      {L"%SystemRoot%\\gone.exe %1", true},
      {L"%Unset%\\gone.exe %1", false},
      {L"rundll32.exe C:\\Gone\\x.dll,Run", false},  // a bare program name
      {L"E:\\Gone\\app.exe %1", false},              // CD-ROM
      {L"F:\\Gone\\app.exe %1", false},              // network
      {L"G:\\Gone\\app.exe %1", false},              // no such drive now
      {L"\\\\server\\share\\app.exe %1", false},
      {L"C:\\Gone\\?.exe %1", false},
      {L"", false},
  };
  for (const auto& [command, missing] : cases)
    EXPECT_EQ(CommandProgramMissing(command, disk.Queries()), missing)
        << testing::PrintToString(command);
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
      {L"C:\\WINDOWS\\SYSTEM32\\RUNDLL32.EXE C:\\X\\FOO.DLL,View %1",
       L"C:\\WINDOWS\\SYSTEM32\\RUNDLL32.EXE"},
      {L"C:\\Tools\\tidy.cmd \"%1\"", L"C:\\Tools\\tidy.cmd"},
      {L"C:\\Tools\\tidy.cmd C:\\Notes\\todo.txt", L"C:\\Tools\\tidy.cmd"},
      {L"C:\\Tools\\TIDY.BAT x", L"C:\\Tools\\TIDY.BAT"},
      {L"C:\\Tools\\a.pif x", L"C:\\Tools\\a.pif"},
      {L"C:\\Tools\\a.scr /s", L"C:\\Tools\\a.scr"},
      {L"C:\\App\\run %1", L"C:\\App\\run %1"},
      {L"", L""},
      {L"\"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtractExePath(c.command), c.path) << testing::PrintToString(c.command);
}

}  // namespace

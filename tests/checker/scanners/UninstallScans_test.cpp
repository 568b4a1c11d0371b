// Uninstall entries (check row 5) against a private tree and folder, and the cut of an uninstall
// command down to its program.
#include "checker/scanners/UninstallScans.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "checker/scanners/UninstallCommand.h"
#include "list_scan_fixture.h"

namespace {

constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TEST(TrimUninstallCommand, CutsTheCommandDownToItsProgram) {
  const struct {
    const wchar_t* command;
    std::optional<std::wstring> program;
  } cases[] = {
      {L"\"C:\\Program Files\\App\\unins000.exe\" /SILENT",
       L"c:\\program files\\app\\unins000.exe"},
      {L"C:\\APP\\SETUP.EXE -uninstall", L"c:\\app\\setup.exe"},
      {L"C:\\\\App\\\\\\x.exe", L"c:\\app\\x.exe"},
      {L"\"C:\\a.exe", L"c:\\a.exe"},
      {L"C:\\abc.def-x\\y.exe", L"c:\\abc.def"},
      {L"C:\\abc.def -x\\y.exe", L"c:\\abc.def"},
      {L"MsiExec.exe /X{1234}", L"msiexec.exe"},
      {L"\".exe\"", L".exe"},
      {L"RunDll32.exe C:\\x.exe,Remove", std::nullopt},
      {L"C:\\App\\remove.bat", std::nullopt},
      {L"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimUninstallCommand(c.command), c.program) << c.command;
}

class UninstallScanTest : public ListScanTest {
 protected:
  std::wstring Entry(const std::wstring& name) { return std::wstring(kUninstall) + L"\\" + name; }
  void Program(const std::wstring& name, const std::wstring& displayName,
               const std::wstring& command, const wchar_t* nameValue = L"DisplayName",
               const wchar_t* commandValue = L"UninstallString") {
    Machine().SetText(Entry(name), nameValue, displayName);
    Machine().SetText(Entry(name), commandValue, command);
  }
};

TEST_F(UninstallScanTest, EntriesWithoutValuesOrWithoutTheirProgramAreReported) {
  const std::wstring tool = MakeFile(L"App\\unins000.exe");
  MakeFile(L"Windows\\setup.exe");
  MakeFile(L"Windows\\System\\sys16.exe");
  MakeFile(L"Windows\\System32\\msiexec.exe");
  for (const auto* bare : {L"Vopt Tools", L"vopt lower", L"NoValues"})
    Machine().MakeKey(Entry(bare));
  Machine().SetDword(Entry(L"Hidden"), L"SystemComponent", 1);
  Machine().SetText(Entry(L"Hidden2"), L"systemcomponent", L"x");
  Machine().SetDword(Entry(L"Number"), L"Size", 12);
  Machine().SetText(Entry(L"GoodPath"), L"Path", tool);
  Machine().SetText(Entry(L"BadPath"), L"Path", L"C:\\Gone\\app.exe");
  Machine().SetText(Entry(L"NotAPath"), L"DisplayName", L"App");
  Program(L"Installed", L"App", L"\"" + tool + L"\" /S");
  Program(L"Removed", L"App", L"\"C:\\Gone\\unins000.exe\" /S");
  Program(L"Rundll", L"App", L"RunDll32.exe C:\\Gone\\x.dll,Remove");
  Program(L"NoExe", L"App", L"MsiExec /X{1234}");
  Program(L"InWindows", L"App", L"setup.exe /remove");
  Program(L"InSystem", L"App", L"SYS16.EXE");
  Program(L"InSystem32", L"App", L"MsiExec.exe /X{1234}");
  Program(L"Quiet", L"App", L"C:\\Gone\\q.exe", L"QuietDisplayName", L"QuietUninstallString");
  Program(L"NameOnly", L"App", L"Maker", L"DisplayName", L"Publisher");
  Program(L"EmptyName", L"", L"C:\\Gone\\e.exe");
  Machine().SetText(Entry(L"EmptyName"), L"QuietDisplayName", L"App");
  Program(L"Crowded", L"App", L"C:\\Gone\\c.exe");
  for (int i = 0; i < 2000; ++i)
    Machine().SetDword(Entry(L"Crowded"), L"Value" + std::to_wstring(i), static_cast<DWORD>(i));

  Scan_UninstallErr(host_, system_);
  Rows expected;
  for (const auto* stale : {L"vopt lower", L"NoValues", L"Number", L"BadPath", L"NotAPath",
                            L"Removed", L"Quiet", L"Crowded"})
    expected.push_back(MachineRow(Entry(stale), L"", L"无效的反安装信息"));
  EXPECT_EQ(Sorted(host_.rows), Sorted(expected));
  // Messages run once before each entry that is looked at ("Vopt Tools" is not).
  EXPECT_EQ(std::count(host_.events.begin(), host_.events.end(), 'p'), 19);
}

// Each entry that works, or cannot be judged, beside its stale twin, which is still found.
TEST_F(UninstallScanTest, EntriesThatWorkAreNeverReported) {
  const std::wstring programFiles = MakeFolder(L"Program Files");
  const std::wstring common = MakeFolder(L"Program Files\\Common Files");
  const std::wstring windows = host_.environment.WinDir;
  MakeFile(L"Program Files\\App\\uninst.exe");
  MakeFile(L"Program Files\\Common Files\\App\\uninst.exe");
  MakeFile(L"Windows\\App\\uninst.exe");
  MakeFile(L"Windows\\System32\\msiexec.exe");
  // The folder variables and their 64-bit Windows twins, all in the test's folder.
  for (const wchar_t* name : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"})
    SetVariable(name, programFiles);
  for (const wchar_t* name :
       {L"CommonProgramFiles", L"CommonProgramW6432", L"CommonProgramFiles(x86)"})
    SetVariable(name, common);
  SetVariable(L"SystemRoot", windows);
  SetVariable(L"windir", windows);
  DriveTypes({{L"R:\\", DRIVE_REMOVABLE},
              {L"Q:\\", DRIVE_NO_ROOT_DIR},
              {L"S:\\", DRIVE_CDROM},
              {L"N:\\", DRIVE_REMOTE}});
  const struct {
    const wchar_t* name;
    std::wstring command;
    bool wide;
    bool reported;
  } programs[] = {
      {L"EnvQuoted", L"\"%ProgramFiles%\\App\\uninst.exe\" /S", false, false},
      {L"EnvQuotedGone", L"\"%ProgramFiles%\\Gone\\uninst.exe\" /S", false, true},
      {L"Root", L"%SystemRoot%\\App\\uninst.exe", false, false},
      {L"RootGone", L"%SystemRoot%\\Gone\\uninst.exe", false, true},
      {L"WinDir", L"%windir%\\App\\uninst.exe /x", false, false},
      {L"WinDirGone", L"%windir%\\Gone\\uninst.exe /x", false, true},
      {L"Common", L"\"%CommonProgramFiles%\\App\\uninst.exe\"", false, false},
      {L"CommonGone", L"\"%CommonProgramFiles%\\Gone\\uninst.exe\"", false, true},
      {L"Unset", L"%ZephraUnset%\\Gone\\uninst.exe", false, false},
      {L"Usb", L"R:\\Setup\\uninst.exe", false, false},
      {L"Away", L"Q:\\Setup\\uninst.exe", false, false},
      {L"CD", L"S:\\Setup\\uninst.exe", false, false},
      {L"Mapped", L"N:\\Setup\\uninst.exe", false, false},
      {L"Share", L"\\\\server\\share\\uninst.exe", false, false},
      {L"Thai", programFiles + L"\\\u0E01\\uninst.exe", true, false},
      {L"Plain", programFiles + L"\\Gone\\uninst.exe", true, true},
  };
  for (const auto& p : programs) {
    Machine().SetText(Entry(p.name), L"DisplayName", L"App");
    if (p.wide)
      Machine().SetWideText(Entry(p.name), L"UninstallString", p.command, REG_EXPAND_SZ);
    else
      Machine().SetText(Entry(p.name), L"UninstallString", p.command, REG_EXPAND_SZ);
  }
  // Entries of one value.
  const struct {
    const wchar_t* name;
    std::wstring text;
    bool reported;
  } lone[] = {
      {L"LoneMsi", L"MsiExec.exe /X{12345678-1234}", false},
      {L"LoneEnv", L"%ProgramFiles%\\App\\uninst.exe", false},
      {L"LoneEnvGone", L"%ProgramFiles%\\Gone\\uninst.exe", true},
      {L"LoneShare", L"\\\\server\\share\\uninst.exe", false},
      {L"LoneUsb", L"R:\\Setup\\uninst.exe", false},
      {L"LoneFloppy", L"A:\\Setup\\uninst.exe", false},
      {L"LoneWord", L"App", true},
  };
  for (const auto& l : lone)
    Machine().SetText(Entry(l.name), L"UninstallString", l.text, REG_EXPAND_SZ);

  Scan_UninstallErr(host_, system_);
  Rows expected;
  for (const auto& p : programs)
    if (p.reported) expected.push_back(MachineRow(Entry(p.name), L"", L"无效的反安装信息"));
  for (const auto& l : lone)
    if (l.reported) expected.push_back(MachineRow(Entry(l.name), L"", L"无效的反安装信息"));
  EXPECT_EQ(Sorted(host_.rows), Sorted(expected));
}

}  // namespace

// Empty application keys, help files, fonts and shared-DLL counts (check rows 0, 3, 6 and 4),
// each against private trees and folders.
#include "checker/scanners/SoftwareScans.h"

#include <gtest/gtest.h>

#include "checker/scanners/SharedDllScan.h"
#include "list_scan_fixture.h"

namespace {

constexpr const wchar_t* kHelp = kHelpKey;
constexpr const wchar_t* kHtmlHelp = kHtmlHelpKey;
constexpr const wchar_t* kFonts = kFontsKey;
constexpr const wchar_t* kSharedDlls = kSharedDllsKey;

using SoftwareScanTest = ListScanTest;

TEST_F(SoftwareScanTest, EmptyKeysAreReportedUnlessTheMachineKeyOfTheNameHasContent) {
  for (const auto* name : {L"Empty", L"Secure", L"Filled", L"Other", L"Parent"})
    Machine().MakeKey(std::wstring(L"Software\\") + name);
  Machine().SetText(L"Software\\Filled", L"v", L"");
  Machine().SetDword(L"Software\\Other", L"n", 0);
  Machine().MakeKey(L"Software\\Parent\\Child");
  Machine().SetText(L"Software\\Defaulted", L"", L"x");
  MakeUnspellableKey(Machine(), L"Software");
  // Below the user: "filled" differs from the machine's name in case, "Other" has content on the
  // machine, "Empty" is empty on both, "Secure" is a machine key (even an empty one counts).
  for (const auto* name : {L"filled", L"Other", L"Empty", L"Secure", L"Own", L"Alone"})
    User().MakeKey(std::wstring(L"Software\\") + name);
  User().SetDword(L"Software\\Own", L"n", 1);
  MakeUnspellableKey(User(), L"Software");
  // The machine's other registry view (64-bit Windows): its keys with content count, its empty
  // keys are not reported.
  const testing_support::TestKey other;
  other.SetText(L"Software\\Only64", L"v", L"x");
  other.MakeKey(L"Software\\Empty64");
  const registry::Key otherView = registry::Key::Open(other.Root(), other.Path());
  system_.OtherMachineViews = {{otherView.Get(), 0}};
  User().MakeKey(L"Software\\Only64");
  User().MakeKey(L"Software\\Empty64");

  Scan_SoftwareErr(host_, system_);
  EXPECT_EQ(Sorted(host_.rows), Sorted({MachineRow(L"Software\\Empty", L"", L"无效软件"),
                                        UserRow(L"Software\\Alone", L"无效软件"),
                                        UserRow(L"Software\\Empty", L"无效软件"),
                                        UserRow(L"Software\\Empty64", L"无效软件"),
                                        UserRow(L"Software\\filled", L"无效软件")}));
  EXPECT_EQ(host_.rows.front().Item, L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(host_.events, "rprprprprp");
}

TEST_F(SoftwareScanTest, AUserKeySecureIsReportedWhenTheMachineHasNone) {
  User().MakeKey(L"Software\\Secure");
  Scan_SoftwareErr(host_, system_);
  EXPECT_EQ(host_.rows, (Rows{UserRow(L"Software\\Secure", L"无效软件")}));
}

TEST_F(SoftwareScanTest, HelpFilesAreLookedForInTheFolderTheirValueNames) {
  const std::wstring help = MakeFolder(L"Help");
  MakeFile(L"Help\\there.hlp");
  MakeFile(L"Windows\\Help\\system.chm");
  // WinDir with a small drive letter, so that "upper.chm" differs from it only there.
  host_.environment.WinDir[0] = L'c';
  const std::wstring winHelp = host_.environment.WinDir + L"\\Help";
  const std::wstring upper = L"C" + winHelp.substr(1);
  struct Case {
    const wchar_t* key;
    const wchar_t* name;
    std::wstring folder;
  } const cases[] = {
      {kHelp, L"there.hlp", help},         {kHelp, L"gone.hlp", help},
      {kHelp, L"", help + L"\\"},          {kHelp, L"unset.hlp", L"%ZephraUnset%\\Help"},
      {kHelp, L"floppy.hlp", L"A:\\Help"}, {kHtmlHelp, L"gone.chm", help},
      {kHtmlHelp, L"other.chm", winHelp},  {kHtmlHelp, L"system.chm", winHelp},
      {kHtmlHelp, L"upper.chm", upper},
  };
  for (const Case& c : cases) Machine().SetText(c.key, c.name, c.folder);
  Machine().SetRaw(kHelp, L"binary.hlp", REG_BINARY, "C:\\");

  Scan_HelpErr(host_, system_);
  EXPECT_EQ(Sorted(host_.rows),
            Sorted({MachineRow(kHelp, L"gone.hlp", L"无效帮助" + help + L"\\"),
                    MachineRow(kHelp, L"@D_e_f_a_u_l_t", L"无效帮助" + help + L"\\"),
                    MachineRow(kHtmlHelp, L"gone.chm", L"无效帮助" + help + L"\\"),
                    MachineRow(kHtmlHelp, L"upper.chm", L"无效帮助" + upper + L"\\")}));
  EXPECT_EQ(host_.events, "rprprprp");
}

// Each help file that is there, or cannot be judged, beside its stale twin, which is still found.
TEST_F(SoftwareScanTest, HelpFilesThatAreThereAreNeverReported) {
  const std::wstring help = MakeFolder(L"Help");
  MakeFile(L"Help\\there.hlp");
  SetVariable(L"ZephraHelp", help);
  const struct {
    const wchar_t* name;
    std::wstring folder;
    bool wide;
    bool reported;
  } cases[] = {
      {L"there.hlp", L"%ZephraHelp%", false, false},
      {L"gone.hlp", L"%ZephraHelp%\\", false, true},
      {L"root.hlp", L"%SystemRoot%\\ZephraGone", false, true},
      {L"usb.hlp", L"R:\\Help", false, false},
      {L"away.hlp", L"Q:\\Help", false, false},
      {L"cd.hlp", L"S:\\Help", false, false},
      {L"\u0E01.hlp", help, true, false},
      {L"plain.hlp", help, true, true},
  };
  for (const auto& c : cases) {
    if (c.wide)
      Machine().SetWideText(kHelp, c.name, c.folder, REG_EXPAND_SZ);
    else
      Machine().SetText(kHelp, c.name, c.folder, REG_EXPAND_SZ);
  }
  DriveTypes({{L"R:\\", DRIVE_REMOVABLE}, {L"Q:\\", DRIVE_NO_ROOT_DIR}, {L"S:\\", DRIVE_CDROM}});

  Scan_HelpErr(host_, system_);
  Rows expected;
  for (const auto& c : cases)
    if (c.reported) {
      const std::wstring folder = c.folder.back() == L'\\' ? c.folder : c.folder + L"\\";
      expected.push_back(MachineRow(kHelp, c.name, L"无效帮助" + folder));
    }
  EXPECT_EQ(Sorted(host_.rows), Sorted(expected));
}

// Each font that is there, or cannot be judged, beside its stale twin, which is still found.
TEST_F(SoftwareScanTest, FontsThatAreThereAreNeverReported) {
  const std::wstring fonts = MakeFolder(L"Fonts");
  MapSpecialFolder(20, fonts);
  const std::wstring other = MakeFolder(L"Other");
  MakeFile(L"Other\\outside.ttf");
  SetVariable(L"ZephraOther", other);
  const struct {
    const wchar_t* name;
    std::wstring file;
    bool wide;
    bool reported;
  } cases[] = {
      {L"Env", L"%ZephraOther%\\outside.ttf", false, false},
      {L"EnvGone", L"%ZephraOther%\\gone.ttf", false, true},
      {L"Unset", L"%ZephraUnset%\\gone.ttf", false, false},
      {L"Usb", L"R:\\Fonts\\a.ttf", false, false},
      {L"Away", L"Q:\\Fonts\\a.ttf", false, false},
      {L"Share", L"\\\\server\\fonts\\a.ttf", false, false},
      {L"Thai", L"\u0E01.ttf", true, false},
      {L"Plain", L"plain.ttf", true, true},
  };
  for (const auto& c : cases) {
    if (c.wide)
      Machine().SetWideText(kFonts, c.name, c.file);
    else
      Machine().SetText(kFonts, c.name, c.file, REG_EXPAND_SZ);
  }
  DriveTypes({{L"R:\\", DRIVE_REMOVABLE}, {L"Q:\\", DRIVE_NO_ROOT_DIR}});

  Scan_FontErr(host_, system_);
  Rows expected;
  for (const auto& c : cases)
    if (c.reported) expected.push_back(MachineRow(kFonts, c.name, L"无效字体" + c.file));
  EXPECT_EQ(Sorted(host_.rows), Sorted(expected));
}

TEST_F(SoftwareScanTest, FontsAreLookedForInTheFontsFolderThenAsTheyAreWritten) {
  const std::wstring fonts = MakeFolder(L"Fonts");
  MapSpecialFolder(20, fonts);
  MakeFile(L"Fonts\\inside.ttf");
  const std::wstring elsewhere = MakeFile(L"Other\\outside.ttf");
  const std::wstring longName(400, L'长');
  Machine().SetText(kFonts, L"Inside", L"inside.ttf");
  Machine().SetText(kFonts, L"Outside", elsewhere);
  Machine().SetText(kFonts, L"Gone", L"gone.ttf");
  Machine().SetText(kFonts, L"Empty", L"");
  Machine().SetDword(kFonts, L"Number", 7);
  Machine().SetText(kFonts, longName, L"长.ttf");

  Scan_FontErr(host_, system_);
  Rows expected = {
      MachineRow(kFonts, L"Gone", L"无效字体gone.ttf"), MachineRow(kFonts, L"Empty", L"无效字体"),
      MachineRow(kFonts, L"Number", L"无效字体"), MachineRow(kFonts, longName, L"无效字体长.ttf")};
  EXPECT_EQ(Sorted(host_.rows), Sorted(expected));
  EXPECT_EQ(host_.events, "rprprprp");
}

TEST_F(SoftwareScanTest, WithoutAFontsFolderTheWindowsFontsFolderIsAsked) {
  MakeFile(L"Windows\\Fonts\\simsun.ttc");
  Machine().SetText(kFonts, L"SimSun", L"simsun.ttc");
  Scan_FontErr(host_, system_);
  EXPECT_EQ(host_.rows, Rows());
}

TEST_F(SoftwareScanTest, SharedDllsWithACountOfZeroAreReportedWithoutLettingMessagesRun) {
  Machine().SetDword(kSharedDlls, L"C:\\zero.dll", 0);
  Machine().SetText(kSharedDlls, L"C:\\text.dll", L"0");
  Machine().SetText(kSharedDlls, L"C:\\padded.dll", L" 00");
  Machine().SetText(kSharedDlls, L"C:\\abc.dll", L"abc");
  Machine().SetText(kSharedDlls, L"C:\\empty.dll", L"");
  Machine().SetText(kSharedDlls, L"C:\\hex.dll", L"0x0");
  Machine().SetDword(kSharedDlls, L"C:\\two.dll", 2);
  Machine().SetRaw(kSharedDlls, L"C:\\binary.dll", REG_BINARY, std::string(4, '\0'));
  Machine().SetRaw(kSharedDlls, L"C:\\short.dll", REG_DWORD, std::string(2, '\0'));
  Machine().SetDword(kSharedDlls, L"", 0);

  Scan_DLLerr(host_, system_);
  EXPECT_EQ(Sorted(host_.rows),
            Sorted({MachineRow(kSharedDlls, L"C:\\zero.dll", L"", DllImage),
                    MachineRow(kSharedDlls, L"C:\\text.dll", L"", DllImage),
                    MachineRow(kSharedDlls, L"C:\\padded.dll", L"", DllImage),
                    MachineRow(kSharedDlls, L"@D_e_f_a_u_l_t", L"", DllImage)}));
  EXPECT_EQ(host_.events, "rrrr");
}

}  // namespace

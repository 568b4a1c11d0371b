// Context-menu handlers, shell verbs and Start-menu order entries (check row 1), against
// private trees and folders.
#include "checker/scanners/MenuScans.h"

#include <gtest/gtest.h>

#include "list_scan_fixture.h"

namespace {

constexpr wchar_t kFolderClass[] = L"Software\\CLASSES\\Folder";
constexpr wchar_t kOrder[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs";

class MenuScanTest : public ListScanTest {
 protected:
  void Verb(const std::wstring& klass, const std::wstring& verb, const std::wstring& command) {
    const std::wstring key = L"Software\\CLASSES\\" + klass + L"\\shell\\" + verb;
    if (command.empty())
      Machine().MakeKey(key);
    else
      Machine().SetText(key + L"\\command", L"", command);
  }
  ScanResultRow VerbRow(const std::wstring& klass, const std::wstring& verb) {
    return MachineRow(L"Software\\CLASSES\\" + klass + L"\\shell\\" + verb, L"", verb);
  }
};

TEST_F(MenuScanTest, HandlersWhoseClassIsNotRegisteredAreReported) {
  const std::wstring handlers = std::wstring(kFolderClass) + L"\\shellex\\ContextMenuHandlers";
  Machine().MakeKey(L"Software\\CLASSES\\CLSID\\{AAAA}");
  Machine().MakeKey(L"Software\\CLASSES\\CLSID\\{BBBB}");
  Machine().SetText(handlers + L"\\Known", L"", L"{AAAA}");
  Machine().SetText(handlers + L"\\{BBBB}", L"", L"{CCCC}");  // the name is the class
  Machine().SetText(handlers + L"\\Stale", L"", L"{CCCC}");
  Machine().MakeKey(handlers + L"\\NoDefault");
  Machine().SetText(handlers + L"\\EmptyDefault", L"", L"");

  Scan_ShellExErr(host_, L"Folder", system_);
  EXPECT_EQ(host_.rows, Rows{MachineRow(handlers + L"\\Stale", L"", L"Stale")});
  EXPECT_EQ(host_.events, "rp");
}

TEST_F(MenuScanTest, VerbsWithNothingBelowThemOrAMissingProgramAreReported) {
  const std::wstring tool = MakeFile(L"Tools\\edit.exe");
  const std::wstring script = MakeFile(L"Tools\\edit.cmd");
  const struct {
    const wchar_t* verb;
    std::wstring command;  // empty: the verb key has no subkey at all
    bool reported;
  } cases[] = {
      {L"bare", L"", true},
      {L"quoted", L"\"" + tool + L"\" \"%1\"", false},
      {L"upper", tool.substr(0, tool.size() - 4) + L".EXE %1", false},
      {L"missing", L"C:\\Gone\\app.exe /open \"%1\"", true},
      {L"missingbare", L"C:\\Gone\\app.exe", true},
      {L"noexe", L"C:\\Gone\\script.bat %1", true},
      {L"quotedscript", L"\"" + script + L"\" \"%1\"", false},
      {L"nocolon", L"notepad.exe %1", false},
      {L"relative", L"rundll32.exe C:\\Gone\\x.dll,Run %1", false},
      {L"expand", L"\"%ProgramFiles%\\Gone\\x.exe\" /prefetch:1", true},
      {L"colononly", L"\":\"", false},
  };
  for (const auto& c : cases) Verb(L"Directory", c.verb, c.command);
  Machine().MakeKey(L"Software\\CLASSES\\Directory\\shell\\other\\ddeexec");
  MakeUnspellableKey(Machine(), L"Software\\CLASSES\\Directory\\shell");

  Scan_ShellExErr(host_, L"Directory", system_);
  Rows expected;
  for (const auto& c : cases)
    if (c.reported) expected.push_back(VerbRow(L"Directory", c.verb));
  EXPECT_EQ(Sorted(host_.rows), Sorted(expected));
  EXPECT_EQ(host_.events, "rprprprprp");
}

// On 64-bit Windows a handler's class may be registered in the other registry view only: each
// outcome with the class in one view, in the other, in none, and with one view only.
TEST_F(MenuScanTest, HandlersAreLookedUpInEveryRegistryView) {
  const std::wstring handlers = std::wstring(kFolderClass) + L"\\shellex\\ContextMenuHandlers";
  Machine().MakeKey(L"Software\\CLASSES\\CLSID\\{AAAA}");
  const testing_support::TestKey other;
  other.MakeKey(L"Software\\CLASSES\\CLSID\\{BBBB}");
  other.MakeKey(L"Software\\CLASSES\\CLSID\\ByName");
  Machine().SetText(handlers + L"\\InOwn", L"", L"{AAAA}");
  Machine().SetText(handlers + L"\\InOther", L"", L"{BBBB}");
  Machine().SetText(handlers + L"\\ByName", L"", L"{CCCC}");
  Machine().SetText(handlers + L"\\InNone", L"", L"{CCCC}");
  const registry::Key otherView = registry::Key::Open(other.Root(), other.Path());

  system_.OtherMachineViews = {{otherView.Get(), 0}};
  Scan_ShellExErr(host_, L"Folder", system_);
  EXPECT_EQ(host_.rows, Rows{MachineRow(handlers + L"\\InNone", L"", L"InNone")});

  host_.rows.clear();
  system_.OtherMachineViews.clear();  // 32-bit Windows: one view
  Scan_ShellExErr(host_, L"Folder", system_);
  EXPECT_EQ(Sorted(host_.rows), Sorted({MachineRow(handlers + L"\\InOther", L"", L"InOther"),
                                        MachineRow(handlers + L"\\ByName", L"", L"ByName"),
                                        MachineRow(handlers + L"\\InNone", L"", L"InNone")}));

  // The program's default: the other view of 64-bit Windows, the 32-bit one for a 64-bit build.
#ifdef _WIN64
  EXPECT_EQ(ListScanSystem::DefaultOtherMachineViews().size(), 1u);
  EXPECT_EQ(ListScanSystem::DefaultOtherMachineViews()[0].flags,
            static_cast<REGSAM>(KEY_WOW64_32KEY));
#endif
}

// Each verb that works, or cannot be judged, beside its stale twin, which is still found.
TEST_F(MenuScanTest, VerbsThatWorkAreNeverReported) {
  const std::wstring folder = MakeFolder(L"Apps");
  MakeFile(L"Apps\\tidy.cmd");
  MakeFile(L"Apps\\tool.exe");
  SetVariable(L"ZephraApps", folder);
  const struct {
    const wchar_t* verb;
    std::wstring command;
    bool wide;
    bool reported;
  } cases[] = {
      {L"cmd", folder + L"\\tidy.cmd \"%1\"", false, false},
      {L"cmdgone", folder + L"\\gone.cmd \"%1\"", false, true},
      {L"upper", folder + L"\\TOOL.EXE C:\\Notes\\TODO.TXT", false, false},
      {L"args", folder + L"\\tool.exe C:\\Notes\\todo.txt", false, false},
      {L"argsgone", folder + L"\\gone.exe C:\\Notes\\todo.txt", false, true},
      {L"env", L"\"%ZephraApps%\\tool.exe\" \"%1\"", false, false},
      {L"envgone", L"\"%ZephraApps%\\gone.exe\" \"%1\"", false, true},
      {L"root", L"%SystemRoot%\\notepad.exe %1", false, false},
      {L"windir", L"%windir%\\ZephraGone\\app.exe %1", false, true},
      {L"usb", L"R:\\Gone\\app.exe %1", false, false},
      {L"away", L"Q:\\Gone\\app.exe %1", false, false},
      {L"thai", folder + L"\\\u0E01.exe %1", true, false},
      {L"plain", folder + L"\\gone2.exe %1", true, true},
  };
  for (const auto& c : cases) {
    const std::wstring key = L"Software\\CLASSES\\*\\shell\\" + std::wstring(c.verb) + L"\\command";
    if (c.wide)
      Machine().SetWideText(key, L"", c.command);
    else
      Machine().SetText(key, L"", c.command, REG_EXPAND_SZ);
  }
  // No command, and a value that carries the verb.
  for (const wchar_t* value : {L"DelegateExecute", L"ExplorerCommandHandler", L"DropTarget"})
    Machine().SetText(L"Software\\CLASSES\\*\\shell\\by" + std::wstring(value), value, L"{1234}");
  Verb(L"*", L"bare", L"");
  DriveTypes({{L"R:\\", DRIVE_REMOVABLE}, {L"Q:\\", DRIVE_NO_ROOT_DIR}});

  Scan_ShellExErr(host_, L"*", system_);
  Rows expected = {VerbRow(L"*", L"bare")};
  for (const auto& c : cases)
    if (c.reported) expected.push_back(VerbRow(L"*", c.verb));
  EXPECT_EQ(Sorted(host_.rows), Sorted(expected));
}

TEST_F(MenuScanTest, TheRowScansTheFourClassesInOrderThenTheMenuOrder) {
  for (const auto* klass : {L"Folder", L"Drive", L"Directory", L"*", L"Other"})
    Verb(klass, L"v", L"");
  MapSpecialFolder(23, MakeFolder(L"Common"));
  User().MakeKey(std::wstring(kOrder) + L"\\Gone");

  ScanMenuEntries(host_, system_);
  EXPECT_EQ(host_.rows,
            (Rows{VerbRow(L"*", L"v"), VerbRow(L"Directory", L"v"), VerbRow(L"Drive", L"v"),
                  VerbRow(L"Folder", L"v"), UserRow(std::wstring(kOrder) + L"\\Gone", L"Gone")}));
}

TEST_F(MenuScanTest, MenuOrderEntriesAreComparedWithTheProgramsFoldersOfTheVersion) {
  MakeFolder(L"User\\Games");
  MakeFolder(L"Common\\Tools");
  MakeFolder(L"Common\\Office");
  MapSpecialFolder(2, PathOf(L"User"));
  MapSpecialFolder(23, PathOf(L"Common"));
  MakeFolder(L"Common\\Hidden");
  SetFileAttributesW(PathOf(L"Common\\Hidden").c_str(), FILE_ATTRIBUTE_SYSTEM);
  MakeFile(L"Common\\Notes");
  for (const auto* entry : {L"Menu", L"Games", L"Tools", L"office", L"Hidden", L"Notes"})
    User().MakeKey(std::wstring(kOrder) + L"\\" + entry);
  const std::wstring orders[] = {
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs"};
  for (const std::wstring& order : orders) User().MakeKey(order + L"\\Gone");

  const struct {
    int major;
    std::vector<const wchar_t*> reported;
  } versions[] = {{4, {L"Tools", L"office", L"Hidden", L"Notes"}},
                  {5, {L"office", L"Hidden", L"Notes"}},
                  {6, {L"Games", L"office", L"Hidden", L"Notes"}}};
  for (const auto& version : versions) {
    host_.rows.clear();
    host_.environment.MajorVersion = version.major;
    Scan_MenuOrderErr(host_, system_);
    Rows expected;
    for (const wchar_t* entry : version.reported)
      expected.push_back(UserRow(std::wstring(kOrder) + L"\\" + entry, entry));
    for (const std::wstring& order : orders)
      expected.push_back(UserRow(order + L"\\Gone", L"Gone"));
    EXPECT_EQ(Sorted(host_.rows), Sorted(expected)) << "major version " << version.major;
  }
  // The folders are read with messages let run meanwhile.
  EXPECT_EQ(host_.events.substr(0, 2), "pp");
}

TEST_F(MenuScanTest, AnEntryWhoseNameTheCodePageCannotHoldIsNotJudged) {
  MapSpecialFolder(23, MakeFolder(L"Common"));
  MakeUnspellableKey(User(), kOrder);
  User().MakeKey(std::wstring(kOrder) + L"\\Gone");
  Scan_MenuOrderErr(host_, system_);
  EXPECT_EQ(host_.rows, Rows{UserRow(std::wstring(kOrder) + L"\\Gone", L"Gone")});
}

TEST_F(MenuScanTest, WithoutItsProgramsFolderNoEntryIsJudged) {
  User().MakeKey(std::wstring(kOrder) + L"\\Tools");
  MapSpecialFolder(23, PathOf(L"Missing"));
  Scan_MenuOrderErr(host_, system_);
  host_.environment.MajorVersion = 5;  // the common folder is there, the user's is not
  MapSpecialFolder(23, MakeFolder(L"Common"));
  Scan_MenuOrderErr(host_, system_);
  EXPECT_EQ(host_.rows, Rows());
}

}  // namespace

// The registry reference scanner and the class registration scanner, run as the worker threads
// they are, over private key trees standing in for the roots they scan, on a made-up disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "MadeUpDisk.h"
#include "checker/scanners/HandOff.h"
#include "checker/scanners/TarqChkRegClassErr.h"
#include "checker/scanners/TarqChkRegErr.h"
#include "support/registry.h"
#include "support/testing.h"

namespace {

using testing_support::TestKey;
using testing_support::WaitFor;

// What a scanner thread showed, gathered in the test's (UI) thread.
struct Outcome {
  std::vector<ScanResultRow> rows;
  std::vector<std::wstring> statuses;
  bool done = false;
};

// Runs a scanner thread to its end while this thread serves its hand-offs. `onRow` runs after
// each row has been taken, in this thread.
Outcome RunToEnd(std::unique_ptr<TScanThread> thread,
                 const std::function<void(const ScanThreadRef&, Outcome&)>& onRow = nullptr) {
  HandOffServer server;
  Outcome outcome;
  ScanThreadRef ref;
  ScanThreadLink link;
  link.handOff = server.Channel();
  link.ShowStatus = [&](const std::wstring& text) { outcome.statuses.push_back(text); };
  link.AddRow = [&](const ScanResultRow& row) {
    outcome.rows.push_back(row);
    if (onRow) onRow(ref, outcome);
  };
  link.Done = [&] { outcome.done = true; };
  ref = TScanThread::Start(std::move(thread), link);
  EXPECT_TRUE(WaitFor([&] { return outcome.done; }, 60000));
  return outcome;
}

// Rows as texts "item|location|key name|description|image", sorted: the order in which a walk
// meets keys is the registry's.
std::vector<std::wstring> Sorted(const std::vector<ScanResultRow>& rows) {
  std::vector<std::wstring> texts;
  for (const ScanResultRow& row : rows)
    texts.push_back(row.Item + L"|" + row.Location + L"|" + row.KeyName + L"|" + row.Description +
                    L"|" + std::to_wstring(row.ImageIndex));
  std::sort(texts.begin(), texts.end());
  return texts;
}

std::unique_ptr<TChkRegErr> ReferenceScanner(const TestKey& tree, const wchar_t* rootName,
                                             MadeUpDisk& disk) {
  return std::make_unique<TChkRegErr>(TChkRegErr::Start{tree.Root(), tree.Path(), rootName},
                                      L"C:\\Windows", disk.Queries());
}

constexpr wchar_t kGone[] = L"C:\\Gone\\app.exe";

// Makes a key whose path is longer than one opening may take (Wine's ANSI functions take at most
// 260 characters), one level below the other, and gives it a text value.
void MakeDeepKey(const TestKey& tree, const std::wstring& path, const wchar_t* name,
                 const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(tree.Root(), tree.Path().c_str(), 0, KEY_ALL_ACCESS, &key), 0);
  for (size_t start = 0; start <= path.size();) {
    const size_t end = std::min(path.find(L'\\', start), path.size());
    HKEY next = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key, path.substr(start, end - start).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &next, nullptr),
              0);
    RegCloseKey(key);
    key = next;
    start = end + 1;
  }
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

TEST(TChkRegErr, LeavesTheSkippedKeysOutWithTheirSubkeys) {
  TestKey tree;
  MadeUpDisk disk;
  for (const wchar_t* key :
       {L"Software\\cLaSsEs\\App", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\X",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\UninstallX",
        L"System\\CurrentControlSet\\Control\\Time Zones\\Pacific", L"Apps\\Rational Rose\\Bin",
        L"Software\\Wow6432Node\\App", L"Software\\Vendor\\App"})
    tree.SetText(key, L"Path", kGone);

  const Outcome outcome = RunToEnd(ReferenceScanner(tree, L"HKEY_LOCAL_MACHINE", disk));
  EXPECT_EQ(
      Sorted(outcome.rows),
      Sorted({{L"HKEY_LOCAL_MACHINE", L"Software\\Microsoft\\Windows\\CurrentVersion\\UninstallX",
               L"Path", kGone, 0},
              {L"HKEY_LOCAL_MACHINE", L"Software\\Vendor\\App", L"Path", kGone, 0}}));
  for (const std::wstring& status : outcome.statuses)
    EXPECT_EQ(status.rfind(L"扫描：HKEY_LOCAL_MACHINE\\", 0), 0u) << testing::PrintToString(status);

  // Below a user's SID only the contained texts count: the user's classes are walked.
  TestKey users;
  for (const wchar_t* key :
       {L"S-1-5-21-7\\Software\\Classes\\App", L"S-1-5-21-7\\Control Panel\\Time Zones"})
    users.SetText(key, L"Path", kGone);
  EXPECT_EQ(Sorted(RunToEnd(ReferenceScanner(users, L"HKEY_USERS", disk)).rows),
            Sorted({{L"HKEY_USERS", L"S-1-5-21-7\\Software\\Classes\\App", L"Path", kGone, 0}}));
}

TEST(TChkRegErr, ReportsValueNamesAndTextsThatAreMissingPaths) {
  TestKey tree;
  MadeUpDisk disk;
  disk.files = {L"c:\\windows\\notepad.exe"};
  const std::wstring deep = L"Deep" + std::wstring(200, L'k');
  std::wstring deepPath = L"Software";
  for (int level = 0; level < 20; ++level) deepPath += L"\\" + deep;

  tree.SetText(L"Software\\Both", kGone, kGone);
  tree.SetText(L"Software\\Default", L"", L"C:\\Gone\\default.dll");
  tree.SetText(L"Software\\Blank", L" ", L"C:\\Gone\\blank.exe");
  tree.SetText(L"Software\\Run", L"App", L"\t C:\\Gone\\app.exe /s \r\n");
  tree.SetText(L"Software\\Expand", L"Stored", L"C:\\Gone\\stored.exe", REG_EXPAND_SZ);
  tree.SetRaw(L"Software\\Odd", L"Unterminated", REG_SZ, "C:\\Gone\\odd.exe");
  MakeDeepKey(tree, deepPath, L"Path", kGone);
  // None of these is a stale reference on a local fixed drive.
  tree.SetText(L"Software\\Fine", L"Exists", L"C:\\Windows\\notepad.exe /p");
  tree.SetText(L"Software\\Fine", L"Variable", L"%ProgramFiles%\\Gone\\app.exe", REG_EXPAND_SZ);
  tree.SetText(L"Software\\Fine", L"CD", L"E:\\Setup\\gone.exe");
  tree.SetText(L"Software\\Fine", L"Network", L"\\\\server\\share\\gone.exe");
  tree.SetText(L"Software\\Fine", L"Icon", L"C:\\Windows\\gone.dll,3");
  tree.SetRaw(L"Software\\Fine", L"Binary", REG_BINARY, "C:\\Gone\\binary.exe");
  tree.SetDword(L"Software\\Fine", L"Number", 7);

  const Outcome outcome = RunToEnd(ReferenceScanner(tree, L"HKEY_CURRENT_USER", disk));
  const wchar_t* root = L"HKEY_CURRENT_USER";
  EXPECT_EQ(Sorted(outcome.rows),
            Sorted({{root, L"Software\\Both", kGone, L"", 0},
                    {root, L"Software\\Both", kGone, kGone, 0},
                    {root, L"Software\\Default", kDefaultValueName, L"C:\\Gone\\default.dll", 0},
                    {root, L"Software\\Blank", L" ", L"C:\\Gone\\blank.exe", 0},
                    {root, L"Software\\Run", L"App", L"C:\\Gone\\app.exe /s", 0},
                    {root, L"Software\\Expand", L"Stored", L"C:\\Gone\\stored.exe", 0},
                    {root, L"Software\\Odd", L"Unterminated", L"C:\\Gone\\odd.exe", 0},
                    {root, deepPath, L"Path", kGone, 0}}));
}

// Windows Installer's own records, below any root and any user's SID, are not walked; a key
// merely named like them is.
TEST(TChkRegErr, LeavesWindowsInstallerRecordsOut) {
  TestKey users;
  MadeUpDisk disk;
  const wchar_t* installer[] = {
      L"S-1-5-21-7_Classes\\Installer\\Products\\ABC\\SourceList",
      L"S-1-5-21-7\\Software\\Classes\\Installer\\Products\\ABC\\SourceList\\Net",
      L"S-1-5-21-7\\Software\\Microsoft\\Installer\\Products\\ABC",
      L"S-1-5-18\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData",
      L".DEFAULT\\Software\\Classes\\Installer\\Features\\ABC",
  };
  for (const wchar_t* key : installer) users.SetText(key, L"1", L"C:\\Downloads\\Gone\\");
  users.SetText(L"S-1-5-21-7\\Software\\Vendor\\Installer Cache", L"Path", kGone);
  users.SetText(L"S-1-5-21-7\\Software\\Vendor\\Installer", L"Path", kGone);
  EXPECT_EQ(
      Sorted(RunToEnd(ReferenceScanner(users, L"HKEY_USERS", disk)).rows),
      Sorted({{L"HKEY_USERS", L"S-1-5-21-7\\Software\\Vendor\\Installer Cache", L"Path", kGone, 0},
              {L"HKEY_USERS", L"S-1-5-21-7\\Software\\Vendor\\Installer", L"Path", kGone, 0}}));
  TestKey machine;
  machine.SetText(L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",
                  L"C:\\Config.Msi\\", L"");
  machine.SetText(L"Software\\Classes\\Installer\\Products\\ABC", L"1", kGone);
  EXPECT_TRUE(RunToEnd(ReferenceScanner(machine, L"HKEY_LOCAL_MACHINE", disk)).rows.empty());
}

// Each value that works, or cannot be judged, beside its stale twin, which is still found.
TEST(TChkRegErr, NeverReportsAValueThatWorks) {
  TestKey tree;
  MadeUpDisk disk;
  disk.files = {L"c:\\windows\\notepad.exe", L"c:\\tools\\tidy.cmd"};
  disk.variables = {{L"lang", {L"zh"}}};
  const struct {
    const wchar_t* name;
    std::wstring text;
    bool wide;  // written through the wide functions
    bool reported;
  } cases[] = {
      {L"RunArgs", L"C:\\Windows\\notepad.exe C:\\Notes\\todo.txt", false, false},
      {L"RunArgsGone", L"C:\\Gone\\notepad.exe C:\\Notes\\todo.txt", false, true},
      {L"Script", L"C:\\Tools\\tidy.cmd C:\\Notes\\todo.txt", false, false},
      {L"Variable", L"C:\\App\\%Lang%\\strings.dll", false, false},
      {L"CD", L"E:\\Gone\\app.exe", false, false},
      {L"Network", L"F:\\Gone\\app.exe", false, false},
      {L"Away", L"G:\\Gone\\app.exe", false, false},
      {L"Fixed", L"D:\\Gone\\app.exe", false, true},
      {L"Thai", L"C:\\Gone\\\u0E01.exe", true, false},
      {L"Latin", L"C:\\Gone\\\u00C0pp.exe", true, false},
      {L"Plain", L"C:\\Gone\\App.exe", true, true},
  };
  for (const auto& c : cases) {
    if (c.wide)
      tree.SetWideText(L"Software\\Values", c.name, c.text);
    else
      tree.SetText(L"Software\\Values", c.name, c.text, REG_EXPAND_SZ);
  }
  std::vector<ScanResultRow> expected;
  for (const auto& c : cases)
    if (c.reported)
      expected.push_back({L"HKEY_CURRENT_USER", L"Software\\Values", c.name, c.text, 0});
  EXPECT_EQ(Sorted(RunToEnd(ReferenceScanner(tree, L"HKEY_CURRENT_USER", disk)).rows),
            Sorted(expected));
}

TEST(TChkRegErr, AddsNoRowOnceItHasSeenStop) {
  TestKey tree;
  MadeUpDisk disk;
  for (int i = 0; i < 100; ++i) tree.SetText(L"Software\\Key" + std::to_wstring(i), L"Path", kGone);
  size_t rowsAtStop = 0;
  const Outcome outcome = RunToEnd(ReferenceScanner(tree, L"HKEY_CURRENT_USER", disk),
                                   [&](const ScanThreadRef& thread, Outcome& seen) {
                                     if (seen.rows.size() != 3) return;
                                     thread.Terminate();
                                     rowsAtStop = seen.rows.size();
                                   });
  EXPECT_EQ(rowsAtStop, 3u);
  EXPECT_EQ(outcome.rows.size(), 3u);
}

// A class registration tree: `classes` below the test tree stands in for "Software\CLASSES".
struct ClassTree {
  TestKey tree;
  MadeUpDisk disk;

  void Command(const std::wstring& name, const std::wstring& command) const {
    tree.SetText(L"Classes\\" + name + L"\\Shell\\Open\\command", L"", command);
  }
  void Default(const std::wstring& name, const std::wstring& value) const {
    tree.SetText(L"Classes\\" + name, L"", value);
  }

  ClassTree() {
    disk.files = {L"c:\\windows\\notepad.exe"};
    tree.MakeKey(L"Classes\\.empty");
    tree.SetText(L"Classes\\.shellonly\\Shell", L"", L"");
    Command(L".shellonly", L"C:\\Gone\\notepad.exe %1");
    tree.SetText(L"Classes\\.withvalue", L"Content Type", L"text/x");
    Command(L"gonefile", L"C:\\Gone\\app.exe %1");
    Default(L".gf", L"gonefile");
    Default(L".gf2", L"GONEFILE");
    Command(L"okfile", L"\"C:\\Windows\\notepad.exe\" \"%1\"");
    Default(L".ok", L"okfile");
    Command(L"barefile", L"notepad.exe %1");
    Command(L"rundllfile", L"rundll32.exe C:\\Gone\\x.dll,Run %1");
    Command(L"emptycmd", L"");
    tree.MakeKey(L"Classes\\noopen\\Shell\\Edit\\command");
    tree.MakeKey(L"Classes\\shellnosub\\Shell");
    Command(L"twosubs", L"C:\\Gone\\two.exe");
    tree.MakeKey(L"Classes\\twosubs\\DefaultIcon");
    Default(L".nowhere", L"missingclass");
    Default(L".drivepath", L"C:\\Gone\\x");
    Default(L".withsub", L"missingclass2");
    tree.MakeKey(L"Classes\\.withsub\\PersistentHandler");
  }

  Outcome Scan(int majorVersion) {
    return RunToEnd(std::make_unique<TChkRegClassErr>(majorVersion, disk.Queries(), tree.Root(),
                                                      tree.PathOf(L"Classes")));
  }
};

ScanResultRow ClassRow(const std::wstring& name, const std::wstring& what) {
  return {L"HKEY_LOCAL_MACHINE", L"Software\\CLASSES\\" + name, L"", L"错误关联" + what, 0};
}

TEST(TChkRegClassErr, ReportsEmptyExtensionsBrokenClassesAndExtensionsPointingNowhere) {
  ClassTree classes;
  const std::vector<ScanResultRow> common = {
      ClassRow(L".empty", L".empty"),         ClassRow(L".shellonly", L".shellonly"),
      ClassRow(L"gonefile", L"gonefile"),     ClassRow(L"emptycmd", L"emptycmd"),
      ClassRow(L"shellnosub", L"shellnosub"), ClassRow(L".gf", L"gonefile"),
      ClassRow(L".nowhere", L"missingclass")};

  const Outcome five = classes.Scan(5);
  EXPECT_EQ(Sorted(five.rows), Sorted(common));
  for (const std::wstring& status : five.statuses)
    EXPECT_EQ(status.rfind(L"扫描：检查类和文件关联错误   ", 0), 0u)
        << testing::PrintToString(status);

  // Windows 95, 98 and NT 4: extensions with subkeys are checked as well.
  std::vector<ScanResultRow> four = common;
  four.push_back(ClassRow(L".withsub", L"missingclass2"));
  EXPECT_EQ(Sorted(classes.Scan(4).rows), Sorted(four));
}

// Each class registration that works, or cannot be judged, beside its stale twin, which is
// still found.
TEST(TChkRegClassErr, NeverReportsARegistrationThatWorks) {
  TestKey tree;
  MadeUpDisk disk;
  disk.files = {L"c:\\windows\\system32\\rundll32.exe",
                L"c:\\windows\\notepad.exe",
                L"c:\\tools\\tidy.cmd",
                L"c:\\tools\\tidy.bat",
                L"c:\\tools\\tidy.com",
                L"c:\\tools\\tidy.pif",
                L"c:\\tools\\tidy.scr",
                L"c:\\program files\\app\\app.exe"};
  disk.variables = {{L"programfiles", {L"C:\\Program Files"}},
                    {L"systemroot", {L"C:\\Windows"}},
                    {L"windir", {L"C:\\Windows"}},
                    {L"commonprogramfiles", {L"C:\\Program Files\\Common Files"}}};
  const auto command = [&](const std::wstring& name, const std::wstring& line, bool wide = false) {
    if (wide)
      tree.SetWideText(L"Classes\\" + name + L"\\Shell\\Open\\command", L"", line);
    else
      tree.SetText(L"Classes\\" + name + L"\\Shell\\Open\\command", L"", line, REG_EXPAND_SZ);
  };
  const struct {
    const wchar_t* name;
    std::wstring command;
    bool reported;
  } classes[] = {
      {L"rundllfile", L"C:\\WINDOWS\\SYSTEM32\\RUNDLL32.EXE C:\\Viewer\\FOO.DLL,View %1", false},
      {L"rundllgone", L"C:\\GONE\\VIEWER.EXE C:\\Viewer\\FOO.DLL,View %1", true},
      {L"cmdfile1", L"C:\\Tools\\tidy.cmd \"%1\"", false},
      {L"cmdgone", L"C:\\Gone\\tidy.cmd \"%1\"", true},
      {L"batfile1", L"C:\\Tools\\tidy.bat \"%1\"", false},
      {L"comfile1", L"C:\\Tools\\tidy.com %1", false},
      {L"piffile1", L"C:\\Tools\\tidy.pif %1", false},
      {L"scrfile1", L"C:\\Tools\\tidy.scr /S", false},
      {L"scrgone", L"C:\\Gone\\tidy.scr /S", true},
      {L"argsfile", L"C:\\Windows\\notepad.exe C:\\Notes\\todo.txt", false},
      {L"argsgone", L"C:\\Gone\\notepad.exe C:\\Notes\\todo.txt", true},
      {L"unquoted", L"C:\\Program Files\\App\\app.exe %1", false},
      {L"unquotedgone", L"C:\\Program Files\\Gone\\app.exe %1", true},
      {L"envfile", L"\"%ProgramFiles%\\App\\app.exe\" \"%1\"", false},
      {L"envgone", L"\"%ProgramFiles%\\Gone\\app.exe\" \"%1\"", true},
      {L"rootfile", L"%SystemRoot%\\notepad.exe %1", false},
      {L"rootgone", L"%SystemRoot%\\gone.exe %1", true},
      {L"windirfile", L"%windir%\\notepad.exe %1", false},
      {L"commongone", L"%CommonProgramFiles%\\Gone\\app.exe %1", true},
      {L"unsetfile", L"%Unset%\\gone.exe %1", false},
      {L"cdfile", L"E:\\Gone\\app.exe %1", false},
      {L"awayfile", L"G:\\Gone\\app.exe %1", false},
      {L"fixedgone", L"D:\\Gone\\app.exe %1", true},
      // The system's own classes work whatever they hold; their twins above are found.
      {L"Directory", L"C:\\Gone\\app.exe %1", false},
      {L"EXEFILE", L"C:\\Gone\\app.exe \"%1\"", false},
  };
  for (const auto& c : classes) command(c.name, c.command);
  command(L"thaifile", L"C:\\Gone\\\u0E01.exe %1", true);
  command(L"latinfile", L"C:\\Gone\\\u00C0pp.exe %1", true);
  command(L"plaingone", L"C:\\Gone\\App.exe %1", true);
  // An open verb carried by a value, or a command carried by DelegateExecute.
  tree.SetText(L"Classes\\delegated\\Shell\\Open", L"DelegateExecute", L"{11111111-0000}");
  tree.SetText(L"Classes\\handled\\Shell\\Open", L"ExplorerCommandHandler", L"{22222222-0000}");
  tree.SetText(L"Classes\\dropped\\Shell\\Open", L"DropTarget", L"{33333333-0000}");
  tree.MakeKey(L"Classes\\bareopen\\Shell\\Open");  // the twin: an open verb of nothing
  tree.SetText(L"Classes\\delegatedcmd\\Shell\\Open\\command", L"", L"");
  tree.SetText(L"Classes\\delegatedcmd\\Shell\\Open\\command", L"DelegateExecute", L"{4444}");
  tree.SetText(L"Classes\\emptycmd\\Shell\\Open\\command", L"", L"");
  // Extensions registered by their own verbs alone.
  const auto extension = [&](const std::wstring& name, const std::wstring& verb,
                             const std::wstring& line) {
    tree.SetText(L"Classes\\" + name + L"\\Shell", L"", L"");
    tree.SetText(L"Classes\\" + name + L"\\Shell\\Open", L"", L"");
    if (!line.empty())
      tree.SetText(L"Classes\\" + name + L"\\Shell\\" + verb + L"\\command", L"", line);
  };
  extension(L".own", L"Open", L"\"C:\\Windows\\notepad.exe\" \"%1\"");
  extension(L".owngone", L"Open", L"\"C:\\Gone\\app.exe\" \"%1\"");
  extension(L".ownprint", L"Print", L"C:\\Windows\\notepad.exe /p %1");
  extension(L".ownbare", L"Open", L"notepad.exe %1");
  extension(L".ownnothing", L"Open", L"");
  tree.SetText(L"Classes\\.owndelegate\\Shell\\Open", L"DelegateExecute", L"{5555}");
  tree.MakeKey(L"Classes\\.Exe");
  tree.MakeKey(L"Classes\\Folder\\Shell");

  const Outcome outcome = RunToEnd(std::make_unique<TChkRegClassErr>(
      6, disk.Queries(), std::vector<ClassesView>{{tree.Root(), tree.PathOf(L"Classes"), 0}}));
  std::vector<ScanResultRow> expected;
  for (const auto& c : classes)
    if (c.reported) expected.push_back(ClassRow(c.name, c.name));
  for (const wchar_t* name : {L"plaingone", L"bareopen", L"emptycmd", L".owngone", L".ownnothing"})
    expected.push_back(ClassRow(name, name));
  EXPECT_EQ(Sorted(outcome.rows), Sorted(expected));
}

// On 64-bit Windows a class may be registered in the other registry view only: each outcome
// with the class in one view, in the other, in none, and with one view only (32-bit Windows).
TEST(TChkRegClassErr, LooksForClassesInEveryRegistryView) {
  TestKey own, other;
  MadeUpDisk disk;
  own.SetText(L"Classes\\.inown", L"", L"OwnClass");
  own.MakeKey(L"Classes\\OwnClass\\DefaultIcon");
  own.SetText(L"Classes\\.inother", L"", L"OtherClass");
  other.MakeKey(L"Classes\\OtherClass\\DefaultIcon");
  own.SetText(L"Classes\\.innone", L"", L"NoClass");
  const ClassesView ownView = {own.Root(), own.PathOf(L"Classes"), 0};
  const ClassesView otherView = {other.Root(), other.PathOf(L"Classes"), 0};

  const auto scan = [&](std::vector<ClassesView> views) {
    return Sorted(RunToEnd(std::make_unique<TChkRegClassErr>(6, disk.Queries(), views)).rows);
  };
  EXPECT_EQ(scan({ownView, otherView}), Sorted({ClassRow(L".innone", L"NoClass")}));
  EXPECT_EQ(scan({ownView}),
            Sorted({ClassRow(L".innone", L"NoClass"), ClassRow(L".inother", L"OtherClass")}));

  // The program's default: its own view, then the other one of 64-bit Windows.
  const std::vector<ClassesView> views = DefaultClassesViews();
  ASSERT_FALSE(views.empty());
  EXPECT_EQ(views[0].root, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(views[0].flags, 0u);
#ifdef _WIN64
  ASSERT_EQ(views.size(), 2u);
  EXPECT_EQ(views[1].flags, static_cast<REGSAM>(KEY_WOW64_32KEY));
#endif
}

}  // namespace

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
    Command(L".shellonly", L"C:\\Windows\\notepad.exe %1");
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

}  // namespace

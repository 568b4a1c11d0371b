// The repair's second look at a row: for each kind of finding, a stale entry is scanned, its row
// holds again by the same rule, and once the entry changed (it works again, or has other
// content) the row holds no longer.
#include "checker/scanners/Recheck.h"

#include <gtest/gtest.h>

#include <functional>

#include "checker/scanners/DiskScans.h"
#include "checker/scanners/MenuScans.h"
#include "checker/scanners/SharedDllScan.h"
#include "checker/scanners/SoftwareScans.h"
#include "checker/scanners/UninstallScans.h"
#include "list_scan_fixture.h"

namespace {

using testing_support::TestKey;

class RecheckTest : public ListScanTest {
 protected:
  RecheckSystem System() {
    RecheckSystem system;
    system.lists = system_;
    system.users = usersKey_.Get();
    system.classes = {{system_.Machine, L"Software\\CLASSES", 0}};
    system.environment = host_.environment;
    return system;
  }
  bool Holds(const ScanResultRow& row) { return StillHolds(row, System()); }

  // Runs `scan`, expects exactly one row, that it holds, and that it no longer does once
  // `change` has run.
  void Expect(const std::string& what, const std::function<void()>& scan,
              const std::function<void()>& change) {
    host_.rows.clear();
    scan();
    ASSERT_EQ(host_.rows.size(), 1u) << what;
    const ScanResultRow row = host_.rows.front();
    EXPECT_TRUE(Holds(row)) << what;
    change();
    EXPECT_FALSE(Holds(row)) << what;
  }

  TestKey users_;
  registry::Key usersKey_ = registry::Key::Open(users_.Root(), users_.Path());
};

constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TEST_F(RecheckTest, EachListScanRowHoldsUntilItsEntryChanges) {
  const std::wstring gone = PathOf(L"Gone\\app.exe");
  MapSpecialFolder(23, MakeFolder(L"Programs"));
  MapSpecialFolder(20, MakeFolder(L"Fonts"));
  const auto scanOf = [this](void (*scan)(ScanHost&, const ListScanSystem&)) {
    return [this, scan] { scan(host_, system_); };
  };

  Machine().MakeKey(L"Software\\Empty");
  Expect("machine application key", scanOf(Scan_SoftwareErr),
         [&] { Machine().SetText(L"Software\\Empty", L"Version", L"1"); });
  User().MakeKey(L"Software\\Lonely");
  Expect("user application key", scanOf(Scan_SoftwareErr),
         [&] { Machine().SetText(L"Software\\Lonely", L"Path", L"x"); });
  User().MakeKey(L"Software\\Grown");
  Expect("user application key that gained a subkey", scanOf(Scan_SoftwareErr),
         [&] { User().MakeKey(L"Software\\Grown\\Settings"); });

  Machine().SetText(std::wstring(kUninstall) + L"\\App", L"DisplayName", L"App");
  Machine().SetText(std::wstring(kUninstall) + L"\\App", L"UninstallString",
                    L"\"" + gone + L"\" /S");
  Expect("uninstall entry", scanOf(Scan_UninstallErr), [&] { MakeFile(L"Gone\\app.exe"); });
  DeleteFileW(gone.c_str());
  Machine().MakeKey(std::wstring(kUninstall) + L"\\Bare");
  Machine().SetText(std::wstring(kUninstall) + L"\\App", L"UninstallString", L"C:\\Windows");
  Expect("uninstall entry without values", scanOf(Scan_UninstallErr),
         [&] { Machine().SetDword(std::wstring(kUninstall) + L"\\Bare", L"SystemComponent", 1); });

  const std::wstring handlers = L"Software\\CLASSES\\Folder\\shellex\\ContextMenuHandlers";
  Machine().SetText(handlers + L"\\Old", L"", L"{AAAA}");
  Expect(
      "context-menu handler", [this] { Scan_ShellExErr(host_, L"Folder", system_); },
      [&] { Machine().MakeKey(L"Software\\CLASSES\\CLSID\\{AAAA}"); });
  Machine().MakeKey(L"Software\\CLASSES\\Folder\\shell\\Old");
  Expect(
      "verb", [this] { Scan_ShellExErr(host_, L"Folder", system_); },
      [&] {
        Machine().SetText(L"Software\\CLASSES\\Folder\\shell\\Old", L"DelegateExecute", L"{B}");
      });
  Machine().SetText(L"Software\\CLASSES\\Folder\\shell\\Edit\\command", L"", gone + L" %1");
  Expect(
      "verb command", [this] { Scan_ShellExErr(host_, L"Folder", system_); },
      [&] { MakeFile(L"Gone\\app.exe"); });
  DeleteFileW(gone.c_str());
  Machine().SetText(L"Software\\CLASSES\\Folder\\shell\\Edit\\command", L"", L"notepad.exe %1");

  const std::wstring order =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs";
  User().MakeKey(order + L"\\Old Tools");
  Expect("menu order entry", scanOf(Scan_MenuOrderErr),
         [&] { MakeFolder(L"Programs\\Old Tools"); });

  Machine().SetText(kHelpKey, L"app.hlp", PathOf(L"Help"));
  Expect("help file", scanOf(Scan_HelpErr), [&] { MakeFile(L"Help\\app.hlp"); });
  Machine().SetText(kFontsKey, L"App (TrueType)", L"app.ttf");
  Expect("font", scanOf(Scan_FontErr), [&] { MakeFile(L"Fonts\\app.ttf"); });
  Machine().SetDword(kSharedDllsKey, gone, 0);
  Expect("shared DLL", scanOf(Scan_DLLerr), [&] { Machine().SetDword(kSharedDllsKey, gone, 1); });
}

TEST_F(RecheckTest, ClassRowsHoldUntilTheirRegistrationChanges) {
  const std::wstring gone = PathOf(L"Gone\\app.exe");
  Machine().SetText(L"Software\\CLASSES\\gonefile\\Shell\\Open\\command", L"", gone + L" %1");
  Machine().MakeKey(L"Software\\CLASSES\\.empty");
  Machine().SetText(L"Software\\CLASSES\\.nowhere", L"", L"missingclass");
  Machine().SetText(L"Software\\CLASSES\\.gf", L"", L"gonefile");
  const auto row = [](const std::wstring& name, const std::wstring& what) {
    return ScanResultRow{L"HKEY_LOCAL_MACHINE", L"Software\\CLASSES\\" + name, L"",
                         L"错误关联" + what, 0};
  };
  EXPECT_TRUE(Holds(row(L"gonefile", L"gonefile")));
  EXPECT_TRUE(Holds(row(L".gf", L"gonefile")));
  EXPECT_FALSE(Holds(row(L".gf", L"GONEFILE")));  // the broken class by its exact name only
  EXPECT_TRUE(Holds(row(L".empty", L".empty")));
  EXPECT_TRUE(Holds(row(L".nowhere", L"missingclass")));
  EXPECT_FALSE(Holds(row(L".nowhere", L"otherclass")));

  MakeFile(L"Gone\\app.exe");
  EXPECT_FALSE(Holds(row(L"gonefile", L"gonefile")));
  EXPECT_FALSE(Holds(row(L".gf", L"gonefile")));
  Machine().SetText(L"Software\\CLASSES\\.empty", L"Content Type", L"text/plain");
  EXPECT_FALSE(Holds(row(L".empty", L".empty")));
  Machine().MakeKey(L"Software\\CLASSES\\missingclass\\DefaultIcon");
  EXPECT_FALSE(Holds(row(L".nowhere", L"missingclass")));
}

TEST_F(RecheckTest, ReferenceRowsHoldWhileTheValueHoldsTheSameMissingPath) {
  const std::wstring gone = PathOf(L"Gone\\app.exe");
  const std::wstring other = PathOf(L"Gone\\other.exe");
  User().SetText(L"Software\\App", L"Path", gone + L" /s");
  User().SetText(L"Software\\App", L"", gone);
  User().SetText(L"Software\\App", gone, L"1");
  users_.SetText(L"S-1-5-21-7\\Software\\App", L"Path", gone);
  const ScanResultRow data{L"HKEY_CURRENT_USER", L"Software\\App", L"Path", gone + L" /s", 0};
  const ScanResultRow unnamed{L"HKEY_CURRENT_USER", L"Software\\App", kDefaultValueName, gone, 0};
  const ScanResultRow name{L"HKEY_CURRENT_USER", L"Software\\App", gone, L"", 0};
  const ScanResultRow users{L"HKEY_USERS", L"S-1-5-21-7\\Software\\App", L"Path", gone, 0};
  for (const ScanResultRow& row : {data, unnamed, name, users}) EXPECT_TRUE(Holds(row));
  // Other data, even another missing path, is not what the row was made of.
  User().SetText(L"Software\\App", L"Path", other);
  EXPECT_FALSE(Holds(data));
  // Below keys the walk leaves out, nothing holds.
  User().SetText(L"Software\\Classes\\x", L"Path", gone);
  EXPECT_FALSE(Holds({L"HKEY_CURRENT_USER", L"Software\\Classes\\x", L"Path", gone, 0}));
  MakeFile(L"Gone\\app.exe");
  for (const ScanResultRow& row : {unnamed, name, users}) EXPECT_FALSE(Holds(row));
}

TEST_F(RecheckTest, DiskRowsHoldWhileTheTargetIsMissingAndTheFolderEmpty) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  const std::wstring gone = PathOf(L"gone.exe");
  const std::wstring link = PathOf(L"Old.lnk");
  ASSERT_TRUE(testing_support::MakeShortcut(link, gone));
  const ScanResultRow shortcut{L"磁盘文件错误", link, L"1 Byte", gone, 0};
  EXPECT_TRUE(Holds(shortcut));
  EXPECT_FALSE(Holds({L"磁盘文件错误", link, L"1 Byte", PathOf(L"other.exe"), 0}));
  MakeFile(L"gone.exe");
  EXPECT_FALSE(Holds(shortcut));

  const ScanResultRow folder{L"磁盘目录错误", MakeFolder(L"Programs\\Old"), L"", L"", 0};
  EXPECT_TRUE(Holds(folder));
  MakeFile(L"Programs\\Old\\late.txt");
  EXPECT_FALSE(Holds(folder));
  CoUninitialize();
}

TEST_F(RecheckTest, RowsOfNoScansShapeNeverHold) {
  User().MakeKey(L"Software\\A\\B");
  Machine().MakeKey(L"Software\\CLASSES\\Other\\shell\\Verb");
  const ScanResultRow rows[] = {
      {L"HKEY_CURRENT_USER", L"Software\\A\\B", L"", L"无效软件", 0},
      {L"HKEY_CURRENT_USER", L"Software\\A\\B", L"", L"", 0},
      {L"HKEY_LOCAL_MACHINE", L"Software\\CLASSES\\Other\\shell\\Verb", L"", L"Verb", 0},
      {L"HKEY_CLASSES_ROOT", L".x", L"", L"", 0},
      {L"", L"Software\\A", L"", L"无效软件", 0},
  };
  for (const ScanResultRow& row : rows) EXPECT_FALSE(Holds(row)) << testing::PrintToString(row);
}

}  // namespace

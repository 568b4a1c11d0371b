// Repair of rows on keys, values, files and folders that the tests make, the check that refuses
// rows naming anything a scan could not have reported, and the undo journal brought back through
// the registry editor.
#include "checker/app/Repair.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>

#include <objbase.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlwapi.h>

#include "checker/app/SystemCalls.h"
#include "checker/app/UndoJournal.h"
#include "checker/scanners/Recheck.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/RegistryEdit.h"
#include "common/handles.h"
#include "common/wow64.h"
#include "common/text.h"
#include "support/registry.h"
#include "support/testing.h"

namespace {

using namespace std::string_literals;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::TestKey;
using testing_support::WriteFileBytes;

ScanResultRow MakeRow(const std::wstring& item, const std::wstring& location,
                      const std::wstring& keyName = L"", const std::wstring& description = L"") {
  return ScanResultRow{item, location, keyName, description, 0};
}

std::string Text(const ScanResultRow& row) {
  return common::ToAnsi(row.Item + L" | " + row.Location + L" | " + row.KeyName);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every value of a key tree, by key path and value name, read through the wide functions (names
// and texts in any language, the bytes as stored).
using Snapshot = std::map<std::wstring, std::map<std::wstring, std::pair<DWORD, std::string>>>;

void Take(HKEY root, const std::wstring& path, Snapshot& into) {
  HKEY opened = nullptr;
  auto& values = into[path];
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    values[L"(cannot be opened)"] = {};
    return;
  }
  const common::RegKey key(opened);
  std::vector<wchar_t> name(16384);
  std::vector<BYTE> data(1 << 20);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 16384, size = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueW(key.Get(), i, name.data(), &nameLength, nullptr, &type, data.data(),
                      &size) != ERROR_SUCCESS)
      break;
    values[std::wstring(name.data(), nameLength)] = {
        type, std::string(reinterpret_cast<const char*>(data.data()), size)};
  }
  for (const std::wstring& sub : registry::SubkeyNamesOf(key.Get(), L"").value_or(
           std::vector<std::wstring>()))
    Take(root, path + L"\\" + sub, into);
}

Snapshot Take(HKEY root, const std::wstring& path) {
  Snapshot snapshot;
  Take(root, path, snapshot);
  return snapshot;
}

// Writes a value through the wide functions: `bytes` exactly as given.
void SetWide(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
             const std::string& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const common::RegKey owned(key);
  ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
}

// UTF-16 bytes of a text, with as many terminating zeros as asked for.
std::string Utf16(const std::wstring& text, int terminators = 1) {
  const std::wstring all = text + std::wstring(terminators, L'\0');
  return std::string(reinterpret_cast<const char*>(all.data()), all.size() * sizeof(wchar_t));
}

// The user's key below HKEY_USERS, which HKEY_CURRENT_USER stands for.
std::wstring UserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const common::KernelHandle owned(token);
  char buffer[256] = {};
  DWORD size = 0;
  wchar_t* sid = nullptr;
  if (!GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size) ||
      !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid))
    return {};
  const std::wstring text = sid;
  LocalFree(sid);
  return text;
}

// A journal's text (UTF-16LE, its byte-order mark included).
std::wstring JournalText(const std::wstring& path) {
  const std::string bytes = ReadFileBytes(path);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  return text;
}

void Import(const std::wstring& regFile) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  RunAndWait(L"\"" + std::wstring(windows) + L"\\regedit.exe\" /s \"" + regFile + L"\"", nullptr,
             nullptr);
}

TEST(RepairAllowed, RefusesRowsNamingWhatNoScanReports) {
  RepairPlaces places;
  places.programFolders = {L"C:\\Menu\\Programs", L"C:\\All\\Programs\\"};
  places.startupFolders = {L"C:\\Menu\\Programs\\Startup"};
  const std::wstring file = L"磁盘文件错误", folder = L"磁盘目录错误";
  const std::wstring hkcu = L"HKEY_CURRENT_USER", hklm = L"HKEY_LOCAL_MACHINE";
  const ScanResultRow refused[] = {
      MakeRow(hkcu, L""),  // the root itself
      MakeRow(hkcu, L"", L"Value"),
      MakeRow(hklm, L"\\"),
      MakeRow(hklm, L"Software"),  // directly below a root
      MakeRow(hkcu, L"Environment"),
      MakeRow(hklm, L"Software\\Microsoft"),
      MakeRow(hklm, L"SOFTWARE\\CLASSES"),
      MakeRow(hkcu, L"Software\\Classes"),
      MakeRow(hklm, L"System\\CurrentControlSet"),
      MakeRow(hklm, L"System\\CurrentControlSet\\Services"),
      MakeRow(hklm, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"),
      MakeRow(hklm, L"Software\\Microsoft\\Windows\\CurrentVersion"),
      MakeRow(hklm, L"Software\\Classes\\CLSID"),
      MakeRow(hklm, L"Software\\Classes\\exefile"),
      MakeRow(hklm, L"Software\\Classes\\*\\shell"),
      MakeRow(hkcu, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App"),  // user
      MakeRow(L"HKEY_USERS", L"S-1-5-21\\Software\\App"),  // keys only below the two roots
      MakeRow(L"HKEY_CLASSES_ROOT", L".foo"),
      MakeRow(hkcu, L"Software\\App\\"),  // trailing, leading, doubled backslashes
      MakeRow(hkcu, L"\\Software\\App"),
      MakeRow(hkcu, L"Software\\\\App"),
      MakeRow(hkcu, L"Software\\App\\..\\.."),
      MakeRow(hkcu, L"Software\\.", L"Value"),
      MakeRow(hkcu, L"Software\0\\App"s),  // the system would stop at the zero: "Software"
      MakeRow(hkcu, L"Software\\App", L"Name\0Other"s),
      MakeRow(hkcu, L"Software\\App\u0E01"),  // not in the code page: "?" would name another
      MakeRow(L"hkey_current_user", L"Software\\App"),
      MakeRow(L"HKEY_CURRENT_USER\\Software", L"App"),
      MakeRow(L"", L"Software\\App", L"Value"),
      MakeRow(file, L"C:\\Windows\\notepad.exe", L"1 Byte"),  // not a shortcut
      MakeRow(file, L"C:\\Links\\..\\Windows\\x.lnk"),
      MakeRow(file, L"C:\\Links\\.\\x.lnk"),
      MakeRow(file, L"C:\\My Backup\\x.lnk"),  // the scans skip backup folders
      MakeRow(file, L"C:\\System Volume Information\\x.lnk"),
      MakeRow(file, L"\\\\server\\share\\x.lnk"),
      MakeRow(file, L"x.lnk"),
      MakeRow(file, L"A:\\x.lnk"),
      MakeRow(file, L"C:\\Links\\x.lnk\\"),
      MakeRow(file, L"C:\\Links\\x.lnk:stream"),
      MakeRow(file, L"C:\\Links\\*.lnk"),
      MakeRow(file, L"C:/Links/x.lnk"),
      MakeRow(file, L"C:\\Links.\\x.lnk"),
      MakeRow(file, L"C:\\Links\\x.lnk\0.txt"s),
      MakeRow(folder, L"C:\\Windows"),  // outside the Programs folders
      MakeRow(folder, L"C:\\Menu\\Programs"),
      MakeRow(folder, L"C:\\Menu\\Programs\\"),
      MakeRow(folder, L"C:\\Menu\\Programs\\Startup"),
      MakeRow(folder, L"C:\\Menu\\ProgramsX\\Old"),
      MakeRow(folder, L"C:\\Menu\\Programs\\..\\..\\Windows"),
      MakeRow(folder, L"C:\\Menu\\Programs\\Old\\"),
      MakeRow(folder, L"C:\\Menu\\Programs\\Backup\\Old"),
      MakeRow(folder, L"C:\\Menu\\Programs\\Old", L"1 Byte"),
  };
  for (const ScanResultRow& row : refused) EXPECT_FALSE(RepairAllowed(row, places)) << Text(row);

  const ScanResultRow allowed[] = {
      MakeRow(hkcu, L"Environment", L"TEMP"),  // a value may stand directly below a root
      MakeRow(hkcu, L"Software\\App"),
      MakeRow(hklm, L"Software\\App"),
      MakeRow(hklm, L"Software\\CLASSES\\.foo"),
      MakeRow(hklm, L"Software\\CLASSES\\foofile"),
      MakeRow(hklm, L"Software\\CLASSES\\Directory\\shell\\Verb"),
      MakeRow(hklm, L"Software\\CLASSES\\*\\shellex\\ContextMenuHandlers\\Handler"),
      MakeRow(hklm, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App"),
      MakeRow(hkcu,
              L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start "
              L"Menu\\&Programs\\Gone"),
      MakeRow(hklm, L"Software\\Microsoft\\Windows\\CurrentVersion\\Shareddlls",
              L"C:\\Windows\\gone.dll"),
      MakeRow(L"HKEY_USERS", L"S-1-5-21\\Software\\App", L"Path"),
      MakeRow(L"HKEY_CLASSES_ROOT", L".foo", L"@D_e_f_a_u_l_t"),
      MakeRow(L"HKEY_CURRENT_CONFIG", L"Software\\App", L"Value"),
      MakeRow(hkcu, L"Software\\应用", L"路径", L"C:\\没有.exe"),
      MakeRow(file, L"C:\\Users\\Me\\Desktop\\Old.LNK", L"100 Byte", L"C:\\gone.exe"),
      MakeRow(file, L"D:\\Games\\Old Game.lnk"),
      MakeRow(folder, L"c:\\menu\\programs\\Old"),
      MakeRow(folder, L"C:\\All\\Programs\\Old\\Older"),
  };
  for (const ScanResultRow& row : allowed) EXPECT_TRUE(RepairAllowed(row, places)) << Text(row);
}

// Every row holds: the tests of what a repair does, apart from the second look at the row.
bool AlwaysHolds(const ScanResultRow&) { return true; }

class Repairing : public ::testing::Test {
 protected:
  RepairResult Repair(const ScanResultRow& row, int majorVersion = 6) {
    Repairer repairer(
        majorVersion, places_, journal_, [this] { ++pumps_; }, &AlwaysHolds);
    return repairer.Repair(row);
  }
  std::wstring Journal() const { return folder_.File(L"Undo_Sanivo_20240501.reg"); }

  TempFolder folder_;
  UndoJournal journal_{folder_.Path(), [] {
                         SYSTEMTIME day = {};
                         day.wYear = 2024, day.wMonth = 5, day.wDay = 1, day.wHour = 9;
                         return day;
                       }};
  RepairPlaces places_;
  int pumps_ = 0;
};

TEST_F(Repairing, ValuesDefaultValuesAndKeysWithTheirSubtrees) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  tree.SetText(L"Values", L"Gone", L"C:\\没有\\a.exe");
  tree.SetText(L"Values", L"Kept", L"C:\\x.exe");
  tree.SetText(L"Values", L"", L"C:\\默认.exe");
  const TestKey deep(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  deep.SetDword(L"One\\Two\\Three", L"Number", 7);
  deep.MakeKey(L"Other");
  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  const registry::Key values = registry::Key::Open(HKEY_CURRENT_USER, tree.PathOf(L"Values"));

  RepairResult result = Repair(MakeRow(hkcu, tree.PathOf(L"Values"), L"Gone", L"C:\\没有\\a.exe"));
  EXPECT_EQ(result.outcome, RepairOutcome::Repaired);
  EXPECT_EQ(result.undoFile, Journal());
  EXPECT_FALSE(values.HasValue(L"Gone"));
  EXPECT_TRUE(values.HasValue(L"Kept"));
  // Written down first, as a Unicode registry file.
  const std::wstring journal = JournalText(Journal());
  EXPECT_EQ(journal.rfind(L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n; 2024-05-01 09:00:00\r\n", 0),
            0u);
  EXPECT_NE(journal.find(L"[HKEY_CURRENT_USER\\" + tree.PathOf(L"Values") +
                         L"]\r\n\"Gone\"=\"C:\\\\没有\\\\a.exe\"\r\n"),
            std::wstring::npos);

  // The unnamed value stays, empty; the key stays.
  result = Repair(MakeRow(hkcu, tree.PathOf(L"Values"), L"@D_e_f_a_u_l_t", L"C:\\默认.exe"));
  EXPECT_EQ(result.outcome, RepairOutcome::Repaired);
  EXPECT_EQ(values.ReadText(L""), std::optional<std::wstring>(L""));

  // A missing value fails and writes nothing down (in the program the second look at the row
  // says so first).
  const size_t journalSize = ReadFileBytes(Journal()).size();
  EXPECT_EQ(Repair(MakeRow(hkcu, tree.PathOf(L"Values"), L"Gone")).outcome, RepairOutcome::Failed);
  EXPECT_EQ(ReadFileBytes(Journal()).size(), journalSize);

  // A key with several levels of subkeys goes whole; the keys beside it stay.
  EXPECT_EQ(Repair(MakeRow(hkcu, deep.Path())).outcome, RepairOutcome::Repaired);
  EXPECT_FALSE(deep.KeyExists(L""));
  EXPECT_TRUE(tree.KeyExists(L"Values"));
  EXPECT_GT(pumps_, 0);
  EXPECT_EQ(Repair(MakeRow(hkcu, deep.Path())).outcome, RepairOutcome::Failed);

  // Windows 95, 98 and ME: the key is deleted directly, the system taking its subkeys (this
  // system does not, so a key with subkeys stays).
  const TestKey nine(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  nine.MakeKey(L"Sub");
  EXPECT_EQ(Repair(MakeRow(hkcu, nine.Path()), 4).outcome, RepairOutcome::Failed);
  EXPECT_TRUE(nine.KeyExists(L"Sub"));
  const TestKey empty(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  EXPECT_EQ(Repair(MakeRow(hkcu, empty.Path()), 4).outcome, RepairOutcome::Repaired);
  EXPECT_FALSE(empty.KeyExists(L""));
}

TEST_F(Repairing, NothingGoesWhenItCannotBeWrittenDownFirst) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  tree.SetText(L"Sub", L"Value", L"C:\\没有.exe");
  UndoJournal nowhere(folder_.File(L"missing"));
  Repairer repairer(6, places_, nowhere, nullptr, &AlwaysHolds);
  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  EXPECT_EQ(repairer.Repair(MakeRow(hkcu, tree.PathOf(L"Sub"), L"Value")).outcome,
            RepairOutcome::NotWrittenDown);
  EXPECT_EQ(repairer.Repair(MakeRow(hkcu, tree.Path())).outcome, RepairOutcome::NotWrittenDown);
  EXPECT_TRUE(registry::Key::Open(HKEY_CURRENT_USER, tree.PathOf(L"Sub")).HasValue(L"Value"));
  const std::wstring shortcut = folder_.File(L"Old.lnk");
  WriteFileBytes(shortcut, "link");
  EXPECT_EQ(repairer.Repair(MakeRow(L"磁盘文件错误", shortcut)).outcome,
            RepairOutcome::NotWrittenDown);
  EXPECT_TRUE(Exists(shortcut));
}

// Keys whose own security lets everyone do anything but delete them, change their values and
// make subkeys (DELETE, KEY_SET_VALUE, KEY_CREATE_SUB_KEY); reading stays allowed. Their rights
// go back to everything at the end, so that the test's tree can go.
class ProtectedKeys {
 public:
  ~ProtectedKeys() {
    for (const std::wstring& path : paths_) Set(path, L"D:(A;;KA;;;WD)");
  }
  void Protect(const std::wstring& path) {
    paths_.push_back(path);
    Set(path, L"D:(D;;0x10006;;;WD)(A;;KA;;;WD)");
  }

 private:
  static void Set(const std::wstring& path, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
      return;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
      RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
      RegCloseKey(key);
    }
    LocalFree(descriptor);
  }
  std::vector<std::wstring> paths_;
};

// A value or key the user has no right to change is told apart from other failures.
TEST_F(Repairing, NoRightToChangeIsToldApart) {
  const TestKey denied(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  denied.SetText(L"", L"Value", L"C:\\没有.exe");
  ProtectedKeys rights;
  rights.Protect(denied.Path());
  HKEY probe = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, denied.Path().c_str(), 0, KEY_SET_VALUE, &probe) ==
      ERROR_SUCCESS) {
    RegCloseKey(probe);
    GTEST_SKIP() << "this system does not keep the registry's rights";
  }
  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  EXPECT_EQ(Repair(MakeRow(hkcu, denied.Path(), L"Value")).outcome, RepairOutcome::AccessDenied);
  EXPECT_EQ(Repair(MakeRow(hkcu, denied.Path(), L"@D_e_f_a_u_l_t")).outcome,
            RepairOutcome::AccessDenied);
  EXPECT_TRUE(registry::Key::Open(HKEY_CURRENT_USER, denied.Path()).HasValue(L"Value"));
}

// A key whose deletion stops half way is reported as partly removed, with the journal that holds
// what went: here another program makes a new subkey while the subkeys are being deleted (the
// deletion lets window messages run).
TEST_F(Repairing, AKeyRemovedOnlyInPartSaysSo) {
  const TestKey partly(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  partly.SetDword(L"Goes", L"N", 1);
  partly.SetDword(L"Also goes\\Deeper", L"N", 2);
  Repairer repairer(6, places_, journal_, [&] { partly.MakeKey(L"New"); }, &AlwaysHolds);
  const RepairResult result = repairer.Repair(MakeRow(L"HKEY_CURRENT_USER", partly.Path()));
  EXPECT_EQ(result.outcome, RepairOutcome::PartlyRemoved);
  EXPECT_EQ(result.undoFile, Journal());
  EXPECT_TRUE(partly.KeyExists(L"New"));
  EXPECT_FALSE(partly.KeyExists(L"Goes"));
  EXPECT_NE(JournalText(Journal()).find(L"[HKEY_CURRENT_USER\\" + partly.PathOf(L"Goes") + L"]"),
            std::wstring::npos);
  EXPECT_NE(OutcomeText(result, MakeRow(L"HKEY_CURRENT_USER", partly.Path())).find(Journal()),
            std::wstring::npos);

  // Only something deeper went: the key keeps as many subkeys as it had, and is still told apart.
  const TestKey deep(HKEY_CURRENT_USER, L"Software", L"ZephraRepairDeep");
  deep.SetDword(L"Kept\\Deeper", L"N", 3);
  bool grown = false;
  Repairer second(
      6, places_, journal_,
      [&] {
        if (!std::exchange(grown, true)) deep.MakeKey(L"Kept\\New");
      },
      &AlwaysHolds);
  EXPECT_EQ(second.Repair(MakeRow(L"HKEY_CURRENT_USER", deep.Path())).outcome,
            RepairOutcome::PartlyRemoved);
  EXPECT_FALSE(deep.KeyExists(L"Kept\\Deeper"));
  EXPECT_TRUE(deep.KeyExists(L"Kept\\New"));
}

// Repairing all rows reports how many were repaired and, by their cause, how many were not.
TEST(RepairTally, SaysHowManyWereRepairedAndWhyTheOthersWereNot) {
  using O = RepairOutcome;
  const struct {
    std::vector<O> outcomes;
    std::wstring status, record;
  } cases[] = {
      {{}, L"全部修复完毕", L"修复了所有检查到的系统错误"},
      {{O::Repaired, O::Repaired}, L"全部修复完毕", L"修复了所有检查到的系统错误"},
      {{O::Repaired, O::Changed, O::Refused, O::Changed},
       L"全部修复完毕。修复了 1 项，3 项没有修复：1 项为了系统的安全没有修复，2 项在检查之后已经改变。",
       L"修复了 1 项检查到的系统错误，3 项没有修复（1 项为了系统的安全没有修复，2 项在检查之后已经改变）"},
      {{O::AccessDenied, O::NotWrittenDown, O::PartlyRemoved, O::Failed},
       L"全部修复完毕。修复了 0 项，4 项没有修复：1 项没有修改的权限，1 项无法写入撤销文件，"
       L"1 项只删除了一部分，1 项无法删除。",
       L"修复了 0 项检查到的系统错误，4 项没有修复（1 项没有修改的权限，1 项无法写入撤销文件，"
       L"1 项只删除了一部分，1 项无法删除）"},
  };
  for (const auto& c : cases) {
    RepairTally tally;
    for (const O outcome : c.outcomes) tally.Add(outcome);
    EXPECT_EQ(tally.StatusText(), c.status);
    EXPECT_EQ(tally.HistoryRecord(), c.record);
  }
}

TEST_F(Repairing, HostileRowsTouchNothing) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  tree.SetText(L"Sub", L"Value", L"data");
  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  const ScanResultRow rows[] = {
      MakeRow(hkcu, tree.Path() + L"\\"),
      MakeRow(hkcu, tree.Path() + L"\\\\Sub"),
      MakeRow(hkcu, tree.Path() + L"\0\\Sub"s),  // naively cut at the zero: the whole tree
      MakeRow(hkcu, tree.PathOf(L"Sub\\.."), L"", L""),
      MakeRow(hkcu, tree.PathOf(L"Sub"), L"Value\0"s),
      MakeRow(hkcu, L"Software"),
      MakeRow(hkcu, L""),
  };
  for (const ScanResultRow& row : rows) EXPECT_EQ(Repair(row).outcome, RepairOutcome::Refused);
  EXPECT_TRUE(registry::Key::Open(HKEY_CURRENT_USER, tree.PathOf(L"Sub")).HasValue(L"Value"));
  EXPECT_FALSE(Exists(Journal()));

  const std::wstring shortcut = folder_.File(L"Old.lnk");
  WriteFileBytes(shortcut, "link");
  CreateDirectoryW(folder_.File(L"Empty").c_str(), nullptr);
  places_.programFolders = {folder_.File(L"Programs")};
  EXPECT_EQ(Repair(MakeRow(L"磁盘文件错误", folder_.File(L"Empty\\..\\Old.lnk"))).outcome,
            RepairOutcome::Refused);
  EXPECT_EQ(Repair(MakeRow(L"磁盘目录错误", folder_.File(L"Empty"))).outcome,
            RepairOutcome::Refused);
  EXPECT_EQ(Repair(MakeRow(L"磁盘目录错误", folder_.File(L"Programs\\..\\Empty"))).outcome,
            RepairOutcome::Refused);
  EXPECT_TRUE(Exists(shortcut));
  EXPECT_TRUE(Exists(folder_.File(L"Empty")));
}

TEST_F(Repairing, ShortcutsAreKeptBeforeTheyGoAndOnlyEmptyFoldersAreRemoved) {
  TempFolder menu;
  const std::wstring shortcut = menu.File(L"旧的.lnk");
  WriteFileBytes(shortcut, "first");
  RepairResult result = Repair(MakeRow(L"磁盘文件错误", shortcut, L"5 Byte", L"C:\\gone.exe"));
  ASSERT_EQ(result.outcome, RepairOutcome::Repaired);
  EXPECT_FALSE(Exists(shortcut));
  const std::wstring kept = folder_.File(L"Undo_Sanivo_Backup\\旧的.lnk");
  EXPECT_EQ(result.undoFile, kept);
  EXPECT_EQ(ReadFileBytes(kept), "first");
  EXPECT_NE(JournalText(Journal()).find(kept), std::wstring::npos);
  // A second one of the same name does not replace the first copy.
  WriteFileBytes(shortcut, "second");
  result = Repair(MakeRow(L"磁盘文件错误", shortcut));
  EXPECT_EQ(result.undoFile, folder_.File(L"Undo_Sanivo_Backup\\旧的 (2).lnk"));
  EXPECT_EQ(ReadFileBytes(kept), "first");
  EXPECT_EQ(Repair(MakeRow(L"磁盘文件错误", shortcut)).outcome, RepairOutcome::Failed);

  places_.programFolders = {menu.Path()};
  CreateDirectoryW(menu.File(L"Empty").c_str(), nullptr);
  CreateDirectoryW(menu.File(L"Filled").c_str(), nullptr);
  WriteFileBytes(menu.File(L"Filled\\late.txt"), "x");  // got a file after the scan
  result = Repair(MakeRow(L"磁盘目录错误", menu.File(L"Empty")));
  EXPECT_EQ(result.outcome, RepairOutcome::Repaired);
  EXPECT_TRUE(result.undoFile.empty());
  EXPECT_FALSE(Exists(menu.File(L"Empty")));
  EXPECT_EQ(Repair(MakeRow(L"磁盘目录错误", menu.File(L"Filled"))).outcome, RepairOutcome::Failed);
  EXPECT_TRUE(Exists(menu.File(L"Filled\\late.txt")));
}

// A key that holds a registry link is not deleted: the subkey deletion would go through the link
// and empty the key it points to.
TEST_F(Repairing, AKeyHoldingARegistryLinkIsLeftAlone) {
  const TestKey target(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  target.SetText(L"Precious\\Deeper", L"Value", L"data");
  const TestKey application(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  const std::wstring to = L"\\Registry\\User\\" + UserSid() + L"\\" + target.Path();
  HKEY made = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (application.Path() + L"\\Link").c_str(), 0, nullptr,
                            REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr,
                            &made, nullptr),
            ERROR_SUCCESS);
  const common::RegKey link(made);
  ASSERT_EQ(RegSetValueExW(made, L"SymbolicLinkValue", 0, REG_LINK,
                           reinterpret_cast<const BYTE*>(to.data()),
                           static_cast<DWORD>(to.size() * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ASSERT_TRUE(application.KeyExists(L"Link\\Precious\\Deeper"));  // the link works

  EXPECT_EQ(Repair(MakeRow(L"HKEY_CURRENT_USER", application.Path())).outcome,
            RepairOutcome::Refused);
  EXPECT_TRUE(target.KeyExists(L"Precious\\Deeper"));
  EXPECT_TRUE(application.KeyExists(L""));
  RegDeleteKeyW(made, L"");  // the link itself, not what it points to
}

// Repaired, then the journal imported with the registry editor: every key and value is back
// exactly as it was, whatever its type and text.
TEST_F(Repairing, ImportingTheJournalBringsEverythingBack) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  tree.SetText(L"", L"", L"默认值");
  tree.SetText(L"", L"路径", L"C:\\Program Files\\\"引号\"\\a.exe /x");
  tree.SetText(L"", L"Tab", L"a\tb");
  tree.SetText(L"", L"Expand", L"%SystemRoot%\\系统", REG_EXPAND_SZ);
  tree.SetRaw(L"", L"Multi", REG_MULTI_SZ, "one\0two\0\0"s);
  tree.SetRaw(L"", L"Binary", REG_BINARY, std::string(60, '\xAB'));
  tree.SetRaw(L"", L"Qword", REG_QWORD, "\1\2\3\4\5\6\7\x08"s);
  tree.SetRaw(L"", L"None", REG_NONE, "");
  tree.SetDword(L"Sub\\深一层", L"Number", 0xDEADBEEF);
  tree.MakeKey(L"Sub\\Empty");
  // What the code page cannot hold, and texts that a quoted line cannot carry.
  const HKEY hkcuRoot = HKEY_CURRENT_USER;
  const std::wstring wide = tree.PathOf(L"Ελληνικά ключ ☃");
  SetWide(hkcuRoot, wide, L"", REG_SZ, Utf16(L"默认 ünïcødé ✓"));
  SetWide(hkcuRoot, wide, L"名前 ☃ \"quoted\" \\", REG_SZ, Utf16(L"Ελληνικά\\\"x\""));
  SetWide(hkcuRoot, wide, L"Lines", REG_SZ, Utf16(L"one\r\ntwo\tthree"));
  SetWide(hkcuRoot, wide, L"Terminated twice", REG_SZ, Utf16(L"two ends", 2));
  SetWide(hkcuRoot, wide, L"Empty", REG_SZ, "");
  SetWide(hkcuRoot, wide, L"Expand ☃", REG_EXPAND_SZ, Utf16(L"%SystemRoot%\\ключ"));
  SetWide(hkcuRoot, wide, L"Multi", REG_MULTI_SZ, Utf16(L"a") + Utf16(L"") + Utf16(L"☃", 2));
  SetWide(hkcuRoot, wide, L"Large", REG_BINARY, std::string(200000, '\x5A'));
  SetWide(hkcuRoot, wide, L"Short dword", REG_DWORD, "\1\2");
  SetWide(hkcuRoot, wide, L"Own type", 0x12345, "\0\1");
  SetWide(hkcuRoot, wide + L"\\Empty default", L"", REG_SZ, Utf16(L""));
  const TestKey values(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  values.SetText(L"", L"Value", L"C:\\没有.exe");
  values.SetText(L"Had", L"", L"旧的默认值");
  values.MakeKey(L"Had not");
  const Snapshot before = Take(HKEY_CURRENT_USER, tree.Path());
  const Snapshot valuesBefore = Take(HKEY_CURRENT_USER, values.Path());

  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  ASSERT_EQ(Repair(MakeRow(hkcu, tree.Path())).outcome, RepairOutcome::Repaired);
  ASSERT_EQ(Repair(MakeRow(hkcu, values.Path(), L"Value")).outcome, RepairOutcome::Repaired);
  ASSERT_EQ(Repair(MakeRow(hkcu, values.PathOf(L"Had"), L"@D_e_f_a_u_l_t")).outcome,
            RepairOutcome::Repaired);
  // The same unnamed value again, through HKEY_USERS (the scans of both roots report it).
  ASSERT_EQ(
      Repair(MakeRow(L"HKEY_USERS", UserSid() + L"\\" + values.PathOf(L"Had"), L"@D_e_f_a_u_l_t"))
          .outcome,
      RepairOutcome::Repaired);
  ASSERT_EQ(Repair(MakeRow(hkcu, values.PathOf(L"Had not"), L"@D_e_f_a_u_l_t")).outcome,
            RepairOutcome::Repaired);
  ASSERT_FALSE(tree.KeyExists(L""));
  ASSERT_NE(Take(HKEY_CURRENT_USER, values.Path()), valuesBefore);

  Import(Journal());
  EXPECT_EQ(Take(HKEY_CURRENT_USER, tree.Path()), before);
}

// A day's file is appended to only when it is a whole journal of ours: an older REGEDIT4 journal,
// a file cut short or anything else is left as it is, and the record goes to the next file.
TEST_F(Repairing, TheDaysJournalIsAppendedToOnlyWhenItIsWhole) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  tree.SetText(L"", L"Value", L"C:\\没有.exe");
  const std::string start =
      "\xFF\xFE" + Utf16(L"Windows Registry Editor Version 5.00\r\n\r\n", 0);
  const std::string whole = start + Utf16(L"; 2024-05-01 08:00:00\r\n[HKEY_CURRENT_USER\\x]\r\n\r\n", 0);
  const struct {
    const char* what;
    std::optional<std::string> before;
    bool appended;
  } cases[] = {
      {"no file yet", std::nullopt, true},
      {"an empty file", std::string(), true},
      {"a whole journal", whole, true},
      {"an older REGEDIT4 journal", std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n\r\n"), false},
      {"a record cut short", whole + Utf16(L"[HKEY_CURRENT_USER\\y]\r\n\"a\"=hex:01,", 0), false},
      {"a header cut short", start.substr(0, 20), false},
  };
  for (const auto& c : cases) {
    DeleteFileW(Journal().c_str());
    DeleteFileW(folder_.File(L"Undo_Sanivo_20240501_2.reg").c_str());
    if (c.before) WriteFileBytes(Journal(), *c.before);
    const std::optional<std::wstring> file = journal_.RecordValue(HKEY_CURRENT_USER, tree.Path(), L"Value");
    ASSERT_TRUE(file) << c.what;
    EXPECT_EQ(*file, c.appended ? Journal() : folder_.File(L"Undo_Sanivo_20240501_2.reg")) << c.what;
    const std::wstring text = JournalText(*file);
    EXPECT_EQ(text.rfind(L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n", 0), 0u) << c.what;
    EXPECT_NE(text.find(L"\"Value\"=\"C:\\\\没有.exe\"\r\n\r\n"), std::wstring::npos) << c.what;
    if (!c.appended) {
      EXPECT_EQ(ReadFileBytes(Journal()), *c.before) << c.what;
    }
  }
}

// On 64-bit Windows a key comes back into the registry view it was taken from, whichever view the
// repair saw it in: the journal names where it is stored, and the registry editor of the Windows
// folder (the 64-bit one there, which a double-click on the journal starts) imports it there.
TEST_F(Repairing, TheJournalPutsKeysBackIntoTheViewTheyCameFrom) {
  const bool twoViews = common::IsWow64() || sizeof(void*) == 8;
  const REGSAM views[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
  for (int i = 0; i < 2; ++i) {
    const registry::Key software =
        registry::Key::Open(HKEY_LOCAL_MACHINE, L"Software", KEY_ALL_ACCESS | views[i]);
    const registry::Key other =
        registry::Key::Open(HKEY_LOCAL_MACHINE, L"Software", KEY_ALL_ACCESS | views[1 - i]);
    ASSERT_TRUE(software && other);
    const TestKey tree(software.Get(), L"ZephraTests", L"Undo");
    tree.SetText(L"", L"路径", L"C:\\没有\\a.exe");
    tree.SetDword(L"Sub", L"Number", 7);
    const Snapshot before = Take(software.Get(), tree.Path());

    ASSERT_TRUE(journal_.RecordKey(software.Get(), tree.Path())) << i;
    ASSERT_EQ(SHDeleteKeyW(software.Get(), tree.Path().c_str()), ERROR_SUCCESS);
    Import(Journal());
    EXPECT_EQ(Take(software.Get(), tree.Path()), before) << i;
    if (twoViews) {
      EXPECT_FALSE(registry::Key::Open(other.Get(), tree.Path())) << i;
    }
  }
}

// The second look at a row comes after the check of its shape and before anything is written
// down or deleted; a row that no longer holds is left as it is.
TEST_F(Repairing, ARowThatNoLongerHoldsIsLeftAlone) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  tree.SetText(L"", L"Value", L"C:\\没有.exe");
  const TestKey application(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  const std::wstring shortcut = folder_.File(L"Old.lnk");
  WriteFileBytes(shortcut, "link");
  places_.programFolders = {folder_.Path()};
  CreateDirectoryW(folder_.File(L"Empty").c_str(), nullptr);
  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  const ScanResultRow rows[] = {
      MakeRow(hkcu, tree.Path(), L"Value", L"C:\\没有.exe"),
      MakeRow(hkcu, tree.Path(), L"@D_e_f_a_u_l_t", L"C:\\没有.exe"),
      MakeRow(hkcu, application.Path(), L"", L"无效软件"),
      MakeRow(L"磁盘文件错误", shortcut, L"4 Byte", L"C:\\没有.exe"),
      MakeRow(L"磁盘目录错误", folder_.File(L"Empty")),
  };
  tree.SetText(L"", L"", L"C:\\没有.exe");
  std::vector<ScanResultRow> asked;
  Repairer repairer(6, places_, journal_, nullptr, [&asked](const ScanResultRow& row) {
    asked.push_back(row);
    return false;
  });
  for (const ScanResultRow& row : rows) {
    EXPECT_EQ(repairer.Repair(row).outcome, RepairOutcome::Changed);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), row);
  }
  EXPECT_TRUE(registry::Key::Open(HKEY_CURRENT_USER, tree.Path()).HasValue(L"Value"));
  EXPECT_EQ(registry::Key::Open(HKEY_CURRENT_USER, tree.Path()).DefaultText(), L"C:\\没有.exe");
  EXPECT_TRUE(application.KeyExists(L""));
  EXPECT_TRUE(Exists(shortcut));
  EXPECT_TRUE(Exists(folder_.File(L"Empty")));
  EXPECT_FALSE(Exists(Journal()));
  // A row refused for its shape is never looked at again.
  asked.clear();
  EXPECT_EQ(repairer.Repair(MakeRow(hkcu, L"Software")).outcome, RepairOutcome::Refused);
  EXPECT_TRUE(asked.empty());
}

// With the program's second look: the rule of the scan that made the row, on this system.
class RepairingByTheScansRules : public Repairing {
 protected:
  RepairResult RepairNow(const ScanResultRow& row) { return repairer_.Repair(row); }

  RecheckSystem system_ = [] {
    ScanEnvironment environment;
    environment.MajorVersion = 6;
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    environment.WinDir = windows;
    return RecheckSystem::ForThisProcess(environment);
  }();
  Repairer repairer_{6, places_, journal_, nullptr,
                     [this](const ScanResultRow& row) { return StillHolds(row, system_); }};
};

TEST_F(RepairingByTheScansRules, AKeyThatGainedContentSinceTheScanStays) {
  const TestKey empty(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  const TestKey grown(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  const TestKey filled(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  // All three were empty at the scan; two got something since.
  grown.MakeKey(L"Settings");
  filled.SetDword(L"", L"Runs", 3);
  EXPECT_EQ(RepairNow(MakeRow(hkcu, empty.Path(), L"", L"无效软件")).outcome,
            RepairOutcome::Repaired);
  EXPECT_FALSE(empty.KeyExists(L""));
  EXPECT_EQ(RepairNow(MakeRow(hkcu, grown.Path(), L"", L"无效软件")).outcome,
            RepairOutcome::Changed);
  EXPECT_TRUE(grown.KeyExists(L"Settings"));
  EXPECT_EQ(RepairNow(MakeRow(hkcu, filled.Path(), L"", L"无效软件")).outcome,
            RepairOutcome::Changed);
  EXPECT_TRUE(registry::Key::Open(HKEY_CURRENT_USER, filled.Path()).HasValue(L"Runs"));
}

TEST_F(RepairingByTheScansRules, AValueGoesOnlyWhileItHoldsTheSameMissingPath) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  TempFolder files;
  const std::wstring gone = files.File(L"没有.exe"), back = files.File(L"回来.exe");
  tree.SetText(L"", L"Changed", gone);
  tree.SetText(L"", L"Back", back);
  tree.SetText(L"", L"Gone", gone);
  const std::wstring hkcu = L"HKEY_CURRENT_USER";
  tree.SetText(L"", L"Changed", files.File(L"另一个.exe"));  // other data since the scan
  WriteFileBytes(back, "x");                                 // the file came back
  EXPECT_EQ(RepairNow(MakeRow(hkcu, tree.Path(), L"Changed", gone)).outcome,
            RepairOutcome::Changed);
  EXPECT_EQ(RepairNow(MakeRow(hkcu, tree.Path(), L"Back", back)).outcome, RepairOutcome::Changed);
  EXPECT_EQ(RepairNow(MakeRow(hkcu, tree.Path(), L"Gone", gone)).outcome, RepairOutcome::Repaired);
  const registry::Key key = registry::Key::Open(HKEY_CURRENT_USER, tree.Path());
  EXPECT_TRUE(key.HasValue(L"Changed"));
  EXPECT_TRUE(key.HasValue(L"Back"));
  EXPECT_FALSE(key.HasValue(L"Gone"));
  // The same value as the HKEY_USERS walk reported it: repaired already, nothing more written.
  const size_t journalSize = ReadFileBytes(Journal()).size();
  EXPECT_EQ(
      RepairNow(MakeRow(L"HKEY_USERS", UserSid() + L"\\" + tree.Path(), L"Gone", gone)).outcome,
      RepairOutcome::Repaired);
  EXPECT_EQ(ReadFileBytes(Journal()).size(), journalSize);
  // Another user's key of that path is not the same value.
  EXPECT_EQ(RepairNow(MakeRow(L"HKEY_USERS", L"S-1-5-21-7\\" + tree.Path(), L"Gone", gone)).outcome,
            RepairOutcome::Changed);
}

TEST_F(RepairingByTheScansRules, AShortcutGoesOnlyWhileItsTargetIsMissing) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  TempFolder links;
  const std::wstring target = links.File(L"gone.exe");
  const std::wstring gone = links.File(L"Gone.lnk"), back = links.File(L"Back.lnk");
  ASSERT_TRUE(testing_support::MakeShortcut(gone, target));
  ASSERT_TRUE(testing_support::MakeShortcut(back, links.File(L"back.exe")));
  WriteFileBytes(links.File(L"back.exe"), "x");
  EXPECT_EQ(RepairNow(MakeRow(L"磁盘文件错误", back, L"1 Byte", links.File(L"back.exe"))).outcome,
            RepairOutcome::Changed);
  EXPECT_TRUE(Exists(back));
  EXPECT_EQ(RepairNow(MakeRow(L"磁盘文件错误", gone, L"1 Byte", target)).outcome,
            RepairOutcome::Repaired);
  EXPECT_FALSE(Exists(gone));
  CoUninitialize();
}

}  // namespace

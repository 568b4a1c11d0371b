// The disk scans on folders and shortcuts made in the test's own prefix, with made-up drive
// types where a test needs a drive that the prefix lacks.
#include "checker/scanners/DiskScans.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>

#include "support/testing.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFileBytes;

// The main window's side of a scan, recorded; Stop comes through `onPump`, as a click would.
class FakeHost : public ScanHost {
 public:
  std::vector<ScanResultRow> rows;
  std::vector<std::wstring> statuses;
  std::vector<int> pendingAtStatus;
  bool scanning = true;
  int pending = 0;
  std::function<void()> onPump;
  ScanEnvironment environment;

  void AddRow(const ScanResultRow& row) override { rows.push_back(row); }
  void ShowStatus(const std::wstring& text) override {
    statuses.push_back(text);
    pendingAtStatus.push_back(pending);
  }
  void ProcessMessages() override {
    if (onPump) onPump();
  }
  bool Scanning() const override { return scanning; }
  void RaisePendingScans() override { ++pending; }
  void LowerPendingScans() override { --pending; }
  const ScanEnvironment& Environment() const override { return environment; }

  std::vector<std::wstring> Locations() const {
    std::vector<std::wstring> locations;
    for (const ScanResultRow& row : rows) locations.push_back(row.Location);
    std::sort(locations.begin(), locations.end());
    return locations;
  }
  bool Shown(const std::wstring& status) const {
    return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
  }
};

// Drive types by root; every root not named is the real system's.
FileQueries DrivesAs(std::map<std::wstring, UINT> types, DWORD present = 0) {
  FileQueries files = FileQueries::System();
  files.DriveType = [types, real = files.DriveType](const std::wstring& root) {
    const auto it = types.find(root);
    return it != types.end() ? it->second : real(root);
  };
  if (present) files.LogicalDrives = [present] { return present; };
  return files;
}

class DiskScansTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }
  std::wstring Folder(const std::wstring& relative, DWORD attributes = 0) {
    const std::wstring path = temp_.File(relative);
    EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << relative;
    if (attributes) SetFileAttributesW(path.c_str(), attributes);
    return path;
  }
  void Link(const std::wstring& relative, const std::wstring& target) {
    EXPECT_TRUE(testing_support::MakeShortcut(temp_.File(relative), target)) << relative;
  }
  TempFolder temp_;
  FakeHost host_;
};

TEST(DiskRules, ABrokenShortcutIsOneToAMissingPathOnALocalFixedDrive) {
  TempFolder temp;
  WriteFileBytes(temp.File(L"there.exe"), "x");
  const FileQueries files = DrivesAs({{L"Q:\\", DRIVE_NO_ROOT_DIR},
                                      {L"R:\\", DRIVE_REMOVABLE},
                                      {L"N:\\", DRIVE_REMOTE},
                                      {L"S:\\", DRIVE_CDROM}});
  const std::pair<std::wstring, bool> cases[] = {
      {temp.File(L"gone.exe"), true},
      {temp.File(L"there.exe"), false},
      {temp.Path(), false},           // a folder is a target too
      {L"Q:\\gone\\app.exe", false},  // a drive that is not there now (a USB disk that is out)
      {L"R:\\gone\\app.exe", false},
      {L"N:\\gone\\app.exe", false},
      {L"S:\\setup.exe", false},
      {L"\\\\server\\share\\app.exe", false},
      {L"", false},
      {kLinkMarker, false},
      {L"notepad.exe", false},      // no drive letter: the system finds it on its search path
      {L"C:gone.exe", false},       // relative to a drive's current folder
      {L"C:\\gone\\?.exe", false},  // a name the code page could not hold
  };
  for (const auto& [target, broken] : cases)
    EXPECT_EQ(BrokenLinkTarget(target, files, Wow64Folders()), broken) << target;
}

TEST(DiskRules, UnderWow64TheSixtyFourBitFoldersCount) {
  const Wow64Folders wow64 = {true, L"C:\\Windows\\System32", L"C:\\Windows\\SysWOW64",
                              L"C:\\Program Files", L"C:\\Program Files (x86)"};
  const std::pair<std::wstring, std::vector<std::wstring>> cases[] = {
      {L"C:\\Windows\\syswow64\\SnippingTool.exe", {L"C:\\Windows\\System32\\SnippingTool.exe"}},
      {L"c:\\program files (x86)\\App\\a.exe", {L"C:\\Program Files\\App\\a.exe"}},
      {L"C:\\Program Files (x86)Other\\a.exe", {}},
      {L"C:\\Program Files\\App\\a.exe", {}},
  };
  for (const auto& [target, alternatives] : cases)
    EXPECT_EQ(Wow64Alternatives(target, wow64), alternatives) << target;
  EXPECT_TRUE(Wow64Alternatives(cases[0].first, Wow64Folders()).empty());

  FileQueries files = DrivesAs({{L"C:\\", DRIVE_FIXED}});
  files.PathExists = [](const std::wstring& path) {
    return path == L"C:\\Program Files\\App\\a.exe";
  };
  EXPECT_FALSE(BrokenLinkTarget(L"C:\\Program Files (x86)\\App\\a.exe", files, wow64));
  EXPECT_TRUE(BrokenLinkTarget(L"C:\\Program Files (x86)\\App\\b.exe", files, wow64));
}

TEST(DiskRules, BackupAndSystemVolumeFoldersAreLeftOutInAnyLetterCase) {
  const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
      {L"C:\\Data\\my BACKUPS\\old\\", L"Backup", true},
      {L"D:\\System Volume Information\\", L"Backup", true},
      {L"C:\\数据备份\\", L"备份", true},
      {L"C:\\Saved\\", L"saved", true},
      {L"C:\\Program Files\\", L"Backup", false},
      {L"C:\\Program Files\\", L"", false},  // an empty name leaves nothing out
  };
  for (const auto& [path, bakPath, skipped] : cases)
    EXPECT_EQ(SkippedDirectory(path, bakPath), skipped) << path << L" / " << bakPath;
}

TEST(DiskRules, FindMasksMatchWholeNamesInAnyLetterCase) {
  const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
      {L"a.lnk", L"*.lnk", true},      {L"快捷方式.LNK", L"*.lnk", true},
      {L"a.lnk.txt", L"*.lnk", false}, {L"lnk", L"*.lnk", false},
      {L"a.b.lnk", L"*.lnk", true},    {L"noext", L"*.*", true},
      {L"ab.lnk", L"?b*.l?k", true},   {L"b.lnk", L"?b*.lnk", false},
  };
  for (const auto& [name, mask, matches] : cases)
    EXPECT_EQ(MatchesMask(name, mask), matches) << name << L" / " << mask;
}

TEST_F(DiskScansTest, TheWalkReportsShortcutsWhoseTargetIsGone) {
  const std::wstring root = temp_.Path(), gone = temp_.File(L"gone.exe");
  WriteFileBytes(temp_.File(L"there.exe"), "x");
  Folder(L"a");
  Folder(L"BackUp");
  Folder(L"BackUp\\deep");
  Folder(L"sys", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);  // system folders are not walked
  Folder(L"hidden", FILE_ATTRIBUTE_HIDDEN);
  Folder(L"System32");  // the redirected one, under WOW64
  Link(L"a\\gone.lnk", gone);
  Link(L"a\\there.lnk", temp_.File(L"there.exe"));
  Link(L"a\\drive.lnk", L"C:\\");
  Link(L"q.lnk", L"Q:\\gone\\app.exe");
  Link(L"r.lnk", L"R:\\gone\\app.exe");
  Link(L"BackUp\\deep\\gone.lnk", gone);
  Link(L"sys\\gone.lnk", gone);
  Link(L"hidden\\gone.LNK", gone);
  Link(L"System32\\gone.lnk", gone);
  Link(L"gone.lnk.txt", gone);
  WriteFileBytes(temp_.File(L"garbage.lnk"), std::string(300, '\x5A'));
  WriteFileBytes(temp_.File(L"empty.lnk"), "");

  Wow64Folders wow64;
  wow64.active = true;
  wow64.system32 = root + L"\\system32";
  DiskScans(host_, DrivesAs({{L"Q:\\", DRIVE_NO_ROOT_DIR}, {L"R:\\", DRIVE_REMOVABLE}}), wow64)
      .FindFiles(root + L"\\", L"*.lnk", DiskScans::kCheckShortcuts);

  EXPECT_EQ(host_.Locations(),
            (std::vector<std::wstring>{root + L"\\a\\gone.lnk", root + L"\\hidden\\gone.LNK"}));
  for (const ScanResultRow& row : host_.rows) {
    const size_t size = testing_support::ReadFileBytes(row.Location).size();
    EXPECT_EQ(row, (ScanResultRow{L"磁盘文件错误", row.Location, std::to_wstring(size) + L" Byte",
                                  gone, 0}));
  }
  ASSERT_FALSE(host_.statuses.empty());
  EXPECT_EQ(host_.statuses.front(), L"扫描磁盘文件错误：" + root + L"\\");
  EXPECT_FALSE(host_.Shown(L"扫描磁盘文件错误：" + root + L"\\BackUp\\"));
}

TEST_F(DiskScansTest, OneLinkObjectServesTheWalkAndAFileThatFailsToLoadHasNoTarget) {
  const std::wstring gone = temp_.File(L"gone.exe");
  Link(L"gone.lnk", gone);
  Link(L"short.lnk", L"C:\\");
  WriteFileBytes(temp_.File(L"garbage.lnk"), std::string(300, '\x5A'));
  WriteFileBytes(temp_.File(L"empty.lnk"), "");
  DiskScans scans(host_, FileQueries::System(), Wow64Folders());
  // Each after a shortcut that loaded: a failed load must not hand on the previous target.
  const std::pair<const wchar_t*, std::wstring> reads[] = {
      {L"gone.lnk", gone}, {L"garbage.lnk", L""},       {L"gone.lnk", gone},
      {L"empty.lnk", L""}, {L"short.lnk", kLinkMarker}, {L"missing.lnk", L""}};
  for (const auto& [name, target] : reads)
    EXPECT_EQ(scans.GetLinkTarget(temp_.File(name)), target) << name;
}

// Sets the target attributes a shortcut file keeps in its header, as Windows writes them when
// it makes a shortcut to a folder (Wine leaves them 0).
void StoreTargetAttributes(const std::wstring& link, DWORD attributes) {
  std::string bytes = testing_support::ReadFileBytes(link);
  ASSERT_GE(bytes.size(), 0x4Cu);
  memcpy(bytes.data() + 0x18, &attributes, sizeof(attributes));
  WriteFileBytes(link, bytes);
}

bool MakeShellObjectShortcut(const std::wstring& path, int csidl) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  LPITEMIDLIST items = nullptr;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) &&
               SUCCEEDED(link->SetIDList(items)) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  if (file) {
    saved = saved && SUCCEEDED(file->Save(path.c_str(), TRUE));
    file->Release();
  }
  CoTaskMemFree(items);
  link->Release();
  return saved;
}

// Each shortcut that works, or cannot be judged, beside its broken twin, which is still found.
TEST_F(DiskScansTest, ShortcutsThatWorkOrCannotBeJudgedAreNeverReported) {
  const std::wstring root = temp_.Path();
  Folder(L"folder");
  Folder(L"gone folder");
  Link(L"folder.lnk", temp_.File(L"folder"));
  Link(L"gone folder.lnk", temp_.File(L"gone folder"));
  StoreTargetAttributes(temp_.File(L"gone folder.lnk"), FILE_ATTRIBUTE_DIRECTORY);
  RemoveDirectoryW(temp_.File(L"gone folder").c_str());  // made for a folder: not judged
  Folder(L"trailing");
  Link(L"trailing.lnk", temp_.File(L"trailing") + L"\\");
  RemoveDirectoryW(temp_.File(L"trailing").c_str());
  WriteFileBytes(temp_.File(L"was.exe"), "x");
  Link(L"was.lnk", temp_.File(L"was.exe"));
  StoreTargetAttributes(temp_.File(L"was.lnk"), FILE_ATTRIBUTE_ARCHIVE);
  DeleteFileW(temp_.File(L"was.exe").c_str());  // the twin: a file that is gone
  ASSERT_TRUE(MakeShellObjectShortcut(temp_.File(L"computer.lnk"), CSIDL_DRIVES));
  ASSERT_TRUE(MakeShellObjectShortcut(temp_.File(L"printers.lnk"), CSIDL_PRINTERS));
  Link(L"usb.lnk", L"R:\\gone\\app.exe");
  Link(L"away.lnk", L"Q:\\gone\\app.exe");
  Link(L"share.lnk", L"N:\\gone\\app.exe");
  Link(L"cd.lnk", L"S:\\setup.exe");
  Link(L"fixed.lnk", L"T:\\gone\\app.exe");  // the twin on a fixed drive
  Link(L"unspellable.lnk", temp_.File(L"\u0E01.exe"));
  // A target the code page reads as a look-alike ("\u00E0pp.exe"), there under its own name.
  WriteFileBytes(temp_.File(L"\u00C0pp.exe"), "x");
  Link(L"lookalike.lnk", temp_.File(L"\u00C0pp.exe"));

  DiskScans(host_,
            DrivesAs({{L"Q:\\", DRIVE_NO_ROOT_DIR},
                      {L"R:\\", DRIVE_REMOVABLE},
                      {L"N:\\", DRIVE_REMOTE},
                      {L"S:\\", DRIVE_CDROM},
                      {L"T:\\", DRIVE_FIXED}}),
            Wow64Folders())
      .FindFiles(root + L"\\", L"*.lnk", DiskScans::kCheckShortcuts);
  EXPECT_EQ(host_.Locations(),
            (std::vector<std::wstring>{root + L"\\fixed.lnk", root + L"\\was.lnk"}));
}

TEST_F(DiskScansTest, TheRuleOfOneShortcutIsTheWalks) {
  Link(L"gone.lnk", temp_.File(L"gone.exe"));
  WriteFileBytes(temp_.File(L"there.exe"), "x");
  Link(L"there.lnk", temp_.File(L"there.exe"));
  ShellLinkReader links;
  const FileQueries files = FileQueries::System();
  EXPECT_EQ(BrokenShortcutTarget(links, temp_.File(L"gone.lnk"), files, Wow64Folders()),
            std::optional<std::wstring>(temp_.File(L"gone.exe")));
  EXPECT_EQ(BrokenShortcutTarget(links, temp_.File(L"there.lnk"), files, Wow64Folders()),
            std::nullopt);
  WriteFileBytes(temp_.File(L"gone.exe"), "back");
  EXPECT_EQ(BrokenShortcutTarget(links, temp_.File(L"gone.lnk"), files, Wow64Folders()),
            std::nullopt);

  Folder(L"empty");
  EXPECT_TRUE(FolderIsEmpty(temp_.File(L"empty")));
  WriteFileBytes(temp_.File(L"empty\\h"), "x");
  SetFileAttributesW(temp_.File(L"empty\\h").c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_FALSE(FolderIsEmpty(temp_.File(L"empty")));
  EXPECT_FALSE(FolderIsEmpty(temp_.File(L"missing")));
}

TEST_F(DiskScansTest, StopDuringTheWalkEndsItAtTheNextLook) {
  for (int i = 0; i < 3; ++i) {
    Folder(std::to_wstring(i));
    for (int j = 0; j < 4; ++j)
      Link(std::to_wstring(i) + L"\\" + std::to_wstring(j) + L".lnk", temp_.File(L"gone.exe"));
  }
  host_.onPump = [&] {
    if (host_.rows.size() == 2) host_.scanning = false;  // the user presses Stop
  };
  DiskScans(host_, FileQueries::System(), Wow64Folders())
      .FindFiles(temp_.Path() + L"\\", L"*.lnk", DiskScans::kCheckShortcuts);
  EXPECT_EQ(host_.rows.size(), 2u);
  EXPECT_EQ(host_.statuses.size(), 2u);  // the root and the first folder, no more
}

TEST_F(DiskScansTest, EveryDriveFromBToZIsAskedForAndOnlyFixedOnesAreWalked) {
  // Drives A, C, E, F and Y: A is never looked at, E and F are fixed (and missing, so their
  // walks find nothing), C is made a CD-ROM drive so that the test does not walk the prefix.
  const FileQueries files = DrivesAs({{L"A:\\", DRIVE_FIXED},
                                      {L"C:\\", DRIVE_CDROM},
                                      {L"E:\\", DRIVE_FIXED},
                                      {L"F:\\", DRIVE_FIXED},
                                      {L"Y:\\", DRIVE_REMOTE}},
                                     (1u << 0) | (1u << 2) | (1u << 4) | (1u << 5) | (1u << 24));
  const std::tuple<int, bool, int, bool, bool> cases[] = {
      // major version, several systems, answer, asked, walked
      {4, true, IDYES, true, true}, {4, true, IDNO, true, false},  {5, true, IDNO, false, true},
      {6, true, IDNO, false, true}, {4, false, IDNO, false, true},
  };
  for (const auto& [major, multiOS, answer, asked, walked] : cases) {
    FakeHost host;
    host.environment.MajorVersion = major;
    host.environment.MultiOS = multiOS;
    std::vector<std::wstring> questions;
    host.environment.ShowMessage = [&, answer = answer](const std::wstring& text, UINT type) {
      questions.push_back(text);
      EXPECT_EQ(type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
      return answer;
    };
    DiskScans(host, files, Wow64Folders()).ScanLinkFiles();
    EXPECT_EQ(questions.size(), asked ? 1u : 0u) << major;
    if (asked) {
      EXPECT_EQ(questions[0].rfind(L"警告！Sanivo检测到您的计算机安装了多个操作系统", 0), 0u);
    }
    const std::vector<std::wstring> drives = {L"扫描磁盘文件错误：E:\\", L"扫描磁盘文件错误：F:\\"};
    EXPECT_EQ(host.statuses, walked ? drives : std::vector<std::wstring>()) << major;
    // Each drive is walked with the pending count raised, and it is lowered again after.
    EXPECT_EQ(host.pendingAtStatus, std::vector<int>(host.statuses.size(), 1));
    EXPECT_EQ(host.pending, 0);
  }
}

class EmptyFolders : public DiskScansTest {
 protected:
  // Special folders by CSIDL, as the main window would give them.
  void Special(std::map<int, std::wstring> folders) {
    host_.environment.GetSpecialFolder = [folders](HWND, int csidl) {
      const auto it = folders.find(csidl);
      return it != folders.end() ? it->second : std::wstring();
    };
  }
  void Scan() { DiskScans(host_, FileQueries::System(), Wow64Folders()).Scan_Direrr(); }
};

TEST_F(EmptyFolders, OnlyFoldersListedEmptyBelowProgramsAreReported) {
  Special({});
  Scan();  // no Programs folder: nothing, not the root of the current drive
  EXPECT_TRUE(host_.statuses.empty());

  const std::wstring programs = Folder(L"Programs");
  const std::wstring empty = Folder(L"Programs\\空的");
  Folder(L"Programs\\Hidden");
  WriteFileBytes(programs + L"\\Hidden\\desktop.ini", "[x]");
  SetFileAttributesW((programs + L"\\Hidden\\desktop.ini").c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Folder(L"Programs\\Parent");
  const std::wstring child = Folder(L"Programs\\Parent\\Child");
  const std::wstring quiet =
      Folder(L"Programs\\Parent\\Quiet", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Folder(L"Programs\\Startup");
  Folder(L"Programs\\Old Backup");
  Folder(L"Programs\\Old Backup\\Empty");
  // Longer than the system's path limit: it cannot be listed, so it is not taken for empty.
  const std::wstring deep =
      Folder(L"Programs\\" + std::wstring(100, L'p')) + L"\\" + std::wstring(150, L'd');
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  Folder(L"PerUser");
  Folder(L"PerUser\\Empty");
  Special({{CSIDL_COMMON_PROGRAMS, programs},
           {CSIDL_COMMON_STARTUP, programs + L"\\STARTUP"},
           {CSIDL_PROGRAMS, temp_.File(L"PerUser")},
           {CSIDL_STARTUP, temp_.File(L"PerUser\\Startup")}});

  for (const int major : {5, 6}) {
    host_.rows.clear();
    host_.environment.MajorVersion = major;
    Scan();
    EXPECT_EQ(host_.Locations(), (std::vector<std::wstring>{child, quiet, empty}));
    for (const ScanResultRow& row : host_.rows)
      EXPECT_EQ(row, (ScanResultRow{L"磁盘目录错误", row.Location, L"", L"", 0}));
  }
  EXPECT_TRUE(host_.Shown(L"扫描磁盘目录错误：" + programs + L"\\Parent"));
  RemoveDirectoryW((L"\\\\?\\" + deep).c_str());

  host_.rows.clear();
  host_.environment.MajorVersion = 4;  // the per-user folders
  Scan();
  EXPECT_EQ(host_.Locations(), std::vector<std::wstring>{temp_.File(L"PerUser\\Empty")});
}

TEST_F(EmptyFolders, StopKeepsWhatWasFoundBeforeAndAddsNothingAfter) {
  const std::wstring programs = Folder(L"Programs");
  const std::vector<std::wstring> empty = {Folder(L"Programs\\A"), Folder(L"Programs\\C"),
                                           Folder(L"Programs\\D")};
  const std::wstring busy = Folder(L"Programs\\B");
  Folder(L"Programs\\B\\X");
  Special({{CSIDL_COMMON_PROGRAMS, programs}});
  const auto status = [](const std::wstring& folder) { return L"扫描磁盘目录错误：" + folder; };
  // Stop while B is listed: whatever order the system lists the folders in, those looked at
  // before B are reported, and nothing is looked at after it.
  host_.onPump = [&] {
    if (!host_.statuses.empty() && host_.statuses.back() == status(busy)) host_.scanning = false;
  };
  Scan();
  ASSERT_FALSE(host_.statuses.empty());
  EXPECT_EQ(host_.statuses.back(), status(busy));
  std::vector<std::wstring> before;
  for (const std::wstring& folder : empty)
    if (host_.Shown(status(folder))) before.push_back(folder);
  EXPECT_EQ(host_.Locations(), before);
}

}  // namespace

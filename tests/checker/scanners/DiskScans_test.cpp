// The disk scans on folders and shortcuts made in the test's own prefix, with made-up drive
// types where a test needs a drive that the prefix lacks.
#include "checker/scanners/DiskScans.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/testing.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFileBytes;

// The main window's side of a scan, recorded. Stop comes through `onPump`, as the user's click
// comes through the message pump.
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
};

// Drive types by root; every root not named is of the real system.
FileQueries DrivesAs(std::map<std::wstring, UINT> types, DWORD present = 0) {
  FileQueries files = FileQueries::System();
  const auto real = files.DriveType;
  files.DriveType = [types, real](const std::wstring& root) {
    const auto it = types.find(root);
    return it != types.end() ? it->second : real(root);
  };
  if (present) files.LogicalDrives = [present] { return present; };
  return files;
}

void MakeShortcut(const std::wstring& path, const std::wstring& target) {
  ASSERT_TRUE(testing_support::MakeShortcut(path, target)) << path;
}

void MakeFolder(const std::wstring& path, DWORD attributes = 0) {
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << GetLastError();
  if (attributes) SetFileAttributesW(path.c_str(), attributes);
}

class DiskScansTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }
  TempFolder temp_;
};

TEST(DiskRules, ABrokenShortcutIsOneToAMissingPathOnAFixedOrMissingDrive) {
  TempFolder temp;
  WriteFileBytes(temp.File(L"there.exe"), "x");
  const FileQueries files = DrivesAs({{L"Q:\\", DRIVE_NO_ROOT_DIR},
                                      {L"R:\\", DRIVE_REMOVABLE},
                                      {L"N:\\", DRIVE_REMOTE},
                                      {L"S:\\", DRIVE_CDROM},
                                      {L"C:\\", DRIVE_FIXED}});
  const struct {
    std::wstring target;
    bool broken;
  } cases[] = {
      {temp.File(L"gone.exe"), true},
      {temp.File(L"there.exe"), false},
      {temp.Path(), false},  // a folder is a target too
      {L"Q:\\gone\\app.exe", true},
      {L"R:\\gone\\app.exe", false},
      {L"N:\\gone\\app.exe", false},
      {L"S:\\setup.exe", false},
      {L"\\\\server\\share\\app.exe", false},
      {L"", false},
      {kLinkMarker, false},
      {L"notepad.exe", false},      // no drive letter: not ours to judge
      {L"C:gone.exe", false},       // relative to a drive's current folder
      {L"C:\\gone\\?.exe", false},  // a name the code page could not hold
  };
  for (const auto& c : cases)
    EXPECT_EQ(BrokenLinkTarget(c.target, files, Wow64Folders()), c.broken) << c.target;
}

TEST(DiskRules, UnderWow64TheSixtyFourBitFoldersCount) {
  Wow64Folders wow64;
  wow64.active = true;
  wow64.system32 = L"C:\\Windows\\System32";
  wow64.sysWow64 = L"C:\\Windows\\SysWOW64";
  wow64.programFiles = L"C:\\Program Files";
  wow64.programFilesX86 = L"C:\\Program Files (x86)";
  const struct {
    std::wstring target;
    std::vector<std::wstring> alternatives;
  } cases[] = {
      {L"C:\\Windows\\syswow64\\SnippingTool.exe", {L"C:\\Windows\\System32\\SnippingTool.exe"}},
      {L"c:\\program files (x86)\\App\\a.exe", {L"C:\\Program Files\\App\\a.exe"}},
      {L"C:\\Program Files (x86)", {L"C:\\Program Files"}},
      {L"C:\\Program Files (x86)Other\\a.exe", {}},
      {L"C:\\Program Files\\App\\a.exe", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Wow64Alternatives(c.target, wow64), c.alternatives) << c.target;
  EXPECT_TRUE(Wow64Alternatives(cases[0].target, Wow64Folders()).empty());

  FileQueries files = DrivesAs({{L"C:\\", DRIVE_FIXED}});
  files.PathExists = [](const std::wstring& path) {
    return path == L"C:\\Program Files\\App\\a.exe";
  };
  EXPECT_FALSE(BrokenLinkTarget(L"C:\\Program Files (x86)\\App\\a.exe", files, wow64));
  EXPECT_TRUE(BrokenLinkTarget(L"C:\\Program Files (x86)\\App\\b.exe", files, wow64));
}

TEST(DiskRules, BackupAndSystemVolumeFoldersAreLeftOutInAnyLetterCase) {
  const struct {
    const wchar_t* path;
    const wchar_t* bakPath;
    bool skipped;
  } cases[] = {
      {L"C:\\Backup\\", L"Backup", true},
      {L"C:\\Data\\my BACKUPS\\old\\", L"Backup", true},
      {L"D:\\System Volume Information\\", L"Backup", true},
      {L"C:\\数据备份\\", L"备份", true},
      {L"C:\\Saved\\", L"saved", true},
      {L"C:\\Program Files\\", L"Backup", false},
      {L"C:\\Program Files\\", L"", false},  // an empty name leaves nothing out
  };
  for (const auto& c : cases)
    EXPECT_EQ(SkippedDirectory(c.path, c.bakPath), c.skipped) << c.path << L" / " << c.bakPath;
}

TEST_F(DiskScansTest, TheWalkReportsShortcutsWhoseTargetIsGone) {
  const std::wstring root = temp_.Path();
  WriteFileBytes(temp_.File(L"there.exe"), "x");
  MakeFolder(root + L"\\a");
  MakeFolder(root + L"\\BackUp");
  MakeFolder(root + L"\\BackUp\\deep");
  MakeFolder(root + L"\\sys", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  MakeFolder(root + L"\\hidden", FILE_ATTRIBUTE_HIDDEN);
  MakeShortcut(root + L"\\a\\gone.lnk", root + L"\\gone.exe");
  MakeShortcut(root + L"\\a\\there.lnk", root + L"\\there.exe");
  MakeShortcut(root + L"\\a\\drive.lnk", L"C:\\");
  MakeShortcut(root + L"\\q.lnk", L"Q:\\gone\\app.exe");
  MakeShortcut(root + L"\\r.lnk", L"R:\\gone\\app.exe");
  MakeShortcut(root + L"\\BackUp\\deep\\gone.lnk", root + L"\\gone.exe");
  MakeShortcut(root + L"\\sys\\gone.lnk", root + L"\\gone.exe");
  MakeShortcut(root + L"\\hidden\\gone.LNK", root + L"\\gone.exe");
  MakeShortcut(root + L"\\gone.lnk.txt", root + L"\\gone.exe");
  WriteFileBytes(root + L"\\garbage.lnk", std::string(300, '\x5A'));
  WriteFileBytes(root + L"\\empty.lnk", "");

  FakeHost host;
  DiskScans scans(host, DrivesAs({{L"Q:\\", DRIVE_NO_ROOT_DIR}, {L"R:\\", DRIVE_REMOVABLE}}),
                  Wow64Folders());
  scans.FindFiles(root + L"\\", L"*.lnk", DiskScans::kCheckShortcuts);

  EXPECT_EQ(host.Locations(),
            (std::vector<std::wstring>{root + L"\\a\\gone.lnk", root + L"\\hidden\\gone.LNK",
                                       root + L"\\q.lnk"}));
  for (const ScanResultRow& row : host.rows) {
    EXPECT_EQ(row.Item, L"磁盘文件错误");
    const DWORD size = static_cast<DWORD>(testing_support::ReadFileBytes(row.Location).size());
    EXPECT_EQ(row.KeyName, std::to_wstring(size) + L" Byte");
    EXPECT_EQ(row.Description,
              row.Location == root + L"\\q.lnk" ? L"Q:\\gone\\app.exe" : root + L"\\gone.exe");
  }
  ASSERT_FALSE(host.statuses.empty());
  EXPECT_EQ(host.statuses.front(), L"扫描磁盘文件错误：" + root + L"\\");
  EXPECT_EQ(std::count(host.statuses.begin(), host.statuses.end(),
                       L"扫描磁盘文件错误：" + root + L"\\BackUp\\"),
            0);
}

TEST_F(DiskScansTest, OneLinkObjectServesTheWalkAndAFileThatFailsToLoadHasNoTarget) {
  const std::wstring root = temp_.Path();
  MakeShortcut(root + L"\\gone.lnk", root + L"\\gone.exe");
  MakeShortcut(root + L"\\short.lnk", L"C:\\");
  WriteFileBytes(root + L"\\garbage.lnk", std::string(300, '\x5A'));
  WriteFileBytes(root + L"\\empty.lnk", "");
  FakeHost host;
  DiskScans scans(host, FileQueries::System(), Wow64Folders());
  // Each after a shortcut that loaded: a failed load must not hand on the previous target.
  const std::pair<const wchar_t*, std::wstring> reads[] = {
      {L"\\gone.lnk", root + L"\\gone.exe"}, {L"\\garbage.lnk", L""},
      {L"\\gone.lnk", root + L"\\gone.exe"}, {L"\\empty.lnk", L""},
      {L"\\short.lnk", kLinkMarker},         {L"\\missing.lnk", L""}};
  for (const auto& [name, target] : reads)
    EXPECT_EQ(scans.GetLinkTarget(root + name), target) << name;
}

TEST_F(DiskScansTest, StopDuringTheWalkEndsItAtTheNextLook) {
  const std::wstring root = temp_.Path();
  for (int i = 0; i < 4; ++i) {
    const std::wstring folder = root + L"\\f" + std::to_wstring(i);
    MakeFolder(folder);
    for (int j = 0; j < 5; ++j)
      MakeShortcut(folder + L"\\" + std::to_wstring(j) + L".lnk", root + L"\\gone.exe");
  }
  FakeHost host;
  host.onPump = [&] {
    if (host.rows.size() == 2) host.scanning = false;  // the user presses Stop
  };
  DiskScans scans(host, FileQueries::System(), Wow64Folders());
  scans.FindFiles(root + L"\\", L"*.lnk", DiskScans::kCheckShortcuts);
  EXPECT_EQ(host.rows.size(), 2u);
  EXPECT_EQ(host.statuses.size(), 2u);  // the root and the first folder, no more
}

TEST_F(DiskScansTest, EveryDriveFromBToZIsAskedForAndOnlyFixedOnesAreWalked) {
  // Drives A, C, E, F and Y: A is never looked at, E and F are fixed (and missing, so their
  // walks find nothing), C is made a CD-ROM drive so that the test does not walk the prefix.
  const DWORD present = (1u << 0) | (1u << 2) | (1u << 4) | (1u << 5) | (1u << 24);
  const FileQueries files = DrivesAs({{L"A:\\", DRIVE_FIXED},
                                      {L"C:\\", DRIVE_CDROM},
                                      {L"E:\\", DRIVE_FIXED},
                                      {L"F:\\", DRIVE_FIXED},
                                      {L"Y:\\", DRIVE_REMOTE}},
                                     present);
  const struct {
    int major;
    bool multiOS;
    int answer;
    bool asked, walked;
  } cases[] = {
      {4, true, IDYES, true, true}, {4, true, IDNO, true, false},  {5, true, IDNO, false, true},
      {6, true, IDNO, false, true}, {4, false, IDNO, false, true},
  };
  for (const auto& c : cases) {
    FakeHost host;
    host.environment.MajorVersion = c.major;
    host.environment.MultiOS = c.multiOS;
    std::vector<std::wstring> questions;
    host.environment.ShowMessage = [&](const std::wstring& text, UINT type) {
      questions.push_back(text);
      EXPECT_EQ(type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
      return c.answer;
    };
    DiskScans(host, files, Wow64Folders()).ScanLinkFiles();
    EXPECT_EQ(questions.size(), c.asked ? 1u : 0u) << c.major;
    if (c.asked) {
      EXPECT_EQ(questions[0].rfind(L"警告！Sanivo检测到您的计算机安装了多个操作系统", 0), 0u);
    }
    const std::vector<std::wstring> walked = {L"扫描磁盘文件错误：E:\\", L"扫描磁盘文件错误：F:\\"};
    EXPECT_EQ(host.statuses, c.walked ? walked : std::vector<std::wstring>()) << c.major;
    // Each drive is walked with the pending count raised, and it is lowered again after.
    for (const int pending : host.pendingAtStatus) EXPECT_EQ(pending, 1);
    EXPECT_EQ(host.pending, 0);
  }
}

TEST_F(DiskScansTest, UnderWow64TheRedirectedSystem32IsNotWalkedTwice) {
  const std::wstring root = temp_.Path();
  MakeFolder(root + L"\\System32");
  MakeShortcut(root + L"\\System32\\gone.lnk", root + L"\\gone.exe");
  Wow64Folders wow64;
  wow64.active = true;
  wow64.system32 = root + L"\\system32";
  FakeHost host;
  DiskScans(host, FileQueries::System(), wow64)
      .FindFiles(root + L"\\", L"*.lnk", DiskScans::kCheckShortcuts);
  EXPECT_TRUE(host.rows.empty());
}

class EmptyFolders : public DiskScansTest {
 protected:
  // Special folders by CSIDL, as the main window would give them.
  void Folders(std::map<int, std::wstring> folders) {
    host_.environment.GetSpecialFolder = [folders](HWND, int csidl) {
      const auto it = folders.find(csidl);
      return it != folders.end() ? it->second : std::wstring();
    };
  }
  std::wstring Make(const std::wstring& relative) {
    const std::wstring path = temp_.Path() + L"\\" + relative;
    MakeFolder(path);
    return path;
  }
  FakeHost host_;
};

TEST_F(EmptyFolders, OnlyTrulyEmptyFoldersBelowProgramsAreReported) {
  const std::wstring programs = Make(L"Programs");
  const std::wstring empty = Make(L"Programs\\空的");
  Make(L"Programs\\Hidden");
  WriteFileBytes(programs + L"\\Hidden\\desktop.ini", "[x]");
  SetFileAttributesW((programs + L"\\Hidden\\desktop.ini").c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Make(L"Programs\\Parent");
  const std::wstring child = Make(L"Programs\\Parent\\Child");
  const std::wstring hiddenEmpty = Make(L"Programs\\Parent\\Quiet");
  SetFileAttributesW(hiddenEmpty.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Make(L"Programs\\Startup");
  Make(L"Programs\\Old Backup");
  Make(L"Programs\\Old Backup\\Empty");
  Make(L"PerUser");
  Make(L"PerUser\\Empty");
  Folders({{CSIDL_COMMON_PROGRAMS, programs},
           {CSIDL_COMMON_STARTUP, programs + L"\\STARTUP"},
           {CSIDL_PROGRAMS, temp_.Path() + L"\\PerUser"},
           {CSIDL_STARTUP, temp_.Path() + L"\\PerUser\\Startup"}});

  for (const int major : {5, 6}) {
    host_.rows.clear();
    host_.environment.MajorVersion = major;
    DiskScans(host_, FileQueries::System(), Wow64Folders()).Scan_Direrr();
    EXPECT_EQ(host_.Locations(), (std::vector<std::wstring>{child, hiddenEmpty, empty}));
    for (const ScanResultRow& row : host_.rows)
      EXPECT_EQ(row, (ScanResultRow{L"磁盘目录错误", row.Location, L"", L"", 0}));
  }
  EXPECT_NE(std::find(host_.statuses.begin(), host_.statuses.end(),
                      L"扫描磁盘目录错误：" + programs + L"\\Parent"),
            host_.statuses.end());

  host_.rows.clear();
  host_.environment.MajorVersion = 4;  // the per-user folders
  DiskScans(host_, FileQueries::System(), Wow64Folders()).Scan_Direrr();
  EXPECT_EQ(host_.Locations(), (std::vector<std::wstring>{temp_.Path() + L"\\PerUser\\Empty"}));
}

TEST_F(EmptyFolders, NothingIsReportedWithoutAProgramsFolderOrForTheProgramsFolderItself) {
  Folders({});
  DiskScans(host_, FileQueries::System(), Wow64Folders()).Scan_Direrr();
  EXPECT_TRUE(host_.rows.empty());
  EXPECT_TRUE(host_.statuses.empty());  // not the root of the current drive

  Folders({{CSIDL_COMMON_PROGRAMS, Make(L"Programs")}});
  DiskScans(host_, FileQueries::System(), Wow64Folders()).Scan_Direrr();
  EXPECT_TRUE(host_.rows.empty());
}

TEST_F(EmptyFolders, AFolderThatCannotBeListedIsNotReportedAndALongPathIsNotCut) {
  const std::wstring programs = Make(L"Programs");
  const std::wstring parent = Make(L"Programs\\" + std::wstring(100, L'p'));
  // Longer than the system's path limit: made and removed through the long-path form.
  const std::wstring deep = parent + L"\\" + std::wstring(150, L'd');
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr)) << GetLastError();
  Folders({{CSIDL_COMMON_PROGRAMS, programs}});
  DiskScans(host_, FileQueries::System(), Wow64Folders()).Scan_Direrr();
  RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
  EXPECT_TRUE(host_.rows.empty());  // the parent holds it, and it could not be listed
}

TEST_F(EmptyFolders, StopKeepsWhatWasFoundBeforeAndAddsNothingAfter) {
  const std::wstring programs = Make(L"Programs");
  const std::vector<std::wstring> empty = {Make(L"Programs\\A"), Make(L"Programs\\C"),
                                           Make(L"Programs\\D")};
  const std::wstring busy = Make(L"Programs\\B");
  Make(L"Programs\\B\\X");
  Folders({{CSIDL_COMMON_PROGRAMS, programs}});
  const auto status = [](const std::wstring& folder) { return L"扫描磁盘目录错误：" + folder; };
  // Stop while B is listed: whatever order the system lists the folders in, those looked at
  // before B are reported, and nothing is looked at after it.
  host_.onPump = [&] {
    if (!host_.statuses.empty() && host_.statuses.back() == status(busy)) host_.scanning = false;
  };
  DiskScans(host_, FileQueries::System(), Wow64Folders()).Scan_Direrr();
  ASSERT_FALSE(host_.statuses.empty());
  EXPECT_EQ(host_.statuses.back(), status(busy));
  std::vector<std::wstring> before;
  for (const std::wstring& folder : empty)
    if (std::find(host_.statuses.begin(), host_.statuses.end(), status(folder)) !=
        host_.statuses.end())
      before.push_back(folder);
  EXPECT_EQ(host_.Locations(), before);
}

}  // namespace

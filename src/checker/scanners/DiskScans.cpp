#include "checker/scanners/DiskScans.h"

#include <shlobj.h>

#include <utility>

#include "checker/scanners/Registry.h"
#include "common/handles.h"
#include "common/text.h"

namespace {

constexpr wchar_t kShortcutMask[] = L"*.lnk";
constexpr wchar_t kBrokenShortcut[] = L"磁盘文件错误";
constexpr wchar_t kEmptyFolder[] = L"磁盘目录错误";
constexpr wchar_t kMultiOsQuestion[] =
    L"警告！Sanivo检测到您的计算机安装了多个操作系统，在安装有多种文件系统（例如：同时存在Fat32和"
    L"NTFS格式的分区）的机器上扫描磁盘文件错误Sanivo可能无法准确地判断快捷方式是否有效，您真的要进"
    L"行扫描吗？";

// The pending-scan count stays raised for the life of the scope, also when a scan fails inside:
// a count left raised would keep the scan from ever finishing.
class PendingScan {
 public:
  explicit PendingScan(ScanHost& host) : host_(host) { host_.RaisePendingScans(); }
  ~PendingScan() { host_.LowerPendingScans(); }
  PendingScan(const PendingScan&) = delete;
  PendingScan& operator=(const PendingScan&) = delete;

 private:
  ScanHost& host_;
};

enum class Listing { Failed, Stopped, Complete };

// Lists the entries matching `pattern` ("." and ".." left out), handing each to `entry`, which
// returns false to stop. Complete only when the system listed the folder to its end: a folder
// that cannot be listed is not taken for an empty one.
template <typename Entry>
Listing ListEntries(const std::wstring& pattern, Entry&& entry) {
  if (pattern.size() >= MAX_PATH) return Listing::Failed;  // skipped, never cut
  WIN32_FIND_DATAW data;
  const common::FindHandle find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return Listing::Failed;
  do {
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
    if (!entry(data)) return Listing::Stopped;
  } while (FindNextFileW(find.Get(), &data));
  return GetLastError() == ERROR_NO_MORE_FILES ? Listing::Complete : Listing::Failed;
}

bool IsFolder(const WIN32_FIND_DATAW& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A junction or a symbolic link.
bool IsLink(const WIN32_FIND_DATAW& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A path the repair can reach again through the system's ANSI functions.
bool Reportable(const std::wstring& path) {
  const std::string ansi = common::ToAnsi(path);
  return ansi.size() < MAX_PATH && common::FromAnsi(ansi) == path;
}

}  // namespace

DiskScans::DiskScans(ScanHost& host, FileQueries files, Wow64Folders wow64)
    : host_(host),
      files_(FileQueries::RememberingDriveTypes(std::move(files))),
      wow64_(std::move(wow64)) {}

DiskScans::~DiskScans() = default;

void DiskScans::ScanLinkFiles() {
  const ScanEnvironment& environment = host_.Environment();
  if (environment.MultiOS && environment.MajorVersion == 4) {
    const int answer = environment.ShowMessage
                           ? environment.ShowMessage(kMultiOsQuestion, MB_YESNO | MB_ICONQUESTION)
                           : IDNO;
    if (answer != IDYES) return;
  }
  // Drive A: is never looked at (a floppy drive would be asked for its disk).
  const DWORD present = files_.LogicalDrives();
  std::vector<std::wstring> drives;
  for (int i = 1; i <= 25; ++i)
    if (present & (1u << i))
      drives.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":");
  for (const std::wstring& drive : drives) {
    if (!host_.Scanning()) break;
    // So that a worker thread ending while this drive is walked does not finish the scan.
    const PendingScan pending(host_);
    if (files_.DriveType(drive + L"\\") == DRIVE_FIXED)
      FindFiles(drive + L"\\", kShortcutMask, kCheckShortcuts);
  }
}

bool DiskScans::LeftOut(const std::wstring& directory) const {
  if (SkippedDirectory(directory, host_.Environment().BakPath)) return true;
  // Seen from a 32-bit program on 64-bit Windows, System32 shows SysWOW64 once more.
  return wow64_.active && !wow64_.system32.empty() &&
         registry::SameName(directory, wow64_.system32 + L"\\");
}

void DiskScans::FindFiles(const std::wstring& directory, const std::wstring& mask, int mode) {
  if (!host_.Scanning() || LeftOut(directory)) return;
  if (mask == kShortcutMask) host_.ShowStatus(L"扫描磁盘文件错误：" + directory);
  ProcessMessages();

  // One listing serves both: the subfolders (system folders and links left out) and the files
  // matching the mask (never folders).
  std::vector<std::wstring> subfolders;
  std::vector<WIN32_FIND_DATAW> found;
  ListEntries(directory + L"*.*", [&](const WIN32_FIND_DATAW& entry) {
    if (IsFolder(entry)) {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) && !IsLink(entry))
        subfolders.push_back(entry.cFileName);
    } else if (MatchesMask(entry.cFileName, mask)) {
      found.push_back(entry);
    }
    KeepResponsive();
    return host_.Scanning();
  });

  for (const WIN32_FIND_DATAW& file : found) {
    if (!host_.Scanning()) return;
    if (mode == kCheckShortcuts) CheckShortcut(directory, file);
    KeepResponsive();
  }
  for (const std::wstring& subfolder : subfolders) {
    if (!host_.Scanning()) return;
    FindFiles(directory + subfolder + L"\\", mask, mode);
  }
}

void DiskScans::CheckShortcut(const std::wstring& directory, const WIN32_FIND_DATAW& file) {
  const std::wstring path = directory + file.cFileName;
  if (!Reportable(path)) return;
  try {
    if (!links_) links_ = std::make_unique<ShellLinkReader>();
    if (const auto target = BrokenShortcutTarget(*links_, path, files_, wow64_))
      ListView1_AddFile(directory, file, *target);
  } catch (...) {
    // A failure while one file is checked skips that file; the walk goes on.
  }
}

namespace {

std::wstring TargetOrMarker(ShellLinkReader& links, const std::wstring& path) {
  const std::wstring target = links.Target(path);
  const int length = common::AnsiLength(target);
  return length >= 1 && length <= 3 ? std::wstring(kLinkMarker) : target;
}

}  // namespace

std::wstring DiskScans::GetLinkTarget(const std::wstring& path) {
  if (!links_) links_ = std::make_unique<ShellLinkReader>();
  return TargetOrMarker(*links_, path);
}

std::optional<std::wstring> BrokenShortcutTarget(ShellLinkReader& links, const std::wstring& path,
                                                 const FileQueries& files,
                                                 const Wow64Folders& wow64) {
  const std::wstring target = TargetOrMarker(links, path);
  if (!BrokenLinkTarget(target, files, wow64)) return std::nullopt;
  // A folder that is gone may come back (a user's folder made again on demand); a target read
  // with "?" for a character is not the real one.
  const ShellLinkReader::Facts facts = links.LoadedFacts(path, target);
  if (facts.folder || !facts.wholeInCodePage) return std::nullopt;
  return target;
}

bool FolderIsEmpty(const std::wstring& path) {
  bool empty = true;
  const Listing listing = ListEntries(path + L"\\*.*", [&empty](const WIN32_FIND_DATAW&) {
    empty = false;
    return false;
  });
  return listing == Listing::Complete && empty;
}

void DiskScans::ListView1_AddFile(const std::wstring& directory, const WIN32_FIND_DATAW& file,
                                  const std::wstring& target) {
  if (!host_.Scanning()) return;
  const ULONGLONG size = (static_cast<ULONGLONG>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
  host_.AddRow(
      {kBrokenShortcut, directory + file.cFileName, std::to_wstring(size) + L" Byte", target, 0});
  ProcessMessages();
}

void DiskScans::Scan_Direrr() {
  const ScanEnvironment& environment = host_.Environment();
  const auto specialFolder = [&](int csidl) {
    return environment.GetSpecialFolder
               ? environment.GetSpecialFolder(environment.DesktopWnd, csidl)
               : std::wstring();
  };
  const bool perUser = environment.MajorVersion == 4;
  const std::wstring programs = specialFolder(perUser ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS);
  // Without a Programs folder there is nothing to look at: an empty path would be the root of
  // the current drive.
  if (programs.empty()) return;
  const std::wstring startup = specialFolder(perUser ? CSIDL_STARTUP : CSIDL_COMMON_STARTUP);

  emptyDirs_.clear();
  FindEmptyDirs(programs);
  for (const std::wstring& folder : emptyDirs_) {
    // The Start menu's own folders are never leftovers, however empty.
    if (registry::SameName(folder, programs) ||
        (!startup.empty() && registry::SameName(folder, startup)))
      continue;
    host_.AddRow({kEmptyFolder, folder, L"", L"", 0});
    ProcessMessages();
  }
  emptyDirs_.clear();
}

void DiskScans::FindEmptyDirs(const std::wstring& directory) {
  if (!host_.Scanning() || SkippedDirectory(directory, host_.Environment().BakPath)) return;
  host_.ShowStatus(L"扫描磁盘目录错误：" + directory);
  ProcessMessages();

  // Any entry at all (a hidden system file too) makes the folder not empty; every subfolder is
  // looked at, whatever its attributes, but links are not followed.
  std::vector<std::wstring> subfolders;
  bool empty = true;
  const Listing listing = ListEntries(directory + L"\\*.*", [&](const WIN32_FIND_DATAW& entry) {
    empty = false;
    if (IsFolder(entry) && !IsLink(entry)) subfolders.push_back(entry.cFileName);
    KeepResponsive();
    return host_.Scanning();
  });
  if (listing == Listing::Complete && empty && host_.Scanning() && Reportable(directory))
    emptyDirs_.push_back(directory);

  for (const std::wstring& subfolder : subfolders) {
    if (!host_.Scanning()) return;
    FindEmptyDirs(directory + L"\\" + subfolder);
  }
}

void DiskScans::ProcessMessages() {
  host_.ProcessMessages();
  lastPump_ = GetTickCount();
}

void DiskScans::KeepResponsive() {
  if (GetTickCount() - lastPump_ >= kPumpIntervalMs) ProcessMessages();
}

void ScanLinkFiles(ScanHost& host) {
  DiskScans(host, FileQueries::System(), Wow64Folders::ForThisProcess(host.Environment().WinDir))
      .ScanLinkFiles();
}

void Scan_Direrr(ScanHost& host) {
  DiskScans(host, FileQueries::System(), Wow64Folders::ForThisProcess(host.Environment().WinDir))
      .Scan_Direrr();
}

// Sanivo.exe started for real: its window, a scan to its end, one instance only, its settings,
// its registry record, the Windows XP check list, its help, the registry and disk checks,
// repair, backup and restore through their real message boxes and the real registry editor, and
// the ignore list through the result list's pop-up menu and its window.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/text.h"
#include "e2e/process.h"
#include "support/registry.h"
#include "support/controls.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;

// HKEY_LOCAL_MACHINE\Software in one registry view, open for changes.
common::RegKey OpenSoftware(REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
    return {};
  return common::RegKey(key);
}

// A REG_SZ value written through the wide functions, its key made as needed.
void SetWideText(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const common::RegKey owned(key);
  RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The newest undo journal in a folder.
std::wstring LatestJournal(const std::wstring& folder) {
  WIN32_FIND_DATAW found = {};
  std::wstring latest;
  const HANDLE find = FindFirstFileW((folder + L"\\Undo_Sanivo_*.reg").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return latest;
  do {
    if (latest.empty() || lstrcmpW(found.cFileName, latest.c_str()) > 0) latest = found.cFileName;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return folder + L"\\" + latest;
}

std::wstring TextOf(HKEY root, const std::wstring& path, const wchar_t* name) {
  wchar_t text[256] = {};
  DWORD size = sizeof(text);
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return L"(none)";
  return text;
}
using e2e::RemoteList;
using testing_support::PumpFor;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::TestKey;
using testing_support::WaitFor;
using testing_support::WriteFileBytes;
using testing_support::WindowText;

constexpr wchar_t kFormClass[] = L"TForm1";

// A child anywhere below `parent` with this control id and class.
HWND Child(HWND parent, int id, const wchar_t* className) {
  for (HWND child : testing_support::ChildWindows(parent))
    if (GetDlgCtrlID(child) == id &&
        lstrcmpiW(testing_support::ClassOf(child).c_str(), className) == 0)
      return child;
  return nullptr;
}

HWND CheckList(HWND form) { return Child(form, 200, WC_LISTVIEWW); }
HWND ResultList(HWND form) { return Child(form, 201, WC_LISTVIEWW); }
HWND StatusBar(HWND form) { return Child(form, 203, STATUSCLASSNAMEW); }
HWND ScanButton(HWND form) { return Child(form, 100, L"Button"); }
HWND SelectAllButton(HWND form) { return Child(form, 114, L"Button"); }

// Checked states of the check list, read across the process boundary.
std::vector<bool> CheckedRows(HWND list) {
  std::vector<bool> rows;
  const auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto state = SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK);
    rows.push_back(((state & LVIS_STATEIMAGEMASK) >> 12) == 2);
  }
  return rows;
}

int CountWindows(const wchar_t* className) {
  int count = 0;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) ++count;
  return count;
}

std::wstring RegisteredPath() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Tarq", 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return {};
  const common::RegKey key(opened);
  wchar_t data[MAX_PATH * 2] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(key.Get(), L"Sanivo", nullptr, &type, reinterpret_cast<BYTE*>(data),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  return data;
}

// A Wine setting read when a program starts: the Windows version it reports.
class ReportedVersion {
 public:
  explicit ReportedVersion(const wchar_t* version) {
    HKEY made = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Sanivo.exe", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &made, nullptr);
    key_.Reset(made);
    RegSetValueExW(key_.Get(), L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
  }
  ~ReportedVersion() { RegDeleteValueW(key_.Get(), L"Version"); }

 private:
  common::RegKey key_;
};

// Appends a row to the result list of the checker (a process of the same bitness as the test),
// through memory of that process.
void AddRemoteRow(DWORD processId, HWND list, const std::vector<std::wstring>& texts) {
  const common::KernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  ASSERT_TRUE(process);
  constexpr size_t kTextBytes = 1024;
  auto* remote = static_cast<char*>(VirtualAllocEx(
      process.Get(), nullptr, sizeof(LVITEMW) + kTextBytes, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(remote, nullptr);
  const int index = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int column = 0; column < 4; ++column) {
    std::wstring text = texts[static_cast<size_t>(column)];
    text.resize(std::min(text.size(), kTextBytes / 2 - 1));
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    WriteProcessMemory(process.Get(), remote, &item, sizeof(item), nullptr);
    WriteProcessMemory(process.Get(), item.pszText, text.c_str(), (text.size() + 1) * 2, nullptr);
    SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, index,
                 reinterpret_cast<LPARAM>(remote));
  }
  VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A message box of the process, caption "Sanivo", once it shows.
HWND WaitForBox(DWORD processId, int timeoutMs) {
  HWND box = nullptr;
  WaitFor(
      [&] {
        box = nullptr;
        while ((box = FindWindowExW(nullptr, box, L"#32770", L"Sanivo")) != nullptr) {
          DWORD owner = 0;
          GetWindowThreadProcessId(box, &owner);
          if (owner == processId && IsWindowVisible(box)) return true;
        }
        return false;
      },
      timeoutMs);
  return box;
}

std::wstring BoxText(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  return text;
}

// Answers the box and waits until it has gone.
void Answer(HWND box, int button) {
  PostMessageW(box, WM_COMMAND, button, 0);
  WaitFor([&] { return !IsWindow(box); }, 5000);
}

// The HTML Help control's class registration taken away for the life of the object.
class HelpControlUnregistered {
 public:
  HelpControlUnregistered() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &opened) == ERROR_SUCCESS) {
      const common::RegKey key(opened);
      DWORD size = sizeof(saved_) - sizeof(wchar_t);
      RegQueryValueExW(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(saved_),
                       &size);
    }
    removed_ = RegDeleteKeyW(HKEY_CLASSES_ROOT, kServerKey) == ERROR_SUCCESS;
  }
  ~HelpControlUnregistered() {
    HKEY made = nullptr;
    if (!removed_ || RegCreateKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &made, nullptr) != ERROR_SUCCESS)
      return;
    const common::RegKey key(made);
    RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_),
                   static_cast<DWORD>((wcslen(saved_) + 1) * sizeof(wchar_t)));
  }
  bool Removed() const { return removed_; }

 private:
  static constexpr wchar_t kServerKey[] =
      L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
  wchar_t saved_[MAX_PATH * 2] = {};
  bool removed_ = false;
};

class SanivoEndToEnd : public ::testing::Test {
 protected:
  void TearDown() override {
    // No test leaves a checker behind for the next one.
    EXPECT_TRUE(WaitFor([] { return CountWindows(kFormClass) == 0; }, 5000));
  }
  TempFolder folder_;
};

TEST_F(SanivoEndToEnd, StartsScansToTheEndAndKeepsItsPlaceOnClose) {
  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(form), L"Sanivo");
  RECT r;
  GetWindowRect(form, &r);
  EXPECT_EQ(r.right - r.left, 608);
  EXPECT_EQ(r.bottom - r.top, 465);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 608) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 465) / 2);
  EXPECT_NE(GetMenu(form), nullptr);

  // It recorded where it lives, under its product name.
  EXPECT_EQ(RegisteredPath(), sanivo.ExePath());

  // Wine reports Windows 7: twelve checks, the last one unchecked.
  std::vector<bool> twelve(12, true);
  twelve[11] = false;
  EXPECT_EQ(CheckedRows(CheckList(form)), twelve);
  EXPECT_EQ(WindowText(StatusBar(form)).rfind(L"欢迎使用Sanivo", 0), 0u);

  // A scan runs to its end (what it finds in the test prefix is the business of other tests);
  // the count is of all its rows, whether the registry threads or the command ended last.
  const HWND scan = ScanButton(form);
  ASSERT_NE(scan, nullptr);
  EXPECT_EQ(WindowText(scan), L"扫描");
  SendMessageW(scan, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor(
      [&] { return WindowText(StatusBar(form)).rfind(L"扫描完毕。共检查到：", 0) == 0; }, 120000))
      << "status: " << WindowText(StatusBar(form)).size();
  EXPECT_EQ(WindowText(scan), L"扫描");
  const RemoteList results(ResultList(form));
  const int count = results.Count();
  EXPECT_EQ(WindowText(StatusBar(form))
                .rfind(L"扫描完毕。共检查到：" + std::to_wstring(count) + L" 个错误", 0),
            0u);

  // A second start ends at once, without a window of its own.
  TempFolder elsewhere;
  ProgramUnderTest second(elsewhere.Path(), L"Sanivo.exe");
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(second.WaitForExit(5000));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_EQ(CountWindows(kFormClass), 1);
  EXPECT_EQ(GetFileAttributesW((elsewhere.Path() + L"\\Set.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(RegisteredPath(), sanivo.ExePath());  // the second start wrote nothing

  // Moved and closed, it writes its place; the next start comes back there.
  SetWindowPos(form, nullptr, 150, 60, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(sanivo.WaitForExit(10000));
  EXPECT_EQ(sanivo.ExitCode(), 0u);
  EXPECT_EQ(ReadFileBytes(folder_.File(L"Set.ini")),
            "[Sanivo]\r\nWindow=Normal\r\nTop=60\r\nHeight=480\r\nWidth=640\r\n");

  ProgramUnderTest again(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(again.Start());
  const HWND reopened = again.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(reopened, nullptr);
  GetWindowRect(reopened, &r);
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.bottom - r.top, 480);
  EXPECT_EQ(r.right - r.left, 640);
  PostMessageW(reopened, WM_CLOSE, 0, 0);
  EXPECT_TRUE(again.WaitForExit(10000));
}

TEST_F(SanivoEndToEnd, ThePrivateEndMessageEndsItWithoutWritingSetIni) {
  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  PostMessageW(form, 0x0914, 0, 0);
  ASSERT_TRUE(sanivo.WaitForExit(10000));
  EXPECT_EQ(sanivo.ExitCode(), 0u);
  EXPECT_EQ(GetFileAttributesW(folder_.File(L"Set.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SanivoEndToEnd, MaxReopensMaximised) {
  testing_support::WriteFileBytes(
      folder_.File(L"Set.ini"), "[Sanivo]\r\nWindow=Max\r\nTop=10\r\nHeight=200\r\nWidth=300\r\n");
  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(IsZoomed(form));
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(sanivo.WaitForExit(10000));
  EXPECT_NE(ReadFileBytes(folder_.File(L"Set.ini")).find("Window=Max\r\n"), std::string::npos);
}

TEST_F(SanivoEndToEnd, OnWindowsXpWithTheSystemFileCheckerThereAreThirteenChecks) {
  const ReportedVersion xp(L"winxp");
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring checker = std::wstring(windows) + L"\\system32\\sfc.exe";
  ASSERT_EQ(GetFileAttributesW(checker.c_str()), INVALID_FILE_ATTRIBUTES)
      << "this Wine has no system file checker; the test puts a stand-in there";

  const auto rows = [&] {
    ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
    EXPECT_TRUE(sanivo.Start());
    const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
    std::vector<bool> checked = form ? CheckedRows(CheckList(form)) : std::vector<bool>();
    if (form) PostMessageW(form, 0x0914, 0, 0);
    EXPECT_TRUE(sanivo.WaitForExit(10000));
    return checked;
  };
  std::vector<bool> twelve(12, true);
  twelve[11] = false;
  EXPECT_EQ(rows(), twelve);

  // A stand-in program under the checker's name (it is never run: no scanner thread ends).
  ASSERT_TRUE(CopyFileW(testing_support::BesideProgram(L"zephra_keeper.exe").c_str(),
                        checker.c_str(), TRUE));
  std::vector<bool> thirteen(13, true);
  thirteen[12] = false;
  EXPECT_EQ(rows(), thirteen);
  DeleteFileW(checker.c_str());
}

// F1 as a user presses it, in the checker's window.
void PressF1(HWND form) {
  PostMessageW(form, WM_KEYDOWN, VK_F1, 0x003B0001);
  PostMessageW(form, WM_KEYUP, VK_F1, 0xC03B0001);
}

HWND HelpWindowOf(const ProgramUnderTest& program, int timeoutMs) {
  return program.WaitForWindow(L"HH Parent", timeoutMs);
}

TEST_F(SanivoEndToEnd, F1OpensTheHelpFileBesideItAndTheProgramEndsWithItOpen) {
  ASSERT_TRUE(CopyFileW(testing_support::BesideProgram(L"Tarqcc.chm").c_str(),
                        folder_.File(L"Tarqcc.chm").c_str(), FALSE));
  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  PressF1(form);
  const HWND help = HelpWindowOf(sanivo, 10000);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(WindowText(help), L"Sanivo 帮助");  // the title of our help file
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(sanivo.WaitForExit(10000));
  EXPECT_EQ(sanivo.ExitCode(), 0u);
}

TEST_F(SanivoEndToEnd, WithoutTheHelpControlsRegistrationF1DoesNothingAndTheRestWorks) {
  ASSERT_TRUE(CopyFileW(testing_support::BesideProgram(L"Tarqcc.chm").c_str(),
                        folder_.File(L"Tarqcc.chm").c_str(), FALSE));
  const HelpControlUnregistered unregistered;
  ASSERT_TRUE(unregistered.Removed());
  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  PressF1(form);
  EXPECT_EQ(HelpWindowOf(sanivo, 1500), nullptr);
  SendMessageW(ScanButton(form), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor(
      [&] { return WindowText(StatusBar(form)).rfind(L"扫描完毕。共检查到：", 0) == 0; }, 30000));
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(sanivo.WaitForExit(10000));
  EXPECT_EQ(sanivo.ExitCode(), 0u);
}

TEST_F(SanivoEndToEnd, TheDiskChecksFindABrokenShortcutAndAnEmptyStartMenuFolder) {
  // A shortcut to a file that is gone, in the test's folder on drive C:, and an empty folder
  // below the all-users Programs folder.
  CoInitialize(nullptr);
  const std::wstring link = folder_.File(L"失效的快捷方式.lnk");
  const std::wstring target = folder_.File(L"gone.exe");
  ASSERT_TRUE(testing_support::MakeShortcut(link, target));
  CoUninitialize();
  wchar_t programs[MAX_PATH] = {}, startup[MAX_PATH] = {};
  ASSERT_HRESULT_SUCCEEDED(
      SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, programs));
  SHGetFolderPathW(nullptr, CSIDL_COMMON_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, startup);
  const std::wstring empty = std::wstring(programs) + L"\\Zephra空目录";
  ASSERT_TRUE(CreateDirectoryW(empty.c_str(), nullptr));
  struct Cleanup {
    std::wstring path;
    ~Cleanup() { RemoveDirectoryW(path.c_str()); }
  } cleanup{empty};

  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  // Only the two disk checks: all off (全否), then rows 10 and 11 on.
  SendMessageW(SelectAllButton(form), BM_CLICK, 0, 0);
  const RemoteList checks(CheckList(form));
  checks.SetChecked(10, true);
  checks.SetChecked(11, true);
  std::vector<bool> disks(12, false);
  disks[10] = disks[11] = true;
  ASSERT_EQ(CheckedRows(CheckList(form)), disks);

  PostMessageW(ScanButton(form), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor(
      [&] { return WindowText(StatusBar(form)).rfind(L"扫描完毕。共检查到：", 0) == 0; }, 120000));

  const RemoteList results(ResultList(form));
  std::vector<std::wstring> rows;
  for (int i = 0; i < results.Count(); ++i) rows.push_back(results.Row(i));
  const auto size = testing_support::ReadFileBytes(link).size();
  const std::wstring shortcutRow =
      L"磁盘文件错误|" + link + L"|" + std::to_wstring(size) + L" Byte|" + target + L"|0";
  const std::wstring folderRow = L"磁盘目录错误|" + empty + L"|||0";
  EXPECT_EQ(std::count(rows.begin(), rows.end(), shortcutRow), 1);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), folderRow), 1);
  for (const std::wstring& row : rows)
    EXPECT_EQ(row.find(L"|" + std::wstring(startup) + L"|"), std::wstring::npos);
  EXPECT_EQ(WindowText(StatusBar(form)),
            L"扫描完毕。共检查到：" + std::to_wstring(rows.size()) + L" 个错误。");

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sanivo.WaitForExit(10000));
}

// Only the registry threads' rows: all off (全否), then rows 2, 7, 8 and 9 on.
void CheckThreadRowsOnly(HWND form) {
  SendMessageW(SelectAllButton(form), BM_CLICK, 0, 0);
  const RemoteList checks(CheckList(form));
  std::vector<bool> rows(12, false);
  for (int row : {2, 7, 8, 9}) {
    checks.SetChecked(row, true);
    rows[static_cast<size_t>(row)] = true;
  }
  ASSERT_EQ(CheckedRows(CheckList(form)), rows);
}

bool HasValue(HKEY root, const std::wstring& path, const wchar_t* name) {
  return RegGetValueW(root, path.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

// The window answers within a second; a hung one would not.
bool Answers(HWND form) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored) != 0;
}

TEST_F(SanivoEndToEnd, TheRegistryThreadsListTheirFindingsAndTheRepairTakesOnlyThose) {
  // A stale path in the user's registry (seen again below the user's SID in HKEY_USERS), one in
  // the machine's, and a class whose open command starts a program that is gone, with an
  // extension naming it.
  const TestKey user;
  user.SetText(L"", L"Path", L" C:\\没有\\a.exe /s\t");
  user.SetText(L"", L"Kept", L"原来的");
  const TestKey machine(HKEY_LOCAL_MACHINE, L"Software", L"ZephraE2E");
  machine.SetText(L"", L"", L"C:\\没有\\b.exe");
  const TestKey broken(HKEY_LOCAL_MACHINE, L"Software\\CLASSES", L"ZephraE2E.Class");
  broken.SetText(L"Shell\\Open\\command", L"", L"C:\\没有\\c.exe \"%1\"");
  const TestKey kept(HKEY_LOCAL_MACHINE, L"Software\\CLASSES", L"ZephraE2E.Kept");
  kept.SetText(L"Shell\\Open\\command", L"", L"notepad.exe \"%1\"");  // found on the path
  const TestKey extension(HKEY_LOCAL_MACHINE, L"Software\\CLASSES", L".zephrae2e");
  const std::wstring className = broken.Path().substr(broken.Path().rfind(L'\\') + 1);
  extension.SetText(L"", L"", className);
  const std::wstring extensionName = extension.Path().substr(extension.Path().rfind(L'\\') + 1);

  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  CheckThreadRowsOnly(form);
  PostMessageW(ScanButton(form), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return WindowText(ScanButton(form)) == L"停止"; }, 10000));
  EXPECT_TRUE(Answers(form));
  ASSERT_TRUE(WaitFor(
      [&] { return WindowText(StatusBar(form)).rfind(L"扫描完毕。共检查到：", 0) == 0; }, 120000));

  const RemoteList results(ResultList(form));
  std::vector<std::wstring> rows;
  for (int i = 0; i < results.Count(); ++i) rows.push_back(results.Row(i));
  // The threads' last one ends the scan: no full stop.
  EXPECT_EQ(WindowText(StatusBar(form)),
            L"扫描完毕。共检查到：" + std::to_wstring(rows.size()) + L" 个错误");
  const std::wstring userRow = L"|Path|C:\\没有\\a.exe /s|0";
  const auto count = [&](const std::wstring& row) {
    return std::count(rows.begin(), rows.end(), row);
  };
  EXPECT_EQ(count(L"HKEY_CURRENT_USER|" + user.Path() + userRow), 1);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                          [&](const std::wstring& row) {
                            return row.rfind(L"HKEY_USERS|S-1-5-", 0) == 0 &&
                                   row.find(L"\\" + user.Path() + userRow) != std::wstring::npos;
                          }),
            1);
  EXPECT_EQ(count(L"HKEY_LOCAL_MACHINE|" + machine.Path() + L"|@D_e_f_a_u_l_t|C:\\没有\\b.exe|0"),
            1);
  EXPECT_EQ(count(L"HKEY_LOCAL_MACHINE|Software\\CLASSES\\" + className + L"||错误关联" +
                  className + L"|0"),
            1);
  EXPECT_EQ(count(L"HKEY_LOCAL_MACHINE|Software\\CLASSES\\" + extensionName + L"||错误关联" +
                  className + L"|0"),
            1);

  // Repair all, without a backup: what the rows name goes, nothing beside it.
  PostMessageW(form, WM_COMMAND, 102, 0);
  HWND box = WaitForBox(sanivo.ProcessId(), 5000);
  ASSERT_NE(box, nullptr);
  Answer(box, IDCANCEL);
  box = WaitForBox(sanivo.ProcessId(), 5000);
  ASSERT_NE(box, nullptr);
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return WindowText(StatusBar(form)) == L"全部修复完毕"; }, 30000));
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, user.Path(), L"Path"));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, user.Path(), L"Kept"));
  EXPECT_TRUE(machine.KeyExists(L""));
  wchar_t text[64] = L"?";  // the default value is emptied, not deleted
  DWORD size = sizeof(text);
  RegGetValueW(HKEY_LOCAL_MACHINE, machine.Path().c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text,
               &size);
  EXPECT_STREQ(text, L"");
  EXPECT_FALSE(broken.KeyExists(L""));
  EXPECT_FALSE(extension.KeyExists(L""));
  EXPECT_TRUE(kept.KeyExists(L"Shell\\Open\\command"));

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sanivo.WaitForExit(10000));
}

TEST_F(SanivoEndToEnd, StopEndsTheRegistryThreadsAndNoRowFollows) {
  // Enough stale paths that the walk is still listing them when 停止 is pressed.
  const TestKey user;
  for (int i = 0; i < 2000; ++i)
    user.SetText(L"键" + std::to_wstring(i), L"Path", L"C:\\没有\\" + std::to_wstring(i) + L".exe");

  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  CheckThreadRowsOnly(form);
  const RemoteList results(ResultList(form));
  PostMessageW(ScanButton(form), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return results.Count() > 0; }, 60000));
  EXPECT_TRUE(Answers(form));
  SendMessageW(ScanButton(form), BM_CLICK, 0, 0);  // 停止
  EXPECT_EQ(WindowText(ScanButton(form)), L"扫描");
  ASSERT_TRUE(WaitFor(
      [&] { return WindowText(StatusBar(form)).rfind(L"扫描完毕。共检查到：", 0) == 0; }, 10000));
  const int rows = results.Count();
  EXPECT_LT(rows, 4000);  // each path twice: as the current user's and among all users'
  PumpFor(1000);
  EXPECT_EQ(results.Count(), rows);
  EXPECT_EQ(WindowText(StatusBar(form)),
            L"扫描完毕。共检查到：" + std::to_wstring(rows) + L" 个错误");

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sanivo.WaitForExit(10000));
}

TEST_F(SanivoEndToEnd, RepairsAllThroughItsBoxesThenBacksUpAndRestoresTheRegistry) {
  // A Start-menu order entry whose folder is gone: a stale key with content, deleted whole,
  // names and texts outside the code page below it included.
  const TestKey application(
      HKEY_CURRENT_USER,
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
      L"ZephraE2E");
  application.SetText(L"设置\\更深", L"路径", L"C:\\没有\\a.exe");
  const std::wstring foreign = application.Path() + L"\\Ελληνικά ☃";
  SetWideText(foreign, L"ключ ✓", L"Ελληνικά ☃ ✓");
  const std::wstring entry = application.Path().substr(application.Path().rfind(L'\\') + 1);
  // Reported empty, it got settings since: repair looks again and leaves it whole.
  const TestKey grown(HKEY_CURRENT_USER, L"Software", L"ZephraE2E");
  grown.SetText(L"设置\\更深", L"路径", L"C:\\没有\\a.exe");
  const TestKey values(HKEY_CURRENT_USER, L"Software", L"ZephraE2E");
  values.SetText(L"", L"Stale", L"C:\\没有.exe");
  values.SetText(L"", L"Kept", L"原来的");
  // A key in each registry view of HKEY_LOCAL_MACHINE\Software (one view on 32-bit Windows): the
  // registry editor of the Windows folder backs both up and brings both back.
  const common::RegKey software32 = OpenSoftware(KEY_WOW64_32KEY);
  const common::RegKey software64 = OpenSoftware(KEY_WOW64_64KEY);
  ASSERT_TRUE(software32 && software64);
  const TestKey in32(software32.Get(), L"ZephraTests", L"Backup");
  const TestKey in64(software64.Get(), L"ZephraTests", L"Backup");
  in32.SetText(L"", L"视图", L"32 位");
  in64.SetText(L"", L"视图", L"64 位");
  // A registry editor beside the program must never be the one that runs.
  ASSERT_TRUE(CopyFileW(testing_support::BesideProgram(L"zephra_recorder.exe").c_str(),
                        folder_.File(L"regedit.exe").c_str(), FALSE));

  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  const DWORD pid = sanivo.ProcessId();
  AddRemoteRow(pid, ResultList(form), {L"HKEY_CURRENT_USER", application.Path(), L"", entry});
  AddRemoteRow(pid, ResultList(form), {L"HKEY_CURRENT_USER", grown.Path(), L"", L"无效软件"});
  AddRemoteRow(pid, ResultList(form),
               {L"HKEY_CURRENT_USER", values.Path(), L"Stale", L"C:\\没有.exe"});

  // Repair all: no backup first, then yes.
  PostMessageW(form, WM_COMMAND, 102, 0);
  HWND box = WaitForBox(pid, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box),
            L"Sanivo建议在全部删除前进行注册表备份。单击“确认”将注册表备份为文件，如果不需要备份，"
            L"请单击“取消”。");
  Answer(box, IDCANCEL);
  box = WaitForBox(pid, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), L"Sanivo将要修复所有检查到的系统错误，确认吗？");
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor(
      [&] {
        return WindowText(StatusBar(form)) ==
               L"全部修复完毕。修复了 2 项，1 项没有修复：1 项在检查之后已经改变。";
      },
      10000));
  EXPECT_FALSE(application.KeyExists(L""));
  EXPECT_TRUE(grown.KeyExists(L"设置\\更深"));
  EXPECT_TRUE(values.KeyExists(L""));
  const std::string log = ReadFileBytes(folder_.File(L"Repair.log"));
  EXPECT_NE(log.find(common::ToAnsi(L"行为=全部修复")), std::string::npos);
  EXPECT_NE(log.find(common::ToAnsi(L"撤销文件=" + folder_.Path() + L"\\Undo_Sanivo_")),
            std::string::npos);
  // The day's undo journal, imported by the registry editor of the Windows folder, brings the
  // deleted key back with the names and texts the code page cannot hold.
  {
    const std::wstring journal = LatestJournal(folder_.Path());
    ASSERT_FALSE(journal.empty());
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    ProgramUnderTest editor(std::wstring(windows) + L"\\regedit.exe");
    ASSERT_TRUE(editor.Start(L"/s \"" + journal + L"\""));
    EXPECT_TRUE(editor.WaitForExit(60000));
    EXPECT_EQ(TextOf(HKEY_CURRENT_USER, foreign, L"ключ ✓"), L"Ελληνικά ☃ ✓");
    EXPECT_EQ(TextOf(HKEY_CURRENT_USER, application.PathOf(L"设置\\更深"), L"路径"),
              L"C:\\没有\\a.exe");
  }

  // Backup with the progress window shown, by the registry editor of the Windows folder.
  PostMessageW(form, WM_COMMAND, 104, 0);
  const HWND progress = sanivo.WaitForWindow(L"TForm3", 10000);
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(WindowText(progress), L"备份");
  box = WaitForBox(pid, 120000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), L"备份完毕。Windows已经在当前目录创建了备份文件“Backup_Sanivo.reg”。");
  EXPECT_FALSE(IsWindowVisible(progress));
  Answer(box, IDOK);
  const std::string backup = ReadFileBytes(folder_.File(L"Backup_Sanivo.reg"));
  EXPECT_GT(backup.size(), 100000u);
  EXPECT_EQ(backup.rfind("\xFF\xFE", 0), 0u);  // the registry editor's own export
  EXPECT_FALSE(Exists(folder_.File(L"regedit.log")));

  // A backup that the registry editor cannot write (its file's place is taken by a folder)
  // keeps the previous one and logs nothing.
  const std::string goodBackup = ReadFileBytes(folder_.File(L"Backup_Sanivo.reg"));
  const std::string logBefore = ReadFileBytes(folder_.File(L"Repair.log"));
  ASSERT_TRUE(CreateDirectoryW(folder_.File(L"Backup_Sanivo_new.reg").c_str(), nullptr));
  PostMessageW(form, WM_COMMAND, 104, 0);
  box = WaitForBox(pid, 120000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box).rfind(L"备份失败：", 0), 0u);
  EXPECT_NE(BoxText(box).find(L"原来的备份文件没有改变。"), std::wstring::npos);
  Answer(box, IDOK);
  EXPECT_EQ(ReadFileBytes(folder_.File(L"Backup_Sanivo.reg")), goodBackup);
  EXPECT_EQ(ReadFileBytes(folder_.File(L"Repair.log")), logBefore);
  RemoveDirectoryW(folder_.File(L"Backup_Sanivo_new.reg").c_str());

  // A damaged backup is refused before anything is imported.
  WriteFileBytes(folder_.File(L"Backup_Sanivo.reg"), goodBackup.substr(0, goodBackup.size() / 2 + 1));
  values.SetText(L"", L"Kept", L"改过的");
  PostMessageW(form, WM_COMMAND, 105, 0);
  box = WaitForBox(pid, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box).rfind(L"恢复失败：备份文件“", 0), 0u);
  Answer(box, IDOK);
  EXPECT_EQ(TextOf(HKEY_CURRENT_USER, values.Path(), L"Kept"), L"改过的");
  WriteFileBytes(folder_.File(L"Backup_Sanivo.reg"), goodBackup);

  // Changed afterwards, then restored from the backup.
  values.SetText(L"", L"Kept", L"改过的");
  in32.SetText(L"", L"视图", L"改过的");
  in64.SetText(L"", L"视图", L"改过的");
  PostMessageW(form, WM_COMMAND, 105, 0);
  box = WaitForBox(pid, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box).rfind(L"说明：将要从备份文件“Backup_Sanivo.reg”恢复系统，确定吗？ \r\n备份时间：", 0),
            0u);
  Answer(box, IDOK);
  box = WaitForBox(pid, 300000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), L"恢复完毕。Windows已经从备份文件“Backup_Sanivo.reg”恢复了系统。");
  Answer(box, IDOK);
  EXPECT_EQ(WindowText(StatusBar(form)), L"恢复完毕");
  wchar_t kept[64] = {};
  DWORD size = sizeof(kept);
  RegGetValueW(HKEY_CURRENT_USER, values.Path().c_str(), L"Kept", RRF_RT_REG_SZ, nullptr, kept,
               &size);
  EXPECT_STREQ(kept, L"原来的");
  EXPECT_EQ(TextOf(software32.Get(), in32.Path(), L"视图"), L"32 位");
  EXPECT_EQ(TextOf(software64.Get(), in64.Path(), L"视图"), L"64 位");
  EXPECT_FALSE(Exists(folder_.File(L"regedit.log")));

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sanivo.WaitForExit(10000));
}

// A scan of the current user's registry only (row 7), to its end.
void ScanCurrentUser(HWND form) {
  SendMessageW(SelectAllButton(form), BM_CLICK, 0, 0);  // 全否
  RemoteList(CheckList(form)).SetChecked(7, true);
  PostMessageW(ScanButton(form), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return WindowText(ScanButton(form)) == L"停止"; }, 10000));
  ASSERT_TRUE(WaitFor(
      [&] { return WindowText(StatusBar(form)).rfind(L"扫描完毕。共检查到：", 0) == 0; }, 120000));
}

std::vector<std::wstring> RowsOf(HWND list) {
  const RemoteList rows(list);
  std::vector<std::wstring> texts;
  for (int i = 0; i < rows.Count(); ++i) texts.push_back(rows.Row(i));
  return texts;
}

TEST_F(SanivoEndToEnd, AFindingIgnoredFromThePopUpMenuStaysAwayUntilTheWindowTakesItOff) {
  const TestKey user;
  user.SetText(L"", L"Stale", L"C:\\没有\\a.exe");
  user.SetText(L"", L"Other", L"C:\\没有\\b.exe");
  const std::wstring stale = L"HKEY_CURRENT_USER|" + user.Path() + L"|Stale|C:\\没有\\a.exe|0";
  const std::wstring other = L"HKEY_CURRENT_USER|" + user.Path() + L"|Other|C:\\没有\\b.exe|0";
  const auto count = [](const std::vector<std::wstring>& rows, const std::wstring& row) {
    return std::count(rows.begin(), rows.end(), row);
  };
  {
    ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
    ASSERT_TRUE(sanivo.Start());
    const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
    ASSERT_NE(form, nullptr);
    ScanCurrentUser(form);
    const HWND list = ResultList(form);
    std::vector<std::wstring> rows = RowsOf(list);
    const auto at = std::find(rows.begin(), rows.end(), stale);
    ASSERT_NE(at, rows.end());
    ASSERT_EQ(count(rows, other), 1);

    // A right click on the row, then "忽略此项", the pop-up menu's last item.
    const RemoteList results(list);
    results.Select(static_cast<int>(at - rows.begin()));
    PumpFor(200);
    const RECT row = results.ItemRect(static_cast<int>(at - rows.begin()));
    e2e::RightClickAt(row.left + 40, (row.top + row.bottom) / 2);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      menu = e2e::FindWindowOf(sanivo.ProcessId(), L"#32768");
      return menu != nullptr && IsWindowVisible(menu);
    }));
    PumpFor(300);
    RECT r = {};
    GetWindowRect(menu, &r);
    e2e::ClickAt(r.left + 40, r.bottom - 10);
    ASSERT_TRUE(WaitFor([&] { return results.Count() == static_cast<int>(rows.size()) - 1; }));
    rows = RowsOf(list);
    EXPECT_EQ(count(rows, stale), 0);
    EXPECT_EQ(WindowText(StatusBar(form)),
              L"已加入忽略列表。剩余：" + std::to_wstring(rows.size()) + L" 个错误。");
    EXPECT_NE(ReadFileBytes(folder_.File(L"Set.ini"))
                  .find(common::ToAnsi(L"[Ignore]\r\n1=HKEY_CURRENT_USER|" + user.Path() +
                                       L"|Stale|C:\\没有\\a.exe\r\n")),
              std::string::npos);
    PostMessageW(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(sanivo.WaitForExit(10000));
  }

  // Started again, it reads the list: the next scan leaves the finding out and counts the rest.
  ProgramUnderTest sanivo(folder_.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(kFormClass, 10000);
  ASSERT_NE(form, nullptr);
  ScanCurrentUser(form);
  const std::vector<std::wstring> rows = RowsOf(ResultList(form));
  EXPECT_EQ(count(rows, stale), 0);
  EXPECT_EQ(count(rows, other), 1);
  EXPECT_EQ(WindowText(StatusBar(form)),
            L"扫描完毕。共检查到：" + std::to_wstring(rows.size()) + L" 个错误");

  // The window from the Sanivo menu lists it; "移除" takes it off, "关闭" closes the window.
  PostMessageW(form, WM_COMMAND, 116, 0);  // IgnoreList_menu
  const HWND window = sanivo.WaitForWindow(L"TIgnoreForm", 10000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), L"忽略列表");
  const HWND entries = testing_support::ChildWithId(window, 1001);
  EXPECT_EQ(RowsOf(entries), std::vector<std::wstring>{stale});
  RemoteList(entries).Select(0);
  const HWND remove = testing_support::ChildWithId(window, 1005);
  EXPECT_EQ(WindowText(remove), L"移除");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(remove) != FALSE; }));
  SendMessageW(remove, BM_CLICK, 0, 0);
  EXPECT_TRUE(RowsOf(entries).empty());
  EXPECT_EQ(ReadFileBytes(folder_.File(L"Set.ini")).find("[Ignore]"), std::string::npos);
  const HWND close = testing_support::ChildWithId(window, IDCANCEL);
  EXPECT_EQ(WindowText(close), L"关闭");
  SendMessageW(close, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));

  // Off the list, the finding is back at the next scan.
  ScanCurrentUser(form);
  EXPECT_EQ(count(RowsOf(ResultList(form)), stale), 1);
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sanivo.WaitForExit(10000));
}

}  // namespace

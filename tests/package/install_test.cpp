// The installer's round trip under Wine, one phase per test suite; scripts/package.sh runs the
// phases in this order around its silent installs and uninstalls:
//   Installed              after a silent install into C:\Zephra (the user then works with it)
//   Uninstalled            after a silent uninstall
//   Reinstalled            after a second install over what the uninstall kept, with /STARTUP
//   RemovedWithUserFiles   after an uninstall that was asked to remove the user's files too
// The package's version comes in ZEPHRA_PACKAGE_VERSION, the installer's path in
// ZEPHRA_PACKAGE_SETUP.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "common/handles.h"
#include "common/text.h"
#include "common/version.h"
#include "e2e/process.h"
#include "support/testing.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

const std::wstring kFolder = L"C:\\Zephra";
const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zephra";
const std::set<std::wstring> kInstalled = {L"Palomid.exe",   L"Prindle.exe",    L"README.txt",
                                           L"Sanivo.exe",    L"SysInfo.ini",    L"Tarqcc.chm",
                                           L"Uninstall.exe", L"ZephraShell.exe"};
// What a user leaves in the folder after working with the programs.
const std::set<std::wstring> kUserFiles = {L"Backup_Sanivo.reg",
                                           L"Repair.log",
                                           L"Set.ini",
                                           L"SysInfo.ini",
                                           L"Undo_Sanivo_Backup",
                                           L"Undo_Sanivo_Backup\\a.lnk",
                                           L"Undo_Sanivo_20261209.reg"};

std::wstring File(const std::wstring& name) { return kFolder + L"\\" + name; }

// Names below a folder, with their paths relative to it; empty when the folder is gone.
std::set<std::wstring> Contents(const std::wstring& folder, const std::wstring& prefix = L"") {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  const common::FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    names.insert(prefix + name);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      names.merge(Contents(folder + L"\\" + name, prefix + name + L"\\"));
  } while (FindNextFileW(find.Get(), &data));
  return names;
}

std::wstring SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
  return path;
}

std::wstring StartupLink() { return SpecialFolder(CSIDL_COMMON_STARTUP) + L"\\Zephra 桌面.lnk"; }

std::wstring MenuFolder() { return SpecialFolder(CSIDL_COMMON_PROGRAMS) + L"\\Zephra 桌面"; }

// Target of a shortcut file.
std::wstring LinkTarget(const std::wstring& link) {
  CoInitialize(nullptr);
  std::wstring target;
  IShellLinkW* shellLink = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shellLink)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t path[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
          SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
        target = path;
      file->Release();
    }
    shellLink->Release();
  }
  CoUninitialize();
  return target;
}

std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return L"<no key>";
  const common::RegKey k(opened);
  wchar_t data[512] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (RegQueryValueExW(k.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS)
    return L"<no value>";
  return data;
}

bool KeyExists(const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return false;
  RegCloseKey(opened);
  return true;
}

std::wstring VersionOf(const std::wstring& path) {
  const common::ProgramVersion v = common::ReadVersionOf(path);
  if (!v.found) return L"<none>";
  return std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." +
         std::to_wstring(v.build) + L"." + std::to_wstring(v.revision);
}

std::wstring Given(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? common::FromAnsi(value) : L"<not given>";
}

std::wstring PackageVersion() { return Given("ZEPHRA_PACKAGE_VERSION"); }

TEST(Installed, TheFolderHoldsExactlyTheProgramsHelpSampleReadmeAndUninstaller) {
  EXPECT_EQ(Contents(kFolder), kInstalled);
}

TEST(Installed, TheStartMenuHasTheFourProgramsAndTheUninstallerButNoStartupEntry) {
  const std::map<std::wstring, std::wstring> expected = {
      {L"Zephra 桌面.lnk", File(L"ZephraShell.exe")},
      {L"Prindle 打印.lnk", File(L"Prindle.exe")},
      {L"Palomid 控制面板.lnk", File(L"Palomid.exe")},
      {L"Sanivo 系统检查.lnk", File(L"Sanivo.exe")},
      {L"卸载 Zephra 桌面.lnk", File(L"Uninstall.exe")}};
  std::map<std::wstring, std::wstring> links;
  for (const std::wstring& name : Contents(MenuFolder()))
    links[name] = LinkTarget(MenuFolder() + L"\\" + name);
  EXPECT_EQ(links, expected);
  EXPECT_EQ(GetFileAttributesW(StartupLink().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Installed, ProgramsAndFeaturesListsItUnderTheProgramsVersion) {
  const std::wstring version = PackageVersion();
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Zephra 桌面");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), version);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"),
            L"\"" + File(L"Uninstall.exe") + L"\"");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"), kFolder);
  EXPECT_EQ(VersionOf(Given("ZEPHRA_PACKAGE_SETUP")), version) << "the installer's own";
  for (const wchar_t* program : {L"ZephraShell.exe", L"Prindle.exe", L"Palomid.exe"})
    EXPECT_EQ(VersionOf(File(program)), version) << program;
  EXPECT_EQ(VersionOf(File(L"Sanivo.exe")), L"3.4.5.408");  // the checker keeps its own
}

TEST(Installed, TheProgramsStartFromTheInstalledFolder) {
  const struct {
    const wchar_t* exe;
    const wchar_t* windowClass;
  } programs[] = {{L"ZephraShell.exe", L"ZephraShellDesktop"},
                  {L"Prindle.exe", L"PrindleForm1"},
                  {L"Palomid.exe", L"PalomidForm1"},
                  {L"Sanivo.exe", L"TForm1"}};
  for (const auto& p : programs) {
    e2e::ProgramUnderTest program(File(p.exe));
    ASSERT_TRUE(program.Start()) << p.exe;
    const HWND window = program.WaitForWindow(p.windowClass, 15000);
    EXPECT_NE(window, nullptr) << p.exe;
    // The shell is simply ended (by the object); the others close as a user closes them, and
    // the checker then writes its settings beside itself.
    if (window && std::wstring(p.exe) != L"ZephraShell.exe") {
      PostMessageW(window, WM_CLOSE, 0, 0);
      EXPECT_TRUE(program.WaitForExit(10000)) << p.exe;
    }
  }
  EXPECT_NE(ReadFileBytes(File(L"Set.ini")).find("[Sanivo]"), std::string::npos);
}

// The checker records its place when it starts; the uninstaller takes that away again.
bool CheckersValueExists() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Tarq", 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return false;
  const common::RegKey key(opened);
  return RegQueryValueExW(key.Get(), L"Sanivo", nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

// While one of the programs runs, the uninstaller (run in place and silently, so that its exit
// code is its own) removes nothing and ends with code 2.
TEST(Installed, TheUninstallerWaitsWhileAProgramRuns) {
  EXPECT_TRUE(CheckersValueExists());
  const std::set<std::wstring> before = Contents(kFolder);
  e2e::ProgramUnderTest sanivo(File(L"Sanivo.exe"));
  ASSERT_TRUE(sanivo.Start());
  const HWND window = sanivo.WaitForWindow(L"TForm1", 15000);
  ASSERT_NE(window, nullptr);
  e2e::ProgramUnderTest uninstaller(File(L"Uninstall.exe"));
  ASSERT_TRUE(uninstaller.Start(L"/S _?=" + kFolder));
  ASSERT_TRUE(uninstaller.WaitForExit(60000));
  EXPECT_EQ(uninstaller.ExitCode(), 2u);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sanivo.WaitForExit(10000));
  EXPECT_EQ(Contents(kFolder), before);
  EXPECT_TRUE(KeyExists(kUninstallKey));
  EXPECT_TRUE(CheckersValueExists());
}

TEST(Installed, TheUserWorksWithThePrograms) {
  // What the programs and the user leave beside the programs: an edited configuration, the
  // checker's history, backup and undo journal, and a shortcut the checker kept before deleting.
  WritePrivateProfileStringA("Zephra", "KS1_Caption", common::ToAnsi(L"我的工具").c_str(),
                             common::ToAnsi(File(L"SysInfo.ini")).c_str());
  WriteFileBytes(File(L"Repair.log"), "history\r\n");
  WriteFileBytes(File(L"Backup_Sanivo.reg"), "REGEDIT4\r\n");
  WriteFileBytes(File(L"Undo_Sanivo_20261209.reg"), "REGEDIT4\r\n");
  CreateDirectoryW(File(L"Undo_Sanivo_Backup").c_str(), nullptr);
  WriteFileBytes(File(L"Undo_Sanivo_Backup\\a.lnk"), "link");
  std::set<std::wstring> expected = kInstalled;
  expected.insert(kUserFiles.begin(), kUserFiles.end());
  EXPECT_EQ(Contents(kFolder), expected);
}

// The uninstaller runs on as a copy of itself; removing its settings key is the last it does.
bool UninstallFinished() {
  return testing_support::WaitFor([] { return !KeyExists(L"Software\\Lumora\\Zephra"); }, 30000);
}

TEST(Uninstalled, OnlyTheUsersFilesAreLeft) {
  ASSERT_TRUE(UninstallFinished());
  EXPECT_EQ(Contents(kFolder), kUserFiles);
  EXPECT_TRUE(Contents(MenuFolder()).empty());
  EXPECT_EQ(GetFileAttributesW(MenuFolder().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_FALSE(KeyExists(L"Software\\Lumora\\Zephra"));
  EXPECT_FALSE(CheckersValueExists());
}

TEST(Reinstalled, TheUsersConfigurationSurvivesAndTheProgramsAreBack) {
  std::set<std::wstring> expected = kInstalled;
  expected.insert(kUserFiles.begin(), kUserFiles.end());
  EXPECT_EQ(Contents(kFolder), expected);
  EXPECT_NE(ReadFileBytes(File(L"SysInfo.ini")).find("KS1_Caption=" + common::ToAnsi(L"我的工具")),
            std::string::npos);
  EXPECT_EQ(LinkTarget(StartupLink()), File(L"ZephraShell.exe"));
  // A file of the user's own that the uninstaller knows nothing of.
  WriteFileBytes(File(L"我的笔记.txt"), "notes");
}

TEST(RemovedWithUserFiles, OnlyWhatTheUninstallerNeverKnewIsLeft) {
  ASSERT_TRUE(UninstallFinished());
  EXPECT_EQ(Contents(kFolder), std::set<std::wstring>{L"我的笔记.txt"});
  EXPECT_EQ(GetFileAttributesW(StartupLink().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(KeyExists(kUninstallKey));
}

}  // namespace

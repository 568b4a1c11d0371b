// The file-system questions: both views of a 32-bit program on 64-bit Windows, and what the real
// system answers.
#include "checker/scanners/FileQueries.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "support/testing.h"

namespace {

// A machine with WOW64's two views of System32.
struct TwoViews {
  std::map<std::wstring, PathKind> redirected, real;
  std::vector<bool> looks;  // redirectionOff of every look, in order

  PathKind Look(const std::wstring& path, bool redirectionOff) {
    looks.push_back(redirectionOff);
    const auto& view = redirectionOff ? real : redirected;
    const auto found = view.find(path);
    return found == view.end() ? PathKind::Missing : found->second;
  }
};

TEST(FileQueries, UnderWow64APathExistsWhenEitherViewHasIt) {
  TwoViews machine;
  machine.redirected = {{L"C:\\Windows\\System32\\old32.dll", PathKind::File},
                        {L"C:\\Windows\\System32", PathKind::Folder},
                        {L"C:\\Locked\\file.txt", PathKind::Unknown}};
  machine.real = {{L"C:\\Windows\\System32\\new64.dll", PathKind::File},
                  {L"C:\\Windows\\System32\\drivers", PathKind::Folder}};
  const auto look = [&](const std::wstring& path, bool off) { return machine.Look(path, off); };
  const struct {
    const wchar_t* path;
    bool fileUnderWow64, pathUnderWow64, fileNative, pathNative;
  } cases[] = {
      {L"C:\\Windows\\System32\\old32.dll", true, true, true, true},
      {L"C:\\Windows\\System32\\new64.dll", true, true, false, false},
      {L"C:\\Windows\\System32", false, true, false, true},
      {L"C:\\Windows\\System32\\drivers", false, true, false, false},
      {L"C:\\Locked\\file.txt", true, true, true, true},  // cannot tell: counts as there
      {L"C:\\Windows\\System32\\gone.dll", false, false, false, false},
  };
  const FileQueries wow64 = FileQueries::OverLook(look, true);
  const FileQueries native = FileQueries::OverLook(look, false);
  for (const auto& c : cases) {
    EXPECT_EQ(wow64.FileExists(c.path), c.fileUnderWow64) << testing::PrintToString(c.path);
    EXPECT_EQ(wow64.PathExists(c.path), c.pathUnderWow64) << testing::PrintToString(c.path);
    EXPECT_EQ(native.FileExists(c.path), c.fileNative) << testing::PrintToString(c.path);
    EXPECT_EQ(native.PathExists(c.path), c.pathNative) << testing::PrintToString(c.path);
  }
  // Where there is no redirection, nothing is ever looked at twice.
  machine.looks.clear();
  native.PathExists(L"C:\\Windows\\System32\\gone.dll");
  EXPECT_EQ(machine.looks, std::vector<bool>{false});
}

TEST(FileQueries, TheSystemTellsFilesFoldersAndWhatItCannotLookAt) {
  const FileQueries system = FileQueries::System();
  testing_support::TempFolder folder;
  const std::wstring file = folder.File(L"file.txt");
  testing_support::WriteFileBytes(file, "x");
  EXPECT_TRUE(system.FileExists(file));
  EXPECT_TRUE(system.PathExists(file));
  EXPECT_FALSE(system.FileExists(folder.Path()));
  EXPECT_TRUE(system.PathExists(folder.Path()));
  EXPECT_FALSE(system.PathExists(folder.File(L"gone.txt")));
  EXPECT_FALSE(system.PathExists(folder.File(L"gone\\deeper.txt")));
  EXPECT_FALSE(system.PathExists(L""));
  EXPECT_FALSE(system.PathExists(L"C:\\gone*.txt"));
  // Too long for the ANSI functions: not known to be gone.
  EXPECT_TRUE(system.PathExists(L"C:\\" + std::wstring(300, L'x') + L"\\gone.txt"));
  EXPECT_EQ(system.DriveType(L"C:\\"), kDriveFixed);
}

}  // namespace

namespace {

// The folder variables and their twins of 64-bit Windows, set for one test and put back after.
class Variables {
 public:
  void Set(const wchar_t* name, const wchar_t* value) {
    wchar_t before[32768] = {};
    const DWORD length = GetEnvironmentVariableW(name, before, 32768);
    saved_.push_back({name, length > 0 ? std::optional<std::wstring>(before) : std::nullopt});
    SetEnvironmentVariableW(name, value);
  }
  ~Variables() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      SetEnvironmentVariableW(it->first.c_str(), it->second ? it->second->c_str() : nullptr);
  }

 private:
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

TEST(FileQueries, TheSystemExpandsAFolderVariableInEachOfItsMeanings) {
  Variables variables;
  variables.Set(L"ProgramFiles", L"C:\\PF32");
  variables.Set(L"ProgramW6432", L"C:\\PF64");
  variables.Set(L"ProgramFiles(x86)", L"C:\\PF32");
  variables.Set(L"CommonProgramFiles", L"C:\\CF32");
  variables.Set(L"CommonProgramW6432", nullptr);
  variables.Set(L"CommonProgramFiles(x86)", nullptr);
  variables.Set(L"ZephraRoot", L"C:\\Root");
  variables.Set(L"ZephraUnset", nullptr);
  const FileQueries files = FileQueries::System();
  const struct {
    const wchar_t* text;
    std::vector<std::wstring> forms;
  } cases[] = {
      {L"\"%ProgramFiles%\\App\\u.exe\" /S",
       {L"\"C:\\PF32\\App\\u.exe\" /S", L"\"C:\\PF64\\App\\u.exe\" /S"}},
      {L"%programfiles%\\a;%PROGRAMFILES%\\b",
       {L"C:\\PF32\\a;C:\\PF32\\b", L"C:\\PF64\\a;C:\\PF64\\b"}},
      {L"%CommonProgramFiles%\\x.dll", {L"C:\\CF32\\x.dll"}},  // no twin set: one meaning
      {L"%ZephraRoot%\\x.exe %1", {L"C:\\Root\\x.exe %1"}},
      {L"%ZephraUnset%\\x.exe", {L"%ZephraUnset%\\x.exe"}},
      {L"C:\\plain.exe", {L"C:\\plain.exe"}},
  };
  for (const auto& c : cases) EXPECT_EQ(files.Expand(c.text), c.forms) << c.text;
}

}  // namespace

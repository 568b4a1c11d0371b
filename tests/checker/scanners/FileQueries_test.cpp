// The file-system questions: both views of a 32-bit program on 64-bit Windows, and what the real
// system answers.
#include "checker/scanners/FileQueries.h"

#include <gtest/gtest.h>

#include <map>
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

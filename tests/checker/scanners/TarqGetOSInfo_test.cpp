#include "checker/scanners/TarqGetOSInfo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TTarqOSInfo::VersionQuery Version(DWORD major, DWORD minor, DWORD build = 0,
                                  const char* servicePack = "") {
  return [=](OSVERSIONINFOA& info) {
    EXPECT_EQ(info.dwOSVersionInfoSize, 148u);
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.dwBuildNumber = build;
    lstrcpynA(info.szCSDVersion, servicePack, sizeof(info.szCSDVersion));
    return true;
  };
}

TEST(TTarqOSInfo, NamesEveryVersionByTheTable) {
  const struct {
    DWORD major, minor;
    const wchar_t* name;
  } cases[] = {
      {4, 0, L""},
      {4, 10, L"98"},
      {4, 90, L"Me"},
      {4, 3, L""},
      {5, 0, L"2000"},
      {5, 1, L"XP"},
      {5, 2, L"2003"},
      {5, 3, L""},
      {6, 0, L"Invalidated"},
      {6, 1, L"Invalidated"},
      {10, 0, L"Invalidated"},
      {3, 51, L"Invalidated"},
  };
  for (const auto& c : cases) {
    const TTarqOSInfo info(Version(c.major, c.minor));
    EXPECT_EQ(info.OSName(), c.name) << c.major << "." << c.minor;
    EXPECT_EQ(info.MajorVersion(), static_cast<int32_t>(c.major));
    EXPECT_EQ(info.MinorVersion(), static_cast<int32_t>(c.minor));
  }
}

TEST(TTarqOSInfo, KeepsTheLowWordOfTheBuildAndTheServicePack) {
  // Windows 98 SE puts the version into the high word of the build number.
  const TTarqOSInfo info(Version(4, 10, 0x040A08AE, " A "));
  EXPECT_EQ(info.BuildNumber(), 0x08AEu);
  EXPECT_EQ(info.CSDVersion(), L" A ");

  const TTarqOSInfo xp(Version(5, 1, 2600, "Service Pack 3"));
  EXPECT_EQ(xp.OSName(), L"XP");
  EXPECT_EQ(xp.BuildNumber(), 2600u);
  EXPECT_EQ(xp.CSDVersion(), L"Service Pack 3");
}

TEST(TTarqOSInfo, AServicePackTextThatFillsItsFieldIsTakenWhole) {
  const TTarqOSInfo info([](OSVERSIONINFOA& v) {
    v.dwMajorVersion = 5;
    memset(v.szCSDVersion, 'x', sizeof(v.szCSDVersion));  // no terminator
    return true;
  });
  EXPECT_EQ(info.CSDVersion(), std::wstring(128, L'x'));
}

TEST(TTarqOSInfo, AFailedQueryGivesVersionZeroAndInvalidated) {
  const TTarqOSInfo info([](OSVERSIONINFOA& v) {
    v.dwMajorVersion = 5;  // whatever a failing query leaves behind is not taken
    strcpy(v.szCSDVersion, "junk");
    return false;
  });
  EXPECT_EQ(info.MajorVersion(), 0);
  EXPECT_EQ(info.MinorVersion(), 0);
  EXPECT_EQ(info.BuildNumber(), 0u);
  EXPECT_EQ(info.CSDVersion(), L"");
  EXPECT_EQ(info.OSName(), L"Invalidated");
}

TEST(TTarqOSInfo, AsksTheSystemByDefault) {
  const TTarqOSInfo info;
  OSVERSIONINFOA expected = {};
  expected.dwOSVersionInfoSize = sizeof(expected);
  ASSERT_TRUE(GetVersionExA(&expected));
  EXPECT_EQ(info.MajorVersion(), static_cast<int32_t>(expected.dwMajorVersion));
  EXPECT_EQ(info.MinorVersion(), static_cast<int32_t>(expected.dwMinorVersion));
  EXPECT_EQ(info.OSName(), TTarqOSInfo::NameOf(info.MajorVersion(), info.MinorVersion()));
}

}  // namespace

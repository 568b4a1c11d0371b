#include "checker/scanners/WriteFileDesc.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <vector>

#include "common/handles.h"
#include "common/paths.h"
#include "support/testing.h"

namespace {

using testing_support::TempFolder;

// A private key below HKEY_CURRENT_USER, removed at the end of the test.
class PrivateKey {
 public:
  PrivateKey() : path_(L"Software\\ZephraTests\\Tarq-" + std::to_wstring(GetCurrentProcessId())) {
    SHDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
  }
  ~PrivateKey() { SHDeleteKeyW(HKEY_CURRENT_USER, path_.c_str()); }
  const std::wstring& Path() const { return path_; }

  // name -> data of every string value.
  std::vector<std::pair<std::wstring, std::wstring>> Values() const {
    std::vector<std::pair<std::wstring, std::wstring>> values;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
      return values;
    const common::RegKey key(opened);
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      wchar_t data[1024];
      DWORD nameLength = 256, dataSize = sizeof(data), type = 0;
      if (RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type,
                        reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
        break;
      EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
      values.emplace_back(name, data);
    }
    return values;
  }
  bool Exists() const {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
      return false;
    RegCloseKey(opened);
    return true;
  }

 private:
  std::wstring path_;
};

using Values = std::vector<std::pair<std::wstring, std::wstring>>;

// This test program carries the checker's version resource (product name "Sanivo").
std::wstring CopyOfThisProgram(const TempFolder& folder, const wchar_t* name) {
  const std::wstring copy = folder.File(name);
  EXPECT_TRUE(CopyFileW(common::ProgramPath().c_str(), copy.c_str(), FALSE));
  return copy;
}

TEST(GetVersionString, ReadsStringsOfTheFirstTranslation) {
  const std::wstring self = common::ProgramPath();
  EXPECT_EQ(TWriteFileDesc::GetVersionString(self, L"ProductName"), L"Sanivo");
  EXPECT_EQ(TWriteFileDesc::GetVersionString(self, L"FileVersion"), L"3.4.5.408");
  EXPECT_EQ(TWriteFileDesc::GetVersionString(self, L"CompanyName"), L"Lumora软件");
  EXPECT_EQ(TWriteFileDesc::GetVersionString(self, L"NoSuchItem"), L"");
}

TEST(GetVersionString, IsEmptyForFilesWithoutAResource) {
  TempFolder folder;
  testing_support::WriteFileBytes(folder.File(L"plain.exe"), "MZ not really a program");
  EXPECT_EQ(TWriteFileDesc::GetVersionString(folder.File(L"plain.exe"), L"ProductName"), L"");
  EXPECT_EQ(TWriteFileDesc::GetVersionString(folder.File(L"missing.exe"), L"ProductName"), L"");
}

TEST(WriteDesc, WritesThePathUnderTheProductNameAndFollowsAMovedProgram) {
  TempFolder first, second;
  PrivateKey key;
  const std::wstring a = CopyOfThisProgram(first, L"Sanivo.exe");
  EXPECT_TRUE(TWriteFileDesc(HKEY_CURRENT_USER, key.Path(), a).WriteDesc());
  EXPECT_EQ(key.Values(), (Values{{L"Sanivo", a}}));

  // Started from a new folder: the same value now holds the new path.
  const std::wstring b = CopyOfThisProgram(second, L"Sanivo.exe");
  EXPECT_TRUE(TWriteFileDesc(HKEY_CURRENT_USER, key.Path(), b).WriteDesc());
  EXPECT_EQ(key.Values(), (Values{{L"Sanivo", b}}));
}

TEST(WriteDesc, AFileWithoutVersionResourceGoesIntoTheDefaultValue) {
  TempFolder folder;
  PrivateKey key;
  const std::wstring plain = folder.File(L"plain.exe");
  testing_support::WriteFileBytes(plain, "no resources here");
  EXPECT_TRUE(TWriteFileDesc(HKEY_CURRENT_USER, key.Path(), plain).WriteDesc());
  EXPECT_EQ(key.Values(), (Values{{L"", plain}}));
}

TEST(WriteDesc, AMissingFileWritesNothing) {
  TempFolder folder;
  PrivateKey key;
  EXPECT_FALSE(TWriteFileDesc(HKEY_CURRENT_USER, key.Path(), folder.File(L"gone.exe")).WriteDesc());
  EXPECT_FALSE(key.Exists());
}

TEST(WriteDesc, WithoutTheRightToWriteNothingIsWritten) {
  TempFolder folder;
  PrivateKey key;
  const std::wstring program = CopyOfThisProgram(folder, L"Sanivo.exe");
  // The key exists but its access list grants nothing, as HKEY_LOCAL_MACHINE does to a user
  // without administrator rights.
  {
    HKEY made = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.Path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &made, nullptr),
              ERROR_SUCCESS);
    const common::RegKey locked(made);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ACL empty;
    InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, &empty, FALSE);
    ASSERT_EQ(RegSetKeySecurity(locked.Get(), DACL_SECURITY_INFORMATION, &descriptor),
              ERROR_SUCCESS);
  }
  EXPECT_FALSE(TWriteFileDesc(HKEY_CURRENT_USER, key.Path(), program).WriteDesc());

  // Open it up again (the owner may always change the access list) to look and to clean up.
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.Path().c_str(), 0, WRITE_DAC, &opened),
            ERROR_SUCCESS);
  const common::RegKey unlocked(opened);
  SECURITY_DESCRIPTOR open;
  InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
  ASSERT_EQ(RegSetKeySecurity(unlocked.Get(), DACL_SECURITY_INFORMATION, &open), ERROR_SUCCESS);
  EXPECT_TRUE(key.Values().empty());
}

}  // namespace

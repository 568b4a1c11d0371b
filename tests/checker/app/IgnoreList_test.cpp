// The ignore list without a window: which rows an entry matches, and its section of Set.ini.
#include "checker/app/IgnoreList.h"

#include <gtest/gtest.h>

#include "checker/app/Settings.h"
#include "common/text.h"
#include "support/testing.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

ScanResultRow R(const wchar_t* item, const wchar_t* location, const wchar_t* keyName,
                const wchar_t* description = L"") {
  return {item, location, keyName, description, 0};
}

TEST(IgnoreList, AnEntryMatchesItsFindingByRootLocationAndValueName) {
  const struct {
    ScanResultRow entry, row;
    bool same;
  } cases[] = {
      {R(L"HKEY_CURRENT_USER", L"Software\\示例", L"Path", L"C:\\a.exe"),
       R(L"hkey_current_user", L"SOFTWARE\\示例", L"PATH", L"C:\\b.exe"), true},
      {R(L"HKEY_CURRENT_USER", L"Software\\A", L"Path"), R(L"HKEY_USERS", L"Software\\A", L"Path"),
       false},
      {R(L"HKEY_CURRENT_USER", L"Software\\A", L"Path"),
       R(L"HKEY_CURRENT_USER", L"Software\\A\\B", L"Path"), false},
      {R(L"HKEY_CURRENT_USER", L"Software\\A", L"Path"),
       R(L"HKEY_CURRENT_USER", L"Software\\A", L"Path2"), false},
      // The default value, a value and the whole key are three findings.
      {R(L"HKEY_LOCAL_MACHINE", L"Software\\A", L"@D_e_f_a_u_l_t"),
       R(L"HKEY_LOCAL_MACHINE", L"Software\\A", L"@D_e_f_a_u_l_t", L"C:\\新.exe"), true},
      {R(L"HKEY_LOCAL_MACHINE", L"Software\\A", L"@D_e_f_a_u_l_t"),
       R(L"HKEY_LOCAL_MACHINE", L"Software\\A", L"", L"无效软件"), false},
      {R(L"HKEY_LOCAL_MACHINE", L"Software\\A", L""),
       R(L"HKEY_LOCAL_MACHINE", L"Software\\A", L"Path"), false},
      // A disk row is its file or folder, whatever its size now.
      {R(L"磁盘文件错误", L"C:\\Users\\桌面\\旧的.lnk", L"1024 Byte", L"E:\\app.exe"),
       R(L"磁盘文件错误", L"c:\\users\\桌面\\旧的.LNK", L"980 Byte", L"F:\\app.exe"), true},
      {R(L"磁盘文件错误", L"C:\\Menu\\旧的", L"4 Byte"), R(L"磁盘目录错误", L"C:\\Menu\\旧的", L""),
       false},
      {R(L"磁盘目录错误", L"C:\\Menu\\空的", L""), R(L"磁盘目录错误", L"C:\\MENU\\空的", L""),
       true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameFinding(c.entry, c.row), c.same) << common::ToAnsi(c.row.Location);
    TempFolder folder;
    IgnoreList list;
    list.Load(folder.File(L"Set.ini"));
    ASSERT_EQ(list.Add(c.entry), IgnoreList::Change::Done);
    EXPECT_EQ(list.Matches(c.row), c.same) << common::ToAnsi(c.row.Location);
  }
}

TEST(IgnoreList, EntriesGoThroughSetIniAsTheyWereAndTheOtherSectionsStay) {
  TempFolder folder;
  const std::wstring path = SettingsPath(folder.Path());
  const std::string others =
      "[Sanivo]\r\nWindow=Normal\r\nTop=60\r\n[Other]\r\nBakPath=" + common::ToAnsi(L"备份") +
      "\r\n";
  WriteFileBytes(path, others);
  const std::vector<ScanResultRow> rows = {
      R(L"HKEY_CURRENT_USER", L"Software\\示例软件\\编辑器", L"Path",
        L"C:\\Program Files\\示例软件\\editor.exe /n"),
      // What the profile functions would cut, trim, unquote or take for a separator.
      R(L"HKEY_LOCAL_MACHINE", L"Software\\A|B", L" 名字 ", L"\"C:\\a b\\c.exe\" 100% \t"),
      R(L"HKEY_LOCAL_MACHINE", L"Software\\Line", L"a\r\nb=c", L"'%41;x'"),
      R(L"磁盘目录错误", L"C:\\Menu\\空的", L""),
  };
  IgnoreList list;
  list.Load(path);
  for (const ScanResultRow& row : rows) EXPECT_EQ(list.Add(row), IgnoreList::Change::Done);
  EXPECT_EQ(list.Add(R(L"HKEY_CURRENT_USER", L"SOFTWARE\\示例软件\\编辑器", L"path", L"new")),
            IgnoreList::Change::Done);  // on the list already: nothing new
  const std::string file = ReadFileBytes(path);
  EXPECT_EQ(file.rfind(others, 0), 0u);
  EXPECT_NE(file.find("[Ignore]\r\n1=HKEY_CURRENT_USER|Software\\" + common::ToAnsi(L"示例软件")),
            std::string::npos);  // the code page's bytes, one entry per key
  EXPECT_NE(file.find("\r\n4=" + common::ToAnsi(L"磁盘目录错误|C:\\Menu\\空的||") + "\r\n"),
            std::string::npos);

  IgnoreList again;
  again.Load(path);
  EXPECT_EQ(again.Rows(), rows);

  // Taken off one by one: the others stay where they are; with the last the section goes.
  EXPECT_EQ(again.Remove(R(L"HKEY_LOCAL_MACHINE", L"software\\a|b", L" 名字 ")),
            IgnoreList::Change::Done);
  IgnoreList third;
  third.Load(path);
  EXPECT_EQ(third.Rows(), (std::vector<ScanResultRow>{rows[0], rows[2], rows[3]}));
  for (const ScanResultRow& row : rows) EXPECT_EQ(third.Remove(row), IgnoreList::Change::Done);
  EXPECT_TRUE(third.Rows().empty());
  EXPECT_EQ(ReadFileBytes(path), others);

  // Entries written by hand: any key name, a missing description; one without a root is no
  // entry. A new entry takes the next number.
  WriteFileBytes(path, others + "[Ignore]\r\nmine=HKEY_USERS|S-1-5\\Software|Path\r\n9=|x|y|z\r\n");
  IgnoreList byHand;
  byHand.Load(path);
  EXPECT_EQ(byHand.Rows(),
            (std::vector<ScanResultRow>{R(L"HKEY_USERS", L"S-1-5\\Software", L"Path")}));
  EXPECT_EQ(byHand.Add(rows[0]), IgnoreList::Change::Done);
  EXPECT_NE(ReadFileBytes(path).find("\r\n10=HKEY_CURRENT_USER|"), std::string::npos);
}

TEST(IgnoreList, RefusesTextTheCodePageCannotHoldAndSaysWhenTheFileCannotBeWritten) {
  TempFolder folder;
  const std::wstring path = SettingsPath(folder.Path());
  IgnoreList list;
  list.Load(path);
  const ScanResultRow kept = R(L"HKEY_CURRENT_USER", L"Software\\A", L"Path");
  ASSERT_EQ(list.Add(kept), IgnoreList::Change::Done);
  for (const ScanResultRow& row :
       {R(L"HKEY_CURRENT_USER", L"Software\\ก", L"Path"),
        R(L"HKEY_CURRENT_USER", L"Software\\A", L"Other", L"C:\\ก.exe")}) {
    EXPECT_EQ(list.Add(row), IgnoreList::Change::NotInCodePage);
    EXPECT_FALSE(list.Matches(row));
  }

  // A Set.ini that cannot be written (a folder of that name): nothing changes, and it says so.
  DeleteFileW(path.c_str());
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
  const ScanResultRow other = R(L"HKEY_CURRENT_USER", L"Software\\B", L"Path");
  EXPECT_EQ(list.Add(other), IgnoreList::Change::NotWritten);
  EXPECT_FALSE(list.Matches(other));
  EXPECT_EQ(list.Remove(kept), IgnoreList::Change::NotWritten);
  EXPECT_TRUE(list.Matches(kept));
  RemoveDirectoryW(path.c_str());
}

}  // namespace

// The ignore list through the main window: scans leave ignored rows out, "忽略此项" takes the
// selected finding out of the list, and the window "忽略列表" takes entries off the list again.
#include <gtest/gtest.h>

#include "checker/app/CommandIds.h"
#include "checker/app/Settings.h"
#include "checker/app/TForm1.h"
#include "common/text.h"
#include "fakes.h"
#include "support/testing.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WaitFor;
using testing_support::WindowText;

struct Box {
  std::wstring text;
  UINT type;
};

class IgnoreCommands : public ::testing::Test {
 protected:
  std::unique_ptr<TForm1> Make(const std::shared_ptr<ThreadScript>& script = nullptr) {
    CheckerServices services = TestServices(folder_.Path());
    services.messageBox = [this](const std::wstring& text, UINT type) {
      boxes_.push_back({text, type});
      return IDOK;
    };
    services.scanners = [this, script] { return ScannersFinding(rows_, script); };
    return ShownForm(std::move(services));
  }
  static void Select(ResultListView& list, int row) {
    ListView_SetItemState(list.Handle(), row, LVIS_SELECTED, LVIS_SELECTED);
  }
  static std::vector<ScanResultRow> Rows(ResultListView& list) {
    std::vector<ScanResultRow> rows;
    for (int i = 0; i < list.Count(); ++i) rows.push_back(list.Row(i));
    return rows;
  }
  // Whether "忽略此项" is enabled in the menu bar and in the pop-up menu as they open.
  static std::pair<bool, bool> IgnoreEnabled(TForm1& form) {
    MainMenus& menus = form.Menus();
    SendMessageW(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menus.Popup()), 0);
    return {menus.Enabled(menus.Bar(), cmd::kIgnore), menus.Enabled(menus.Popup(), cmd::kIgnore)};
  }
  std::string SetIni() const { return ReadFileBytes(SettingsPath(folder_.Path())); }

  TempFolder folder_;
  std::vector<ScanResultRow> rows_;
  std::vector<Box> boxes_;
};

ScanResultRow R(const wchar_t* item, const wchar_t* location, const wchar_t* keyName,
                const wchar_t* description = L"") {
  return {item, location, keyName, description, 0};
}

TEST_F(IgnoreCommands, ScansLeaveIgnoredRowsOutAndCountOnlyWhatIsShown) {
  // Entries that Set.ini holds before the window is made: a row of a scan in the window and a
  // row of the worker threads, each found under another case.
  IgnoreList stored;
  stored.Load(SettingsPath(folder_.Path()));
  stored.Add(R(L"HKEY_LOCAL_MACHINE", L"Software\\Kept", L"", L"无效软件"));
  stored.Add(R(L"HKEY_CURRENT_USER", L"software\\old", L"PATH"));
  rows_ = {R(L"HKEY_LOCAL_MACHINE", L"SOFTWARE\\KEPT", L""),
           R(L"HKEY_LOCAL_MACHINE", L"Software\\Gone", L"")};
  const struct {
    bool threads;
    int shown;
    const wchar_t* finish;
  } cases[] = {{false, 1, L"扫描完毕。共检查到：1 个错误。"},
               {true, 1 + 4, L"扫描完毕。共检查到：5 个错误"}};  // four threads, one row each
  for (const auto& c : cases) {
    auto script = std::make_shared<ThreadScript>();
    script->rows = {R(L"HKEY_CURRENT_USER", L"Software\\Old", L"Path", L"C:\\旧\\a.exe"),
                    R(L"HKEY_CURRENT_USER", L"Software\\New", L"Path", L"C:\\新\\a.exe")};
    script->release = true;
    auto form = Make(script);
    for (const int row : {2, 7, 8, 9}) form->ChkListView().SetChecked(row, c.threads);
    SendCommand(*form, cmd::kScan);
    EXPECT_TRUE(WaitFor([&] { return form->PendingScans() == 0; }));
    EXPECT_EQ(form->ListView2().Count(), c.shown);
    for (const ScanResultRow& row : Rows(form->ListView2()))
      EXPECT_FALSE(form->Ignored().Matches(row)) << common::ToAnsi(row.Location);
    EXPECT_EQ(form->StatusBar1().Text(), c.finish);
  }
}

TEST_F(IgnoreCommands, IgnoredRowsLeaveTheListAtOnceAndTheWindowTakesThemOffAgain) {
  const ScanResultRow value = R(L"HKEY_CURRENT_USER", L"Software\\A", L"Path", L"C:\\a.exe");
  const ScanResultRow shortcut =
      R(L"磁盘文件错误", L"C:\\桌面\\旧的.lnk", L"1024 Byte", L"E:\\app.exe");
  const ScanResultRow key = R(L"HKEY_LOCAL_MACHINE", L"Software\\Empty", L"", L"无效软件");
  // The same finding as `value`, with other data.
  rows_ = {value, R(L"HKEY_CURRENT_USER", L"SOFTWARE\\A", L"path", L"C:\\b.exe"), shortcut, key};
  auto form = Make();
  SendCommand(*form, cmd::kScan);
  ResultListView& results = form->ListView2();
  EXPECT_EQ(IgnoreEnabled(*form), std::make_pair(false, false));  // nothing selected
  SendCommand(*form, cmd::kIgnore);
  EXPECT_EQ(results.Count(), 4);

  Select(results, 0);
  EXPECT_EQ(IgnoreEnabled(*form), std::make_pair(true, true));
  SendCommand(*form, cmd::kIgnore);
  EXPECT_EQ(Rows(results), (std::vector<ScanResultRow>{shortcut, key}));
  EXPECT_EQ(form->StatusBar1().Text(), L"已加入忽略列表。剩余：2 个错误。");
  EXPECT_TRUE(form->Menus().Enabled(form->Menus().Bar(), cmd::kRepairAll));
  EXPECT_NE(SetIni().find("[Ignore]\r\n1=HKEY_CURRENT_USER|Software\\A|Path|C:\\a.exe\r\n"),
            std::string::npos);
  for (int i = 0; i < 2; ++i) {
    Select(results, 0);
    SendCommand(*form, cmd::kIgnore);
  }
  EXPECT_EQ(results.Count(), 0);
  EXPECT_EQ(form->StatusBar1().Text(), L"已加入忽略列表。剩余：0 个错误。");
  EXPECT_FALSE(form->Menus().Enabled(form->Menus().Bar(), cmd::kRepairAll));  // nothing to repair
  EXPECT_FALSE(IsWindowEnabled(form->FlatButton2()));

  // The window lists the entries as they were ignored.
  SendCommand(*form, cmd::kIgnoreList);
  TIgnoreForm* window = form->IgnoreForm();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_EQ(WindowText(window->Handle()), L"忽略列表");
  EXPECT_EQ(GetWindow(window->Handle(), GW_OWNER), form->Handle());
  ResultListView& entries = window->ListView1();
  EXPECT_EQ(Rows(entries), (std::vector<ScanResultRow>{value, shortcut, key}));
  EXPECT_EQ(WindowText(window->RemoveButton()), L"移除");
  EXPECT_EQ(WindowText(window->CloseButton()), L"关闭");
  EXPECT_FALSE(IsWindowEnabled(window->RemoveButton()));  // nothing selected yet

  // Two taken off at once (they come back at the next scan).
  Select(entries, 0);
  Select(entries, 2);
  EXPECT_TRUE(IsWindowEnabled(window->RemoveButton()));
  SendMessageW(window->RemoveButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(Rows(entries), (std::vector<ScanResultRow>{shortcut}));
  EXPECT_EQ(SetIni().find("Software\\A"), std::string::npos);
  SendMessageW(window->CloseButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(window->Handle()));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(IgnoreCommands, WhatCannotBeKeptRightIsRefusedWithABox) {
  const struct {
    ScanResultRow row;
    bool settingsUnwritable;
    const wchar_t* box;
    UINT type;
  } cases[] = {
      {R(L"HKEY_CURRENT_USER", L"Software\\ก", L"Path"), false,
       L"不能忽略这一项：它含有系统代码页无法保存的字符，写入 Set.ini 后内容会改变。",
       MB_OK | MB_ICONWARNING},
      {R(L"HKEY_CURRENT_USER", L"Software\\A", L"Path"), true,
       L"无法写入程序文件夹中的 Set.ini，忽略列表没有改变。请确认这个文件和文件夹可以写入。",
       MB_OK | MB_ICONERROR},
  };
  for (const auto& c : cases) {
    rows_ = {c.row};
    boxes_.clear();
    auto form = Make();
    SendCommand(*form, cmd::kScan);
    const std::wstring settings = SettingsPath(folder_.Path());
    if (c.settingsUnwritable) CreateDirectoryW(settings.c_str(), nullptr);  // a folder in its place
    Select(form->ListView2(), 0);
    SendCommand(*form, cmd::kIgnore);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, c.box);
    EXPECT_EQ(boxes_[0].type, c.type);
    EXPECT_EQ(form->ListView2().Count(), 1);
    EXPECT_TRUE(form->Ignored().Rows().empty());
    form.reset();
    RemoveDirectoryW(settings.c_str());
    DeleteFileW(settings.c_str());
  }
}

}  // namespace

// The main window's repair, backup, restore and history commands, with the message boxes
// answered by the test and the registry editor played by it.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <deque>
#include <optional>
#include <utility>

#include "checker/app/CommandIds.h"
#include "checker/app/TForm1.h"
#include "checker/scanners/Registry.h"
#include "common/text.h"
#include "fakes.h"
#include "support/registry.h"
#include "support/testing.h"

namespace {

using namespace std::string_literals;
using testing_support::PumpFor;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::TestKey;
using testing_support::WindowText;
using testing_support::WriteFileBytes;

constexpr UINT kQuestion = MB_OKCANCEL | MB_ICONQUESTION;

struct Box {
  std::wstring text;
  UINT type;
};

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Ansi(const std::wstring& text) { return common::ToAnsi(text); }

class RepairCommands : public ::testing::Test {
 protected:
  // Backup and restore make the program's folder the current one; the test's folder must be
  // free to go at the end.
  void SetUp() override { GetCurrentDirectoryW(MAX_PATH, directory_); }
  void TearDown() override { SetCurrentDirectoryW(directory_); }
  std::unique_ptr<TForm1> Make() {
    CheckerServices services = TestServices(folder_.Path());
    services.messageBox = [this](const std::wstring& text, UINT type) {
      boxes_.push_back({text, type});
      if (duringBox_) std::exchange(duringBox_, nullptr)();
      if ((type & MB_TYPEMASK) == MB_OK || answers_.empty()) return IDOK;
      const int answer = answers_.front();
      answers_.pop_front();
      return answer;
    };
    services.runAndWait = [this](const std::wstring& line, HWND, const std::function<void()>&) {
      commandLines_.push_back(line);
      if (editor_) editor_(line);
      return editorExit_;
    };
    services.specialFolder = [this](HWND, int csidl) {
      if (csidl == CSIDL_COMMON_PROGRAMS) return commonMenu_.Path();
      return csidl == CSIDL_PROGRAMS ? menu_.Path() : std::wstring();
    };
    // One synchronous scan finds the test's rows.
    services.scanners = [this] { return ScannersFinding(rows_); };
    return ShownForm(std::move(services));
  }
  static void Scan(TForm1& form) { SendCommand(form, cmd::kScan); }
  static void Select(TForm1& form, int row) {
    ListView_SetItemState(form.ListView2().Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
  static int Image(TForm1& form, int row) { return form.ListView2().Row(row).ImageIndex; }
  std::string Log() const { return ReadFileBytes(folder_.File(L"Repair.log")); }
  std::wstring Journal() const {
    return UndoJournal(folder_.Path()).FileFor(UndoJournal::LocalTime());
  }

  wchar_t directory_[MAX_PATH] = {};
  TempFolder folder_, menu_, commonMenu_;
  std::vector<ScanResultRow> rows_;
  std::vector<Box> boxes_;
  std::deque<int> answers_;          // of the questions; IDOK when none is left
  std::function<void()> duringBox_;  // runs inside the next box
  std::vector<std::wstring> commandLines_;
  std::function<void(const std::wstring&)> editor_;  // what the registry editor does
  std::optional<DWORD> editorExit_ = 0;              // none: it cannot be started

  // An export of the whole registry as the registry editor writes it, in short.
  static std::string WholeExport(const std::wstring& more = L"") {
    const std::wstring text = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\r\n"
                              L"[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n[HKEY_USERS]\r\n\r\n" +
                              more;
    return "\xFF\xFE" +
           std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  }
  // The registry editor's export writes these bytes (none: no file at all).
  void ExportWrites(std::optional<std::string> bytes) {
    editor_ = [this, bytes](const std::wstring& line) {
      if (bytes && line.find(L" /e ") != std::wstring::npos)
        WriteFileBytes(folder_.File(L"Backup_Sanivo_new.reg"), *bytes);
    };
  }
};

TEST_F(RepairCommands, TheSelectedRowIsRepairedAfterItsQuestionMarkedAndLogged) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  for (const wchar_t* name : {L"A", L"B", L"C"}) tree.SetText(L"", name, L"C:\\没有.exe");
  const std::wstring shortcut = menu_.File(L"旧的.lnk");
  CoInitialize(nullptr);
  ASSERT_TRUE(testing_support::MakeShortcut(shortcut, L"C:\\没有.exe"));
  CoUninitialize();
  const std::wstring size = std::to_wstring(ReadFileBytes(shortcut).size()) + L" Byte";
  CreateDirectoryW(menu_.File(L"空的").c_str(), nullptr);
  rows_ = {{L"HKEY_CURRENT_USER", tree.Path(), L"A", L"C:\\没有.exe", 0},
           {L"HKEY_CURRENT_USER", tree.Path(), L"B", L"C:\\没有.exe", 0},
           {L"HKEY_CURRENT_USER", tree.Path(), L"C", L"C:\\没有.exe", 0},
           {L"磁盘文件错误", shortcut, size, L"C:\\没有.exe", 0},
           {L"磁盘目录错误", menu_.File(L"空的"), L"", L"", 0}};
  auto form = Make();
  Scan(*form);
  const registry::Key key = registry::Key::Open(HKEY_CURRENT_USER, tree.Path());

  SendCommand(*form, cmd::kRepair);  // nothing selected: nothing at all
  EXPECT_TRUE(boxes_.empty());

  Select(*form, 1);
  answers_ = {IDCANCEL};
  SendCommand(*form, cmd::kRepair);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"将要从注册表中删除“HKEY_CURRENT_USER\\" + tree.Path() +
                                L"\\B：C:\\没有.exe”，确定吗？");
  EXPECT_EQ(boxes_[0].type, kQuestion);
  EXPECT_TRUE(key.HasValue(L"B"));
  EXPECT_EQ(Image(*form, 1), 0);
  EXPECT_FALSE(Exists(folder_.File(L"Repair.log")));

  SendCommand(*form, cmd::kRepair);
  EXPECT_FALSE(key.HasValue(L"B"));
  EXPECT_TRUE(key.HasValue(L"A"));
  EXPECT_EQ(Image(*form, 1), RepairedImage);
  EXPECT_EQ(form->StatusBar1().Text(), L"修复完毕。剩余：4 个错误。");
  EXPECT_NE(Log().find(Ansi(L"]\r\n行为=删除\r\n记录=HKEY_CURRENT_USER " + tree.Path() +
                            L" B C:\\没有.exe\r\n撤销文件=" + Journal() + L"\r\n")),
            std::string::npos);

  // A repaired row: not even a question.
  SendCommand(*form, cmd::kRepair);
  EXPECT_EQ(boxes_.size(), 2u);

  Select(*form, 3);
  SendCommand(*form, cmd::kRepair);
  EXPECT_EQ(boxes_.back().text,
            L"您确定要修复选中的错误吗？(文件位置：" + shortcut + L") (文件目标：C:\\没有.exe)");
  EXPECT_FALSE(Exists(shortcut));
  EXPECT_EQ(form->StatusBar1().Text(), L"修复完毕。剩余：3 个错误。");
  EXPECT_NE(Log().find(Ansi(L"撤销文件=" + folder_.File(L"Undo_Sanivo_Backup\\旧的.lnk"))),
            std::string::npos);

  // The folder got a file after the scan: it stays, and the user is told that it changed.
  WriteFileBytes(menu_.File(L"空的\\new.txt"), "x");
  Select(*form, 4);
  SendCommand(*form, cmd::kRepair);
  ASSERT_GE(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[boxes_.size() - 2].text,
            L"您确定要修复选中的错误吗？(目录：" + menu_.File(L"空的") + L")");
  EXPECT_EQ(
      boxes_.back().text,
      L"这一项在检查之后已经改变（例如又有了内容，或者它指向的文件又存在了），Sanivo没有修改它。"
      L"请重新扫描。");
  EXPECT_EQ(boxes_.back().type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_TRUE(Exists(menu_.File(L"空的\\new.txt")));
  EXPECT_EQ(Image(*form, 4), 0);
  EXPECT_EQ(form->StatusBar1().Text(), L"修复完毕。剩余：3 个错误。");

  // A value that holds other data since the scan stays as well.
  tree.SetText(L"", L"C", L"C:\\另一个.exe");
  Select(*form, 2);
  SendCommand(*form, cmd::kRepair);
  EXPECT_EQ(boxes_.back().text.rfind(L"这一项在检查之后已经改变", 0), 0u);
  EXPECT_TRUE(key.HasValue(L"C"));
  EXPECT_EQ(Image(*form, 2), 0);
}

TEST_F(RepairCommands, RepairAllByTheAnswersToItsTwoQuestions) {
  struct Case {
    int backup, repair;
    bool exportWhole, backedUp, repaired;
  } const cases[] = {{IDCANCEL, IDOK, true, false, true},
                     {IDOK, IDOK, true, true, true},
                     {IDOK, IDCANCEL, true, true, false},
                     {IDCANCEL, IDCANCEL, true, false, false},
                     // The backup asked for fails: nothing is deleted, and the box says why.
                     {IDOK, IDOK, false, true, false}};
  for (const Case& c : cases) {
    ExportWrites(c.exportWhole ? std::optional<std::string>(WholeExport()) : std::nullopt);
    const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
    tree.SetText(L"", L"Value", L"C:\\没有.exe");
    const TestKey application(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
    // Empty at the scan, it got a subkey with a value since: it stays whole, unmarked, and the
    // status counts it.
    const TestKey grown(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
    grown.SetDword(L"Deeper", L"N", 1);
    rows_ = {{L"HKEY_CURRENT_USER", tree.Path(), L"Value", L"C:\\没有.exe", 0},
             {L"HKEY_CURRENT_USER", application.Path(), L"", L"无效软件", 0},
             {L"HKEY_CURRENT_USER", L"Software", L"", L"", 0},  // refused: it stays unmarked
             {L"HKEY_CURRENT_USER", grown.Path(), L"", L"无效软件", 0}};
    boxes_.clear();
    commandLines_.clear();
    answers_ = {c.backup, c.repair};
    auto form = Make();
    Scan(*form);
    SendCommand(*form, cmd::kRepairAll);

    ASSERT_GE(boxes_.size(), 2u);
    EXPECT_EQ(
        boxes_[0].text,
        L"Sanivo建议在全部删除前进行注册表备份。单击“确认”将注册表备份为文件，如果不需要备份，"
        L"请单击“取消”。");
    EXPECT_EQ(boxes_[0].type, kQuestion);
    if (c.exportWhole) {
      EXPECT_EQ(boxes_.back().text, L"Sanivo将要修复所有检查到的系统错误，确认吗？");
      EXPECT_EQ(boxes_.back().type, kQuestion);
    } else {
      EXPECT_EQ(boxes_.back().text,
                L"备份失败：注册表编辑器没有生成备份文件“Backup_Sanivo.reg”。\r\n\r\n"
                L"没有进行全部修复：没有备份，Sanivo没有删除任何内容。");
      EXPECT_EQ(boxes_.back().type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
    EXPECT_EQ(commandLines_.size(), c.backedUp ? 1u : 0u);
    const registry::Key key = registry::Key::Open(HKEY_CURRENT_USER, tree.Path());
    EXPECT_EQ(key.HasValue(L"Value"), !c.repaired);
    EXPECT_EQ(application.KeyExists(L""), !c.repaired);
    EXPECT_TRUE(registry::Key::Open(HKEY_CURRENT_USER, L"Software"));
    EXPECT_EQ(Image(*form, 0), c.repaired ? RepairedImage : 0);
    EXPECT_EQ(Image(*form, 1), c.repaired ? RepairedImage : 0);
    EXPECT_EQ(Image(*form, 2), 0);
    EXPECT_TRUE(grown.KeyExists(L"Deeper"));
    EXPECT_EQ(Image(*form, 3), 0);

    const MainMenus& menus = form->Menus();
    EXPECT_EQ(menus.Enabled(menus.Bar(), cmd::kRepair), !c.repaired);
    EXPECT_EQ(menus.Enabled(menus.Bar(), cmd::kRepairAll), !c.repaired);
    EXPECT_TRUE(menus.Enabled(menus.Popup(), cmd::kPopRepair));
    EXPECT_TRUE(menus.Enabled(menus.Popup(), cmd::kPopAll));
    EXPECT_EQ(IsWindowEnabled(form->FlatButton2()) != FALSE, !c.repaired);
    EXPECT_EQ(IsWindowEnabled(form->FlatButton3()) != FALSE, !c.repaired);
    EXPECT_EQ(form->ToolBar1().Hidden(cmd::kRepair), c.repaired);
    EXPECT_EQ(form->ToolBar1().Hidden(cmd::kRepairAll), c.repaired);
    if (c.repaired) {
      // Only the rows really repaired are marked; the status and the history count the others.
      EXPECT_EQ(form->StatusBar1().Text(),
                L"全部修复完毕。修复了 2 项，2 项没有修复：1 项为了系统的安全没有修复，"
                L"1 项在检查之后已经改变。");
      EXPECT_NE(Log().find(Ansi(L"]\r\n行为=全部修复\r\n记录=修复了 2 项检查到的系统错误，2 项没有修复"
                                L"（1 项为了系统的安全没有修复，1 项在检查之后已经改变）\r\n撤销文件=" +
                                Journal() + L"\r\n")),
                std::string::npos);
    }
    form.reset();
    DeleteFileW(folder_.File(L"Repair.log").c_str());
    DeleteFileW(folder_.File(L"Backup_Sanivo.reg").c_str());
  }
}

TEST_F(RepairCommands, ARowIgnoredWhileARepairRunsIsLeftAlone) {
  // Repair waits in its question, and repair-all lets the window run while it deletes a key's
  // subkeys: a row ignored meanwhile is not touched.
  const struct {
    int command;
    bool ignoreInTheQuestion;  // else: asked for before the command, carried out inside it
    std::deque<int> answers;
  } cases[] = {{cmd::kRepair, true, {IDOK}},
               {cmd::kRepairAll, false, {IDCANCEL, IDOK}}};  // no backup, then yes
  for (const auto& c : cases) {
    const TestKey values(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
    values.SetText(L"", L"Kept", L"C:\\没有.exe");
    // A Start-menu order entry whose folder is gone: a stale key with subkeys.
    const TestKey application(
        HKEY_CURRENT_USER,
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
        L"ZephraRepair");
    application.SetDword(L"Deeper", L"N", 1);
    const std::wstring entry = application.Path().substr(application.Path().rfind(L'\\') + 1);
    rows_ = {{L"HKEY_CURRENT_USER", application.Path(), L"", entry, 0},
             {L"HKEY_CURRENT_USER", values.Path(), L"Kept", L"C:\\没有.exe", 0}};
    answers_ = c.answers;
    auto form = Make();
    Scan(*form);
    Select(*form, 1);
    if (c.ignoreInTheQuestion)
      duringBox_ = [&] { SendCommand(*form, cmd::kIgnore); };
    else
      PostMessageW(form->Handle(), WM_COMMAND, cmd::kIgnore, 0);
    SendCommand(*form, c.command);
    EXPECT_TRUE(registry::Key::Open(HKEY_CURRENT_USER, values.Path()).HasValue(L"Kept"));
    EXPECT_TRUE(form->Ignored().Matches(rows_[1]));
    EXPECT_EQ(application.KeyExists(L""), c.command == cmd::kRepair);
    EXPECT_EQ(Log().find(Ansi(L"Kept")), std::string::npos);
    form.reset();
    DeleteFileW(folder_.File(L"Set.ini").c_str());
    DeleteFileW(folder_.File(L"Repair.log").c_str());
  }
}

TEST_F(RepairCommands, BackupAndRestoreRunTheRegistryEditorOfTheWindowsFolder) {
  auto form = Make();
  const std::wstring backup = folder_.File(L"Backup_Sanivo.reg");
  std::wstring caption, label, directory;
  editor_ = [&](const std::wstring& line) {
    const TForm3* progress = form->ProgressForm();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(IsWindowVisible(progress->Handle()));
    caption = WindowText(progress->Handle());
    label = WindowText(progress->Label1());
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    directory = current;
    if (line.find(L" /e ") != std::wstring::npos)
      WriteFileBytes(folder_.File(L"Backup_Sanivo_new.reg"), WholeExport());
  };
  SendCommand(*form, cmd::kBackup);
  ASSERT_EQ(commandLines_.size(), 1u);
  // Exported beside the backup first, put in its place once it is whole.
  EXPECT_EQ(commandLines_[0], L"\"C:\\windows\\regedit.exe\" /e Backup_Sanivo_new.reg");
  EXPECT_EQ(ReadFileBytes(backup), WholeExport());
  EXPECT_FALSE(Exists(folder_.File(L"Backup_Sanivo_new.reg")));
  EXPECT_EQ(caption, L"备份");
  EXPECT_EQ(label, L"正在进行系统文件备份，请稍候......");
  EXPECT_EQ(_wcsicmp(directory.c_str(), folder_.Path().c_str()), 0);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"备份完毕。Windows已经在当前目录创建了备份文件“Backup_Sanivo.reg”。");
  EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(form->StatusBar1().Text(), L"备份完毕");
  EXPECT_NE(Log().find(Ansi(L"]\r\n行为=备份注册表\r\n记录=备份成功\r\n")), std::string::npos);

  // The progress window: a dialog frame without border icons, its client area and label.
  const TForm3* progress = form->ProgressForm();
  EXPECT_FALSE(IsWindowVisible(progress->Handle()));
  EXPECT_EQ(GetWindow(progress->Handle(), GW_OWNER), form->Handle());
  EXPECT_FALSE(GetWindowLongW(progress->Handle(), GWL_STYLE) & WS_SYSMENU);
  RECT client;
  GetClientRect(progress->Handle(), &client);
  EXPECT_EQ(client.right, 374);
  EXPECT_EQ(client.bottom, 122);
  RECT r;
  GetWindowRect(progress->Label1(), &r);
  MapWindowPoints(nullptr, progress->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 22);
  EXPECT_EQ(r.top, 53);
  EXPECT_EQ(r.right - r.left, 344);

  // Restore: asked first; Cancel does nothing.
  commandLines_.clear();
  answers_ = {IDCANCEL};
  SendCommand(*form, cmd::kRestore);
  // The question, and on a line of its own when the backup was made and its size.
  EXPECT_EQ(boxes_.back().text.rfind(L"说明：将要从备份文件“Backup_Sanivo.reg”恢复系统，确定吗？ \r\n备份时间：", 0), 0u);
  EXPECT_NE(boxes_.back().text.find(L"，大小：0.0 MB"), std::wstring::npos);
  EXPECT_EQ(boxes_.back().type, kQuestion);
  EXPECT_TRUE(commandLines_.empty());

  editor_ = [&](const std::wstring&) {
    caption = WindowText(form->ProgressForm()->Handle());
    label = WindowText(form->ProgressForm()->Label1());
  };
  SendCommand(*form, cmd::kRestore);
  ASSERT_EQ(commandLines_.size(), 1u);
  EXPECT_EQ(commandLines_[0], L"\"C:\\windows\\regedit.exe\" /s Backup_Sanivo.reg");
  EXPECT_EQ(caption, L"恢复");
  EXPECT_EQ(label, L"正在从系统文件备份进行恢复，请稍候......");
  EXPECT_EQ(boxes_.back().text, L"恢复完毕。Windows已经从备份文件“Backup_Sanivo.reg”恢复了系统。");
  EXPECT_EQ(boxes_.back().type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(form->StatusBar1().Text(), L"恢复完毕");
  EXPECT_NE(Log().find(Ansi(L"]\r\n行为=恢复注册表\r\n记录=恢复成功\r\n")), std::string::npos);

  // Without the backup file: the error names its full path and nothing runs.
  DeleteFileW(backup.c_str());
  commandLines_.clear();
  SendCommand(*form, cmd::kRestore);
  EXPECT_EQ(boxes_.back().text, L"错误！备份文件“" + backup + L"”不存在，恢复失败。");
  EXPECT_EQ(boxes_.back().type, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_TRUE(commandLines_.empty());
}

// A backup is kept only when the registry editor made a whole export; otherwise the previous
// backup stays as it was, the box says why and the history has nothing.
TEST_F(RepairCommands, AFailedBackupNeverReplacesThePreviousOne) {
  const std::wstring backup = folder_.File(L"Backup_Sanivo.reg");
  const std::wstring unchanged = L"\r\n原来的备份文件没有改变。";
  const std::string whole = WholeExport();
  const struct {
    const char* what;
    std::optional<DWORD> exit;
    std::optional<std::string> written;
    std::wstring box;
  } cases[] = {
      {"the editor cannot be started", std::nullopt, std::nullopt,
       L"备份失败：无法启动注册表编辑器\"C:\\windows\\regedit.exe\"。"},
      {"no file", 0, std::nullopt, L"备份失败：注册表编辑器没有生成备份文件“Backup_Sanivo.reg”。"},
      {"an empty file", 0, std::string(), L"备份失败：注册表编辑器没有生成备份文件“Backup_Sanivo.reg”。"},
      {"not a registry file", 0, std::string("MZ\x90\0", 4),
       L"备份失败：注册表编辑器生成的备份文件不完整（它不是注册表编辑器的文件）。"},
      {"cut short", 1, whole.substr(0, whole.size() - 7),
       L"备份失败：注册表编辑器生成的备份文件不完整（文件不完整）。"},
      {"ending in a continued line", 0, WholeExport(L"[HKEY_USERS\\x]\r\n\"a\"=hex:01,\\\r\n"),
       L"备份失败：注册表编辑器生成的备份文件不完整（文件不完整）。"},
      {"without HKEY_USERS", 0, whole.substr(0, whole.find("[\0H\0K\0E\0Y\0_\0U"s)),
       L"备份失败：注册表编辑器生成的备份文件不完整（文件不完整）。"},
  };
  auto form = Make();
  for (const bool hadBackup : {false, true}) {
    for (const auto& c : cases) {
      DeleteFileW(backup.c_str());
      if (hadBackup) WriteFileBytes(backup, "the previous backup");
      ExportWrites(c.written);
      editorExit_ = c.exit;
      form->StatusBar1().SetText(L"扫描完毕。共检查到：0 个错误。");
      const std::string log = Log();
      SendCommand(*form, cmd::kBackup);
      ASSERT_FALSE(boxes_.empty());
      EXPECT_EQ(boxes_.back().text, c.box + (hadBackup ? unchanged : L"")) << c.what;
      EXPECT_EQ(boxes_.back().type, static_cast<UINT>(MB_OK | MB_ICONERROR)) << c.what;
      EXPECT_EQ(Exists(backup), hadBackup) << c.what;
      if (hadBackup) {
        EXPECT_EQ(ReadFileBytes(backup), "the previous backup") << c.what;
      }
      EXPECT_FALSE(Exists(folder_.File(L"Backup_Sanivo_new.reg"))) << c.what;
      EXPECT_EQ(Log(), log) << c.what;
      EXPECT_EQ(form->StatusBar1().Text(), L"扫描完毕。共检查到：0 个错误。") << c.what;
      EXPECT_FALSE(IsWindowVisible(form->ProgressForm()->Handle())) << c.what;
    }
  }
}

// Restore imports only a whole registry editor file, and says so when the editor fails.
TEST_F(RepairCommands, RestoreImportsOnlyAWholeRegistryFileAndReportsTheEditorsFailure) {
  const std::wstring backup = folder_.File(L"Backup_Sanivo.reg");
  const std::string whole = WholeExport();
  const std::wstring notUsable = L"恢复失败：备份文件“" + backup + L"”不能用来恢复（";
  const struct {
    const char* what;
    std::string file;
    std::optional<DWORD> exit;
    bool runs;
    std::wstring box;
  } cases[] = {
      {"an empty file", "", 0, false, notUsable + L"文件是空的）。注册表没有任何改变。"},
      {"not a registry file", "hello\r\n", 0, false,
       notUsable + L"它不是注册表编辑器的文件）。注册表没有任何改变。"},
      {"cut short", whole.substr(0, whole.size() - 5), 0, false,
       notUsable + L"文件不完整）。注册表没有任何改变。"},
      {"the editor fails", whole, 1, true,
       L"恢复失败：注册表编辑器报告导入出错（退出代码 1），注册表可能只恢复了一部分。"},
      {"the editor cannot be started", whole, std::nullopt, true,
       L"恢复失败：无法启动注册表编辑器\"C:\\windows\\regedit.exe\"，注册表没有任何改变。"},
      {"an older REGEDIT4 backup", "REGEDIT4\r\n\r\n[HKEY_USERS\\x]\r\n\r\n", 0, true,
       L"恢复完毕。Windows已经从备份文件“Backup_Sanivo.reg”恢复了系统。"},
  };
  auto form = Make();
  for (const auto& c : cases) {
    WriteFileBytes(backup, c.file);
    editorExit_ = c.exit;
    commandLines_.clear();
    const std::string log = Log();
    form->StatusBar1().SetText(L"扫描完毕。共检查到：0 个错误。");
    SendCommand(*form, cmd::kRestore);
    EXPECT_EQ(commandLines_.size(), c.runs ? 1u : 0u) << c.what;
    ASSERT_FALSE(boxes_.empty());
    EXPECT_EQ(boxes_.back().text, c.box) << c.what;
    const bool restored = c.runs && c.exit == std::optional<DWORD>(0);
    EXPECT_EQ(Log() != log, restored) << c.what;
    EXPECT_EQ(form->StatusBar1().Text(), restored ? L"恢复完毕" : L"扫描完毕。共检查到：0 个错误。")
        << c.what;
  }
}

TEST_F(RepairCommands, WhileARepairWaitsNothingStartsAgainAndClosingWaitsForIt) {
  const TestKey tree(HKEY_CURRENT_USER, L"Software", L"ZephraRepair");
  tree.SetText(L"", L"Value", L"C:\\没有.exe");
  rows_ = {{L"HKEY_CURRENT_USER", tree.Path(), L"Value", L"C:\\没有.exe", 0}};
  auto form = Make();
  Scan(*form);
  Select(*form, 0);
  const HWND window = form->Handle();
  bool stillThere = false;
  duringBox_ = [&] {
    EXPECT_TRUE(form->RepairBusy());
    for (const int command :
         {cmd::kScan, cmd::kRepair, cmd::kRepairAll, cmd::kBackup, cmd::kRestore, cmd::kPopRepair})
      SendCommand(*form, command);
    PostMessageW(window, WM_CLOSE, 0, 0);
    PumpFor(50);
    stillThere = IsWindow(window) && form->ListView2().Count() == 1;
  };
  SendCommand(*form, cmd::kRepair);
  EXPECT_TRUE(stillThere);
  EXPECT_EQ(boxes_.size(), 1u);  // no second question, no backup, no restore
  EXPECT_TRUE(commandLines_.empty());
  EXPECT_EQ(form->StatusBar1().Text(), L"修复完毕。剩余：0 个错误。");  // no scan since
  EXPECT_FALSE(registry::Key::Open(HKEY_CURRENT_USER, tree.Path()).HasValue(L"Value"));
  // Once the repair is over, the window closes as asked.
  EXPECT_TRUE(testing_support::WaitFor([&] { return !IsWindow(window); }, 2000));
  EXPECT_TRUE(Exists(folder_.File(L"Set.ini")));
}

TEST_F(RepairCommands, TheHistoryWindowShowsTheFileAndClearsIt) {
  auto form = Make();
  form->WriteLog(L"删除", L"HKEY_CURRENT_USER Software\\A Value C:\\没有.exe");
  SendCommand(*form, cmd::kHistory);
  const TForm2* history = form->HistoryForm();
  ASSERT_NE(history, nullptr);
  const HWND window = history->Handle();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(WindowText(window), L"历史日志管理");
  EXPECT_EQ(GetWindow(window, GW_OWNER), form->Handle());
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 544);
  EXPECT_EQ(r.bottom - r.top, 384);
  EXPECT_EQ(WindowText(history->Memo1()), common::FromAnsi(Log()));  // the raw INI text
  EXPECT_TRUE(GetWindowLongW(history->Memo1(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(WindowText(history->FlatButton1()), L"清空");
  EXPECT_EQ(WindowText(history->Button1()), L"退出");
  EXPECT_EQ(history->ButtonHints().Get(history->FlatButton1()), L"清空历史日志");
  RECT client, header, panel1, panel2;
  GetClientRect(window, &client);
  GetWindowRect(history->HeaderControl1(), &header);
  GetWindowRect(history->Panel1(), &panel1);
  GetWindowRect(history->Panel2(), &panel2);
  EXPECT_EQ(header.bottom - header.top, 17);
  EXPECT_EQ(panel1.bottom - panel1.top, 40);
  EXPECT_EQ(panel2.right - panel2.left, 185);
  EXPECT_EQ(panel2.right, panel1.right);

  // The memo never holds the caret.
  SetFocus(history->Memo1());
  EXPECT_EQ(GetFocus(), history->Panel1());

  // Closed, it is only hidden; the next showing reloads the file.
  SendMessageW(history->Button1(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  form->WriteLog(L"备份注册表", L"备份成功");
  SendCommand(*form, cmd::kHistory);
  EXPECT_EQ(form->HistoryForm(), history);
  EXPECT_NE(WindowText(history->Memo1()).find(L"备份成功"), std::wstring::npos);

  // Clearing asks nothing; without a file it leaves the memo as it is.
  SendMessageW(history->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_FALSE(Exists(folder_.File(L"Repair.log")));
  EXPECT_EQ(WindowText(history->Memo1()), L"");
  SetWindowTextW(history->Memo1(), L"shown");
  SendMessageW(history->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(history->Memo1()), L"shown");
  SendCommand(*form, cmd::kHistory);  // a missing file shows an empty memo
  EXPECT_EQ(WindowText(history->Memo1()), L"");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(RepairCommands, ClearingTheHistoryWithTheWindowNeverOpened) {
  auto form = Make();
  form->WriteLog(L"恢复注册表", L"恢复成功");
  ASSERT_TRUE(Exists(folder_.File(L"Repair.log")));
  SendCommand(*form, cmd::kClearHistory);
  EXPECT_FALSE(Exists(folder_.File(L"Repair.log")));
  ASSERT_NE(form->HistoryForm(), nullptr);
  EXPECT_FALSE(IsWindowVisible(form->HistoryForm()->Handle()));
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace

// Scans through the main window's controls: captions, status texts, the repair controls,
// sorting and ending the program in the middle of a scan.
#include <gtest/gtest.h>

#include "checker/app/CommandIds.h"
#include "checker/app/TForm1.h"
#include "common/text.h"
#include "fakes.h"
#include "support/testing.h"

namespace {

using testing_support::PumpFor;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WaitFor;
using testing_support::WindowText;

class MainWindowScan : public ::testing::Test {
 protected:
  std::unique_ptr<TForm1> Make(const ScannerSet& scanners, DWORD major = 6, bool sfc = false) {
    CheckerServices services = TestServices(folder_.Path(), major, 1);
    services.scanners = [scanners] { return scanners; };
    services.fileExists = [sfc](const std::wstring&) { return sfc; };
    services.messageBox = [this](const std::wstring& text, UINT type) {
      return messageBox_ ? messageBox_(text, type) : IDNO;
    };
    services.runAndWait = [this](const std::wstring& line, HWND owner,
                                 const std::function<void()>&) {
      commandLines_.push_back(line);
      statusAtRun_ = form_ ? form_->StatusBar1().Text() : L"";
      ownerAtRun_ = owner;
      return std::optional<DWORD>(0);
    };
    auto form = ShownForm(std::move(services));
    form_ = form.get();
    return form;
  }

  // The repair controls: four menu items and two buttons enabled, two tool buttons visible.
  static std::vector<bool> RepairControls(TForm1& form) {
    MainMenus& menus = form.Menus();
    return {
        menus.Enabled(menus.Bar(), cmd::kRepair),      menus.Enabled(menus.Bar(), cmd::kRepairAll),
        menus.Enabled(menus.Popup(), cmd::kPopRepair), menus.Enabled(menus.Popup(), cmd::kPopAll),
        IsWindowEnabled(form.FlatButton2()) != FALSE,  IsWindowEnabled(form.FlatButton3()) != FALSE,
        !form.ToolBar1().Hidden(cmd::kRepairAll),      !form.ToolBar1().Hidden(cmd::kRepair)};
  }

  TempFolder folder_;
  TForm1* form_ = nullptr;
  std::vector<std::wstring> commandLines_;
  std::wstring statusAtRun_;
  HWND ownerAtRun_ = nullptr;
  std::function<int(const std::wstring&, UINT)> messageBox_;
};

const std::vector<bool> kAllOn(8, true), kAllOff(8, false);

TEST_F(MainWindowScan, ScanningWithNoScannersFindsNothingHonestly) {
  auto form = Make(ScannerSet());
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->StatusBar1().Text(), L"扫描完毕。共检查到：0 个错误。");
  EXPECT_EQ(form->ListView2().Count(), 0);
  EXPECT_EQ(RepairControls(*form), kAllOff);
  EXPECT_EQ(WindowText(form->FlatButton1()), L"扫描");
  EXPECT_EQ(form->ButtonHints().Get(form->FlatButton1()), L"扫描系统错误");
  EXPECT_EQ(form->ToolBar1().Hint(cmd::kScan), L"扫描系统错误");
}

TEST_F(MainWindowScan, CaptionsReadStopWhileScanningAndTheRepairControlsFollowTheRows) {
  ScannerSet scanners;
  std::vector<std::wstring> seen;
  bool selectAllEnabled = true;
  TForm1* form = nullptr;
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&](ScanHost& host) {
    seen = {WindowText(form->FlatButton1()), form->ToolBar1().Caption(cmd::kScan),
            form->Menus().Caption(form->Menus().Bar(), cmd::kScan),
            form->Menus().Shortcut(form->Menus().Bar(), cmd::kScan)};
    selectAllEnabled = IsWindowEnabled(form->SeleclAllChkListBtn()) != FALSE;
    host.AddRow({L"HKEY_LOCAL_MACHINE", L"Software\\Empty", L"", L"无效软件", 0});
    host.AddRow({L"HKEY_LOCAL_MACHINE", L"Software\\Microsoft\\Windows\\CurrentVersion\\Shareddlls",
                 L"C:\\gone.dll", L"", DllImage});
  };
  auto made = Make(scanners);
  form = made.get();

  // The scan command from the menu.
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(cmd::kScan, 0), 0);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"停止", L"  停止  ", L"停止", L"Ctrl+S"}));
  EXPECT_FALSE(selectAllEnabled);
  EXPECT_EQ(form->StatusBar1().Text(), L"扫描完毕。共检查到：2 个错误。");
  EXPECT_EQ(RepairControls(*form), kAllOn);
  EXPECT_EQ(form->ToolBar1().Caption(cmd::kScan), L"  扫描  ");
  EXPECT_EQ(form->Menus().Caption(form->Menus().Bar(), cmd::kScan), L"扫描");
  EXPECT_TRUE(IsWindowEnabled(form->SeleclAllChkListBtn()));
  EXPECT_EQ(form->ListView2().Row(1).ImageIndex, DllImage);
  EXPECT_EQ(form->ListView2().Row(1).KeyName, L"C:\\gone.dll");

  // The next scan, from the tool button, clears the list first; finding nothing turns the
  // repair controls off again.
  scanners.Synchronous(CheckRowId::SoftwareKeys) = nullptr;
  form->ChkListView().SetChecked(0, false);
  RECT button;
  SendMessageW(form->ToolBar1().ToolBar(), TB_GETRECT, cmd::kScan,
               reinterpret_cast<LPARAM>(&button));
  const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  SendMessageW(form->ToolBar1().ToolBar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(form->ToolBar1().ToolBar(), WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(WaitFor([&] { return form->ListView2().Count() == 0; }, 2000));
  EXPECT_EQ(form->StatusBar1().Text(), L"扫描完毕。共检查到：0 个错误。");
  EXPECT_EQ(RepairControls(*form), kAllOff);
}

TEST_F(MainWindowScan, ThreadRowsFinishThroughTheirCompletionAndStopWorksFromTheButton) {
  auto script = std::make_shared<ThreadScript>();
  script->rows = {{L"HKEY_CURRENT_USER", L"Software\\Old", L"Path", L"C:\\gone\\app.exe /s", 0}};
  ScannerSet scanners;
  AddFakeThreads(scanners, script);
  auto form = Make(scanners, 5, true);
  ASSERT_EQ(form->ChkListView().RowCount(), 13);
  form->ChkListView().SetChecked(12, true);

  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return form->ListView2().Count() == 4; }));
  EXPECT_EQ(WindowText(form->FlatButton1()), L"停止");
  EXPECT_TRUE(form->Scanning());
  script->release = true;
  EXPECT_TRUE(WaitFor([&] { return form->PendingScans() == 0; }));
  EXPECT_EQ(form->StatusBar1().Text(), L"扫描完毕。共检查到：4 个错误");
  EXPECT_EQ(commandLines_,
            std::vector<std::wstring>{L"\"C:\\windows\\system32\\sfc.exe\" /SCANNOW"});
  EXPECT_EQ(statusAtRun_,
            L"扫描所有受保护的系统文件并用正确的 Microsoft 版本替换不正确版本，请稍候...");
  EXPECT_EQ(ownerAtRun_, form->Handle());
  EXPECT_EQ(RepairControls(*form), kAllOn);

  // Again, stopped from the button while the threads run: no system file check.
  script->release = false;
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return form->ListView2().Count() == 4; }));
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form->Scanning());
  EXPECT_EQ(WindowText(form->FlatButton1()), L"扫描");
  EXPECT_TRUE(WaitFor([&] { return form->PendingScans() == 0; }));
  EXPECT_EQ(form->StatusBar1().Text(), L"扫描完毕。共检查到：4 个错误");
  EXPECT_EQ(commandLines_.size(), 1u);
}

TEST_F(MainWindowScan, StatusTextsOfWorkerThreadsReachTheStatusBar) {
  auto script = std::make_shared<ThreadScript>();
  ScannerSet scanners;
  AddFakeThreads(scanners, script);
  auto form = Make(scanners);
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return form->StatusBar1().Text().rfind(L"扫描：", 0) == 0; }));
  script->release = true;
  EXPECT_TRUE(WaitFor([&] { return form->PendingScans() == 0; }));
}

TEST_F(MainWindowScan, StreamingRowsAreDrawnTogetherShortlyAfter) {
  auto script = std::make_shared<ThreadScript>();
  script->rows = {{L"HKEY_USERS", L"S-1\\Software\\A", L"", L"", 0},
                  {L"HKEY_USERS", L"S-1\\Software\\B", L"", L"", 0}};
  ScannerSet scanners;
  AddFakeThreads(scanners, script);
  auto form = Make(scanners);
  ShowWindow(form->Handle(), SW_SHOWNA);
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return form->ListView2().Count() >= 1; }));
  EXPECT_TRUE(form->ListView2().DrawingHeld());  // rows are there, drawing comes with the batch
  EXPECT_TRUE(WaitFor([&] { return form->ListView2().Count() == 8; }));
  script->release = true;
  EXPECT_TRUE(WaitFor([&] { return !form->ListView2().DrawingHeld(); }, 2000));
  EXPECT_TRUE(IsWindowVisible(form->ListView2().Handle()));
  EXPECT_TRUE(WaitFor([&] { return form->PendingScans() == 0; }));
}

TEST_F(MainWindowScan, AColumnClickSortsDescendingEveryTime) {
  ScannerSet scanners;
  const std::vector<ScanResultRow> rows = {
      {L"HKEY_CURRENT_USER", L"Software\\b", L"zeta", L"", 0},
      {L"磁盘目录错误", L"C:\\Documents and Settings\\All Users\\「开始」菜单\\程序\\空", L"", L"",
       0},
      {L"hkey_local_machine", L"Software\\A", L"Alpha", L"", 0},
      {L"磁盘文件错误", L"C:\\x.lnk", L"1024 Byte", L"C:\\gone.exe", 0},
      {L"HKEY_USERS", L"S-1-5-21\\Software", L"beta", L"", 0},
  };
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&](ScanHost& host) {
    for (const ScanResultRow& row : rows) host.AddRow(row);
  };
  auto form = Make(scanners);
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  ASSERT_EQ(form->ListView2().Count(), 5);

  const auto column = [&](int k) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < form->ListView2().Count(); ++i) {
      const ScanResultRow row = form->ListView2().Row(i);
      texts.push_back(k == 0   ? row.Item
                      : k == 1 ? row.Location
                      : k == 2 ? row.KeyName
                               : row.Description);
    }
    return texts;
  };
  const auto click = [&](int k) {
    NMLISTVIEW notice = {};
    notice.hdr.hwndFrom = form->ListView2().Handle();
    notice.hdr.idFrom = cmd::kListView2;
    notice.hdr.code = LVN_COLUMNCLICK;
    notice.iItem = -1;
    notice.iSubItem = k;
    SendMessageW(form->Handle(), WM_NOTIFY, cmd::kListView2, reinterpret_cast<LPARAM>(&notice));
  };
  // Texts compare as the system's code page spells them (GBK: Chinese after ASCII), letters
  // without regard to case.
  const std::vector<std::wstring> items = {L"磁盘文件错误", L"磁盘目录错误", L"HKEY_USERS",
                                           L"hkey_local_machine", L"HKEY_CURRENT_USER"};
  click(0);
  EXPECT_EQ(column(0), items);
  click(0);
  EXPECT_EQ(column(0), items);  // descending again, not reversed
  click(2);
  EXPECT_EQ(column(2), (std::vector<std::wstring>{L"zeta", L"beta", L"Alpha", L"1024 Byte", L""}));
  // Whole rows move together.
  EXPECT_EQ(form->ListView2().Row(3).Description, L"C:\\gone.exe");
  click(1);
  EXPECT_EQ(column(1).front(), L"Software\\b");
}

TEST_F(MainWindowScan, ClosingInsideTheScanCommandWaitsUntilItIsOver) {
  ScannerSet scanners;
  bool windowDuringScan = false, scanningAfterClose = true;
  TForm1* form = nullptr;
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&](ScanHost& host) {
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    host.ProcessMessages();  // the close request arrives here
    windowDuringScan = IsWindow(form->Handle()) != FALSE;
    scanningAfterClose = host.Scanning();
    host.AddRow({L"HKEY_CURRENT_USER", L"Software\\Empty", L"", L"无效软件", 0});
  };
  auto made = Make(scanners);
  form = made.get();
  const HWND window = form->Handle();
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_TRUE(windowDuringScan);
  EXPECT_FALSE(scanningAfterClose);  // the close stopped the scan
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }, 2000));
  EXPECT_NE(ReadFileBytes(folder_.File(L"Set.ini")).find("Window=Normal"), std::string::npos);
}

TEST_F(MainWindowScan, TheEndMessageInsideTheScanCommandEndsAfterItWithoutSetIni) {
  ScannerSet scanners;
  bool windowDuringScan = false;
  TForm1* form = nullptr;
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&](ScanHost& host) {
    PostMessageW(form->Handle(), TForm1::kEndMessage, 0, 0);
    host.ProcessMessages();
    windowDuringScan = IsWindow(form->Handle()) != FALSE;
  };
  auto made = Make(scanners);
  form = made.get();
  const HWND window = form->Handle();
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_TRUE(windowDuringScan);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }, 2000));
  EXPECT_EQ(GetFileAttributesW(folder_.File(L"Set.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindowScan, AScanAsksThroughTheServicesAndAClosingDuringTheQuestionWaits) {
  ScannerSet scanners;
  int answer = 0;
  scanners.Synchronous(CheckRowId::BrokenShortcuts) = [&](ScanHost& host) {
    answer = host.Environment().ShowMessage(L"问题", MB_YESNO | MB_ICONQUESTION);
  };
  auto form = Make(scanners);
  const HWND window = form->Handle();
  std::vector<std::wstring> questions;
  bool windowDuringQuestion = false;
  // The box's own message loop serves a close request while it is open.
  messageBox_ = [&](const std::wstring& text, UINT) {
    questions.push_back(text);
    PostMessageW(window, WM_CLOSE, 0, 0);
    PumpFor(50);
    windowDuringQuestion = IsWindow(window) != FALSE;
    return IDYES;
  };
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_EQ(questions, std::vector<std::wstring>{L"问题"});
  EXPECT_EQ(answer, IDYES);
  EXPECT_TRUE(windowDuringQuestion);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }, 2000));
}

TEST_F(MainWindowScan, ClosingWhileThreadsRunWritesSetIniAndLetsThemGo) {
  auto script = std::make_shared<ThreadScript>();
  script->rows = {{L"HKEY_USERS", L"S-1\\Software", L"", L"", 0}};
  ScannerSet scanners;
  AddFakeThreads(scanners, script);
  auto form = Make(scanners);
  SendMessageW(form->FlatButton1(), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return form->ListView2().Count() >= 1; }));
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form->Handle()));
  EXPECT_NE(ReadFileBytes(folder_.File(L"Set.ini")).find("Window=Normal"), std::string::npos);
  EXPECT_EQ(script->ended.load(), 4);
}

}  // namespace

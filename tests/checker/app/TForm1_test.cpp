// The main window in the test process: its controls, menus, check list, Set.ini and ending.
#include "checker/app/TForm1.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "checker/app/CommandIds.h"
#include "common/keyboard.h"
#include "common/surface.h"
#include "fakes.h"
#include "support/testing.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WindowText;
using testing_support::WriteFileBytes;

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

// Place of a child in its parent's client area.
RECT ChildRect(HWND child) {
  RECT r = WindowRect(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<std::wstring> MenuTexts(HMENU menu) {
  std::vector<std::wstring> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      texts.push_back(L"-");
      continue;
    }
    wchar_t text[128] = {};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    texts.push_back(text);
  }
  return texts;
}

class MainWindow : public ::testing::Test {
 protected:
  std::unique_ptr<TForm1> Make(CheckerServices services) {
    return ShownForm(std::move(services));
  }
  std::unique_ptr<TForm1> Make() { return Make(TestServices(folder_.Path())); }
  std::wstring SetIni() const { return folder_.File(L"Set.ini"); }

  TempFolder folder_;
};

// Laid out in pixels, with its 12-pixel text at every dpi (9 pt at 96 dpi).
TEST_F(MainWindow, HasItsDesignSizePlaceAndFont) {
  for (const int dpi : {96, 144}) {
    testing_support::DpiOverride setting(dpi);
    auto form = Make();
    EXPECT_EQ(WindowText(form->Handle()), L"Sanivo");
    const RECT r = WindowRect(form->Handle());
    EXPECT_EQ(r.right - r.left, 608) << dpi;
    EXPECT_EQ(r.bottom - r.top, 465) << dpi;
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 608) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 465) / 2);

    LOGFONTW font = {};
    GetObjectW(form->Font(), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
    EXPECT_EQ(font.lfHeight, -12) << dpi;
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(GetMenu(form->Handle()), form->Menus().Bar());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(form->FlatButton1(), WM_GETFONT, 0, 0)),
              form->Font());
  }
}

TEST_F(MainWindow, LaysOutTheCheckAreaResultListAndStatusBar) {
  auto form = Make();
  RECT client;
  GetClientRect(form->Handle(), &client);
  const int barHeight = form->ToolBar1().Height();
  EXPECT_GE(barHeight, 52);

  const RECT panel = ChildRect(form->FlatPanel1());
  EXPECT_EQ(panel.top, barHeight);
  EXPECT_EQ(panel.bottom - panel.top, 167);
  EXPECT_EQ(panel.left, 0);
  EXPECT_EQ(panel.right, client.right);

  const RECT label = ChildRect(form->Label1());
  EXPECT_EQ(label.left, 10);
  EXPECT_EQ(label.top, 4);
  EXPECT_EQ(WindowText(form->Label1()), L"请选择Sanivo要检查的项目");

  const RECT panel2 = ChildRect(form->Panel2());
  EXPECT_EQ(panel2.right - panel2.left, 103);
  EXPECT_EQ(panel2.right, panel.right - panel.left - 1);  // inside the flat border

  // The check list between the label's left edge and Panel2, level with the four buttons.
  const RECT first = ChildRect(form->FlatButton1());
  const RECT last = ChildRect(form->FlatButton4());
  const RECT list = ChildRect(form->ChkListView().Handle());
  EXPECT_EQ(list.left, 10);
  EXPECT_EQ(list.right - list.left, panel2.left - 10 - 2);
  EXPECT_EQ(list.top, first.top + 2);
  EXPECT_EQ(list.bottom - list.top, last.bottom - first.top - 2);
  const RECT selectAll = ChildRect(form->SeleclAllChkListBtn());
  EXPECT_EQ(selectAll.right - selectAll.left, 65);
  EXPECT_EQ(selectAll.bottom - selectAll.top, 18);
  EXPECT_EQ(selectAll.left, panel2.left - 65 - 2);

  // The result list fills the rest, down to the status bar.
  const RECT results = ChildRect(form->ListView2().Handle());
  const RECT status = ChildRect(form->StatusBar1().Handle());
  EXPECT_EQ(results.top, panel.bottom);
  EXPECT_EQ(results.bottom, status.top);
  EXPECT_EQ(status.bottom, client.bottom);

  // Resizing keeps the rules.
  SetWindowPos(form->Handle(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  const RECT wider = ChildRect(form->ChkListView().Handle());
  EXPECT_EQ(wider.right, ChildRect(form->Panel2()).left - 2);
}

TEST_F(MainWindow, ButtonsAndTheirHints) {
  auto form = Make();
  EXPECT_EQ(WindowText(form->FlatButton1()), L"扫描");
  EXPECT_EQ(WindowText(form->FlatButton2()), L"修复");
  EXPECT_EQ(WindowText(form->FlatButton3()), L"全部修复");
  EXPECT_EQ(WindowText(form->FlatButton4()), L"退出");
  EXPECT_EQ(WindowText(form->SeleclAllChkListBtn()), L"全否");
  EXPECT_TRUE(IsWindowEnabled(form->FlatButton1()));
  EXPECT_FALSE(IsWindowEnabled(form->FlatButton2()));
  EXPECT_FALSE(IsWindowEnabled(form->FlatButton3()));
  EXPECT_TRUE(IsWindowEnabled(form->FlatButton4()));
  EXPECT_EQ(form->ButtonHints().Get(form->FlatButton1()), L"");
  EXPECT_EQ(form->ButtonHints().Get(form->FlatButton2()), L"修复选中的错误条目");
  EXPECT_EQ(form->ButtonHints().Get(form->FlatButton3()), L"修复所有扫描到的错误");
  EXPECT_EQ(form->ButtonHints().Get(form->FlatButton4()), L"退出Sanivo");
}

TEST_F(MainWindow, ToolBarButtonsPicturesAndHints) {
  auto form = Make();
  CoolToolBar& bar = form->ToolBar1();
  const HWND toolBar = bar.ToolBar();
  EXPECT_EQ(SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0), 8);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(toolBar, TB_GETIMAGELIST, 0, 0)),
            form->Images().ImageList2.Get());
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(toolBar, TB_GETHOTIMAGELIST, 0, 0)),
            form->Images().ImageList3.Get());
  const DWORD size = static_cast<DWORD>(SendMessageW(toolBar, TB_GETBUTTONSIZE, 0, 0));
  EXPECT_EQ(LOWORD(size), 55);
  EXPECT_EQ(HIWORD(size), 51);

  const struct {
    int command;
    const wchar_t* caption;
    const wchar_t* hint;
    int image;
    bool hidden;
  } buttons[] = {
      {cmd::kScan, L"  扫描  ", L"扫描系统错误", 0, false},
      {cmd::kRepairAll, L"全部修复", L"修复所有扫描到的错误", 1, true},
      {cmd::kRepair, L"  修复  ", L"修复选中的错误", 2, true},
      {cmd::kToolButton3, nullptr, nullptr, 20, false},
      {cmd::kBackup, L"  备份  ", L"注册表备份", 3, false},
      {cmd::kRestore, L"  恢复  ", L"注册表恢复", 4, false},
      {cmd::kToolButton5, nullptr, nullptr, 20, false},
      {cmd::kHistory, L"历史日志", L"修复历史日志", 5, false},
  };
  for (int i = 0; i < 8; ++i) {
    TBBUTTON button = {};
    ASSERT_TRUE(SendMessageW(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.idCommand, buttons[i].command) << i;
    EXPECT_EQ(button.iBitmap, buttons[i].image) << i;  // a separator's width
    EXPECT_EQ(bar.Hidden(buttons[i].command), buttons[i].hidden) << i;
    if (buttons[i].caption == nullptr) {
      EXPECT_TRUE(button.fsStyle & BTNS_SEP);
      continue;
    }
    EXPECT_EQ(bar.Caption(buttons[i].command), buttons[i].caption);
    EXPECT_EQ(bar.Hint(buttons[i].command), buttons[i].hint);
  }

  // The hint reaches the tooltip through the main window.
  NMTTDISPINFOW request = {};
  request.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(toolBar, TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(request.hdr.hwndFrom, nullptr);
  request.hdr.idFrom = cmd::kBackup;
  request.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
  ASSERT_NE(request.lpszText, nullptr);
  EXPECT_STREQ(request.lpszText, L"注册表备份");

  REBARBANDINFOW band = {};
  band.cbSize = REBARBANDINFOW_V6_SIZE;
  band.fMask = RBBIM_CHILDSIZE | RBBIM_CHILD;
  ASSERT_TRUE(SendMessageW(bar.CoolBar(), RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band)));
  EXPECT_EQ(band.hwndChild, toolBar);
  EXPECT_EQ(band.cyMinChild, 52u);
}

TEST_F(MainWindow, ImageListsHoldTheirPictures) {
  auto form = Make();
  const CheckerImages& images = form->Images();
  int cx = 0, cy = 0;
  EXPECT_EQ(ImageList_GetImageCount(images.ImageList1.Get()), 22);
  ImageList_GetIconSize(images.ImageList1.Get(), &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  for (HIMAGELIST list : {images.ImageList2.Get(), images.ImageList3.Get()}) {
    EXPECT_EQ(ImageList_GetImageCount(list), 6);
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);
  }
  // Every picture shows something: drawn on white, some of its pixels are not white.
  const auto drawsSomething = [](HIMAGELIST list, int index, int size) {
    common::MemorySurface surface;
    surface.Resize(size, size, 0xFFFFFF);
    ImageList_Draw(list, index, surface.Dc(), 0, 0, ILD_NORMAL);
    GdiFlush();
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (surface.ColorAt(x, y) != 0xFFFFFF) return true;
    return false;
  };
  for (int i = 0; i < 22; ++i) EXPECT_TRUE(drawsSomething(images.ImageList1.Get(), i, 16)) << i;
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(drawsSomething(images.ImageList2.Get(), i, 32)) << i;
    EXPECT_TRUE(drawsSomething(images.ImageList3.Get(), i, 32)) << i;
  }
  EXPECT_EQ(ListView_GetImageList(form->ChkListView().Handle(), LVSIL_SMALL),
            images.ImageList1.Get());
  EXPECT_EQ(ListView_GetImageList(form->ListView2().Handle(), LVSIL_SMALL),
            images.ImageList1.Get());
}

TEST_F(MainWindow, ListsHaveTheirColumnsAndStyles) {
  auto form = Make();
  const HWND checks = form->ChkListView().Handle();
  const LONG_PTR checkStyle = GetWindowLongPtrW(checks, GWL_STYLE);
  EXPECT_EQ(checkStyle & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(checkStyle & LVS_NOCOLUMNHEADER);
  EXPECT_FALSE(checkStyle & LVS_EDITLABELS);
  const DWORD checkExtended = ListView_GetExtendedListViewStyle(checks);
  EXPECT_TRUE(checkExtended & LVS_EX_CHECKBOXES);
  EXPECT_TRUE(checkExtended & LVS_EX_FULLROWSELECT);
  EXPECT_EQ(ListView_GetColumnWidth(checks, 1), 150);
  RECT checkClient;
  GetClientRect(checks, &checkClient);
  EXPECT_EQ(ListView_GetColumnWidth(checks, 0), checkClient.right - 150);

  const HWND results = form->ListView2().Handle();
  const LONG_PTR resultStyle = GetWindowLongPtrW(results, GWL_STYLE);
  EXPECT_EQ(resultStyle & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_FALSE(resultStyle & LVS_EDITLABELS);
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(results) & LVS_EX_FULLROWSELECT);
  EXPECT_EQ(ListView_GetBkColor(results), RGB(255, 255, 255));
  const wchar_t* headers[] = {L"项目", L"位置", L"键名", L"说明"};
  for (int i = 0; i < 4; ++i) {
    wchar_t text[32] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 32;
    ASSERT_TRUE(ListView_GetColumn(results, i, &column));
    EXPECT_STREQ(text, headers[i]);
  }
  RECT client;
  GetClientRect(results, &client);
  EXPECT_EQ(ListView_GetColumnWidth(results, 0), 150);
  EXPECT_EQ(ListView_GetColumnWidth(results, 1), client.right - 150 - 60 - 231);
  EXPECT_EQ(ListView_GetColumnWidth(results, 2), 60);
  EXPECT_EQ(ListView_GetColumnWidth(results, 3), 231);

  const HWND status = form->StatusBar1().Handle();
  int parts[4] = {};
  EXPECT_EQ(SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 1);
  EXPECT_EQ(parts[0], 400);
  EXPECT_EQ(form->StatusBar1().Text().rfind(L"欢迎使用Sanivo", 0), 0u);
}

TEST_F(MainWindow, MenusHaveTheirCaptionsShortcutsStatesAndPictures) {
  auto form = Make();
  const HMENU bar = form->Menus().Bar();
  EXPECT_EQ(MenuTexts(bar), (std::vector<std::wstring>{L"文件(&F)", L"Sanivo(&S)", L"帮助(&H)"}));
  EXPECT_EQ(
      MenuTexts(GetSubMenu(bar, 0)),
      (std::vector<std::wstring>{L"注册表备份(&B)", L"注册表恢复(&R)", L"-", L"退出(&X)\tF10"}));
  EXPECT_EQ(MenuTexts(GetSubMenu(bar, 1)),
            (std::vector<std::wstring>{
                L"扫描\tCtrl+S", L"-", L"修复\tCtrl+R", L"全部修复\tCtrl+Alt+R", L"忽略此项", L"-",
                L"历史日志\tCtrl+H", L"清空历史日志\tCtrl+C", L"-", L"忽略列表"}));
  EXPECT_EQ(MenuTexts(GetSubMenu(bar, 2)),
            (std::vector<std::wstring>{L"帮助\tF1", L"-", L"通过电子邮件与作者联系",
                                       L"访问作者主页", L"-", L"关于Sanivo"}));
  EXPECT_EQ(MenuTexts(form->Menus().Popup()),
            (std::vector<std::wstring>{L"修复(&R)", L"全部修复(&A)", L"-", L"忽略此项"}));

  MainMenus& menus = form->Menus();
  for (int command :
       {cmd::kBackup, cmd::kRestore, cmd::kExit, cmd::kScan, cmd::kHistory, cmd::kClearHistory,
        cmd::kIgnoreList, cmd::kHelp, cmd::kContact, cmd::kHomePage, cmd::kAbout})
    EXPECT_TRUE(menus.Enabled(bar, command)) << command;
  EXPECT_FALSE(menus.Enabled(bar, cmd::kRepair));
  EXPECT_FALSE(menus.Enabled(bar, cmd::kRepairAll));
  EXPECT_FALSE(menus.Enabled(menus.Popup(), cmd::kPopRepair));
  EXPECT_FALSE(menus.Enabled(menus.Popup(), cmd::kPopAll));

  const std::pair<int, int> pictures[] = {
      {cmd::kBackup, 4},    {cmd::kRestore, 5}, {cmd::kScan, 1},    {cmd::kRepair, 2},
      {cmd::kRepairAll, 3}, {cmd::kHistory, 6}, {cmd::kContact, 8}, {cmd::kHomePage, 7},
      {cmd::kPopRepair, 3}, {cmd::kPopAll, 2},  {cmd::kExit, -1},   {cmd::kClearHistory, -1},
      {cmd::kHelp, -1},     {cmd::kAbout, -1}};
  for (const auto& [command, image] : pictures) EXPECT_EQ(MainMenus::ImageOf(command), image);

  ACCEL keys[16] = {};
  const int count = CopyAcceleratorTableW(menus.Accelerators(), keys, 16);
  std::set<std::tuple<int, int, int>> table;
  for (int i = 0; i < count; ++i)
    table.insert({keys[i].fVirt & ~FNOINVERT, keys[i].key, keys[i].cmd});
  EXPECT_EQ(table,
            (std::set<std::tuple<int, int, int>>{{FVIRTKEY, VK_F10, cmd::kExit},
                                                 {FVIRTKEY | FCONTROL, 'S', cmd::kScan},
                                                 {FVIRTKEY | FCONTROL, 'R', cmd::kRepair},
                                                 {FVIRTKEY | FCONTROL | FALT, 'R', cmd::kRepairAll},
                                                 {FVIRTKEY | FCONTROL, 'H', cmd::kHistory},
                                                 {FVIRTKEY | FCONTROL, 'C', cmd::kClearHistory},
                                                 {FVIRTKEY, VK_F1, cmd::kHelp}}));
}

// Keyboard state of this thread with some keys held down, for the shortcut tests.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof(state));
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

TEST_F(MainWindow, ShortcutKeysReachTheirCommands) {
  auto form = Make();
  {
    const HeldKeys control({VK_CONTROL});
    MSG key = {form->ChkListView().Handle(), WM_KEYDOWN, 'S', 0x001F0001, 0, {}};
    EXPECT_TRUE(common::TranslateKeyboard(key));
  }
  EXPECT_EQ(form->StatusBar1().Text(), L"扫描完毕。共检查到：0 个错误。");

  // Ctrl+R is the shortcut of a disabled item: nothing happens, and nothing breaks.
  {
    const HeldKeys control({VK_CONTROL});
    MSG key = {form->ChkListView().Handle(), WM_KEYDOWN, 'R', 0x00130001, 0, {}};
    common::TranslateKeyboard(key);
  }
  EXPECT_TRUE(IsWindow(form->Handle()));

  // F10 is the exit shortcut (it arrives as a system key).
  MSG f10 = {form->ListView2().Handle(), WM_SYSKEYDOWN, VK_F10, 0x00440001, 0, {}};
  EXPECT_TRUE(common::TranslateKeyboard(f10));
  EXPECT_FALSE(IsWindow(form->Handle()));
  EXPECT_NE(ReadFileBytes(SetIni()).find("Window=Normal"), std::string::npos);
}

TEST_F(MainWindow, CheckListHasTwelveRowsWithTheLastOneUnchecked) {
  std::vector<std::wstring> asked;
  CheckerServices services = TestServices(folder_.Path(), 6, 1);
  services.fileExists = [&](const std::wstring& path) {
    asked.push_back(path);
    return true;  // even with the system file checker there: only major version 5 shows it
  };
  auto form = Make(services);
  CheckListView& list = form->ChkListView();
  ASSERT_EQ(list.RowCount(), 12);
  EXPECT_EQ(asked, std::vector<std::wstring>{L"C:\\windows\\system32\\sfc.exe"});
  const struct {
    const wchar_t* caption;
    const wchar_t* advice;
    int image;
  } rows[] = {
      {L"扫描：错误的应用软件信息", L"推荐", 17},
      {L"扫描：错误的应用程序菜单", L"推荐", 16},
      {L"扫描：错误的类和文件关联", L"推荐", 11},
      {L"扫描：错误的帮助文件", L"推荐", 18},
      {L"扫描：错误的动态连接库", L"推荐", 11},
      {L"扫描：错误的反安装信息", L"推荐", 14},
      {L"扫描：错误的字体信息", L"推荐", 15},
      {L"扫描：当前用户的错误信息", L"推荐", 12},
      {L"扫描：所有用户的错误信息", L"推荐", 13},
      {L"扫描：计算机的错误信息", L"推荐", 10},
      {L"扫描：磁盘文件错误", L"多操作系统用户不推荐", 20},
      {L"扫描：磁盘目录错误", L"多操作系统用户不推荐", 19},
  };
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(list.Text(i, 0), rows[i].caption) << i;
    EXPECT_EQ(list.Text(i, 1), rows[i].advice) << i;
    EXPECT_EQ(list.Image(i), rows[i].image) << i;
    EXPECT_EQ(list.Checked(i), i != 11) << i;
  }
  EXPECT_EQ(form->OSInfo()->OSName(), L"Invalidated");
}

TEST_F(MainWindow, CheckListByWindowsVersion) {
  const auto rowsFor = [&](DWORD major, DWORD minor, bool sfc) {
    CheckerServices services = TestServices(folder_.Path(), major, minor);
    services.fileExists = [sfc](const std::wstring&) { return sfc; };
    auto form = Make(services);
    std::vector<bool> checked;
    for (int i = 0; i < form->ChkListView().RowCount(); ++i)
      checked.push_back(form->ChkListView().Checked(i));
    return std::make_pair(
        checked, form->ChkListView().RowCount() == 13
                     ? form->ChkListView().Text(12, 0) + L"|" + form->ChkListView().Text(12, 1)
                     : std::wstring());
  };
  std::vector<bool> twelve(12, true);
  twelve[11] = false;
  std::vector<bool> thirteen(13, true);
  thirteen[12] = false;

  EXPECT_EQ(rowsFor(4, 10, true).first, twelve);  // Windows 98
  EXPECT_EQ(rowsFor(5, 1, false).first, twelve);  // XP without the system file checker
  EXPECT_EQ(rowsFor(0, 0, true).first, twelve);   // a failed version query
  const auto xp = rowsFor(5, 1, true);
  EXPECT_EQ(xp.first, thirteen);  // "磁盘目录错误" checked, the system-file row not
  EXPECT_EQ(xp.second, L"扫描：所有受保护的系统文件并用正确的 Microsoft 版本替换不正确版本|可选");
  EXPECT_EQ(rowsFor(5, 0, true).first, thirteen);  // Windows 2000
}

TEST_F(MainWindow, SelectAllToggles) {
  CheckerServices services = TestServices(folder_.Path(), 5, 1);
  services.fileExists = [](const std::wstring&) { return true; };
  auto form = Make(services);
  CheckListView& list = form->ChkListView();
  ASSERT_EQ(list.RowCount(), 13);
  const auto allAre = [&](bool checked) {
    for (int i = 0; i < list.RowCount(); ++i)
      if (list.Checked(i) != checked) return false;
    return true;
  };
  SendMessageW(form->SeleclAllChkListBtn(), BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(form->SeleclAllChkListBtn()), L"全选");
  EXPECT_TRUE(allAre(false));
  SendMessageW(form->SeleclAllChkListBtn(), BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(form->SeleclAllChkListBtn()), L"全否");
  EXPECT_TRUE(allAre(true));  // the row that started unchecked included
}

TEST_F(MainWindow, ClosingWritesSetIniAndTheNextStartComesBackThere) {
  {
    auto form = Make();
    SetWindowPos(form->Handle(), nullptr, 100, 80, 500, 300, SWP_NOZORDER);
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(form->Handle()));
    EXPECT_EQ(form->OSInfo(), nullptr);  // the destroy handler ran
  }
  EXPECT_EQ(ReadFileBytes(SetIni()),
            "[Sanivo]\r\nWindow=Normal\r\nTop=80\r\nHeight=300\r\nWidth=500\r\n");
  auto again = Make();
  const RECT r = WindowRect(again->Handle());
  EXPECT_EQ(r.top, 80);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_EQ(r.right - r.left, 500);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 500) / 2);
  EXPECT_FALSE(IsZoomed(again->Handle()));
}

TEST_F(MainWindow, AMaximisedWindowReopensMaximisedOnItsDesignPlace) {
  {
    auto form = Make();
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  }
  EXPECT_NE(ReadFileBytes(SetIni()).find("Window=Max\r\n"), std::string::npos);
  auto again = Make();
  EXPECT_TRUE(IsZoomed(again->Handle()));
  ShowWindow(again->Handle(), SW_RESTORE);
  const RECT r = WindowRect(again->Handle());
  EXPECT_EQ(r.right - r.left, 608);
  EXPECT_EQ(r.bottom - r.top, 465);
}

TEST_F(MainWindow, ABadTopLeavesTheDesignTopAndTheOtherValuesApply) {
  WriteFileBytes(SetIni(), "[Sanivo]\r\nWindow=Normal\r\nTop=abc\r\nHeight=300\r\nWidth=500\r\n");
  auto form = Make();
  const RECT r = WindowRect(form->Handle());
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_EQ(r.right - r.left, 500);
}

TEST_F(MainWindow, ATopOffTheScreenIsPulledBack) {
  WriteFileBytes(SetIni(), "[Sanivo]\r\nTop=5000\r\n");
  auto form = Make();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(WindowRect(form->Handle()).top, work.bottom - GetSystemMetrics(SM_CYCAPTION));
}

TEST_F(MainWindow, AMinimisedWindowSavesWhereItComesBack) {
  auto form = Make();
  SetWindowPos(form->Handle(), nullptr, 100, 90, 520, 400, SWP_NOZORDER);
  ShowWindow(form->Handle(), SW_MINIMIZE);
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ReadFileBytes(SetIni()),
            "[Sanivo]\r\nWindow=Normal\r\nTop=90\r\nHeight=400\r\nWidth=520\r\n");
}

TEST_F(MainWindow, TheEndMessageEndsWithoutWritingSetIni) {
  auto form = Make();
  EXPECT_EQ(TForm1::kEndMessage, 0x0914u);
  SendMessageW(form->Handle(), 0x0914, 0, 0);
  EXPECT_FALSE(IsWindow(form->Handle()));
  EXPECT_EQ(form->OSInfo(), nullptr);  // the destroy handler ran
  EXPECT_EQ(GetFileAttributesW(SetIni().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindow, WithoutAWindowsDirectoryItSaysSoAndDoesNotStart) {
  CheckerServices services = TestServices(folder_.Path());
  services.windowsDirectory = [] { return std::optional<std::wstring>(); };
  std::vector<std::pair<std::wstring, UINT>> boxes;
  services.messageBox = [&](const std::wstring& text, UINT type) {
    boxes.emplace_back(text, type);
    return IDOK;
  };
  TForm1 form(services);
  EXPECT_FALSE(form.Create());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, L"错误！Sanivo无法找到操作系统所在的文件夹。");
  EXPECT_EQ(boxes[0].second & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(MainWindow, StartUpRecordsThePathAndReadsTheMachine) {
  int recorded = 0;
  WriteFileBytes(folder_.File(L"boot.ini"),
                 "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"XP\"\r\n"
                 "C:\\=\"Microsoft Windows 98\"\r\n");
  WriteFileBytes(SetIni(), "[Other]\r\nBakPath=MyBackups\r\n");
  CheckerServices services = TestServices(folder_.Path(), 5, 1);
  services.recordProgramPath = [&] { ++recorded; };
  auto form = Make(services);
  EXPECT_EQ(recorded, 1);
  EXPECT_EQ(form->OSInfo()->OSName(), L"XP");
  const ScanEnvironment& environment = form->Environment();
  EXPECT_EQ(environment.MajorVersion, 5);
  EXPECT_EQ(environment.WinDir, L"C:\\windows");
  EXPECT_EQ(environment.BakPath, L"MyBackups");
  EXPECT_TRUE(environment.MultiOS);
  EXPECT_EQ(environment.DesktopWnd, GetDesktopWindow());
  ASSERT_TRUE(environment.GetSpecialFolder);
  EXPECT_FALSE(
      environment.GetSpecialFolder(environment.DesktopWnd, 2 /* CSIDL_PROGRAMS */).empty());
}

// A window of the kind the history and progress windows are.
class ChildWindow : public common::Window {
 public:
  bool Create(HWND owner) {
    ClassSpec windowClass;
    windowClass.name = L"SanivoTestChild";
    return common::Window::Create(windowClass, 0, L"design", WS_POPUP | WS_CAPTION, 0, 0, 100, 50,
                                  owner);
  }
};

TEST_F(MainWindow, ChildFormsAreOwnedByTheMainWindow) {
  auto form = Make();
  const auto plain = form->CreateChildForm<ChildWindow>();
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(GetWindow(plain->Handle(), GW_OWNER), form->Handle());
  EXPECT_EQ(WindowText(plain->Handle()), L"design");
  EXPECT_FALSE(IsWindowVisible(plain->Handle()));
  const auto named = form->CreateChildForm<ChildWindow>(L"备份");
  EXPECT_EQ(WindowText(named->Handle()), L"备份");
}

}  // namespace

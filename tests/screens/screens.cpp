// Takes the README's pictures: each scene starts or drives the programs the way a user would
// and saves what the screen shows (all of it, or one window) as a PNG file. The programs run
// from the working folder given as the first argument (with SysInfo.ini there), in the Wine
// desktop that has a Windows taskbar for the shell to take over; the shell runs throughout.
//   zephra_screens.exe <folder> [scene ...]     (no scene: all of them)
// To add a scene, write a function that sets the screen up, saves with Save or SaveWindow and
// puts things back, and add it to kScenes.
#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/text.h"
#include "e2e/process.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::PumpFor;
using testing_support::WaitFor;

constexpr UINT kCommandScan = 100;        // the checker's "扫描"
constexpr UINT kCommandBackup = 104;      // the checker's registry backup
constexpr UINT kCommandHistory = 106;     // the checker's "历史日志"
constexpr UINT kCommandAbout = 111;       // the checker's "关于Sanivo"
constexpr UINT kCommandIgnoreList = 116;  // the checker's "忽略列表"
constexpr int kCheckerResultList = 201;
constexpr int kCheckerSelectAll = 114;  // the checker's "全选"/"全否" button
constexpr int kCheckerCheckList = 200;
constexpr int kCheckerStatusBar = 203;

struct Stage {
  std::wstring folder;
  ProgramUnderTest* shell = nullptr;

  bool Save(const wchar_t* name) const {
    return e2e::SaveScreenshot(folder + L"\\" + name + L".png");
  }
  bool SaveWindow(const wchar_t* name, HWND window) const {
    RECT r = {};
    GetWindowRect(window, &r);
    return e2e::SaveScreenshot(folder + L"\\" + name + L".png", r);
  }
};

// A program of the working folder, started where it is.
struct Started {
  Started(const Stage& stage, const wchar_t* exe, const wchar_t* windowClass)
      : program(stage.folder + L"\\" + exe) {
    if (program.Start()) window = program.WaitForWindow(windowClass, 15000);
    PumpFor(800);  // painted and settled
  }
  ~Started() {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    program.WaitForExit(5000);
  }
  ProgramUnderTest program;
  HWND window = nullptr;
};

HWND VisibleWindowOf(DWORD processId, const wchar_t* windowClass) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (pid == processId && IsWindowVisible(w) && lstrcmpiW(name, windowClass) == 0) return w;
  }
  return nullptr;
}

bool Desktop(Stage& stage) { return stage.Save(L"screenshot"); }

// Where the window of that class stands once it has faded in fully.
RECT FadedInRectOf(const wchar_t* windowClass) {
  RECT r = {};
  WaitFor(
      [&] {
        for (HWND w = FindWindowW(windowClass, nullptr); w;
             w = FindWindowExW(nullptr, w, windowClass, nullptr)) {
          BYTE alpha = 0;
          if (IsWindowVisible(w) && GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr) &&
              alpha == 255)
            return GetWindowRect(w, &r) != FALSE;
        }
        return false;
      },
      10000);
  return r;
}

// The start button clicked, the start menu's place once it has faded in. The pointer goes there
// first and settles: a pointer still reported over the desktop would close the menu again.
RECT OpenStartMenu() {
  const int y = GetSystemMetrics(SM_CYSCREEN) - 27;
  e2e::MoveTo(20, y);
  PumpFor(300);
  e2e::ClickAt(20, y);
  return FadedInRectOf(L"ZephraStartMenu");
}

bool StartMenu(Stage& stage) {
  // Resting on the second category (below the 29-pixel header and the first category) opens
  // its submenu; then onto the submenu's second link. Found where they are, at any dpi.
  const RECT menu = OpenStartMenu();
  e2e::MoveTo(menu.left + 60, menu.top + 29 + 25 + 12);
  const RECT sub = FadedInRectOf(L"ZephraSubMenu");
  // Into the submenu as a hand moves: first onto its edge, then onto the link.
  e2e::MoveTo(sub.left + 2, menu.top + 29 + 25 + 12);
  PumpFor(100);
  e2e::MoveTo(sub.left + 60, sub.top + 29 + 12);
  PumpFor(400);
  const bool saved = stage.Save(L"startmenu");
  e2e::MoveTo(600, 300);  // the next move over the desktop closes the menus
  PumpFor(800);
  return saved;
}

// A window that a start-menu entry opens: the entry `top` pixels below the menu's top edge is
// clicked, the window is taken and closed again.
bool FromStartMenu(Stage& stage, int top, const wchar_t* windowClass, const wchar_t* name) {
  const RECT menu = OpenStartMenu();
  e2e::ClickAt(menu.left + 60, menu.top + top + 12);
  HWND window = nullptr;
  WaitFor(
      [&] { return (window = VisibleWindowOf(stage.shell->ProcessId(), windowClass)) != nullptr; });
  PumpFor(500);
  const bool saved = window && stage.SaveWindow(name, window);
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  e2e::MoveTo(600, 300);  // the next move over the desktop closes the menu
  PumpFor(800);
  return saved;
}

// Entries above: the 29-pixel header and 25-pixel entries; the run entry has a separator above.
bool RunDialog(Stage& stage) {
  return FromStartMenu(stage, 29 + 14 * 25 + 2, L"ZephraRunDialog", L"rundialog");
}
bool SearchBar(Stage& stage) {
  return FromStartMenu(stage, 29 + 11 * 25, L"ZephraSearchBar", L"searchbar");
}

bool Taskbar(Stage& stage) {
  const Started palomid(stage, L"Palomid.exe", L"PalomidForm1");
  PumpFor(500);  // its task button is there
  return palomid.window && stage.Save(L"taskbar");
}

// The taskbar's look menu, opened by a right click on the strip; its "Zephra" entry (the look
// the strip has) closes it again.
bool TaskbarMenu(Stage& stage) {
  e2e::RightClickAt(600, 768 - 24);
  HWND menu = nullptr;
  WaitFor(
      [&] { return (menu = FindWindowW(L"ZephraTaskBarMenu", nullptr)) && IsWindowVisible(menu); });
  if (!menu) return false;
  PumpFor(800);  // faded in
  RECT r = {};
  GetWindowRect(menu, &r);
  const RECT part = {0, r.top - 20, 1024, 768};
  const bool saved = e2e::SaveScreenshot(stage.folder + L"\\taskbar-menu.png", part);
  e2e::ClickAt(r.left + 50, r.top + 29 + 12);
  PumpFor(500);
  return saved;
}

// A program's icon in the notification area with the balloon it asked for.
bool Tray(Stage& stage) {
  ProgramUnderTest notifier(stage.folder + L"\\zephra_notifier.exe");
  if (!notifier.Start(L"\"" + stage.folder + L"\\notifier.log\" balloon")) return false;
  HWND balloon = nullptr;
  WaitFor(
      [&] {
        return (balloon = FindWindowW(L"ZephraTrayBalloon", nullptr)) && IsWindowVisible(balloon);
      },
      10000);
  PumpFor(500);
  RECT r = {};
  if (balloon) GetWindowRect(balloon, &r);
  const RECT part = {0, r.top - 10, 1024, 768};
  const bool saved = balloon && e2e::SaveScreenshot(stage.folder + L"\\tray.png", part);
  PostMessageW(e2e::FindWindowOf(notifier.ProcessId(), L"ZephraNotifier"), WM_CLOSE, 0, 0);
  notifier.WaitForExit(5000);
  PumpFor(500);
  return saved;
}

bool Prindle(Stage& stage) {
  const Started prindle(stage, L"Prindle.exe", L"PrindleForm1");
  return prindle.window && stage.SaveWindow(L"prindle", prindle.window);
}

bool Palomid(Stage& stage) {
  const Started palomid(stage, L"Palomid.exe", L"PalomidForm1");
  return palomid.window && stage.SaveWindow(L"palomid", palomid.window);
}

bool Sanivo(Stage& stage) {
  const Started sanivo(stage, L"Sanivo.exe", L"TForm1");
  return sanivo.window && stage.SaveWindow(L"sanivo", sanivo.window);
}

bool SanivoAbout(Stage& stage) {
  const Started sanivo(stage, L"Sanivo.exe", L"TForm1");
  if (!sanivo.window) return false;
  PostMessageW(sanivo.window, WM_COMMAND, kCommandAbout, 0);
  HWND box = nullptr;
  WaitFor(
      [&] { return (box = VisibleWindowOf(sanivo.program.ProcessId(), L"#32770")) != nullptr; });
  PumpFor(500);
  const bool saved = box && stage.SaveWindow(L"sanivo-about", box);
  if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  PumpFor(300);
  return saved;
}

// A few stale references of the kind a registry collects, there while the scene runs: paths of
// a removed program in the user's settings, and its file type, whose program is gone.
class StaleReferences {
 public:
  StaleReferences() {
    const struct {
      HKEY root;
      const wchar_t* key;
      const wchar_t* name;
      const wchar_t* data;
    } values[] = {
        {HKEY_CURRENT_USER, L"Software\\示例软件\\编辑器", L"Path",
         L"C:\\Program Files\\示例软件\\editor.exe /n"},
        {HKEY_CURRENT_USER, L"Software\\示例软件\\编辑器\\Recent", L"File1",
         L"C:\\示例文档\\报告.txt"},
        {HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\示例软件.Document\\Shell\\Open\\command", L"",
         L"\"C:\\Program Files\\示例软件\\editor.exe\" \"%1\""},
        {HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\.sld", L"", L"示例软件.Document"},
    };
    for (const auto& v : values) {
      HKEY key = nullptr;
      if (RegCreateKeyExW(v.root, v.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
          ERROR_SUCCESS)
        continue;
      const std::wstring data = v.data;
      RegSetValueExW(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
  }
  ~StaleReferences() {
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\示例软件");
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\示例软件.Document");
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\.sld");
  }
  StaleReferences(const StaleReferences&) = delete;
  StaleReferences& operator=(const StaleReferences&) = delete;
};

// Only these checks ticked (all off with 全否 first) and scanned to their end; false when the
// scan did not end.
bool ScanOnly(HWND form, std::initializer_list<int> rows) {
  SendMessageW(testing_support::ChildWithId(form, kCheckerSelectAll), BM_CLICK, 0, 0);  // 全否
  const e2e::RemoteList checks(testing_support::ChildWithId(form, kCheckerCheckList));
  for (int row : rows) checks.SetChecked(row, true);
  PostMessageW(form, WM_COMMAND, kCommandScan, 0);
  const HWND status = testing_support::ChildWithId(form, kCheckerStatusBar);
  const bool finished = WaitFor(
      [&] { return testing_support::WindowText(status).rfind(L"扫描完毕", 0) == 0; }, 120000);
  PumpFor(500);  // the list drawn
  return finished;
}

// The registry checks only (rows 2, 7, 8 and 9), scanned to their end.
bool SanivoFindings(Stage& stage) {
  const StaleReferences stale;
  const Started sanivo(stage, L"Sanivo.exe", L"TForm1");
  return sanivo.window && ScanOnly(sanivo.window, {2, 7, 8, 9}) &&
         stage.SaveWindow(L"sanivo-findings", sanivo.window);
}

// A window of the checker that a command opens, over a file of the checker written beside it
// first (and removed again afterwards).
bool SanivoWindowOver(Stage& stage, const wchar_t* file, const std::wstring& text, UINT command,
                      const wchar_t* windowClass, const wchar_t* name) {
  const std::wstring path = stage.folder + L"\\" + file;
  testing_support::WriteFileBytes(path, common::ToAnsi(text));
  bool saved = false;
  {
    const Started sanivo(stage, L"Sanivo.exe", L"TForm1");
    if (sanivo.window) {
      PostMessageW(sanivo.window, WM_COMMAND, command, 0);
      HWND window = nullptr;
      WaitFor([&] {
        return (window = VisibleWindowOf(sanivo.program.ProcessId(), windowClass)) != nullptr;
      });
      PumpFor(500);
      saved = window && stage.SaveWindow(name, window);
    }
  }
  DeleteFileW(path.c_str());
  return saved;
}

// The history window over a repair history of a few entries, as the checker writes it.
bool SanivoHistory(Stage& stage) {
  const std::wstring undo = L"撤销文件=C:\\Zephra\\Undo_Sanivo_20261209.reg\r\n";
  const std::wstring text =
      L"[2026-12-09|9:12:40]\r\n行为=备份注册表\r\n记录=备份成功\r\n"
      L"[2026-12-09|9:13:05]\r\n行为=删除\r\n记录=HKEY_CURRENT_USER Software\\示例软件\\编辑器 "
      L"Path C:\\Program Files\\示例软件\\editor.exe /n\r\n" +
      undo + L"[2026-12-09|9:13:31]\r\n行为=全部修复\r\n记录=修复了所有检查到的系统错误\r\n" + undo;
  return SanivoWindowOver(stage, L"Repair.log", text, kCommandHistory, L"TForm2",
                          L"sanivo-history");
}

// The ignore-list window over a few entries, as the checker keeps them in Set.ini.
bool SanivoIgnore(Stage& stage) {
  const std::wstring text =
      L"[Ignore]\r\n"
      L"1=HKEY_CURRENT_USER|Software\\示例软件\\编辑器|Path|C:\\Program "
      L"Files\\示例软件\\editor.exe /n\r\n"
      L"2=磁盘文件错误|C:\\Documents and Settings\\All Users\\桌面\\移动硬盘上的工具.lnk|1024 "
      L"Byte|F:\\工具\\tool.exe\r\n"
      L"3=HKEY_LOCAL_MACHINE|Software\\示例安装程序||无效软件\r\n";
  return SanivoWindowOver(stage, L"Set.ini", text, kCommandIgnoreList, L"TIgnoreForm",
                          L"sanivo-ignore");
}

// The result list's pop-up menu over the first finding of a scan of the current user.
bool SanivoIgnoreMenu(Stage& stage) {
  const StaleReferences stale;
  const Started sanivo(stage, L"Sanivo.exe", L"TForm1");
  if (!sanivo.window || !ScanOnly(sanivo.window, {7})) return false;
  const e2e::RemoteList results(testing_support::ChildWithId(sanivo.window, kCheckerResultList));
  if (results.Count() == 0) return false;
  const RECT row = results.ItemRect(0);
  e2e::RightClickAt(row.left + 60, (row.top + row.bottom) / 2);
  HWND menu = nullptr;
  WaitFor(
      [&] { return (menu = VisibleWindowOf(sanivo.program.ProcessId(), L"#32768")) != nullptr; });
  PumpFor(500);
  RECT part = {};
  GetWindowRect(sanivo.window, &part);
  if (menu) {
    RECT r = {};
    GetWindowRect(menu, &r);
    UnionRect(&part, &part, &r);
  }
  const bool saved = menu && e2e::SaveScreenshot(stage.folder + L"\\sanivo-ignore-menu.png", part);
  RECT form = {};
  GetWindowRect(sanivo.window, &form);
  e2e::ClickAt(form.left + 200, form.top + 10);  // the title bar: the menu closes
  PumpFor(300);
  return saved;
}

// The progress window shows while the registry editor writes the backup; the message box that
// reports the end is closed.
bool SanivoProgress(Stage& stage) {
  const Started sanivo(stage, L"Sanivo.exe", L"TForm1");
  if (!sanivo.window) return false;
  PostMessageW(sanivo.window, WM_COMMAND, kCommandBackup, 0);
  const DWORD pid = sanivo.program.ProcessId();
  HWND progress = nullptr;
  WaitFor([&] { return (progress = VisibleWindowOf(pid, L"TForm3")) != nullptr; });
  PumpFor(300);
  const bool saved = progress && stage.SaveWindow(L"sanivo-progress", progress);
  HWND box = nullptr;
  WaitFor([&] { return (box = VisibleWindowOf(pid, L"#32770")) != nullptr; }, 30000);
  if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  PumpFor(300);
  return saved;
}

const struct {
  const wchar_t* name;
  bool (*take)(Stage&);
} kScenes[] = {
    {L"desktop", Desktop},
    {L"startmenu", StartMenu},
    {L"taskbar", Taskbar},
    {L"taskbar-menu", TaskbarMenu},
    {L"tray", Tray},
    {L"prindle", Prindle},
    {L"palomid", Palomid},
    {L"sanivo", Sanivo},
    {L"sanivo-about", SanivoAbout},
    {L"sanivo-history", SanivoHistory},
    {L"sanivo-findings", SanivoFindings},
    {L"sanivo-progress", SanivoProgress},
    {L"sanivo-ignore", SanivoIgnore},
    {L"sanivo-ignore-menu", SanivoIgnoreMenu},
    {L"rundialog", RunDialog},
    {L"searchbar", SearchBar},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zephra_screens <folder> [scene ...]\n");
    return 2;
  }
  Stage stage;
  stage.folder = argv[1];
  std::vector<std::wstring> wanted(argv + 2, argv + argc);

  ProgramUnderTest shell(stage.folder + L"\\ZephraShell.exe");
  if (!shell.Start() || !shell.WaitForWindow(L"ZephraShellDesktop", 15000)) {
    std::fprintf(stderr, "screens: the shell did not start\n");
    return 1;
  }
  stage.shell = &shell;
  e2e::MoveTo(600, 300);
  PumpFor(1500);  // desktop icons and clock painted

  int failed = 0;
  for (const auto& scene : kScenes) {
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), scene.name) == wanted.end())
      continue;
    const bool ok = scene.take(stage);
    std::printf("screens: %s %s\n", common::ToAnsi(scene.name).c_str(), ok ? "taken" : "FAILED");
    if (!ok) ++failed;
  }
  e2e::ClickAt(44, 22);  // the shell's exit button
  shell.WaitForExit(5000);
  return failed == 0 ? 0 : 1;
}

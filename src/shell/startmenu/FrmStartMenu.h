#pragma once
// The start menu: a borderless, topmost window in the lower left corner, on the taskbar, with
// one column of 18 skinned entries. Entry 0 is the maker's header; entries 1 to 10 are the
// configured categories, whose submenus open when the pointer comes to rest on them; entries 11
// to 17 are fixed commands (feedback, web search, help, update, run, log off, exit). The window
// is loaded once at start, only shown and hidden afterwards, and fades in and out.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/core/rwini.h"
#include "shell/menus/PopupMenu.h"
#include "shell/startmenu/Frm_YunXing.h"
#include "shell/startmenu/SouSuoNet.h"
#include "shell/startmenu/SubMenuWindow.h"

class SubMenu_KSZ;
class SubMenu_Unkown;
class frmMenu;

// The start menu's entries by index, top to bottom.
enum class StartMenuEntry : int16_t {
  MakerHome = 0,      // "Lumora": the maker's home page
  FirstCategory = 1,  // 1 ... 10: the configured categories, each with its submenu
  LastCategory = 10,
  Feedback = 11,   // 软件交流: the guestbook
  WebSearch = 12,  // 网络搜索: the web search bar
  Help = 13,       // 软件帮助: the guestbook
  Update = 14,     // 软件更新: the guestbook
  Run = 15,        // 系统运行...: the run dialog, with separator lines above and below
  LogOff = 16,     // 系统注销
  Exit = 17,       // 退出软件: ends the shell; a separator line below
};

class FrmStartMenu : public PopupMenu {
 public:
  // What the menu does to the world outside it; the program passes the real ones, tests
  // record the calls.
  struct Services {
    // ShellExecuteA(owner, "open", link, "", "", SW_SHOW); every error ignored.
    std::function<void(HWND owner, const std::wstring& link)> openLink;
    // Starts a command line without waiting, its window shown with `show`.
    std::function<void(const std::wstring& commandLine, int show)> startCommand;
    // Ends the shell (the desktop window's UnloadAll).
    std::function<void()> endShell;
  };

  static constexpr int kEntries = 18;
  static constexpr double kEntryWidth = 2910;  // twips (194 pixels)
  static constexpr int kSubmenuOverlap = 5;    // pixels

  FrmStartMenu(const rwini::IniFile& config, Services services);
  ~FrmStartMenu() override;

  // "rundll32.exe url.dll,FileProtocolHandler shutdown -l -t 30".
  static std::wstring LogOffCommandLine();

  // Creates the window and its entries, hidden, with a hidden owner of its own that the
  // submenus share. Once. The desktop window places the menu (twips).
  bool Load() { return PopupMenu::Load(); }
  double ScaleHeight() const { return Height(); }

  // True once a submenu was opened by hovering; the desktop clears it when it closes the menus.
  bool ButtonOver() const { return buttonOver_; }
  void SetButtonOver(bool value) { buttonOver_ = value; }
  // Makes the current submenu window invisible.
  void HideXForm();

  // ShowForm fades in; MeTop: topmost and shown, not activated.
  void MeTop() { MakeTopmost(); }
  void HideForm();  // hides the submenu, fades out, hides
  // Hides the submenu and the menu at once, without a fade (another window became active).
  void HideNow();

  // Shut-down, in the desktop's order: UnloadAll stops the entries' mouse tracking; UnloadXForm
  // closes the current submenu; Unload closes this window, the placeholder, the Internet and
  // the fallback submenus; UnloadRemaining every other window the menu loaded (the other
  // submenus, the run dialog, the search bar).
  void UnloadXForm();
  void Unload() override;
  void UnloadRemaining();

  // The submenu window currently assigned (the empty placeholder until a category opened).
  SubMenuWindow& xForm() { return *xForm_; }
  // The submenu window of an entry index, loaded on first use: SubMenu_KSZn for 1, 2, 3 and
  // 5 ... 10, SubMenu_Internet for 4, SubMenu_Unkown for any other index.
  SubMenuWindow& SubmenuFor(int16_t index);

  int16_t CurrentIndex() const { return currentIndex_; }
  int16_t PreviousIndex() const { return previousIndex_; }

  Frm_YunXing& RunDialog() { return runDialog_; }
  SouSuoNet& SearchBar() { return searchBar_; }

  // Handlers of the entries' events.
  void Button_MouseOver(int16_t Index);
  void Button_MouseUp(int16_t Index);

 protected:
  void LoadContent() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CloseSubmenu(SubMenuWindow* menu);

  const rwini::IniFile& config_;
  Services services_;
  std::unique_ptr<frmMenu> placeholder_;
  // By entry index, FirstCategory ... LastCategory.
  std::array<std::unique_ptr<SubMenu_KSZ>, static_cast<size_t>(StartMenuEntry::LastCategory) + 1>
      categories_;
  std::unique_ptr<SubMenu_Unkown> unkown_;
  SubMenuWindow* xForm_ = nullptr;
  Frm_YunXing runDialog_;
  SouSuoNet searchBar_;
  bool buttonOver_ = false;
  int16_t currentIndex_ = 0;
  int16_t previousIndex_ = 0;
};

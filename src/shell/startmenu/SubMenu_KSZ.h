#pragma once
// A category submenu: the window beside the start menu that entry n (1 ... 10) opens, with six
// link entries whose captions KSn_1_Caption ... KSn_6_Caption are read once, when the window is
// loaded, and whose links KSn_m_Link are read at every click and opened with the "open" verb.
// The windows are SubMenu_KSZ1, SubMenu_KSZ2, SubMenu_KSZ3, SubMenu_Internet (category 4) and
// SubMenu_KSZ5 ... SubMenu_KSZ10.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "shell/core/rwini.h"
#include "shell/startmenu/SubMenuWindow.h"

class SubMenu_KSZ : public SubMenuWindow {
 public:
  // ShellExecuteA(owner, "open", link, "", "", SW_SHOW), errors ignored.
  using LinkOpener = std::function<void(HWND owner, const std::wstring& link)>;

  static constexpr int kEntries = 6;
  // The category whose window is SubMenu_Internet.
  static constexpr int kInternetCategory = 4;
  static constexpr double kEntryWidth = 2940;  // twips (196 pixels)

  SubMenu_KSZ(int category, const rwini::IniFile& config, LinkOpener openLink,
              EntryLookup startMenuEntry);
  ~SubMenu_KSZ() override;

  // "SubMenu_KSZ<n>", or "SubMenu_Internet" for category 4.
  static std::wstring NameFor(int category);
  // "KS<n>_<m>_Caption" and "KS<n>_<m>_Link", m = 1 ... 6.
  static std::wstring CaptionKey(int category, int m);
  static std::wstring LinkKey(int category, int m);

  int Category() const { return category_; }

  // Handlers of the entries' events.
  void Button_MouseOver(int16_t index);
  void Button_MouseUp(int16_t index);

 protected:
  void LoadContent() override;

 private:
  int category_;
  const rwini::IniFile& config_;
  LinkOpener openLink_;
};

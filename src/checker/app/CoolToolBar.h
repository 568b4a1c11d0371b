#pragma once
// CoolBar1 with ToolBar1: the tool bar at the top of the main window. Flat buttons of 55 x 51
// pixels with their captions under 32 x 32 pictures (ImageList2, and ImageList3 under the
// pointer), in one band 52 pixels high.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>

#include "common/handles.h"

class CoolToolBar {
 public:
  bool Create(HWND parent, HIMAGELIST images, HIMAGELIST hotImages, HFONT font);

  HWND CoolBar() const { return coolBar_; }
  HWND ToolBar() const { return toolBar_; }
  // Height of the whole bar; the rest of the window lays itself out below it.
  int Height() const;
  // Follows the width of the main window.
  void Resize(int width);

  std::wstring Caption(int command) const;
  void SetCaption(int command, const std::wstring& caption);
  bool Hidden(int command) const;
  void SetHidden(int command, bool hidden);
  std::wstring Hint(int command) const;
  void SetHint(int command, const std::wstring& hint) { hints_[command] = hint; }

  // The tool bar's tooltip asks for a hint text; true when `header` was such a request.
  bool HandleNotify(NMHDR* header);

 private:
  void KeepButtonSize();

  HWND coolBar_ = nullptr;  // a child of the main window, destroyed with it
  HWND toolBar_ = nullptr;
  std::map<int, std::wstring> hints_;
};

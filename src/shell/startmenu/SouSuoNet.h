#pragma once
// The web search bar "网络快搜 - Lumora软件": a topmost window with one text box and a menu bar
// of search services; an item (clicked or by its shortcut key) opens the service's address
// for the typed query with the system's "open" verb. It stays open for further searches.
#include <windows.h>

#include <functional>
#include <string>

#include "common/dialog.h"
#include "common/handles.h"
#include "common/window.h"

class SouSuoNet : public common::Window {
 public:
  // Opens an address with the "open" verb, errors ignored.
  using Opener = std::function<void(HWND owner, const std::wstring& address)>;

  explicit SouSuoNet(Opener open);
  ~SouSuoNet() override;

  // Shows the bar: the open one with its text, or a new one, topmost, with an empty text box.
  // `owner` keeps it out of the taskbar.
  void ShowBar(HWND owner);
  bool Loaded() const { return Handle() != nullptr; }

  HWND Text1() const { return text1_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Load(HWND owner);
  void Search(size_t service);

  Opener open_;
  common::Font font_;
  common::AcceleratorTable accelerators_;
  common::IconHandle icon_;
  HWND text1_ = nullptr;
  common::DialogHelper dialog_;
};

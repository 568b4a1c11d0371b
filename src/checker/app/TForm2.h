#pragma once
// TForm2: the repair history window. It shows Repair.log as plain text (reloaded at every
// showing) and clears it. An empty header strip at the top, the read-only memo in the middle
// (it never holds the caret: the focus it would get goes to Panel1), and at the bottom Panel1
// with Panel2 at its right holding "清空" and "退出". Always on top, owned by the main window,
// created once and hidden (not destroyed) when closed. UI thread only.
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "checker/app/Hints.h"
#include "checker/app/TPanel.h"
#include "common/handles.h"
#include "common/window.h"

class TForm2 : public common::Window {
 public:
  static constexpr int kWidth = 544, kHeight = 384;
  static constexpr int kHeaderHeight = 17, kPanel1Height = 40, kPanel2Width = 185;
  // Control ids.
  static constexpr int kHeaderControl1 = 1001, kMemo1 = 1002, kPanel1 = 1003, kPanel2 = 1004,
                       kFlatButton1 = 1005, kButton1 = 1006;

  TForm2() = default;
  ~TForm2() override;

  // Makes the window, hidden, owned by `owner`.
  bool Create(HWND owner);
  // The history file it shows and clears.
  void SetHistoryFile(std::wstring path) { historyFile_ = std::move(path); }

  // Shows the window (not modal), running FormShow.
  void ShowForm();
  // Handlers.
  void FormShow();
  void FlatButton1Click();  // clear
  void Button1Click();      // close
  void Memo1Enter();

  HWND HeaderControl1() const { return headerControl1_; }
  HWND Memo1() const { return memo1_; }
  HWND Panel1() const { return panel1_.Handle(); }
  HWND Panel2() const { return panel2_.Handle(); }
  HWND FlatButton1() const { return flatButton1_; }
  HWND Button1() const { return button1_; }
  const Hints& ButtonHints() const { return hints_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Layout();

  std::wstring historyFile_;
  common::Font font_;
  HWND headerControl1_ = nullptr;  // children, destroyed with the window
  HWND memo1_ = nullptr;
  TPanel panel1_, panel2_;
  HWND flatButton1_ = nullptr;
  HWND button1_ = nullptr;
  Hints hints_;
};

#pragma once
// The main window of Sanivo: the tool bar, the check area (the check list and its buttons), the
// result list, the status bar and the menus. It reads the Windows version and Set.ini when it is
// made, runs and stops scans through ScanControl and writes Set.ini when it is closed.
#include <windows.h>

#include <memory>
#include <string>

#include "checker/app/CheckListView.h"
#include "checker/app/CheckerImages.h"
#include "checker/app/CheckerServices.h"
#include "checker/app/CoolToolBar.h"
#include "checker/app/Hints.h"
#include "checker/app/History.h"
#include "checker/app/IgnoreList.h"
#include "checker/app/MainMenus.h"
#include "checker/app/Repair.h"
#include "checker/app/ResultListView.h"
#include "checker/app/ScanControl.h"
#include "checker/app/StatusBar.h"
#include "checker/app/TForm2.h"
#include "checker/app/TForm3.h"
#include "checker/app/THtmhelp.h"
#include "checker/app/TIgnoreForm.h"
#include "checker/app/TPanel.h"
#include "checker/app/UndoJournal.h"
#include "checker/scanners/ScanHost.h"
#include "checker/scanners/TarqGetOSInfo.h"
#include "common/dialog.h"
#include "common/handles.h"
#include "common/window.h"

// UI thread only.
class TForm1 : public common::Window, private ScanView {
 public:
  // Private message that ends the program at once: no question, no Set.ini.
  static constexpr UINT kEndMessage = WM_USER + 1300;  // 0x0914
  static constexpr int kDesignWidth = 608, kDesignHeight = 465;
  static constexpr int kFlatPanel1Height = 167, kPanel2Width = 103;

  explicit TForm1(CheckerServices services);
  ~TForm1() override;

  // Makes the window (hidden) and its controls, then runs FormCreate. False when the program is
  // to end: the window could not be made, or the Windows directory is unknown (after a
  // message).
  bool Create();
  // Shows the window (maximised when Set.ini says "Max") and runs FormShow. Its shortcut keys
  // and dialog keys go through the message loop's keyboard routing.
  void Show(int showCommand = SW_SHOWNORMAL);

  // Handlers, named by control and event.
  void FlatButton1Click();
  void SeleclAllChkListBtnClick();
  void ListView2ColumnClick(int column);
  void Exit_menuClick();
  void FlatPanel1Resize();

  // Makes a window of class Form owned by the main window (Form::Create(HWND owner) makes it,
  // hidden) and gives it `caption` when one is given; nothing when it cannot be made.
  template <typename Form>
  std::unique_ptr<Form> CreateChildForm(const std::wstring& caption = {}) {
    auto form = std::make_unique<Form>();
    if (!form->Create(Handle())) return nullptr;
    if (!caption.empty()) SetWindowTextW(form->Handle(), caption.c_str());
    return form;
  }

  // A section of a handler that pumps messages or runs a modal loop. A request to end the
  // program that arrives inside it (closing the window, the private end message) is carried out
  // once the section is over: destroying the window under a handler that is still running would
  // pull its controls away from it.
  class BusySection {
   public:
    explicit BusySection(TForm1& form);
    ~BusySection();
    BusySection(const BusySection&) = delete;
    BusySection& operator=(const BusySection&) = delete;

   private:
    TForm1& form_;
  };

  // State and parts, for the scanners, the later handlers and the tests.
  const TTarqOSInfo* OSInfo() const { return osInfo_.get(); }
  const THtmhelp* HelpViewer() const { return helpViewer_.get(); }
  const ScanEnvironment& Environment() const { return environment_; }
  bool Scanning() const { return scan_ && scan_->Scanning(); }
  int PendingScans() const { return scan_ ? scan_->PendingScans() : 0; }
  int RunningScanThreads() const { return scan_ ? scan_->RunningThreads() : 0; }
  CheckListView& ChkListView() { return chkListView_; }
  ResultListView& ListView2() { return listView2_; }
  StatusBar& StatusBar1() { return statusBar1_; }
  CoolToolBar& ToolBar1() { return toolBar1_; }
  MainMenus& Menus() { return menus_; }
  const Hints& ButtonHints() const { return hints_; }
  const CheckerImages& Images() const { return images_; }
  HWND FlatPanel1() const { return flatPanel1_.Handle(); }
  HWND Panel2() const { return panel2_.Handle(); }
  HWND Label1() const { return label1_; }
  HWND SeleclAllChkListBtn() const { return seleclAllChkListBtn_; }
  // The four flat buttons of the panel, top to bottom.
  enum class Flat : int { Scan = 0, Repair = 1, RepairAll = 2, Exit = 3 };
  static constexpr int kFlatButtons = 4;
  HWND FlatButton(Flat which) const { return flatButtons_[static_cast<int>(which)]; }
  HWND FlatButton1() const { return FlatButton(Flat::Scan); }
  HWND FlatButton2() const { return FlatButton(Flat::Repair); }
  HWND FlatButton3() const { return FlatButton(Flat::RepairAll); }
  HWND FlatButton4() const { return FlatButton(Flat::Exit); }
  HFONT Font() const { return font_.Get(); }

  // The repair history: appends an entry to Repair.log beside the program (`undoFile` names
  // what brings a repair back); false on any failure, which callers ignore.
  bool WriteLog(const std::wstring& action, const std::wstring& record,
                const std::wstring& undoFile = {});
  TForm2* HistoryForm() const { return historyForm_.get(); }
  TForm3* ProgressForm() const { return progressForm_.get(); }
  // True while a repair, a repair of all rows, a backup or a restore runs. They wait in message
  // boxes, in the subkey deletion's message processing and on the registry editor; meanwhile
  // none of them starts again, no scan starts (it would clear the rows under them) and closing
  // the window waits until they are over.
  bool RepairBusy() const { return repairBusy_; }

  // The findings the user keeps on purpose: scans leave them out and repairs never touch them.
  const IgnoreList& Ignored() const { return ignoreList_; }
  TIgnoreForm* IgnoreForm() const { return ignoreForm_.get(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class ExitKind { None, Close, End };  // End outranks Close

  // ScanView
  int CheckRowCount() const override;
  bool RowChecked(int row) const override;
  void ShowScanCaptions(bool scanning) override;
  void ShowScanHints() override;
  void EnableSelectAll(bool enabled) override;
  void EnableRepairControls(bool enabled) override;
  void ClearResults() override;
  void AddRow(const ScanResultRow& row) override;
  int ResultCount() const override;
  void ShowStatus(const std::wstring& text) override;
  void ProcessMessages() override;
  void RunAndWait(const std::wstring& commandLine) override;
  // The same, with the command's exit code (none when it could not be started).
  std::optional<DWORD> RunAndWaitFor(const std::wstring& commandLine);

  bool CreateControls();
  bool FormCreate();
  void ApplyWindowSettings();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void Layout();
  void OnCommand(int command, bool fromAccelerator);
  LRESULT OnNotify(NMHDR* header);
  void ShowPopupMenu(LPARAM where);
  void RequestExit(ExitKind kind);
  void CarryOutExit(ExitKind kind);

  // Commands of the repair, backup and restore, history and help modules.
  void FlatButton2Click();
  void FlatButton3Click();
  void ToolButton4Click();
  void ToolButton7Click();
  void ToolButton9Click();
  void ClearRepairHistory1Click();
  void Help1Click();
  void N7Click();
  void N8Click();
  void Windows1Click();

  // The ignore list (TForm1Ignore.cpp): the selected rows go on it and leave the result list;
  // its window; entries taken off it there.
  void Pop_IgnoreClick();
  void IgnoreList_menuClick();
  void RemoveIgnored(const std::vector<ScanResultRow>& entries);
  // Ignore_menu and Pop_Ignore are there for a selected row (before either menu opens).
  void EnableIgnoreCommand();

  CheckerServices services_;
  CheckerImages images_;
  MainMenus menus_;
  common::Font font_;
  CoolToolBar toolBar1_;
  TPanel flatPanel1_, panel2_;
  HWND label1_ = nullptr;
  HWND seleclAllChkListBtn_ = nullptr;
  bool selectAllOffered_ = false;  // the button offers 全选 (tick all); it starts with 全否
  HWND flatButtons_[kFlatButtons] = {};
  CheckListView chkListView_;
  ResultListView listView2_;
  StatusBar statusBar1_;
  Hints hints_;
  common::DialogHelper dialog_;

  std::unique_ptr<TTarqOSInfo> osInfo_;
  std::unique_ptr<THtmhelp> helpViewer_;
  ScanEnvironment environment_;
  std::unique_ptr<ScanControl> scan_;
  bool showMaximised_ = false;

  int busyDepth_ = 0;
  ExitKind deferredExit_ = ExitKind::None;

  // Repair, backup and restore, and the history (TForm1Repair.cpp).

  // Held by the handlers of repair, repair of all rows, backup and restore (RepairBusy): a
  // second one is not Entered() and does nothing. It is a BusySection as well.
  class RepairSection {
   public:
    explicit RepairSection(TForm1& form);
    ~RepairSection();
    RepairSection(const RepairSection&) = delete;
    RepairSection& operator=(const RepairSection&) = delete;
    bool Entered() const { return entered_; }

   private:
    TForm1& form_;
    bool entered_;
    BusySection busy_;
  };

  // A message box of the checker (no owner, caption "Sanivo"); IDCANCEL when there is none.
  int Ask(const std::wstring& text, UINT type);
  // The scan command is running (its button reads "停止").
  bool ScanRunning() const { return scan_ && scan_->StopOffered(); }
  RepairPlaces Places() const;
  // The repair's second look at each row, on this system.
  RowCheck Recheck() const;
  // Exports the whole registry and keeps the export as the backup only when it is whole (the
  // previous backup stays otherwise); none on success, else the text of what failed.
  std::optional<std::wstring> Backup();
  void Restore();
  // Before the registry editor runs for a backup or a restore: the progress window, the status
  // text and the program's folder as the current one. Returns the status text it replaced.
  std::wstring StartRegistryEditorWork(const wchar_t* caption, const wchar_t* text, int picture,
                                       const wchar_t* status);
  std::wstring RegistryEditor() const;
  bool EnsureHistoryForm();
  // Step 6 of repairing all rows: the repair commands are disabled and the two tool buttons
  // hidden; the pop-up menu's items stay enabled.
  void DisableRepairAfterRepairAll();
  std::wstring ProgramFile(const std::wstring& name) const;

  bool repairBusy_ = false;
  IgnoreList ignoreList_;
  // Owned windows, made on first use; they go before the main window's own parts.
  std::unique_ptr<TForm3> progressForm_;
  std::unique_ptr<TForm2> historyForm_;
  std::unique_ptr<TIgnoreForm> ignoreForm_;
};

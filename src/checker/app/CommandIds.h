#pragma once
// Command and control ids of the main window. Buttons, tool buttons, menu items and shortcuts
// that run the same handler share one command id.

namespace cmd {

// Commands (WM_COMMAND ids). IDOK and IDCANCEL (1, 2) come from dialog keys and mean nothing here.
constexpr int kScan = 100;          // FlatButton1, ToolButton1, Scan_menu, Ctrl+S
constexpr int kRepair = 101;        // FlatButton2, ToolButton2, Repair_menu, Ctrl+R
constexpr int kRepairAll = 102;     // FlatButton3, ToolButton8, Repairall_menu, Ctrl+Alt+R
constexpr int kExit = 103;          // FlatButton4, Exit_menu, F10
constexpr int kBackup = 104;        // ToolButton4, Backup_menu
constexpr int kRestore = 105;       // ToolButton7, Restore_menu
constexpr int kHistory = 106;       // ToolButton9, RepairHistory1, Ctrl+H
constexpr int kClearHistory = 107;  // ClearRepairHistory1, Ctrl+C
constexpr int kHelp = 108;          // Help1, F1
constexpr int kContact = 109;       // N7
constexpr int kHomePage = 110;      // N8
constexpr int kAbout = 111;         // Windows1
constexpr int kPopRepair = 112;     // Pop_Repair
constexpr int kPopAll = 113;        // Pop_All
constexpr int kSelectAll = 114;     // SeleclAllChkListBtn
constexpr int kIgnore = 115;  // Ignore_menu, Pop_Ignore: the selected rows go on the ignore list
constexpr int kIgnoreList = 116;  // IgnoreList_menu: the ignore-list window

// Tool-bar separators.
constexpr int kToolButton3 = 120;
constexpr int kToolButton5 = 121;

// Controls that send notifications.
constexpr int kChkListView = 200;
constexpr int kListView2 = 201;
constexpr int kToolBar1 = 202;
constexpr int kStatusBar1 = 203;
constexpr int kCoolBar1 = 204;
constexpr int kLabel1 = 205;
constexpr int kFlatPanel1 = 206;
constexpr int kPanel2 = 207;

}  // namespace cmd

#pragma once
// ListView2: the result list. One row per finding (ScanResultRow) in four columns "项目",
// "位置", "键名", "说明"; rows are appended during a scan and sorted by a click on a column.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/scanners/ScanResultRow.h"

// The ASCII-only case-insensitive comparison of two ANSI texts: bytes compared one by one with
// 'a'-'z' folded to upper case, a shorter text first when it is a prefix of the other.
// Negative, 0 or positive.
int CompareTextAscii(std::string_view a, std::string_view b);

class ResultListView {
 public:
  static constexpr int kItemWidth = 150, kKeyNameWidth = 60, kDescriptionWidth = 231;

  // One row at a time can be selected, unless `multipleSelection`.
  bool Create(HWND parent, int id, HIMAGELIST images, HFONT font, bool multipleSelection = false);
  HWND Handle() const { return hwnd_; }

  // Appends a row. While rows stream in, the list holds its drawing back and shows them all at
  // once every kRedrawDelayMs: drawing each row on its own costs many times the row itself.
  void AddRow(const ScanResultRow& row);
  static constexpr UINT kRedrawDelayMs = 100;
  bool DrawingHeld() const { return held_; }
  void Clear();
  int Count() const;
  ScanResultRow Row(int index) const;

  // The selected row, -1 for none.
  int Selected() const;
  // Every selected row, in list order.
  std::vector<ScanResultRow> SelectedRows() const;
  // Takes away the rows `which` picks; how many went.
  int RemoveRows(const std::function<bool(const ScanResultRow&)>& which);
  void SetImage(int index, int image);
  // Rows not marked with RepairedImage.
  int CountNotRepaired() const;
  // A row with the same four texts (the image aside): `hint` when it is one, else the first one
  // not marked repaired, else the first one; -1 when there is none. The rows may have been
  // sorted meanwhile.
  int Find(const ScanResultRow& row, int hint) const;
  // Marks the rows with the texts of one of `repaired` as repaired.
  void MarkRepaired(const std::vector<ScanResultRow>& repaired);

  // Sorts by column k (0 the caption, k >= 1 sub-item k - 1), always in descending order of the
  // texts as the system's code page spells them.
  void SortDescending(int column);

  // "位置" takes the width the fixed columns leave.
  void FitColumns();

 private:
  std::wstring Text(int row, int column) const;
  void ReleaseDrawing();
  static void CALLBACK OnRedrawTimer(HWND hwnd, UINT, UINT_PTR, DWORD);

  HWND hwnd_ = nullptr;  // a child window, destroyed with its parent
  bool held_ = false;
};

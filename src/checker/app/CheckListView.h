#pragma once
// ChkListView: the check list of the main window. One row per check a scan may run, with its
// caption, a recommendation and a picture of ImageList1; a checked row takes part in the scan.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

struct CheckRow {
  std::wstring Caption;
  std::wstring Advice;  // column 2: "推荐", "多操作系统用户不推荐", "可选"
  int Image;
};

// The rows for a Windows version: rows 0-11 always; the protected-file row 12 only on major
// version 5 with the system file checker present.
std::vector<CheckRow> CheckRowsFor(int majorVersion, bool systemFileCheckerExists);

class CheckListView {
 public:
  static constexpr int kAdviceWidth = 150;

  bool Create(HWND parent, int id, HIMAGELIST images, HFONT font);
  HWND Handle() const { return hwnd_; }

  // Replaces the rows; every row but the last one starts checked.
  void Fill(const std::vector<CheckRow>& rows);
  int RowCount() const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  void SetAllChecked(bool checked);
  std::wstring Text(int row, int column) const;
  int Image(int row) const;

  // The caption column takes the width the recommendation column leaves.
  void FitColumns();

 private:
  HWND hwnd_ = nullptr;  // a child window, destroyed with its parent
};

#include "checker/app/CheckListView.h"

#include <commctrl.h>

#include <algorithm>

#include "common/window.h"

namespace {

constexpr wchar_t kRecommended[] = L"推荐";
constexpr wchar_t kNotForMultiOS[] = L"多操作系统用户不推荐";

}  // namespace

std::vector<CheckRow> CheckRowsFor(int majorVersion, bool systemFileCheckerExists) {
  std::vector<CheckRow> rows = {
      {L"扫描：错误的应用软件信息", kRecommended, 17},
      {L"扫描：错误的应用程序菜单", kRecommended, 16},
      {L"扫描：错误的类和文件关联", kRecommended, 11},
      {L"扫描：错误的帮助文件", kRecommended, 18},
      {L"扫描：错误的动态连接库", kRecommended, 11},
      {L"扫描：错误的反安装信息", kRecommended, 14},
      {L"扫描：错误的字体信息", kRecommended, 15},
      {L"扫描：当前用户的错误信息", kRecommended, 12},
      {L"扫描：所有用户的错误信息", kRecommended, 13},
      {L"扫描：计算机的错误信息", kRecommended, 10},
      {L"扫描：磁盘文件错误", kNotForMultiOS, 20},
      {L"扫描：磁盘目录错误", kNotForMultiOS, 19},
  };
  if (majorVersion == 5 && systemFileCheckerExists)
    rows.push_back(
        {L"扫描：所有受保护的系统文件并用正确的 Microsoft 版本替换不正确版本", L"可选", 21});
  return rows;
}

bool CheckListView::Create(HWND parent, int id, HIMAGELIST images, HFONT font) {
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER |
                              LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                          0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  ListView_SetImageList(hwnd_, images, LVSIL_SMALL);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ListView_InsertColumn(hwnd_, 0, &column);
  column.cx = kAdviceWidth;
  ListView_InsertColumn(hwnd_, 1, &column);
  return true;
}

void CheckListView::Fill(const std::vector<CheckRow>& rows) {
  ListView_DeleteAllItems(hwnd_);
  for (size_t i = 0; i < rows.size(); ++i) {
    std::wstring caption = rows[i].Caption;
    std::wstring advice = rows[i].Advice;
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = caption.data();
    item.iImage = rows[i].Image;
    const int index = ListView_InsertItem(hwnd_, &item);
    ListView_SetItemText(hwnd_, index, 1, advice.data());
  }
  for (int i = 0; i < RowCount(); ++i) SetChecked(i, i + 1 < RowCount());
}

int CheckListView::RowCount() const { return ListView_GetItemCount(hwnd_); }

bool CheckListView::Checked(int row) const {
  return row >= 0 && row < RowCount() && ListView_GetCheckState(hwnd_, row) != FALSE;
}

void CheckListView::SetChecked(int row, bool checked) {
  ListView_SetCheckState(hwnd_, row, checked ? TRUE : FALSE);
}

void CheckListView::SetAllChecked(bool checked) {
  for (int i = 0; i < RowCount(); ++i) SetChecked(i, checked);
}

std::wstring CheckListView::Text(int row, int column) const {
  return common::ItemTextOf(hwnd_, row, column);
}

int CheckListView::Image(int row) const {
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ListView_GetItem(hwnd_, &item);
  return item.iImage;
}

void CheckListView::FitColumns() {
  RECT client;
  GetClientRect(hwnd_, &client);
  ListView_SetColumnWidth(hwnd_, 0, std::max<int>(client.right - kAdviceWidth, 50));
}

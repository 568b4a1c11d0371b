#include "checker/app/ResultListView.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/text.h"
#include "common/window.h"

namespace {

constexpr UINT_PTR kRedrawTimer = 1;

// Keys are the rows' texts, indexed by the numbers given to the rows as item data.
int CALLBACK CompareDescending(LPARAM first, LPARAM second, LPARAM keys) {
  const auto& all = *reinterpret_cast<const std::vector<std::string>*>(keys);
  return -CompareTextAscii(all[static_cast<size_t>(first)], all[static_cast<size_t>(second)]);
}

bool SameTexts(const ScanResultRow& a, const ScanResultRow& b) {
  return a.Item == b.Item && a.Location == b.Location && a.KeyName == b.KeyName &&
         a.Description == b.Description;
}

}  // namespace

int CompareTextAscii(std::string_view a, std::string_view b) {
  const auto fold = [](char c) -> int {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte;
  };
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int difference = fold(a[i]) - fold(b[i]);
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool ResultListView::Create(HWND parent, int id, HIMAGELIST images, HFONT font,
                            bool multipleSelection) {
  const DWORD selection = multipleSelection ? LVS_SHOWSELALWAYS : LVS_SINGLESEL;
  hwnd_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | selection | LVS_SHAREIMAGELISTS, 0, 0, 0, 0,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
      nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT);
  ListView_SetBkColor(hwnd_, RGB(255, 255, 255));
  ListView_SetTextBkColor(hwnd_, RGB(255, 255, 255));
  ListView_SetImageList(hwnd_, images, LVSIL_SMALL);
  // The redraw timer finds this object through the list's window.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  struct {
    const wchar_t* header;
    int width;
  } const columns[] = {{L"项目", kItemWidth},
                       {L"位置", 100},
                       {L"键名", kKeyNameWidth},
                       {L"说明", kDescriptionWidth}};
  for (int i = 0; i < 4; ++i) {
    std::wstring header = columns[i].header;
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header.data();
    column.cx = columns[i].width;
    ListView_InsertColumn(hwnd_, i, &column);
  }
  return true;
}

void ResultListView::AddRow(const ScanResultRow& row) {
  if (!held_ && IsWindowVisible(hwnd_)) {
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    held_ = true;
    SetTimer(hwnd_, kRedrawTimer, kRedrawDelayMs, &ResultListView::OnRedrawTimer);
  }
  std::wstring texts[] = {row.Item, row.Location, row.KeyName, row.Description};
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = Count();
  item.pszText = texts[0].data();
  item.iImage = row.ImageIndex;
  const int index = ListView_InsertItem(hwnd_, &item);
  if (index < 0) return;
  for (int column = 1; column < 4; ++column)
    ListView_SetItemText(hwnd_, index, column, texts[column].data());
}

void ResultListView::ReleaseDrawing() {
  if (!held_) return;
  held_ = false;
  KillTimer(hwnd_, kRedrawTimer);
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void CALLBACK ResultListView::OnRedrawTimer(HWND hwnd, UINT, UINT_PTR, DWORD) {
  auto* self = reinterpret_cast<ResultListView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) self->ReleaseDrawing();
}

void ResultListView::Clear() { ListView_DeleteAllItems(hwnd_); }

int ResultListView::Count() const { return ListView_GetItemCount(hwnd_); }

std::wstring ResultListView::Text(int row, int column) const {
  return common::ItemTextOf(hwnd_, row, column);  // locations and data can be long
}

ScanResultRow ResultListView::Row(int index) const {
  ScanResultRow row;
  row.Item = Text(index, 0);
  row.Location = Text(index, 1);
  row.KeyName = Text(index, 2);
  row.Description = Text(index, 3);
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  ListView_GetItem(hwnd_, &item);
  row.ImageIndex = item.iImage;
  return row;
}

int ResultListView::Selected() const { return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); }

std::vector<ScanResultRow> ResultListView::SelectedRows() const {
  std::vector<ScanResultRow> rows;
  for (int i = Selected(); i >= 0; i = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED))
    rows.push_back(Row(i));
  return rows;
}

int ResultListView::RemoveRows(const std::function<bool(const ScanResultRow&)>& which) {
  int removed = 0;
  for (int i = Count() - 1; i >= 0; --i) {
    if (!which(Row(i))) continue;
    ListView_DeleteItem(hwnd_, i);
    ++removed;
  }
  return removed;
}

void ResultListView::SetImage(int index, int image) {
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = image;
  ListView_SetItem(hwnd_, &item);
}

int ResultListView::CountNotRepaired() const {
  int count = 0;
  for (int i = 0; i < Count(); ++i) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    if (ListView_GetItem(hwnd_, &item) && item.iImage != RepairedImage) ++count;
  }
  return count;
}

int ResultListView::Find(const ScanResultRow& row, int hint) const {
  if (hint >= 0 && hint < Count() && SameTexts(Row(hint), row)) return hint;
  int first = -1;
  for (int i = 0; i < Count(); ++i) {
    const ScanResultRow other = Row(i);
    if (!SameTexts(other, row)) continue;
    if (other.ImageIndex != RepairedImage) return i;
    if (first < 0) first = i;
  }
  return first;
}

void ResultListView::MarkRepaired(const std::vector<ScanResultRow>& repaired) {
  if (repaired.empty()) return;
  for (int i = 0; i < Count(); ++i) {
    const ScanResultRow row = Row(i);
    if (std::any_of(repaired.begin(), repaired.end(),
                    [&row](const ScanResultRow& r) { return SameTexts(r, row); }))
      SetImage(i, RepairedImage);
  }
}

void ResultListView::SortDescending(int column) {
  // Each row's text is taken once, in the system's code page, and the rows are numbered through
  // their item data so that the comparison finds them.
  const int count = Count();
  std::vector<std::string> keys(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    keys[static_cast<size_t>(i)] = common::ToAnsi(Text(i, column));
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    item.lParam = i;
    ListView_SetItem(hwnd_, &item);
  }
  ListView_SortItems(hwnd_, &CompareDescending, reinterpret_cast<LPARAM>(&keys));
}

void ResultListView::FitColumns() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int rest = client.right - kItemWidth - kKeyNameWidth - kDescriptionWidth;
  ListView_SetColumnWidth(hwnd_, 1, std::max(rest, 50));
}

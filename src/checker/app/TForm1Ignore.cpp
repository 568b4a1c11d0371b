// The main window's side of the ignore list: the command that puts the selected rows on it, the
// window that lists it, and taking entries off it there.
#include "checker/app/CommandIds.h"
#include "checker/app/TForm1.h"

namespace {

constexpr wchar_t kNotInCodePageText[] =
    L"不能忽略这一项：它含有系统代码页无法保存的字符，写入 Set.ini 后内容会改变。";
constexpr wchar_t kNotWrittenText[] =
    L"无法写入程序文件夹中的 Set.ini，忽略列表没有改变。请确认这个文件和文件夹可以写入。";

}  // namespace

void TForm1::Pop_IgnoreClick() {
  const std::vector<ScanResultRow> chosen = listView2_.SelectedRows();
  for (const ScanResultRow& row : chosen) {
    const IgnoreList::Change change = ignoreList_.Add(row);
    if (change == IgnoreList::Change::NotInCodePage)
      Ask(kNotInCodePageText, MB_OK | MB_ICONWARNING);
    if (change == IgnoreList::Change::NotWritten) {
      Ask(kNotWrittenText, MB_OK | MB_ICONERROR);
      break;
    }
  }
  // Every row of an ignored finding leaves, not only the selected one.
  const int removed =
      listView2_.RemoveRows([this](const ScanResultRow& row) { return ignoreList_.Matches(row); });
  if (removed == 0) return;
  statusBar1_.SetText(L"已加入忽略列表。剩余：" + std::to_wstring(listView2_.CountNotRepaired()) +
                      L" 个错误。");
  // An empty list has nothing to repair; while a scan runs, its finish decides.
  if (listView2_.Count() == 0 && !ScanRunning()) EnableRepairControls(false);
  if (ignoreForm_) ignoreForm_->ShowEntries(ignoreList_.Rows());
}

void TForm1::IgnoreList_menuClick() {
  if (!ignoreForm_) {
    ignoreForm_ = CreateChildForm<TIgnoreForm>();
    if (!ignoreForm_) return;
    ignoreForm_->SetImages(images_.ImageList1.Get());
    ignoreForm_->SetRemoveHandler(
        [this](const std::vector<ScanResultRow>& entries) { RemoveIgnored(entries); });
  }
  ignoreForm_->ShowForm(ignoreList_.Rows());
}

void TForm1::RemoveIgnored(const std::vector<ScanResultRow>& entries) {
  for (const ScanResultRow& entry : entries) {
    if (ignoreList_.Remove(entry) != IgnoreList::Change::Done) {
      Ask(kNotWrittenText, MB_OK | MB_ICONERROR);
      break;
    }
  }
  if (ignoreForm_) ignoreForm_->ShowEntries(ignoreList_.Rows());
}

void TForm1::EnableIgnoreCommand() {
  const bool selected = listView2_.Selected() >= 0;
  menus_.Enable(menus_.Bar(), cmd::kIgnore, selected);
  menus_.Enable(menus_.Popup(), cmd::kIgnore, selected);
}

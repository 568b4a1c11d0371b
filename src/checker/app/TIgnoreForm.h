#pragma once
// TIgnoreForm: the ignore-list window "忽略列表". It lists the ignored findings with the four
// columns of the result list ("项目", "位置", "键名", "说明") and, along the bottom, a line that
// says what the list does and the buttons "移除" (take the selected entries off the list) and
// "关闭" (also Escape). Laid out in pixels with the checker's 12-pixel text, like its other
// windows. Owned by the main window, created once and hidden (not destroyed) when closed; the
// main window changes the list and shows it again. UI thread only.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "checker/app/ResultListView.h"
#include "checker/app/TPanel.h"
#include "common/dialog.h"
#include "common/handles.h"
#include "common/window.h"

class TIgnoreForm : public common::Window {
 public:
  static constexpr int kWidth = 608, kHeight = 384;
  static constexpr int kPanel1Height = 40, kPanel2Width = 185;
  // Control ids; "关闭" answers Escape.
  static constexpr int kListView1 = 1001, kPanel1 = 1002, kPanel2 = 1003, kLabel1 = 1004,
                       kRemoveButton = 1005, kCloseButton = IDCANCEL;

  TIgnoreForm() = default;
  ~TIgnoreForm() override;

  // Makes the window, hidden, owned by `owner`.
  bool Create(HWND owner);
  // The pictures of the rows (the result list's).
  void SetImages(HIMAGELIST images);
  // What "移除" does with the selected entries.
  void SetRemoveHandler(std::function<void(const std::vector<ScanResultRow>&)> handler) {
    removeHandler_ = std::move(handler);
  }

  // Shows the window (not modal) with these entries.
  void ShowForm(const std::vector<ScanResultRow>& entries);
  // Lists these entries, shown or not.
  void ShowEntries(const std::vector<ScanResultRow>& entries);

  // Handlers.
  void RemoveButtonClick();
  void CloseButtonClick();

  ResultListView& ListView1() { return listView1_; }
  HWND Label1() const { return label1_; }
  HWND Panel1() const { return panel1_.Handle(); }
  HWND Panel2() const { return panel2_.Handle(); }
  HWND RemoveButton() const { return removeButton_; }
  HWND CloseButton() const { return closeButton_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Layout();
  // "移除" is there for a selection only.
  void EnableRemove();

  std::function<void(const std::vector<ScanResultRow>&)> removeHandler_;
  common::Font font_;
  ResultListView listView1_;  // children, destroyed with the window
  TPanel panel1_, panel2_;
  HWND label1_ = nullptr;
  HWND removeButton_ = nullptr;
  HWND closeButton_ = nullptr;
  common::DialogHelper dialog_;
};

#pragma once
// TForm3: the progress window of a registry backup or restore. A dialog frame without border
// icons (the user cannot close it), a picture and one centred line of text. Created on first
// use, owned by the main window, shown only while the registry editor runs. UI thread only.
#include <windows.h>

#include <string>

#include "common/handles.h"
#include "common/window.h"

class TForm3 : public common::Window {
 public:
  static constexpr int kClientWidth = 374, kClientHeight = 122;
  static constexpr RECT kImage1 = {18, 17, 18 + 32, 17 + 32};
  static constexpr RECT kLabel1 = {22, 53, 22 + 344, 53 + 13};
  // Pictures of the two tasks (32 x 32 icons of the program's resources).
  static constexpr int kBackupPicture = 203, kRestorePicture = 204;
  static constexpr int kImage1Id = 1001, kLabel1Id = 1002;

  TForm3() = default;
  ~TForm3() override;

  // Makes the window, hidden, owned by `owner`.
  bool Create(HWND owner);
  // Caption, label and picture; the window is shown (not modal) and painted at once.
  void ShowProgress(const std::wstring& caption, const std::wstring& label, int picture);
  // Hides it again.
  void Close();

  HWND Image1() const { return image1_; }
  HWND Label1() const { return label1_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  common::Font font_;
  HWND image1_ = nullptr;  // children, destroyed with the window
  HWND label1_ = nullptr;
};

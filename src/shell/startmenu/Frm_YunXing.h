#pragma once
// The run dialog "系统运行...": a picture in the look of the system's run dialog with a real
// text box over its input field. OK (or Enter) hands the text, unchanged, to the system's URL
// protocol handler; the dialog stays open with its text. It validates and reports nothing.
#include <windows.h>

#include <functional>
#include <string>

#include "common/dialog.h"
#include "common/handles.h"
#include "common/surface_window.h"

class Frm_YunXing : public common::SurfaceWindow {
 public:
  // Starts a command line without waiting; `show` is the window's show command.
  using Starter = std::function<void(const std::wstring& commandLine, int show)>;

  explicit Frm_YunXing(Starter start);
  ~Frm_YunXing() override;

  // Shows the dialog: the one already open with its current text, or a new one with an empty
  // text box, which has the focus.
  void ShowDialog();
  bool Loaded() const { return Handle() != nullptr; }

  static std::wstring CommandLineFor(const std::wstring& text);

  HWND Text1() const { return text1_; }
  HWND Command1() const { return command1_; }
  HWND Command2() const { return command2_; }
  HWND Label1() const { return label1_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The picture on the dialog's grey.
  void Compose(int width, int height) override;

 private:
  bool Load();
  void Run();

  Starter start_;
  common::Bitmap picture_;
  common::Font font_;
  common::Brush background_;
  common::DialogHelper dialog_;
  HWND text1_ = nullptr, command1_ = nullptr, command2_ = nullptr, label1_ = nullptr;
};

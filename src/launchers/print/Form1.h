#pragma once
// Prindle's only window: the user types a document's full path and presses "开始打印"; the
// document goes to the print verb of its file type, and the window stays open for the next.
// The background picture and the program's icon are painted into a memory surface; the label
// shows the picture through its own background.
#include <windows.h>

#include <string>

#include "common/dialog.h"
#include "common/handles.h"
#include "common/surface_window.h"
#include "common/twips.h"
#include "launchers/print/PrintAnyFile.h"

namespace prindle {

class Form1 : public common::SurfaceWindow {
 public:
  static constexpr wchar_t kClassName[] = L"PrindleForm1";
  static constexpr wchar_t kTitle[] = L"打印调用 - LumoraShell";
  static constexpr wchar_t kLabel2Caption[] = L"请键入文档绝对路径，单击打印后将为您打印它。";
  static constexpr wchar_t kCommand1Caption[] = L"开始打印";
  static constexpr wchar_t kCommand2Caption[] = L"关闭";

  // Client area and the controls' places, in twips.
  static constexpr double kClientWidth = 5205, kClientHeight = 2205;
  static constexpr common::TwipsRect kLabel2{1020, 420, 4035, 195};
  static constexpr common::TwipsRect kText1{1020, 900, 4035, 315};
  static constexpr common::TwipsRect kCommand1{2700, 1740, 1155, 315};
  static constexpr common::TwipsRect kCommand2{3900, 1740, 1155, 315};
  static constexpr common::TwipsRect kImage1{120, 180, 720, 720};
  static constexpr int kIconSize = 48;

  // Sizable with a title bar and a close box, but no minimise or maximise button.
  static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

  explicit Form1(PrindleServices services);
  ~Form1() override;

  // Creates the window where the system places new windows and shows it with `show`; the
  // focus starts in the text box. False if the window could not be created.
  bool Load(int show);

  void PrintAnyFile(const std::wstring& FileToPrint);

  HWND Label2() const { return label2_; }
  HWND Text1() const { return text1_; }
  HWND Command1() const { return command1_; }
  HWND Command2() const { return command2_; }
  // Where the icon stands, in client pixels (48 x 48 at the top left of Image1).
  RECT Image1Rect() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Compose(int width, int height) override;

 private:
  void CreateControls();
  LRESULT LabelColors(HDC dc);
  void Command1Click();
  void Command2Click();

  PrindleServices services_;
  common::Bitmap picture_;  // the background picture, drawn at the top left of the client area
  common::Brush backgroundBrush_;  // the composed face as a brush, for the label's background
  common::IconHandle icon_;        // program icon, 48 x 48
  common::IconHandle smallIcon_;
  common::Font font_;
  HWND label2_ = nullptr;
  HWND text1_ = nullptr;
  HWND command1_ = nullptr;
  HWND command2_ = nullptr;
  common::DialogHelper dialog_;
};

}  // namespace prindle

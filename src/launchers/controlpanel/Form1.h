#pragma once
// Palomid's only window: thirteen buttons in three framed columns, each starting one Control
// Panel command. The frames are drawn into a memory surface behind the buttons.
#include <windows.h>

#include <vector>

#include "common/dialog.h"
#include "common/handles.h"
#include "common/surface_window.h"
#include "launchers/controlpanel/Commands.h"

namespace palomid {

class Form1 : public common::SurfaceWindow {
 public:
  static constexpr wchar_t kClassName[] = L"PalomidForm1";
  static constexpr wchar_t kTitle[] = L"Palomid - LumoraShell";
  static constexpr double kClientWidth = 5325, kClientHeight = 3510;  // twips
  static constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

  explicit Form1(PalomidServices services);
  ~Form1() override;

  // Creates the window where the system places new windows and shows it with `show`.
  bool Load(int show);

  // A click on Command1(Index).
  void Command1Click(int Index);

  // Command1(Index), or null for an index without a button.
  HWND Command1(int Index) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Compose(int width, int height) override;

 private:
  void CreateButtons();

  PalomidServices services_;
  common::IconHandle smallIcon_;
  common::Font font_;
  std::vector<HWND> command1_;
  common::DialogHelper dialog_;
};

}  // namespace palomid

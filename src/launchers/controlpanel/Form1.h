#pragma once
// Palomid's only window: thirteen buttons in three framed columns, each starting one Control
// Panel command. The frames are drawn into a memory surface behind the buttons.
#include <windows.h>

#include <vector>

#include "common/handles.h"
#include "common/surface.h"
#include "common/window.h"
#include "launchers/controlpanel/Commands.h"

namespace palomid {

class Form1 : public common::Window {
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
  const common::MemorySurface& Surface() const { return surface_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateButtons();
  void Compose(int width, int height);

  PalomidServices services_;
  common::IconHandle smallIcon_;
  common::Font font_;
  common::MemorySurface surface_;
  std::vector<HWND> command1_;
  common::FocusMemory focus_;
};

}  // namespace palomid

#pragma once
// The shell's skinned taskbar strip: fixed buttons painted on the strip (start button, six
// quick-launch buttons, a grip), one task button per task in up to two rows, and the clock. It
// repaints the clock every 100 ms, polls the task list every 100 ms and rebuilds every task
// button when the number of tasks changes. A click on a fixed button goes to the host.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/surface.h"
#include "common/window.h"
#include "shell/taskbar/EnumTasks.h"
#include "shell/taskbar/TaskBarButton.h"
#include "shell/taskbar/TaskButtonLayout.h"

class SkinImage;

// One fixed button of the strip.
struct TaskBar_Container {
  int16_t Left = 0;
  int16_t Right = 0;  // end of the hit zone: Left + last column of the image + 5
  int32_t IconIndex = 0;
  bool Arrow = false;
  bool Enabled = true;
};

class TaskBar : public common::Window {
 public:
  static constexpr double kHeightTwips = 810;
  static constexpr UINT kClockTimer = 1, kPollTimer = 2, kTickMs = 100;

  // ButtonClicked(Index, Button): a mouse button (1 left, 2 right, 4 middle) released over an
  // enabled fixed button that has an image.
  using ClickHandler = std::function<void(int16_t Index, int16_t Button)>;

  TaskBar();
  ~TaskBar() override;

  bool Create(HWND parent, int x, int y, int width);
  void SetButtonClicked(ClickHandler handler) { buttonClicked_ = std::move(handler); }

  int32_t Style() const { return style_; }
  void SetStyle(int32_t strStyle);
  int32_t TaskBarColor = 15132390;
  std::vector<TaskBar_Container> fClassList;

  void LoadGUI();
  void AddButton(int32_t Icon, bool Arrow, bool Enabled);
  int16_t GetButtonIndex(double x) const;
  int16_t ReadIcon(int32_t Index, int16_t Left, int16_t OffsetX, int16_t OffsetY, bool Arrow,
                   bool Enabled, int16_t Brightness);
  void RepaintIcon(int16_t Index);
  void ResetLastButton();
  void ButtonEnable(int16_t Index, bool Enable);
  void LoadTasks();
  void LoadTaskButton(int16_t Index);
  void LoadEmpytButton();
  void EmptyButtonBin();
  void SubClassOff();
  void Repaint();
  std::string RipPicture(int32_t TransColor) const;

  // For the host and the tests.
  int Height() const;
  int16_t HighlightedPosition() const { return highlighted_; }
  int ButtonElementCount() const { return static_cast<int>(TaskBarButton1.size()); }
  TaskBarButton& TaskButton(int element) { return *TaskBarButton1.at(static_cast<size_t>(element)); }
  const common::MemorySurface& Surface() const { return surface_; }
  int KnownTaskCount() const { return knownTaskCount_; }
  void ClockTick();
  void PollTick();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class Look { Normal, Highlighted, Pressed };
  int16_t PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX, int16_t OffsetY,
                    bool Enabled, int16_t Brightness);
  void DrawButton(int16_t position, Look look);
  void MouseDown(int16_t button, int x);
  void MouseUp(int16_t button, int x);
  int ScaleWidth() const { return surface_.Width(); }
  void Refresh(int x0, int x1);
  std::unique_ptr<TaskBarButton> NewButton();

  ClickHandler buttonClicked_;
  int32_t style_ = 1;
  int16_t nextFixedX_ = 0;
  int16_t highlighted_ = -1;
  int knownTaskCount_ = 0;
  TaskButtonLayout layout_;
  bool rebuilding_ = false;   // a rebuild lets events run while it reads icons
  int releasesRunning_ = 0;   // task-button release handlers in progress

  common::MemorySurface surface_;
  common::Font font_;
  EnumTasks EnumTasks1;
  std::vector<std::unique_ptr<TaskBarButton>> TaskBarButton1;
  common::MemorySurface Picture1;  // capture surface for one task icon at a time
};

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
#include "common/surface_window.h"
#include "shell/core/SkinPainter.h"
#include "shell/taskbar/EnumTasks.h"
#include "shell/taskbar/TaskBarButton.h"
#include "shell/taskbar/TaskButtonLayout.h"

class SkinImage;
class PopupMenu;

// The strip's two looks (its Style).
enum class TaskBarStyle : int32_t {
  Grey3D = 0,  // 3D grey: a grey gradient, task buttons 27 pixels high with the dark face
  Flat = 1,    // flat light: task buttons 24 pixels high
};

// The fixed buttons by their position on the strip (1-based, in the order the desktop adds
// them; 0 is no button).
enum class FixedButton : int16_t {
  None = 0,
  Start = 1,         // opens the start menu; drawn with an arrow
  QuickLaunchA = 2,  // QuickLaunchA ... QuickLaunchE open KS_A_Link ... KS_E_Link
  QuickLaunchB = 3,
  QuickLaunchC = 4,
  QuickLaunchD = 5,
  QuickLaunchE = 6,
  Print = 7,  // opens Prindle_Link
  Grip = 8,
};

constexpr int16_t Position(FixedButton button) { return static_cast<int16_t>(button); }

// The image (IconIndex) a fixed button shows: quick-launch image 1 ... 7 for positions 1 ... 7,
// image 0 for the grip.
constexpr int32_t kGripImage = 0;
constexpr int32_t ImageOf(FixedButton button) {
  return button == FixedButton::Grip ? kGripImage : Position(button);
}

// One fixed button of the strip.
struct TaskBar_Container {
  int16_t Left = 0;
  int16_t Right = 0;  // end of the hit zone: Left + last column of the image + 5
  int32_t IconIndex = 0;
  bool Arrow = false;
  bool Enabled = true;
};

class TaskBar : public common::SurfaceWindow {
 public:
  // The strip is as high as its images, 54 pixels (810 twips on a standard screen) at every
  // dpi, so that it meets the work area the desktop reserves and the start menu's bottom edge.
  static constexpr int kHeightPixels = 54;
  static constexpr UINT kClockTimer = 1, kPollTimer = 2, kTickMs = 100;

  // ButtonClicked(Index, Button): a mouse button (1 left, 2 right, 4 middle) released over an
  // enabled fixed button that has an image.
  using ClickHandler = std::function<void(int16_t Index, int16_t Button)>;

  TaskBar();
  ~TaskBar() override;

  bool Create(HWND parent, int x, int y, int width);
  void SetButtonClicked(ClickHandler handler) { buttonClicked_ = std::move(handler); }
  // The menu a right click opens; null: none.
  void SetMenu(PopupMenu* menu) { menu_ = menu; }

  int32_t Style() const { return style_; }
  void SetStyle(int32_t strStyle);
  void SetStyle(TaskBarStyle look) { SetStyle(static_cast<int32_t>(look)); }
  // The colour of the strip's -2 pixels; LoadGUI sets it back to 15132390 (0xE6E6E6).
  int32_t TaskBarColor() const { return taskBarColor_; }
  void SetTaskBarColor(int32_t color) { taskBarColor_ = color; }
  // The fixed buttons, position 1 first.
  const std::vector<TaskBar_Container>& fClassList() const { return fClassList_; }

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
  // EmptyButtonBin, LoadTasks, then every fixed button in turn. Asked for while a rebuild or a
  // task button's release lets events run, it waits until they have ended.
  void Repaint();
  std::string RipPicture(int32_t TransColor) const;

  // For the host and the tests.
  int Height() const;
  int16_t HighlightedPosition() const { return highlighted_; }
  int ButtonElementCount() const { return static_cast<int>(TaskBarButton1.size()); }
  TaskBarButton& TaskButton(int element) {
    return *TaskBarButton1.at(static_cast<size_t>(element));
  }
  int KnownTaskCount() const { return knownTaskCount_; }
  bool Rebuilding() const { return rebuilding_; }
  int ReleasesRunning() const { return releasesRunning_; }
  void ClockTick();
  void PollTick();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A new width: the strip's surface follows (always 54 pixels high) and LoadGUI paints it.
  void Compose(int width, int height) override;

 private:
  enum class Look { Normal, Highlighted, Pressed };
  int16_t PaintSkin(int16_t RunLength, const SkinImage& Skin, int16_t OffsetX, int16_t OffsetY,
                    bool Enabled, int16_t Brightness);
  void DrawButton(int16_t position, Look look);
  void MouseDown(int16_t button, int x);
  void MouseUp(int16_t button, int x);
  void OpenMenu(int x);
  void Rebuild();  // the body of LoadTasks, inside its guard
  // One pass over the task list; false when it may stop early and the number of tasks changed
  // while it ran (the buttons it made are then out of date).
  bool BuildButtons(bool mayRestart);
  void TrimSpares();
  // A Repaint that had to wait runs once the rebuild or release that held it up has ended.
  void RepaintIfPending();
  int ScaleWidth() const { return Surface().Width(); }
  void Refresh(int x0, int x1);
  std::unique_ptr<TaskBarButton> NewButton();

  ClickHandler buttonClicked_;
  int32_t style_ = 1;
  int32_t taskBarColor_ = kDefaultTaskBarColor;
  std::vector<TaskBar_Container> fClassList_;
  int16_t nextFixedX_ = 0;
  int16_t highlighted_ = -1;
  int knownTaskCount_ = 0;
  TaskButtonLayout layout_;
  bool rebuilding_ = false;  // a rebuild lets events run while it reads icons
  bool polling_ = false;     // a poll tick lets events run while it enumerates a crowd
  int releasesRunning_ = 0;  // task-button release handlers in progress
  bool repaintPending_ = false;
  std::string clockShown_;  // the clock text painted last
  PopupMenu* menu_ = nullptr;

  common::Font font_;
  EnumTasks EnumTasks1;
  std::vector<std::unique_ptr<TaskBarButton>> TaskBarButton1;
  std::vector<std::unique_ptr<TaskBarButton>> spare_;  // hidden, for the next rebuild
  common::MemorySurface Picture1;  // capture surface for one task icon at a time
};

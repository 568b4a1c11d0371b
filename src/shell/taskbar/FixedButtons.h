#pragma once
// The fixed buttons at the strip's left end (the start button, six quick-launch buttons and a
// grip), painted straight onto the strip: each is one record of its place and image; a button
// lights up under the pointer, looks pressed while a mouse button is down, and only an enabled
// button with an image reacts. Positions are 1-based in the order the buttons were added; 0 is
// no button. Logic and painting only: the strip's window routes the mouse here. UI thread only.
#include <cstdint>
#include <vector>

#include "shell/taskbar/StripCanvas.h"

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

class FixedButtons {
 public:
  // No highlighted button.
  static constexpr int16_t kNone = -1;

  explicit FixedButtons(StripCanvas& canvas) : canvas_(canvas) {}

  // The buttons, position 1 first.
  const std::vector<TaskBar_Container>& fClassList() const { return fClassList_; }
  // The right end of the last button's hit zone (0 without buttons).
  int16_t Right() const { return nextFixedX_; }
  int16_t HighlightedPosition() const { return highlighted_; }

  void AddButton(int32_t Icon, bool Arrow, bool Enabled);
  int16_t GetButtonIndex(double x) const;
  int16_t ReadIcon(int32_t Index, int16_t Left, int16_t OffsetX, int16_t OffsetY, bool Arrow,
                   bool Enabled, int16_t Brightness);
  void RepaintIcon(int16_t Index);
  void ResetLastButton();
  void ButtonEnable(int16_t Index, bool Enable);
  // Every button in turn, as the pointer passing over them would.
  void RepaintAll();

  // A mouse button went down or up at x: the button there looks pressed, or lit again; the
  // release's position is returned when it counts as a click (0 when not).
  void Press(int x);
  int16_t Release(int x);

 private:
  enum class Look { Normal, Highlighted, Pressed };
  void DrawButton(int16_t position, Look look);
  // The button at a position when it reacts to the mouse, else null.
  const TaskBar_Container* Reacting(int16_t position) const;

  StripCanvas& canvas_;
  std::vector<TaskBar_Container> fClassList_;
  int16_t nextFixedX_ = 0;
  int16_t highlighted_ = kNone;
};
